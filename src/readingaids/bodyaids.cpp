#include "bodyaids.h"

#include "couleurs.h"
#include "document.h"
#include "muettes.h"
#include "phrases.h"
#include "son.h"
#include "tirets.h"

namespace readingaids {

QString treatBodyLine(BodyAid aid, QStringView line, QStringView sound)
{
    switch (aid) {
    case BodyAid::Couleurs:
        return couleursLine(line);
    case BodyAid::Tirets:
        return tiretsLine(line);
    case BodyAid::Muettes:
        return muettesLine(line);
    case BodyAid::Son:
        return sonLine(line, sound);
    case BodyAid::Phrases:
        break;
    }
    Q_ASSERT_X(false, "treatBodyLine", "the sentences colour the body as a whole");
    return line.toString();
}

void writeBodyAid(const QStringList &lines, BodyAid aid, QStringView sound,
                  const std::function<void(QStringView line)> &sink)
{
    if (aid == BodyAid::Phrases) {
        for (const QString &line : writeSentences(lines))
            sink(line);
        return;
    }
    writeOutput(lines, [aid, sound](QStringView line) { return treatBodyLine(aid, line, sound); }, sink);
}

QStringList writeBodyAid(const QStringList &lines, BodyAid aid, QStringView sound)
{
    if (aid == BodyAid::Phrases)
        return writeSentences(lines);
    return writeOutput(lines, [aid, sound](QStringView line) { return treatBodyLine(aid, line, sound); });
}

} // namespace readingaids
