#include "layout/workingcopies.h"

#include "readingaids/bodyaids.h"
#include "readingaids/document.h"
#include "readingaids/frame.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using layout::Restored;
using layout::WorkingCopies;
using readingaids::BodyAid;

namespace {

// A student folder holding the shipped fixture document, written with the
// indentation and the line ends a teacher's file may have.
class StudentFolder
{
public:
    StudentFolder()
    {
        cheminW = QDir::toNativeSeparators(m_dir.path()) + QDir::separator();
        loup = bytesOf(QStringLiteral(TESSAVO_FIXTURES_DIR "/readingaids/loup.html"));
        renard = QByteArray(loup).replace("Le loup court", "Le renard dort").replace("loup.jpg", "renard.jpg");
    }

    WorkingCopies files(const QString &name) const { return {cheminW, cheminW + name}; }
    WorkingCopies add(const QString &name, const QByteArray &bytes) const
    {
        writeFile(cheminW + name, bytes);
        return files(name);
    }

    QString cheminW;
    QByteArray loup;
    QByteArray renard;

private:
    QTemporaryDir m_dir;
};

QStringList aidOutput(const WorkingCopies &files, BodyAid aid, const QString &sound = {})
{
    return readingaids::writeBodyAid(layout::untransformedLines(files), aid, sound);
}

void turnOn(const WorkingCopies &files, BodyAid aid, const QString &sound = {})
{
    layout::install(files, aidOutput(files, aid, sound));
}

struct AidCase
{
    const char *name;
    BodyAid aid;
    QString sound;
};

const AidCase aidCases[] = {
    {"couleurs", BodyAid::Couleurs, {}},
    {"tirets", BodyAid::Tirets, {}},
    {"muettes", BodyAid::Muettes, {}},
    {"phrases", BodyAid::Phrases, {}},
    {"son", BodyAid::Son, u"ou"_s},
};

} // namespace

TEST(WorkingCopies, OnThenOffGivesTheDocumentBackByteForByteAndRemovesItsBackups)
{
    for (const AidCase &c : aidCases) {
        SCOPED_TRACE(c.name);
        StudentFolder folder;
        const WorkingCopies files = folder.add(u"loup.html"_s, folder.loup);
        const QStringList expected = aidOutput(files, c.aid, c.sound);

        layout::install(files, expected);
        const QStringList installed = workspace::readLines(files.document);
        EXPECT_EQ(installed.mid(0, installed.size() - 1), expected);
        EXPECT_TRUE(layout::carriesAid(installed));
        EXPECT_EQ(bytesOf(files.copie()), folder.loup);
        EXPECT_EQ(bytesOf(files.own()), folder.loup);
        EXPECT_FALSE(QFile::exists(files.output()));

        EXPECT_EQ(layout::restore(files), Restored::Untransformed);
        EXPECT_EQ(bytesOf(files.document), folder.loup);
        EXPECT_FALSE(QFile::exists(files.copie()));
        EXPECT_FALSE(QFile::exists(files.own())) << "nothing stale is left to publish";
        EXPECT_EQ(layout::restore(files), Restored::AlreadyPlain);
        EXPECT_EQ(bytesOf(files.document), folder.loup);
    }
}

TEST(WorkingCopies, ASecondAidOverTheFirstKeepsTheUntransformedDocument)
{
    StudentFolder folder;
    const WorkingCopies files = folder.add(u"loup.html"_s, folder.loup);
    turnOn(files, BodyAid::Couleurs);
    turnOn(files, BodyAid::Phrases);
    turnOn(files, BodyAid::Son, u"o"_s);
    turnOn(files, BodyAid::Son, u"ou"_s);

    EXPECT_EQ(layout::untransformedLines(files), workspace::decodeLines(folder.loup));
    EXPECT_EQ(layout::restore(files), Restored::Untransformed);
    EXPECT_EQ(bytesOf(files.document), folder.loup);
}

TEST(WorkingCopies, ABackupOfAnotherDocumentIsNeverRestored)
{
    struct Case
    {
        const char *name;
        bool renardCarriesAid;
        bool openingCopiedTheTransformedText;
    };
    const Case cases[] = {
        {"the second document carries no aid", false, false},
        {"both carry an aid, the second one last", true, false},
        {"both carry an aid, the opening's copy of the first one made from its transformed text", true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StudentFolder folder;
        const WorkingCopies loup = folder.add(u"loup.html"_s, folder.loup);
        const WorkingCopies renard = folder.add(u"renard.html"_s, folder.renard);
        turnOn(loup, BodyAid::Couleurs);
        if (c.renardCarriesAid)
            turnOn(renard, BodyAid::Tirets);
        const QByteArray renardBefore = bytesOf(renard.document);

        // Off on the second document: only its own text may come back.
        layout::restore(renard);
        EXPECT_EQ(bytesOf(renard.document), folder.renard);
        EXPECT_EQ(layout::restore(renard), Restored::AlreadyPlain);
        if (!c.renardCarriesAid) {
            EXPECT_EQ(bytesOf(renard.document), renardBefore);
        }

        // The first document still comes back whole, from its own backup.
        if (c.openingCopiedTheTransformedText)
            writeFile(loup.bak(), bytesOf(loup.document));
        EXPECT_EQ(layout::restore(loup), Restored::Untransformed);
        EXPECT_EQ(bytesOf(loup.document), folder.loup);
    }
}

TEST(WorkingCopies, ADocumentWithoutMarkIsNeverReplacedByAStaleBackup)
{
    StudentFolder folder;
    const WorkingCopies files = folder.add(u"loup.html"_s, folder.loup);
    turnOn(files, BodyAid::Tirets);
    // The teacher saves a new text under the same name: no mark, old backups.
    writeFile(files.document, folder.renard);

    EXPECT_EQ(layout::restore(files), Restored::AlreadyPlain);
    EXPECT_EQ(bytesOf(files.document), folder.renard);
    EXPECT_EQ(layout::untransformedLines(files), workspace::decodeLines(folder.renard));
    // Its next aid keeps the new text as the backup.
    turnOn(files, BodyAid::Muettes);
    EXPECT_EQ(layout::restore(files), Restored::Untransformed);
    EXPECT_EQ(bytesOf(files.document), folder.renard);
}

TEST(WorkingCopies, AnyOneBackupWithTheFingerprintIsEnough)
{
    struct Case
    {
        const char *name;
        bool copie, own, opening;
    };
    const Case cases[] = {
        {"the shared copy", true, false, false},
        {"the document's own", false, true, false},
        {"the opening's copy", false, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StudentFolder folder;
        const WorkingCopies files = folder.add(u"loup.html"_s, folder.loup);
        writeFile(files.bak(), folder.loup);
        turnOn(files, BodyAid::Couleurs);
        if (!c.copie)
            QFile::remove(files.copie());
        if (!c.own)
            QFile::remove(files.own());
        if (!c.opening)
            QFile::remove(files.bak());
        EXPECT_EQ(layout::restore(files), Restored::Untransformed);
        EXPECT_EQ(bytesOf(files.document), folder.loup);
    }
}

TEST(WorkingCopies, ARewriteStoppedAfterTheDocumentIsUndoneFromTheOutputCopy)
{
    StudentFolder folder;
    const WorkingCopies files = folder.add(u"loup.html"_s, folder.loup);
    turnOn(files, BodyAid::Couleurs);
    // A highlight stopped after the document's write: the new untransformed
    // bytes are in the output copy only; both backups hold the older text.
    const auto highlight = [](const QStringList &l) { return readingaids::highlightLines(l, true); };
    const QByteArray changedPlain = workspace::encodeLines(highlight(workspace::decodeLines(folder.loup)));
    QStringList shown = workspace::readLines(files.document);
    shown.removeLast();
    writeFile(files.output(), changedPlain);
    writeFile(files.document, workspace::encodeLines(highlight(shown) << layout::aidMark(changedPlain)));
    ASSERT_EQ(bytesOf(files.own()), folder.loup);
    ASSERT_EQ(bytesOf(files.copie()), folder.loup);

    EXPECT_EQ(layout::untransformedLines(files), workspace::decodeLines(changedPlain));
    EXPECT_EQ(layout::restore(files), Restored::Untransformed);
    EXPECT_EQ(bytesOf(files.document), changedPlain);
}

TEST(WorkingCopies, WithNoBackupLeftTheDocumentIsKept)
{
    StudentFolder folder;
    const WorkingCopies files = folder.add(u"loup.html"_s, folder.loup);
    turnOn(files, BodyAid::Couleurs);
    QFile::remove(files.own());
    QFile::remove(files.copie());
    const QByteArray transformed = bytesOf(files.document);

    EXPECT_EQ(layout::restore(files), Restored::NoBackup);
    EXPECT_EQ(bytesOf(files.document), transformed);
    // An aid put on then builds from the text as it stands, and comes off again.
    QStringList asItStands = workspace::decodeLines(transformed);
    asItStands.removeLast();
    turnOn(files, BodyAid::Tirets);
    EXPECT_EQ(layout::restore(files), Restored::Untransformed);
    EXPECT_EQ(workspace::readLines(files.document), asItStands);
}

TEST(WorkingCopies, AHighlightOrBorderChangeReachesTheUntransformedDocument)
{
    using readingaids::Border;
    struct Case
    {
        const char *name;
        std::function<QStringList(const QStringList &)> change;
    };
    const Case cases[] = {
        {"highlight", [](const QStringList &l) { return readingaids::highlightLines(l, true); }},
        {"green and red border", [](const QStringList &l) { return readingaids::flipBorders(l, Border::GreenRed); }},
        {"multicolour border", [](const QStringList &l) { return readingaids::flipBorders(l, Border::Multicolor); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StudentFolder folder;
        const WorkingCopies files = folder.add(u"loup.html"_s, folder.loup);
        const QStringList changedPlain = c.change(workspace::decodeLines(folder.loup));
        ASSERT_NE(changedPlain, workspace::decodeLines(folder.loup));

        turnOn(files, BodyAid::Couleurs);
        layout::rewriteInPlace(files, c.change);
        // The shown document keeps its aid, with the change.
        const QStringList shown = workspace::readLines(files.document);
        EXPECT_TRUE(layout::carriesAid(shown));
        EXPECT_EQ(shown.mid(0, shown.size() - 1), c.change(readingaids::writeBodyAid(
                                                        workspace::decodeLines(folder.loup), BodyAid::Couleurs)));

        EXPECT_EQ(layout::restore(files), Restored::Untransformed);
        EXPECT_EQ(workspace::readLines(files.document), changedPlain);
        EXPECT_FALSE(QFile::exists(files.output()));
    }
}

TEST(WorkingCopies, AFailedWriteLeavesTheCurrentDocumentWhole)
{
    StudentFolder folder;
    const WorkingCopies files = folder.add(u"loup.html"_s, folder.loup);
    // A folder where the output should go: it cannot be written.
    ASSERT_TRUE(QDir().mkpath(files.output()));
    EXPECT_THROW(turnOn(files, BodyAid::Couleurs), workspace::IoError);
    EXPECT_EQ(bytesOf(files.document), folder.loup);

    QDir().rmdir(files.output());
    turnOn(files, BodyAid::Couleurs);
    const QByteArray transformed = bytesOf(files.document);
    ASSERT_TRUE(QDir().mkpath(files.output()));
    EXPECT_THROW(layout::rewriteInPlace(files, [](const QStringList &l) { return readingaids::highlightLines(l, true); }),
                 workspace::IoError);
    EXPECT_EQ(bytesOf(files.document), transformed);
    EXPECT_EQ(layout::restore(files), Restored::Untransformed);
    EXPECT_EQ(bytesOf(files.document), folder.loup);
}

TEST(WorkingCopies, OnlyAWellFormedLastLineIsAMark)
{
    const QString mark = layout::aidMark("abc");
    const struct
    {
        const char *name;
        QStringList lines;
        bool marked;
    } cases[] = {
        {"the mark as last line", {u"<html>"_s, mark}, true},
        {"the mark indented", {u"<html>"_s, u"\t"_s + mark + u" "_s}, true},
        {"the mark not last", {mark, u"</html>"_s}, false},
        {"upper-case digits", {mark.toUpper()}, false},
        {"a shorter fingerprint", {u"<!--COPIE SANS AIDE 0123-->"_s}, false},
        {"letters past f", {u"<!--COPIE SANS AIDE ghijklmnopqrstuv-->"_s}, false},
        {"no lines", {}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(layout::carriesAid(c.lines), c.marked);
    }
}
