// Publishing from the layout screen and from the import screen, driven
// headless through their handlers, to a real FTP server.
#include "fakeplatform.h"
#include "ftpserver.h"
#include "import/Unit3.h"
#include "layout/Vitrine_test.h"
#include "publishing/diffusionscreen.h"
#include "platform/curlftpclient.h"
#include "publishing/diffusion.h"
#include "publishing/plainftp.h"
#include "studentchoice.h"
#include "students/Unit2.h"
#include "testfiles.h"
#include "visible.h"
#include "workingfolder.h"
#include "workspace/paths.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <set>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString Lecteur =
    u"Ceci permet au lecteur de récupérer les textes aménagés sur sa tablette ou son ordi au travers l'application \"Tessavo\"-lecteur"_s;
const QString Reutiliser = u"Vous avez choisi de réutiliser une mise en page d'un texte prcédent"_s;
const QString EnLigne = u"Les fichiers sont en ligne et disponibles pour Tessavo_Lecteur PC ou Tablette"_s;
const QString Target = u"../Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/"_s;
const QString Published = u"Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x"_s;
const QString TableAddress = u"http://127.0.0.1:8000/Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/_Tablematieres.html"_s;

const QStringList TenFiles{u"conte.html"_s, u"conte.txt"_s, u"conte.jpg"_s, u"style.css"_s,
                           u"entete.html"_s, u"FinFichier.html"_s, u"fond.jpg"_s, u"ListeImages.txt"_s,
                           u"_Tablematieres.txt"_s, u"_Tablematieres.html"_s};

std::set<QString> filesIn(const QString &folder)
{
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    return {names.begin(), names.end()};
}

// Runs a handler as a click does, inside an event loop; true when the
// handler asked the program to end.
bool endsTheProgram(const std::function<void()> &handler)
{
    // The program's own loop: an end asked for by the handler stops it before
    // the exit queued after the handler comes round.
    constexpr int WentOn = 7;
    QTimer::singleShot(0, [&] {
        handler();
        QTimer::singleShot(0, [] { QCoreApplication::exit(WentOn); });
    });
    return QCoreApplication::exec() != WentOn;
}

// A class PARIS_ECOLE_CM1 whose student Dupont_Jean_x has the ten files of a
// saved and laid-out document, and a sub-folder; a publishing host that has
// the remote student folder.
class Diffusion : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(server->error(), QString());
        platform.ftp.real = &curl;
        server->writePublicationIni(folder.path());
        QDir(server->root()).mkpath(Published);

        folder.writeText(u"ecole.txt"_s, {u"PARIS"_s, u"ECOLE"_s, u"CM1"_s});
        source = folder.file(u"PARIS_ECOLE_CM1/lecteurs/Dupont_Jean_x/"_s);
        const QString reserve = QStringLiteral(TESSAVO_SOURCE_DIR) + u"/reserve/"_s;
        for (const QString &name : {u"style.css"_s, u"entete.html"_s, u"FinFichier.html"_s, u"fond.jpg"_s})
            writeFile(source + name, bytesOf(reserve + name));
        writeFile(source + u"conte.html"_s, bytesOf(reserve + u"entete.html"_s) + "<!--DEBUT-->\r\nIl était une fois<br>\r\n");
        writeFile(source + u"conte.txt"_s, "Il \xe9tait une fois\r\n");
        QByteArray picture;
        for (quint32 i = 0; i < 300 * 1024; ++i)
            picture.append(char((i * 7919u) >> 3));
        writeFile(source + u"conte.jpg"_s, picture);
        writeFile(source + u"ListeImages.txt"_s, "conte.jpg\r\n");
        writeFile(source + u"_Tablematieres.txt"_s, "conte\r\n");
        writeFile(source + u"_Tablematieres.html"_s, "<a href=\"conte.html\">conte</a>\r\n");
        writeFile(source + u"anciens/vieux.html"_s, "une ancienne version");

        students = std::make_unique<TForm2>();
        fakes::chooseStudent(students.get(), u"Dupont_Jean_x"_s);
        students->setCurrentDocument(source + u"conte.html"_s);
        import = new TForm3(students.get(), *students);
        platform.messages.shown.clear();
    }

    // The layout screen opened from the import screen, as its step 3 does.
    TForm1 *openLayout()
    {
        import->MiseEnPage = true;
        auto *layout = new TForm1(import, *students);
        platform.messages.shown.clear();
        return layout;
    }

    void publishFromImport() { import->Button5->click(); }

    bool publishFromLayout(TForm1 *layout)
    {
        return endsTheProgram([layout] { layout->Button9->click(); });
    }

    QString remote(const QString &name) const { return server->file(Published + u'/' + name); }

    fakes::Platform platform;
    fakes::WorkingFolder folder;
    std::unique_ptr<fakes::FtpServer> server = std::make_unique<fakes::FtpServer>();
    platform::CurlFtpClients curl;
    QString source;
    std::unique_ptr<TForm2> students;
    TForm3 *import = nullptr;
};

TEST_F(Diffusion, PublishesExactlyTheTenFilesByteForByteReplacingTheirEarlierCopies)
{
    writeFile(remote(u"conte.html"_s), "an earlier copy, longer than the new document by far, far, far, far, far ...");
    writeFile(remote(u"style.css"_s), "old");

    publishFromImport();

    EXPECT_EQ(platform.messages.shown, (QStringList{Reutiliser, Lecteur}));
    EXPECT_EQ(filesIn(server->file(Published)), std::set<QString>(TenFiles.begin(), TenFiles.end()));
    for (const QString &name : TenFiles)
        EXPECT_EQ(bytesOf(remote(name)), bytesOf(source + name)) << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(remote(u"anciens"_s)));
    EXPECT_EQ(platform.shell.addresses, QStringList{TableAddress});
    ASSERT_FALSE(platform.ftp.log.isEmpty());
    EXPECT_EQ(platform.ftp.log.last(), u"disconnect"_s);

    ASSERT_EQ(platform.progress.files.size(), 10);
    EXPECT_EQ(platform.progress.opened, 1);
    EXPECT_EQ(platform.progress.openNow, 0);
    for (const fakes::ProgressWindows::File &file : platform.progress.files) {
        EXPECT_EQ(file.count, 10);
        EXPECT_EQ(file.sent, file.size) << file.name.toStdString();
    }
}

TEST_F(Diffusion, APublicationAgainSendsOnlyWhatChangedUnlessToutRepublierIsChecked)
{
    const auto sentNames = [this] {
        QStringList names;
        for (const fakes::ProgressWindows::File &file : platform.progress.files)
            names.append(file.name);
        platform.progress.files.clear();
        return names;
    };
    publishFromImport();
    EXPECT_EQ(sentNames().size(), 10);
    EXPECT_EQ(platform.progress.unchanged, 0);
    EXPECT_EQ(platform.messages.checkBoxes, QStringList{u"Tout republier"_s});

    writeFile(source + u"conte.txt"_s, "Il \xe9tait une fois, corrig\xe9\r\n");
    publishFromImport();
    EXPECT_EQ(sentNames(), QStringList{u"conte.txt"_s});
    EXPECT_EQ(platform.progress.unchanged, 9);
    EXPECT_EQ(filesIn(server->file(Published)), std::set<QString>(TenFiles.begin(), TenFiles.end()));
    for (const QString &name : TenFiles)
        EXPECT_EQ(bytesOf(remote(name)), bytesOf(source + name)) << name.toStdString();

    platform.messages.check = true;
    publishFromImport();
    EXPECT_EQ(sentNames().size(), 10);
    EXPECT_EQ(platform.progress.unchanged, 0);
}

TEST_F(Diffusion, AfterAFailedUploadTheNextPublicationSendsWhatDidNotGoUp)
{
    const QStringList order = publishing::sourceFiles(source);
    platform.ftp.fail = [&](const QString &operation) -> std::optional<QString> {
        if (operation.startsWith(u"STOR "_s) && operation.endsWith(u'/' + order.at(3)))
            return u"Le fichier « %1 » n'a pas pu être publié : 451 disque plein"_s.arg(order.at(3));
        return std::nullopt;
    };
    publishFromImport();
    EXPECT_EQ(platform.progress.files.size(), 4);

    platform.ftp.fail = {};
    platform.progress.files.clear();
    publishFromImport();
    QStringList sent;
    for (const fakes::ProgressWindows::File &file : platform.progress.files)
        sent.append(file.name);
    EXPECT_EQ(sent, order.mid(3));
    EXPECT_EQ(platform.progress.unchanged, 3);
    for (const QString &name : TenFiles)
        EXPECT_EQ(bytesOf(remote(name)), bytesOf(source + name)) << name.toStdString();
}

TEST_F(Diffusion, TheReuseMessageComesOnlyFromAnImportScreenThatOpenedNoLayout)
{
    import->MiseEnPage = true;
    publishFromImport();
    EXPECT_EQ(platform.messages.shown, QStringList{Lecteur});

    platform.messages.shown.clear();
    auto *fresh = new TForm3(students.get(), *students);
    platform.messages.shown.clear();
    fresh->Button5->click();
    EXPECT_EQ(platform.messages.shown, (QStringList{Reutiliser, Lecteur}));
}

TEST_F(Diffusion, FromTheLayoutScreenPublishesSaysSoOpensTheTableAndEndsTheProgram)
{
    TForm1 *layout = openLayout();

    EXPECT_TRUE(publishFromLayout(layout));

    EXPECT_EQ(platform.messages.shown, (QStringList{Lecteur, EnLigne}));
    EXPECT_EQ(layout->Edit4->text(), source);
    EXPECT_EQ(layout->Edit7->text(), Target);
    EXPECT_EQ(platform.shell.addresses, QStringList{TableAddress});
    // The layout left its backup in the folder: it stays on this computer.
    std::set<QString> readerFiles = filesIn(source);
    EXPECT_EQ(readerFiles.erase(u"conte.html.bak"_s), 1u);
    EXPECT_EQ(filesIn(server->file(Published)), readerFiles);
    auto *travaux = qobject_cast<fakes::WebView *>(layout->WebBrowser2);
    ASSERT_TRUE(travaux);
    EXPECT_EQ(travaux->address(), workspace::travauxAddress(folder.path()));
    EXPECT_TRUE(travaux->isHidden());
}

TEST_F(Diffusion, AHostThatIsDownIsReportedAndNothingElseHappens)
{
    {
        fakes::FtpServer gone;
        gone.writePublicationIni(folder.path());
    }
    TForm1 *layout = openLayout();

    EXPECT_FALSE(publishFromLayout(layout));

    ASSERT_EQ(platform.messages.shown.size(), 2);
    EXPECT_EQ(platform.messages.shown.first(), Lecteur);
    EXPECT_TRUE(platform.messages.shown.last().contains(u"127.0.0.1"_s)) << visible(platform.messages.shown.last());
    // The window was there while the host was waited for, and closed before the message.
    EXPECT_EQ(platform.progress.opened, 1);
    EXPECT_EQ(platform.progress.openNow, 0);
    EXPECT_TRUE(platform.progress.files.isEmpty());
    EXPECT_TRUE(platform.shell.addresses.isEmpty());
    EXPECT_FALSE(layout->WebBrowser2->isHidden());
}

// Plain FTP to another computer: told once in the run, before connecting; the
// publication goes on (here to a host that cannot be found).
TEST_F(Diffusion, PlainFtpToAnotherComputerIsToldOnceBeforeTheFirstUpload)
{
    writeFile(folder.file(u"publication.ini"_s),
              "[publication]\nhote=publication.invalid\nutilisateur=eleve\nmot_de_passe=secret\n"
              "adresse_web=publication.invalid\ndelai=1\n");
    const QString warning = publishing::plainFtpWarning(u"publication.invalid"_s);
    import->MiseEnPage = true;

    publishFromImport();
    publishFromImport();

    ASSERT_EQ(platform.messages.shown.size(), 5) << visible(platform.messages.shown.join(u'\n'));
    EXPECT_EQ(platform.messages.shown.mid(0, 2), (QStringList{Lecteur, warning}));
    EXPECT_TRUE(platform.messages.shown.at(2).contains(u"publication.invalid"_s)) << visible(platform.messages.shown.at(2));
    EXPECT_EQ(platform.messages.shown.at(3), Lecteur);
    EXPECT_EQ(platform.messages.shown.count(warning), 1);
}

TEST_F(Diffusion, APublicationIniWithoutWebAddressIsToldBeforeAnythingIsSent)
{
    writeFile(folder.file(u"publication.ini"_s),
              "[publication]\nhote=127.0.0.1\nport=" + QByteArray::number(server->port())
                  + "\nutilisateur=eleve\nmot_de_passe=\"s3cret,pw\"\n");
    import->MiseEnPage = true;

    publishFromImport();

    ASSERT_EQ(platform.messages.shown.size(), 2);
    EXPECT_TRUE(platform.messages.shown.last().contains(u"publication.ini"_s)) << visible(platform.messages.shown.last());
    EXPECT_TRUE(platform.messages.shown.last().contains(u"clé adresse_web"_s)) << visible(platform.messages.shown.last());
    EXPECT_TRUE(filesIn(server->file(Published)).empty());
    EXPECT_TRUE(platform.shell.addresses.isEmpty());
}

TEST_F(Diffusion, TheWindowIsToldWhileASilentHostIsWaitedFor)
{
    QTcpServer silent;  // the system accepts the connection; nobody answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    writeFile(folder.file(u"publication.ini"_s),
              "[publication]\nhote=127.0.0.1\nport=" + QByteArray::number(silent.serverPort())
                  + "\nutilisateur=eleve\nmot_de_passe=x\nadresse_web=127.0.0.1:8000\ndelai=1\n");
    import->MiseEnPage = true;

    publishFromImport();

    EXPECT_GT(platform.progress.waits, 0);
    EXPECT_EQ(platform.progress.openNow, 0);
    ASSERT_EQ(platform.messages.shown.size(), 2);
    EXPECT_TRUE(platform.messages.shown.last().contains(u"1 seconde"_s)) << visible(platform.messages.shown.last());
    EXPECT_TRUE(platform.shell.addresses.isEmpty());
}

TEST_F(Diffusion, AServerStoppedMidwayKeepsWhatWentUpAndNamesTheFileThatDidNot)
{
    const QStringList order = publishing::sourceFiles(source);
    std::set<QString> publishedBefore;
    platform.progress.onFile = [&](const fakes::ProgressWindows::File &file) {
        if (file.index == 3) {
            publishedBefore = filesIn(server->file(Published));
            server.reset();
        }
    };
    const QByteArray third = bytesOf(source + order.at(2));
    TForm1 *layout = openLayout();

    EXPECT_FALSE(publishFromLayout(layout));

    EXPECT_EQ(publishedBefore, (std::set<QString>{order.at(0), order.at(1)}));
    ASSERT_EQ(platform.messages.shown.size(), 2);
    EXPECT_TRUE(platform.messages.shown.last().contains(order.at(2))) << visible(platform.messages.shown.last());
    EXPECT_EQ(platform.progress.files.size(), 3);
    EXPECT_EQ(platform.progress.openNow, 0);
    EXPECT_TRUE(platform.shell.addresses.isEmpty());
    EXPECT_EQ(bytesOf(source + order.at(2)), third);
    EXPECT_FALSE(publishing::publicationRunning());
}

TEST_F(Diffusion, AnUploadTheHostRefusesNamesTheFileAndTheHostsReply)
{
    server = std::make_unique<fakes::FtpServer>(fakes::FtpServer::Options{false, u"elr"_s});
    ASSERT_EQ(server->error(), QString());
    server->writePublicationIni(folder.path());
    QDir(server->root()).mkpath(Published);
    const QString first = publishing::sourceFiles(source).first();

    publishFromImport();

    const QString report = platform.messages.shown.last();
    EXPECT_TRUE(report.contains(first)) << visible(report);
    EXPECT_TRUE(report.contains(u"550"_s)) << visible(report);
    EXPECT_TRUE(filesIn(server->file(Published)).empty());
    EXPECT_TRUE(platform.shell.addresses.isEmpty());
}

TEST_F(Diffusion, CancelAfterTheFirstFileKeepsItPublishedAndSaysHowManyWentUp)
{
    const QString first = publishing::sourceFiles(source).first();
    platform.progress.onFile = [this](const fakes::ProgressWindows::File &file) {
        if (file.index == 1)
            platform.progress.cancel = true;
    };
    TForm1 *layout = openLayout();

    EXPECT_FALSE(publishFromLayout(layout));

    EXPECT_EQ(filesIn(server->file(Published)), std::set<QString>{first});
    EXPECT_EQ(bytesOf(remote(first)), bytesOf(source + first));
    ASSERT_FALSE(platform.messages.shown.isEmpty());
    EXPECT_EQ(platform.messages.shown.last(),
              u"Publication interrompue : 1 fichier(s) sur %1 mis en ligne. Ceux-là restent publiés."_s.arg(
                  publishing::sourceFiles(source).size()));
    EXPECT_TRUE(platform.shell.addresses.isEmpty());
    ASSERT_FALSE(platform.ftp.log.isEmpty());
    EXPECT_EQ(platform.ftp.log.last(), u"disconnect"_s);
}

TEST_F(Diffusion, AFileDeletedDuringThePublicationIsLeftOut)
{
    const QStringList order = publishing::sourceFiles(source);
    platform.progress.onFile = [&](const fakes::ProgressWindows::File &file) {
        if (file.index == 1)
            QFile::remove(source + order.at(4));
    };

    publishFromImport();

    std::set<QString> expected(order.begin(), order.end());
    expected.erase(order.at(4));
    EXPECT_EQ(filesIn(server->file(Published)), expected);
    EXPECT_EQ(platform.messages.shown, (QStringList{Reutiliser, Lecteur}));
    EXPECT_EQ(platform.shell.addresses, QStringList{TableAddress});
}

TEST_F(Diffusion, AMissingStudentFolderIsReportedWithoutConnectingOrOpeningAnything)
{
    TForm1 *layout = openLayout();
    // The chosen student's folder is gone since.
    ASSERT_TRUE(QDir(source).removeRecursively());

    EXPECT_FALSE(publishFromLayout(layout));

    ASSERT_EQ(platform.messages.shown.size(), 2);
    EXPECT_TRUE(platform.messages.shown.last().contains(u"introuvable"_s)) << visible(platform.messages.shown.last());
    EXPECT_EQ(platform.progress.opened, 0);
    EXPECT_TRUE(platform.ftp.log.isEmpty()) << platform.ftp.log.join(u'|').toStdString();
    EXPECT_TRUE(platform.shell.addresses.isEmpty());
}

TEST_F(Diffusion, AFolderWithoutFilesPublishesNothingOpensNothingAndTheProgramGoesOn)
{
    TForm1 *layout = openLayout();
    for (const QString &name : publishing::sourceFiles(source))
        QFile::remove(source + name);
    const auto saysSo = [&] {
        ASSERT_FALSE(platform.messages.shown.isEmpty());
        EXPECT_TRUE(platform.messages.shown.last().contains(u"aucun fichier"_s)) << visible(platform.messages.shown.last());
        EXPECT_TRUE(platform.shell.addresses.isEmpty());
        EXPECT_TRUE(platform.ftp.log.isEmpty()) << "nothing to send: no connection";
        EXPECT_EQ(platform.progress.opened, 0);
    };

    import->MiseEnPage = true;
    publishFromImport();
    EXPECT_EQ(platform.messages.shown.size(), 2);
    saysSo();

    platform.messages.shown.clear();
    EXPECT_FALSE(publishFromLayout(layout));
    EXPECT_EQ(platform.messages.shown.size(), 2);
    saysSo();
    EXPECT_TRUE(filesIn(server->file(Published)).empty());
}

TEST_F(Diffusion, WhatIsNotTheStudentsOwnIsNeverPublished)
{
    // A link to the host's password, a link to a folder, a save cut short, a
    // name that is not UTF-8: only the ten files go up.
    ASSERT_EQ(symlink("../../../publication.ini", QFile::encodeName(source + u"lien.txt"_s).constData()), 0);
    ASSERT_EQ(symlink("/etc", QFile::encodeName(source + u"systeme"_s).constData()), 0);
    writeFile(source + u"conte.html.qWeRtY"_s, "<html>la moitié d'un");
    const QByteArray badName = QFile::encodeName(source) + "r\xe9sum\xe9.txt";
    const int fd = ::open(badName.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "x", 1), 1);
    ::close(fd);

    publishFromImport();

    EXPECT_EQ(filesIn(server->file(Published)), std::set<QString>(TenFiles.begin(), TenFiles.end()));
    for (const QString &name : TenFiles)
        EXPECT_EQ(bytesOf(remote(name)), bytesOf(source + name)) << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(source + u"conte.html.qWeRtY"_s)) << "the leftover is cleaned up";
    ASSERT_EQ(platform.messages.shown.size(), 3);
    const QString leftOut = platform.messages.shown[2];
    EXPECT_TRUE(leftOut.startsWith(u"Ces fichiers du dossier de l'élève ne sont pas publiés :"_s)) << visible(leftOut);
    EXPECT_TRUE(leftOut.contains(u"« lien.txt » : c'est un lien"_s)) << visible(leftOut);
    EXPECT_TRUE(leftOut.contains(u"« systeme » : c'est un lien"_s)) << visible(leftOut);
    EXPECT_TRUE(leftOut.contains(u"« r\uFFFDsum\uFFFD.txt » : son nom n'est pas lisible"_s)) << visible(leftOut);
    EXPECT_EQ(platform.shell.addresses, QStringList{TableAddress});
}

TEST_F(Diffusion, AStudentFolderThatIsALinkIsRefused)
{
    const QString elsewhere = folder.file(u"ailleurs/"_s);
    ASSERT_TRUE(QDir().rename(source, elsewhere));
    ASSERT_EQ(symlink(QFile::encodeName(elsewhere).constData(), QFile::encodeName(source.chopped(1)).constData()), 0);
    import->MiseEnPage = true;

    publishFromImport();

    ASSERT_EQ(platform.messages.shown.size(), 2);
    EXPECT_TRUE(platform.messages.shown[1].contains(u"est un lien vers un autre dossier"_s))
        << visible(platform.messages.shown[1]);
    EXPECT_TRUE(platform.ftp.log.isEmpty());
    EXPECT_TRUE(filesIn(server->file(Published)).empty());
    EXPECT_TRUE(platform.shell.addresses.isEmpty());
}

TEST_F(Diffusion, WithoutABrowserTheAddressIsGivenAndTheLayoutScreenEndsOnlyAfterIt)
{
    const QString told = u"Aucun navigateur n'a pu être ouvert sur cet ordinateur. Ouvrez vous-même cette adresse "
                         u"(vous pouvez la sélectionner et la copier) :\n"_s + TableAddress;
    platform.shell.browser = false;
    import->MiseEnPage = true;
    publishFromImport();
    EXPECT_EQ(platform.messages.shown, (QStringList{Lecteur, told}));

    platform.messages.shown.clear();
    TForm1 *layout = openLayout();
    // The message comes while the publication still shows its page, which
    // is hidden right before the end.
    bool toldWhilePublishing = false;
    platform.messages.onShow = [&](const QString &text) {
        if (text == told)
            toldWhilePublishing = !layout->WebBrowser2->isHidden();
    };
    EXPECT_TRUE(publishFromLayout(layout));
    EXPECT_EQ(platform.messages.shown, (QStringList{Lecteur, EnLigne, told}));
    EXPECT_TRUE(toldWhilePublishing);
}

TEST_F(Diffusion, ASecondPublicationDoesNotStartWhileOneRuns)
{
    import->MiseEnPage = true;
    int messagesDuring = -1;
    int clientsDuring = -1;
    platform.progress.onFile = [&](const fakes::ProgressWindows::File &file) {
        if (file.index != 2)
            return;
        const int messages = int(platform.messages.shown.size());
        const int clients = platform.ftp.created;
        import->Button5Click();
        messagesDuring = int(platform.messages.shown.size()) - messages;
        clientsDuring = platform.ftp.created - clients;
    };

    publishFromImport();

    EXPECT_EQ(messagesDuring, 0);
    EXPECT_EQ(clientsDuring, 0);
    EXPECT_EQ(platform.shell.addresses, QStringList{TableAddress});
}

TEST(UploadProgress, TheClientTellsTheBytesOfEachFileAsTheyGoUp)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    QTemporaryDir local;
    const QString picture = local.filePath(u"image.jpg"_s);
    writeFile(picture, QByteArray(300 * 1024, '\x5a'));
    platform::CurlFtpClient client;
    client.connect(server.login());
    QList<std::pair<qint64, qint64>> told;
    client.setProgress([&told](qint64 sent, qint64 total) { told.append({sent, total}); });

    client.put(picture, u"image.jpg"_s);
    ASSERT_FALSE(told.isEmpty());
    EXPECT_EQ(told.last(), std::make_pair(qint64(300 * 1024), qint64(300 * 1024)));
    EXPECT_EQ(bytesOf(server.file(u"image.jpg"_s)), bytesOf(picture));

    const qsizetype before = told.size();
    client.setProgress({});
    client.put(picture, u"copie.jpg"_s);
    EXPECT_EQ(told.size(), before);
}

TEST(ProgressWindow, ShowsTheFileAndTheBytesAndAnnulerAsksToStop)
{
    fakes::Platform fakes;
    QWidget screen;
    platform::DesktopProgressWindows windows;
    const std::unique_ptr<platform::Progress> progress = windows.open(&screen);
    progress->fileStarted(2, 10, u"conte.jpg"_s, 300 * 1024);
    progress->bytesSent(150 * 1024, 300 * 1024);

    auto *dialog = screen.findChild<QDialog *>();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isModal());
    QStringList texts;
    for (const QLabel *label : dialog->findChildren<QLabel *>()) {
        if (label->isVisibleTo(dialog))
            texts << label->text();
    }
    EXPECT_TRUE(texts.contains(u"Fichier 2 sur 10 : conte.jpg"_s)) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains(u"150 ko envoyés sur 300 ko"_s)) << texts.join(u'|').toStdString();

    EXPECT_FALSE(progress->cancelRequested());
    QPushButton *annuler = dialog->findChild<QPushButton *>();
    ASSERT_TRUE(annuler);
    EXPECT_EQ(annuler->text(), u"Annuler"_s);
    annuler->click();
    EXPECT_TRUE(progress->cancelRequested());
    EXPECT_FALSE(annuler->isEnabled());
    bool told = false;
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        told = told || (label->isVisibleTo(dialog) && label->text() == u"Arrêt après le fichier en cours…"_s);
    EXPECT_TRUE(told);
    dialog->close();
    EXPECT_TRUE(dialog->isVisible());
}

} // namespace
