#include "app/commandline.h"
#include "visible.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace Qt::StringLiterals;
using Request = app::CommandLine::Request;

namespace {

struct Case
{
    const char *name;
    QStringList arguments;
    Request request;
    QString folder;
    QString refusal; // refused: why; the request and folder are then not read
};

TEST(CommandLine, ReadsTheRequestAndTheWorkingFolder)
{
    const Case cases[] = {
        {"nothing", {}, Request::Run, {}, {}},
        {"a folder", {u"/home/maîtresse/Mes textes"_s}, Request::Run, u"/home/maîtresse/Mes textes"_s, {}},
        {"help", {u"--help"_s}, Request::Help, {}, {}},
        {"short help after a folder", {u"Textes"_s, u"-h"_s}, Request::Help, {}, {}},
        {"version", {u"--version"_s}, Request::Version, {}, {}},
        {"short version", {u"-v"_s}, Request::Version, {}, {}},
        {"the first request wins", {u"-v"_s, u"--help"_s}, Request::Version, {}, {}},
        {"a folder named like an option after --", {u"--"_s, u"--help"_s}, Request::Run, u"--help"_s, {}},
        {"-- alone", {u"--"_s}, Request::Run, {}, {}},
        {"an unknown option", {u"--dossier=x"_s}, Request::Run, {}, u"Option inconnue : « --dossier=x »."_s},
        {"a toolkit option", {u"-platform"_s, u"xcb"_s}, Request::Run, {}, u"Option inconnue : « -platform »."_s},
        {"two folders", {u"a"_s, u"--"_s, u"b"_s}, Request::Run, {},
         u"Un seul dossier de travail peut être donné, et non 2 : « a », « b »."_s},
        {"an empty folder name", {QString()}, Request::Run, {}, u"Le nom du dossier de travail est vide."_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const workspace::Result<app::CommandLine> read = app::readCommandLine(c.arguments);
        EXPECT_EQ(read.reason(), c.refusal) << visible(read.reason());
        if (!read)
            continue;
        EXPECT_TRUE(c.refusal.isEmpty());
        EXPECT_EQ(read->request, c.request);
        EXPECT_EQ(read->folder, c.folder);
    }
}

// The help names exactly the options that are understood, and reads in a
// terminal of 80 columns.
TEST(CommandLine, TheHelpShowsEveryOptionThatIsUnderstoodOnNarrowLines)
{
    const QString help = app::helpText();
    EXPECT_TRUE(help.startsWith(u"Usage : tessavo [DOSSIER]\n"_s)) << visible(help.left(40));
    EXPECT_TRUE(help.endsWith(u'\n'));
    for (const QString &line : help.split(u'\n'))
        EXPECT_LE(line.size(), 79) << visible(line);

    const QRegularExpression option(u"(?<![\\w-])(--?[a-z]+)"_s);
    QStringList shown;
    for (const QRegularExpressionMatch &match : option.globalMatch(help.section(u"Options :"_s, 1)))
        shown.append(match.captured(1));
    EXPECT_EQ(shown, (QStringList{u"-h"_s, u"--help"_s, u"-v"_s, u"--version"_s}));
    for (const QString &name : shown)
        EXPECT_TRUE(app::readCommandLine({name}).ok()) << name.toStdString();
}

TEST(CommandLine, TheVersionIsTheProjectsOwn)
{
    EXPECT_TRUE(QRegularExpression(u"^Tessavo, version [0-9]+\\.[0-9]+(\\.[0-9]+)?\\n$"_s).match(app::versionText()).hasMatch())
        << visible(app::versionText());
}

} // namespace
