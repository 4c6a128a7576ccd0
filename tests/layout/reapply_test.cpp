#include "layout/reapply.h"

#include "readingaids/bodyaids.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using layout::AidBox;
using layout::CarriedAid;

namespace {

QStringList document(const QString &body)
{
    return {u"<html>"_s, u"\t<!--DEBUT-->"_s, u"<img src=\"conte.jpg\">"_s, body, u"<!--FIN-->"_s, u"</html>"_s};
}

QStringList outputOf(const CarriedAid &aid, const QStringList &lines)
{
    using readingaids::BodyAid;
    if (aid.box) {
        const BodyAid byLetters = layout::aidRow(*aid.box).aid;
        return readingaids::writeBodyAid(lines, aid.byEar ? readingaids::byEar(byLetters) : byLetters, {}, {},
                                         aid.colours);
    }
    return readingaids::writeBodyAid(lines, aid.byEar ? BodyAid::SonEntendu : BodyAid::Son, aid.sound);
}

TEST(CarriedAid, TellsEachAidFromItsOutput)
{
    const QStringList plain = document(u"Le loup du conte bondit, il mange la chèvre !<br>"_s);
    const CarriedAid byLetters[] = {
        {AidBox::SyllablesInColours, {}, false}, {AidBox::SyllablesWithDashes, {}, false},
        {AidBox::SilentLetters, {}, false},      {AidBox::SentencesInColours, {}, false},
        {std::nullopt, u"ou"_s, false},          {std::nullopt, u"on"_s, false},
    };
    for (const CarriedAid &aid : byLetters) {
        SCOPED_TRACE(aid.box ? int(*aid.box) : -1);
        EXPECT_EQ(layout::carriedAid(plain, outputOf(aid, plain), {}, false, {}), aid);
    }
    // By ear, when the student reads by ear; the sentences read no word.
    const CarriedAid colours{AidBox::SyllablesInColours, {}, true};
    EXPECT_EQ(layout::carriedAid(plain, outputOf(colours, plain), {}, true, {}), colours);
    // The syllables in colours "à la suite", by letters and by ear.
    for (const bool byEar : {false, true}) {
        const CarriedAid inARow{AidBox::SyllablesInColours, {}, byEar, readingaids::SyllableColours::InARow};
        EXPECT_EQ(layout::carriedAid(plain, outputOf(inARow, plain), {}, byEar, {}), inARow);
    }
}

TEST(CarriedAid, TellsTwoAidsThatWriteTheSameLinesByTheFlagLines)
{
    // Neither word has a syllable to cut nor a silent letter to set apart.
    const QStringList plain = document(u"Le roi va.<br>"_s);
    const QStringList aided = readingaids::writeBodyAid(plain, readingaids::BodyAid::Tirets);
    ASSERT_EQ(aided, readingaids::writeBodyAid(plain, readingaids::BodyAid::Muettes));
    layout::Css css;
    css[layout::line::AidFirstSlot] = layout::flag::Muet;
    EXPECT_EQ(layout::carriedAid(plain, aided, css, false, {})->box, AidBox::SilentLetters);
    css[layout::line::AidFirstSlot] = layout::flag::Tiret;
    EXPECT_EQ(layout::carriedAid(plain, aided, css, false, {})->box, AidBox::SyllablesWithDashes);
}

TEST(CarriedAid, FindsNoneForLinesNoAidWrites)
{
    const QStringList plain = document(u"Le loup du conte.<br>"_s);
    EXPECT_EQ(layout::carriedAid(plain, document(u"Le loup du conté.<br>"_s), {}, false, {}), std::nullopt);
    // The output of another text: the backup is not this document's.
    const QStringList other = readingaids::writeBodyAid(document(u"Le chat.<br>"_s), readingaids::BodyAid::Couleurs);
    EXPECT_EQ(layout::carriedAid(plain, other, {}, false, {}), std::nullopt);
    // A sound that marked nothing is no syllable aid, though the words read alike.
    const QStringList few = document(u"Le roi va.<br>"_s);
    layout::Css css;
    css[layout::line::AidSecondSlot] = layout::flag::Phoneme;
    const QStringList unmarked = readingaids::writeBodyAid(few, readingaids::BodyAid::Son, u"zz");
    ASSERT_EQ(unmarked[3].trimmed(), readingaids::writeBodyAid(few, readingaids::BodyAid::Tirets)[3].trimmed());
    EXPECT_EQ(layout::carriedAid(few, unmarked, css, false, {}), std::nullopt);
    // An untransformed form without its markers.
    EXPECT_EQ(layout::carriedAid({u"<html>"_s}, other, {}, false, {}), std::nullopt);
}

// Once the document carries no aid, lines 47, 48 and 58 all lose their flag,
// whichever were set, and the style sheet is written only when one did.
TEST(CarriedAid, ForgettingTheAidsClearsEveryFlagLine)
{
    using namespace layout;
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString cheminW = folder.path() + u"/"_s;
    const struct
    {
        QString first, second, boxesOn;
    } cases[] = {
        {flag::Tiret, flag::Syllabe, flag::SyllabesTirets},
        {flag::Muet, flag::Phrase, QString()},
        {QString(), flag::Phoneme, flag::SyllabesCouleurs},
        {flag::Tiret, QString(), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.first + c.second + c.boxesOn).toStdString());
        Css css;
        css[line::AidFirstSlot] = c.first;
        css[line::AidSecondSlot] = c.second;
        css[line::BoxesOn] = c.boxesOn;
        css[line::ViewWidth] = u"width: 500px;"_s;
        QFile::remove(cheminW + u"style.css"_s);
        forgetAids(css, cheminW);
        for (const int k : {line::AidFirstSlot, line::AidSecondSlot, line::BoxesOn})
            EXPECT_EQ(css[k], QString()) << "line " << k;
        const Css written = loadCss(cheminW);
        EXPECT_EQ(written.numbered(), css.numbered());
    }
    // Nothing to clear: nothing written.
    QFile::remove(cheminW + u"style.css"_s);
    Css plain;
    forgetAids(plain, cheminW);
    EXPECT_FALSE(QFile::exists(cheminW + u"style.css"_s));
}

} // namespace
