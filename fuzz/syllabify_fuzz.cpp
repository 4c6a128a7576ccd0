// Syllabify on any 16-bit text: the syllables, put back together, give the
// word, each sign ("+" or "-") written as "-" unless it comes right after a
// sign (the character after a sign is not looked at), and the cut that the syllable aids
// use covers the word from its first character to its last, in order.

#include "fuzzcheck.h"

#include "readingaids/syllabify.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace fuzzing;
    const QString word = asUnits(data, size);

    const QStringList syllables = readingaids::Syllabify(word);
    expect("at least one syllable", !syllables.isEmpty());
    QString signsAsHyphens = word;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (word[i] == u'+' || word[i] == u'-')
            signsAsHyphens[i++] = u'-';
    }
    expectEqual("the syllables joined give the word", syllables.join(QString()), signsAsHyphens);

    readingaids::Syllables stretches;
    readingaids::cutTextWord(word, stretches);
    expect("a text word has a syllable", !stretches.isEmpty());
    qsizetype at = 0;
    for (const readingaids::Syllable &s : stretches) {
        expect("each syllable starts where the one before ends", s.begin == at && s.end >= s.begin);
        at = s.end;
    }
    expect("the syllables end with the word", at == word.size());
    return 0;
}
