#include "restricted.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/cp1252.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QHash>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

class TextFiles : public testing::Test
{
protected:
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    QByteArray bytes(const QString &name) const { return bytesOf(path(name)); }
    void putBytes(const QString &name, const QByteArray &content) const { writeFile(path(name), content); }

private:
    QTemporaryDir m_dir;
};

TEST_F(TextFiles, WriteWindows1252WithCrLfAndReadItBack)
{
    const QStringList lines{u"L'été € « œ »"_s, QString(), u"fin"_s};
    workspace::writeLines(path(u"a.txt"_s), lines);
    EXPECT_EQ(bytes(u"a.txt"_s), QByteArray("L'\xE9t\xE9 \x80 \xAB \x9C \xBB\r\n\r\nfin\r\n"));
    EXPECT_EQ(workspace::readLines(path(u"a.txt"_s)), lines);
}

TEST_F(TextFiles, WriteAQuestionMarkForEachCharacterTheCodePageCannotHold)
{
    workspace::writeLines(path(u"b.txt"_s), {u"Ω😀ā\u0085x"_s});
    EXPECT_EQ(bytes(u"b.txt"_s), QByteArray("????x\r\n"));
}

TEST_F(TextFiles, KeepTheNoBreakSpacesOfFrenchTypography)
{
    // As a word processor writes them: U+00A0 inside the guillemets and before
    // ":", the narrow U+202F before "!", ";" and "?", a figure space in a number.
    workspace::writeLines(path(u"c.txt"_s), {u"«\u00A0Viens\u202F!\u00A0» : 1\u2007000\u202F€ ; oui\u202F?"_s});
    EXPECT_EQ(bytes(u"c.txt"_s), QByteArray("\xAB\xA0Viens\xA0!\xA0\xBB : 1\xA0" "000\xA0\x80 ; oui\xA0?\r\n"));
}

TEST_F(TextFiles, EveryByteDecodesAndTheDefinedOnesRoundTrip)
{
    QByteArray all;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            all.append(char(b));
    }
    const QString decoded = workspace::fromWindows1252(all);
    EXPECT_EQ(decoded.size(), all.size());
    EXPECT_EQ(workspace::toWindows1252(decoded), all);
}

// The code page as its table gives it: bytes 80 to 9F, 0 where undefined.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t characterOfByte(int b)
{
    return b >= 0x80 && b <= 0x9F && windows1252High[b - 0x80] ? windows1252High[b - 0x80] : char16_t(b);
}

TEST(Windows1252, AllBytesAndAllSixteenBitUnitsRoundTripByTheTable)
{
    QByteArray allBytes;
    QString expectedText;
    for (int b = 0; b < 256; ++b) {
        allBytes.append(char(b));
        expectedText.append(QChar(characterOfByte(b)));
    }
    EXPECT_EQ(workspace::fromWindows1252(allBytes), expectedText);
    EXPECT_EQ(workspace::toWindows1252(expectedText), allBytes);

    // Every unit outside the surrogates, alone and all in one text (so that
    // runs of plain ASCII meet every position in the text).
    QString allUnits;
    QByteArray expectedBytes;
    for (int u = 0; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        // The typographic characters that the code page lacks but writes by
        // one equivalent of its own: hyphens, spaces, quotes, bullets.
        static const QHash<int, char> equivalents = {
            {0x2010, '-'}, {0x2011, '-'}, {0x2012, '-'}, {0x2212, '-'}, {0x2043, '-'}, {0x2015, '\x97'},
            {0x2007, '\xA0'}, {0x202F, '\xA0'}, {0x2000, ' '}, {0x2001, ' '}, {0x2002, ' '}, {0x2003, ' '},
            {0x2004, ' '}, {0x2005, ' '}, {0x2006, ' '}, {0x2008, ' '}, {0x2009, ' '}, {0x200A, ' '},
            {0x205F, ' '}, {0x02BC, '\x92'}, {0x02BB, '\x91'}, {0x201B, '\x91'}, {0x201F, '\x93'},
            {0x2032, '\''}, {0x02B9, '\''}, {0x2033, '"'}, {0x02BA, '"'}, {0x2024, '.'}, {0x2044, '/'},
            {0x2215, '/'}, {0xF0B7, '\x95'}, {0x2219, '\x95'}, {0x25CF, '\x95'}, {0x25E6, '\x95'},
            {0x2023, '\x95'}, {0x25AA, '\x95'}};
        char expected = equivalents.value(u, '?');
        for (int b = 0; b < 256; ++b) {
            if (characterOfByte(b) == u)
                expected = char(b);
        }
        const QString one{QChar(char16_t(u))};
        ASSERT_EQ(workspace::toWindows1252(one), QByteArray(1, expected)) << "unit " << u;
        allUnits.append(one);
        expectedBytes.append(expected);
    }
    EXPECT_EQ(workspace::toWindows1252(allUnits), expectedBytes);
    for (qsizetype shift = 1; shift < 9; ++shift)
        EXPECT_EQ(workspace::toWindows1252(QStringView(allUnits).sliced(shift)), expectedBytes.sliced(shift));
}

TEST(Windows1252, ASurrogatePairIsOneQuestionMarkAndALoneHalfIsOneToo)
{
    struct Case { const char *name; QString text; QByteArray bytes; };
    const Case cases[] = {
        {"pair", u"a\U0001F600b"_s, "a?b"},
        {"pair at the end", u"abcdefgh\U0001F600"_s, "abcdefgh?"},
        {"lone high then a letter", u"a"_s + QChar(0xD83D) + u"b"_s, "a?b"},
        {"lone high at the end", u"a"_s + QChar(0xD83D), "a?"},
        {"lone low", u"a"_s + QChar(0xDE00) + u"b"_s, "a?b"},
        {"low then high", u"a"_s + QChar(0xDE00) + QChar(0xD83D) + u"b"_s, "a??b"},
        {"two pairs", u"\U0001F600\U0001F600"_s, "??"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(workspace::toWindows1252(c.text), c.bytes);
    }
}

TEST_F(TextFiles, TheLineWriterWritesWhatWriteLinesWrites)
{
    // Lines around the size of the writer's buffer, and one larger than it.
    const QStringList lines = {u"L'été €"_s, QString(), QString(700000, u'é'), QString(700000, u'a'),
                               QString(3000000, u'œ'), u"\U0001F600fin"_s};
    QFile file(path(u"streamed.txt"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    workspace::LineWriter writer(file, file.fileName());
    for (const QString &line : lines)
        writer.write(line);
    writer.flush();
    file.close();
    EXPECT_EQ(bytes(u"streamed.txt"_s), workspace::encodeLines(lines));
    EXPECT_EQ(workspace::readLines(path(u"streamed.txt"_s)).size(), lines.size());
}

TEST_F(TextFiles, ReadAcceptsEveryLineEndAndALastLineWithoutOne)
{
    struct Case { const char *name; QByteArray content; QStringList lines; };
    const Case cases[] = {
        {"Empty", "", {}},
        {"OneLineWithoutEnd", "abc", {u"abc"_s}},
        {"CrLf", "a\r\nb\r\n", {u"a"_s, u"b"_s}},
        {"LastLineWithoutEnd", "a\r\nb", {u"a"_s, u"b"_s}},
        {"LineFeedsOnly", "a\nb\n", {u"a"_s, u"b"_s}},
        {"LoneCarriageReturn", "a\rb", {u"a"_s, u"b"_s}},
        {"EmptyLines", "\r\n\r\n", {QString(), QString()}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(workspace::decodeLines(c.content), c.lines);
    }
    // Each line end at every place of a long line, among plain and accented letters.
    for (const QByteArray &end : {QByteArray("\r\n"), QByteArray("\r"), QByteArray("\n")}) {
        for (int n = 0; n < 40; ++n) {
            const QByteArray first = QByteArray(n, 'a') + (n % 3 ? "" : "\xE9");
            const QByteArray second = QByteArray(40 - n, '\x9C') + "z";
            EXPECT_EQ(workspace::decodeLines(first + end + second),
                      (QStringList{workspace::fromWindows1252(first), workspace::fromWindows1252(second)}))
                << "line end " << end.toHex().constData() << " after " << n;
        }
    }
}

TEST_F(TextFiles, LineCopyEndsEveryLineAndGivesOneEmptyLineForAnEmptySource)
{
    putBytes(u"empty.txt"_s, "");
    workspace::copyTextLines(path(u"empty.txt"_s), path(u"empty-copy.txt"_s));
    EXPECT_EQ(bytes(u"empty-copy.txt"_s), QByteArray("\r\n"));

    putBytes(u"open.txt"_s, "<html>\n\t<body>");
    workspace::copyTextLines(path(u"open.txt"_s), path(u"open-copy.txt"_s));
    EXPECT_EQ(bytes(u"open-copy.txt"_s), QByteArray("<html>\r\n\t<body>\r\n"));
}

TEST_F(TextFiles, AMissingSourceNamesItselfAndLeavesTheTargetAlone)
{
    putBytes(u"target.txt"_s, "kept\r\n");
    const QString missing = path(u"entete.html"_s);
    try {
        workspace::copyTextLines(missing, path(u"target.txt"_s));
        FAIL() << "a missing template was copied";
    } catch (const workspace::IoError &error) {
        EXPECT_EQ(error.path(), missing);
        EXPECT_TRUE(error.message().contains(missing)) << error.message();
    }
    EXPECT_EQ(bytes(u"target.txt"_s), QByteArray("kept\r\n"));
}

TEST_F(TextFiles, WritingIntoAMissingFolderIsAnError)
{
    const QString target = path(u"absent/a.txt"_s);
    EXPECT_THROW(workspace::writeLines(target, {u"x"_s}), workspace::IoError);
    EXPECT_THROW(workspace::appendLines(target, {u"x"_s}), workspace::IoError);
}

TEST_F(TextFiles, AppendCreatesTheFileAndThenExtendsItKeepingItsBytes)
{
    workspace::appendLines(path(u"list.txt"_s), {u"Dupont;Jean"_s});
    workspace::appendLines(path(u"list.txt"_s), {u"Muller;Zoé"_s});
    EXPECT_EQ(bytes(u"list.txt"_s), QByteArray("Dupont;Jean\r\nMuller;Zo\xE9\r\n"));

    // Written again whole, the earlier lines stay byte for byte as they were.
    putBytes(u"old.txt"_s, QByteArray("a\nb\x81\r\n", 6));
    workspace::appendLines(path(u"old.txt"_s), {u"c"_s});
    EXPECT_EQ(bytes(u"old.txt"_s), QByteArray("a\nb\x81\r\nc\r\n", 9));
}

TEST_F(TextFiles, ByteCopyIsExactAndRefusesAnEmptyOrMissingSource)
{
    const QByteArray picture("\xFF\xD8\xFF\xE0\r\n\x00\x1A end", 12);
    putBytes(u"fond.jpg"_s, picture);
    workspace::copyBytes(path(u"fond.jpg"_s), path(u"copy.jpg"_s));
    EXPECT_EQ(bytes(u"copy.jpg"_s), picture);

    workspace::copyBytes(path(u"copy.jpg"_s), path(u"copy.jpg"_s));
    EXPECT_EQ(bytes(u"copy.jpg"_s), picture);

    putBytes(u"empty.jpg"_s, "");
    putBytes(u"target.jpg"_s, "old");
    EXPECT_THROW(workspace::copyBytes(path(u"empty.jpg"_s), path(u"target.jpg"_s)), workspace::IoError);
    EXPECT_THROW(workspace::copyBytes(path(u"absent.jpg"_s), path(u"target.jpg"_s)), workspace::IoError);
    EXPECT_EQ(bytes(u"target.jpg"_s), QByteArray("old"));
}

// Every whole-file write of the workspace, each given the file to write.
struct WholeWrite
{
    const char *name;
    std::function<void(const QString &path, const QString &folder)> write;
};

const WholeWrite wholeWrites[] = {
    {"writeLines", [](const QString &path, const QString &) { workspace::writeLines(path, {u"nouveau"_s}); }},
    {"appendLines", [](const QString &path, const QString &) { workspace::appendLines(path, {u"Dupont;Jean;CM1;j@x.fr"_s}); }},
    {"writeBytes", [](const QString &path, const QString &) { workspace::writeBytes(path, "nouveau"); }},
    {"copyBytes", [](const QString &path, const QString &folder) { workspace::copyBytes(folder + u"/../source.jpg"_s, path); }},
    {"copyTextLines", [](const QString &path, const QString &folder) { workspace::copyTextLines(folder + u"/../source.jpg"_s, path); }},
    {"writeLinesAsMade", [](const QString &path, const QString &) {
         workspace::writeLinesAsMade(path, [](workspace::LineWriter &writer) { writer.write(u"nouveau"); });
     }},
};

// The write fails with the French report, and the file is what it was.
int failsAndKeeps(const WholeWrite &write, const QString &path, const QString &folder, const QByteArray &before)
{
    try {
        write.write(path, folder);
        return 10;  // written: the failure was not reported
    } catch (const workspace::IoError &error) {
        if (!error.message().contains(path) || !error.message().contains(u"tel qu'il était"_s))
            return 11;
    }
    if (bytesOf(path) != before)
        return 12;  // the file was changed in place
    return 0;
}

TEST(WholeFileWrites, AFolderClosedToNewFilesLeavesTheFileWholeAndSaysSo)
{
    QTemporaryDir root;
    const QString folder = root.path() + u"/eleve"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + u"/ListeLecteurs.txt"_s;
    const QByteArray before = "Martin;Lea;CM1;l@x.fr\r\n";
    {
        QFile source(root.path() + u"/source.jpg"_s);
        ASSERT_TRUE(source.open(QIODevice::WriteOnly));
        source.write("picture");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    // Everyone may write the file and read the folder; no one may add to it.
    ASSERT_EQ(chmod(QFile::encodeName(root.path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(root.path() + u"/source.jpg"_s).constData(), 0644), 0);
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0666), 0);
    ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0555), 0);
    const auto closedFolder = [&]() -> std::string {
        if (std::string why = restricted::asUserWithoutRights(); !why.empty())
            return why;
        if (access(QFile::encodeName(path).constData(), W_OK) != 0)
            return "the file cannot be written by a user without rights here";
        if (access(QFile::encodeName(folder).constData(), W_OK) == 0)
            return "the folder still takes new files";
        return {};
    };
    for (const WholeWrite &write : wholeWrites) {
        SCOPED_TRACE(write.name);
        const restricted::Outcome outcome =
            restricted::inChild(closedFolder, [&] { return failsAndKeeps(write, path, folder, before); });
        if (outcome.status == restricted::CannotRestrict)
            GTEST_SKIP() << outcome.skipped;
        EXPECT_EQ(outcome.status, 0) << "10: written in place, 11: wrong report, 12: file changed";
    }
    chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"ListeLecteurs.txt"_s});
}

TEST(WholeFileWrites, AWriteCutShortByAFullDiskLeavesTheFileWhole)
{
    QTemporaryDir root;
    const QString folder = root.path() + u"/eleve"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + u"/ListeLecteurs.txt"_s;
    const QByteArray before = "Martin;Lea;CM1;l@x.fr\r\n";
    {
        QFile source(root.path() + u"/source.jpg"_s);
        ASSERT_TRUE(source.open(QIODevice::WriteOnly));
        source.write(QByteArray(4096, 'p'));
    }
    // The disk takes 40 bytes more, fewer than any of these writes needs.
    const QString longLine(200, u'x');
    const WholeWrite longWrites[] = {
        {"writeLines", [&](const QString &p, const QString &) { workspace::writeLines(p, {longLine}); }},
        {"appendLines", [&](const QString &p, const QString &) { workspace::appendLines(p, {longLine}); }},
        {"copyBytes", wholeWrites[3].write},
        {"writeLinesAsMade", [&](const QString &p, const QString &) {
             workspace::writeLinesAsMade(p, [&](workspace::LineWriter &writer) { writer.write(longLine); });
         }},
    };
    for (const WholeWrite &write : longWrites) {
        SCOPED_TRACE(write.name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(before);
        file.close();
        const restricted::Outcome outcome = restricted::inChild(
            restricted::withLargestFile(rlim_t(before.size() + 40)), [&] { return failsAndKeeps(write, path, folder, before); });
        if (outcome.status == restricted::CannotRestrict)
            GTEST_SKIP() << outcome.skipped;
        EXPECT_EQ(outcome.status, 0) << "10: written, 11: wrong report, 12: file torn";
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"ListeLecteurs.txt"_s})
            << "nothing is left beside it";
    }
}

} // namespace

namespace {

// A link in a file's place (to another student's document) is never written
// through, by any writer, and its target keeps its bytes; a named pipe in a
// file's place is refused at once, never waited on.
TEST(WholeFileWrites, NeverWriteThroughALinkNorReadANamedPipe)
{
    QTemporaryDir root;
    const QString folder = root.path() + u"/eleve"_s;
    const QString other = root.path() + u"/autre/conte.html"_s;
    writeFile(root.path() + u"/source.jpg"_s, "JPEG");
    writeFile(other, "le texte d'un autre");
    std::vector<WholeWrite> writes(std::begin(wholeWrites), std::end(wholeWrites));
    writes.push_back({"writeBeforeMove", [](const QString &path, const QString &) {
                          workspace::writeBeforeMove(path, "nouveau");
                      }});
    for (const WholeWrite &write : writes) {
        SCOPED_TRACE(write.name);
        QDir().mkpath(folder);
        const QString link = folder + u"/conte.html"_s;
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(other, link));
        try {
            write.write(link, folder);
            ADD_FAILURE() << "written through the link";
        } catch (const workspace::IoError &error) {
            EXPECT_TRUE(error.message().contains(u"est un lien"_s)) << visible(error.message());
        }
        EXPECT_EQ(bytesOf(other), QByteArray("le texte d'un autre"));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
    }

    const QString pipe = folder + u"/conte.txt"_s;
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    try {
        workspace::readLines(pipe);
        ADD_FAILURE() << "a named pipe was read";
    } catch (const workspace::IoError &error) {
        EXPECT_TRUE(error.message().contains(u"n'est pas un fichier ordinaire"_s)) << visible(error.message());
    }
}

} // namespace
