#include "visible.h"
#include "workspace/cp1252.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

class TextFiles : public testing::Test
{
protected:
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    QByteArray bytes(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    void putBytes(const QString &name, const QByteArray &content) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

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

TEST_F(TextFiles, AppendCreatesTheFileAndThenExtendsIt)
{
    workspace::appendLines(path(u"list.txt"_s), {u"Dupont;Jean"_s});
    workspace::appendLines(path(u"list.txt"_s), {u"Muller;Zoé"_s});
    EXPECT_EQ(bytes(u"list.txt"_s), QByteArray("Dupont;Jean\r\nMuller;Zo\xE9\r\n"));
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

} // namespace
