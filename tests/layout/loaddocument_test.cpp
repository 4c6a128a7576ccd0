#include "layout/loaddocument.h"

#include "testfiles.h"
#include "workspace/ioerror.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

TEST(LoadDocument, ShowsTheLinesThenWritesTheDocumentAgainAndItsBackupWithNoAidInForce)
{
    struct Case
    {
        const char *name;
        QString flag47;
        bool backup;
    };
    const Case cases[] = {
        {"no aid in force", {}, true},
        {"an aid flag in line 47", u"/*TIRET*/"_s, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QTemporaryDir dir;
        const QString path = dir.path() + u"/conte.html"_s;
        // Line ends as another program may leave them, "é" in Windows-1252.
        writeFile(path, "<!--DEBUT-->\nL'\xe9t\xe9.<br>\n<!--FIN-->\n");
        layout::Css css;
        css[47] = c.flag47;
        QStringList shown;
        QByteArray onDiskWhenShown;
        layout::loadDocument(path, css, [&](const QStringList &lines) {
            shown = lines;
            onDiskWhenShown = bytesOf(path);
        });
        EXPECT_EQ(shown, (QStringList{u"<!--DEBUT-->"_s, u"L'été.<br>"_s, u"<!--FIN-->"_s}));
        EXPECT_EQ(onDiskWhenShown, "<!--DEBUT-->\nL'\xe9t\xe9.<br>\n<!--FIN-->\n") << "shown before the rewrite";
        EXPECT_EQ(bytesOf(path), "<!--DEBUT-->\r\nL'\xe9t\xe9.<br>\r\n<!--FIN-->\r\n");
        EXPECT_EQ(QFileInfo::exists(path + u".bak"_s), c.backup);
        if (c.backup) {
            EXPECT_EQ(bytesOf(path + u".bak"_s), bytesOf(path));
        }
    }
}

TEST(LoadDocument, AMissingDocumentRaisesAndShowsNothing)
{
    const QTemporaryDir dir;
    bool shown = false;
    EXPECT_THROW(layout::loadDocument(dir.path() + u"/absent.html"_s, layout::Css(),
                                      [&](const QStringList &) { shown = true; }),
                 workspace::IoError);
    EXPECT_FALSE(shown);
}

} // namespace
