// "Adresse pour la tablette": the QR code a tablet's camera reads is the
// pupil's address, on screen and on the printed cards of the class.
#include "fakeplatform.h"
#include "ftpserver.h"
#include "platform/curlftpclient.h"
#include "localhost/connexion.h"
#include "localhost/classroom.h"
#include "publishing/settings.h"
#include "students/Unit2.h"
#include "students/classcards.h"
#include "testfiles.h"
#include "workingfolder.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// What a program prints when run to its end, or nothing when it failed.
QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The texts of the QR codes that zbarimg finds in a picture, one a line.
QStringList scanned(const QString &picture)
{
    QStringList codes;
    for (const QString &line : output(u"zbarimg"_s, {u"--quiet"_s, u"--raw"_s, picture}).split(u'\n', Qt::SkipEmptyParts))
        codes << line;
    codes.sort();
    return codes;
}

} // namespace

TEST(TabletAddress, TheQrCodeReadsAsTheAddressWhateverItsLength)
{
    QTemporaryDir folder;
    for (const QString &address :
         {u"http://127.0.0.1:8000/Orvane_EVRY_JAURES_CM1/k7dqm3xa9pr2tb8wz5hn/_Tablematieres.html"_s,
          u"https://www.ecole-jean-jaures-evry.fr/publications/Orvane_SAINT_DENIS_ECOLE_DU_CENTRE_CM2/"
          u"k7dqm3xa9pr2tb8wz5hn/_Tablematieres.html"_s}) {
        const QString png = folder.filePath(u"code.png"_s);
        ASSERT_TRUE(students::qrImage(address, 4).save(png));
        EXPECT_EQ(scanned(png), QStringList{address});
    }
    EXPECT_TRUE(students::qrImage(QString(4000, u'x'), 1).isNull()) << "too long for one code";
}

TEST(TabletAddress, TheClassCardsHoldEachPupilsNameCodeAndAddress)
{
    fakes::Platform platform;
    fakes::WorkingFolder folder;
    fakes::FtpServer server;
    server.writePublicationIni(folder.path(), u"127.0.0.1:8000"_s, 5, fakes::FtpServer::Addresses::Discreet);
    const QStringList lines{u"EVRY"_s, u"JAURES"_s, u"CM1"_s};
    folder.writeText(u"ecole.txt"_s, lines);
    folder.writeText(u"EVRY_JAURES_CM1/lecteurs/ecole.txt"_s, lines);
    const struct
    {
        QString folder, code, shown;
    } pupils[] = {
        {u"Durand_Leo_l@x.fr"_s, u"a2b3c4d5e6f7g8h9jkmn"_s, u"Léo D."_s},
        {u"Le_Boeuf_Zoe_z@x.fr"_s, u"pqrstuvwxyz23456789a"_s, u"Zoé L."_s},
        {u"Martin_Paul_p@x.fr"_s, QString(), QString()},  // published under the name
    };
    for (const auto &pupil : pupils) {
        folder.makeFolder(u"EVRY_JAURES_CM1/lecteurs/"_s + pupil.folder);
        if (!pupil.code.isEmpty())
            folder.writeText(u"EVRY_JAURES_CM1/lecteurs/"_s + pupil.folder + u"/adresse.txt"_s, {pupil.code, pupil.shown});
    }

    TForm2 screen;
    screen.ListView1->setCurrentItem(screen.ListView1->findItems(pupils[1].folder, Qt::MatchExactly).value(0));
    screen.ListView1Click();
    ASSERT_FALSE(screen.Button7->isHidden());
    screen.Button7->click();
    TabletWindow *window = screen.tabletWindow();
    ASSERT_NE(window, nullptr);
    const QString zoe = u"http://127.0.0.1:8000/Orvane_EVRY_JAURES_CM1/pqrstuvwxyz23456789a/_Tablematieres.html"_s;
    EXPECT_EQ(window->Name->text(), u"Zoé L."_s);
    EXPECT_EQ(window->Address->text(), zoe);
    QTemporaryDir scratch;
    ASSERT_TRUE(window->Code->pixmap().save(scratch.filePath(u"shown.png"_s)));
    EXPECT_EQ(scanned(scratch.filePath(u"shown.png"_s)), QStringList{zoe});

    window->PrintCards->click();
    const QString pdf = folder.file(u"EVRY_JAURES_CM1/codes-tablettes.pdf"_s);
    ASSERT_TRUE(QFileInfo(pdf).isFile()) << platform.messages.shown.join(u" | "_s).toStdString();
    EXPECT_EQ(platform.shell.files, QStringList{QDir::cleanPath(pdf)});
    EXPECT_EQ(platform.messages.shown,
              QStringList{u"Ces élèves sont publiés sous leur nom et n'ont pas de carte : Martin_Paul_p@x.fr. Choisissez-les "
                          u"puis « Rendre l'adresse discrète »."_s});
    const QString text = output(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s});
    EXPECT_TRUE(text.contains(u"Léo D."_s) && text.contains(u"Zoé L."_s)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"Martin"_s));
    output(u"pdftoppm"_s, {u"-r"_s, u"100"_s, u"-png"_s, u"-singlefile"_s, pdf, scratch.filePath(u"page"_s)});
    ASSERT_TRUE(QFileInfo(scratch.filePath(u"page.png"_s)).isFile());
    EXPECT_EQ(scanned(scratch.filePath(u"page.png"_s)),
              (QStringList{u"http://127.0.0.1:8000/Orvane_EVRY_JAURES_CM1/a2b3c4d5e6f7g8h9jkmn/_Tablematieres.html"_s, zoe}));
}

// The program's own host is opened to the classroom's network from the
// student screen: publication.ini says so, and the host is started again.
TEST(TabletAddress, TheClassroomNetworkBoxWritesTheSettingAndStartsTheHostAgain)
{
    fakes::Platform platform;
    fakes::WorkingFolder folder;
    workspace::writeBytes(folder.file(u"publication.ini"_s), localhost::freshPublicationIni(24117, 24118, u"0123456789abcdef"_s));
    int restarts = 0;
    localhost::setHostRestart([&restarts] { ++restarts; });
    const auto forget = qScopeGuard([] { localhost::setHostRestart({}); });

    TForm2 screen;
    ASSERT_FALSE(screen.CheckBox1->isHidden());
    EXPECT_FALSE(screen.CheckBox1->isChecked());
    screen.CheckBox1->click();
    EXPECT_EQ(restarts, 1);
    EXPECT_TRUE(bytesOf(folder.file(u"publication.ini"_s)).contains("\r\nreseau_classe=oui\r\n"));
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown[0].startsWith(u"Le serveur de publication de cet ordinateur s'ouvre au réseau de la classe"_s));
    EXPECT_TRUE(publishing::readPublicationSettings(folder.path()).reseau_classe);
    EXPECT_TRUE(TForm2().CheckBox1->isChecked()) << "the next screen shows the setting";

    screen.CheckBox1->click();
    EXPECT_EQ(restarts, 2);
    EXPECT_FALSE(publishing::readPublicationSettings(folder.path()).reseau_classe);

    // A publication.ini that a person wrote is the person's: no box.
    workspace::writeBytes(folder.file(u"publication.ini"_s), "[publication]\r\nhote=ftp.ecole.fr\r\n");
    EXPECT_TRUE(TForm2().CheckBox1->isHidden());
}
