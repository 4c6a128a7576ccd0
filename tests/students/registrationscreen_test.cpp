// "Enregistrer cet élève" on the student screen, driven headless against a
// real FTP server on loopback; and the screen's other edge cases.
#include "app/screenflow.h"
#include "fakeplatform.h"
#include "ftpserver.h"
#include "import/Unit3.h"
#include "platform/curlftpclient.h"
#include "students/Unit2.h"
#include "testfiles.h"
#include "visible.h"
#include "workingfolder.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString Reserve = QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/");
const QString Class = u"EVRY_JAURES_CM1"_s;
const QString Zoe = u"Le_Boeuf_Zoe_zoe@x.fr"_s;


// Every file and folder under root, relative, sorted.
QStringList tree(const QString &root)
{
    QStringList entries;
    const QDir base(root);
    const QFileInfoList found = QDir(root).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &info : found) {
        entries << base.relativeFilePath(info.filePath());
        if (info.isDir()) {
            for (const QString &inner : tree(info.filePath()))
                entries << base.relativeFilePath(info.filePath()) + u'/' + inner;
        }
    }
    entries.sort();
    return entries;
}

struct Typed
{
    QString city = u"évry"_s;
    QString school = u"jaurès"_s;
    QString schoolClass = u"cm1"_s;
    QString surname = u"Le Bœuf"_s;
    QString firstName = u"Zoé"_s;
    QString mail = u"zoe@x.fr"_s;
};

class RegistrationScreen : public testing::Test
{
protected:
    void SetUp() override
    {
        // The globals as a fresh start finds them.
        RepertoireW.clear();
        NomClasse.clear();
        ASSERT_EQ(server.error(), QString());
        platform.ftp.real = &curl;
        folder.makeFolder(u"reserve"_s);
        for (const QString &name : QDir(Reserve).entryList(QDir::Files))
            QFile::copy(Reserve + name, folder.file(u"reserve/"_s + name));
        server.writePublicationIni(folder.path());
    }

    void type(TForm2 &screen, const Typed &typed)
    {
        screen.Edit8->setText(typed.city);
        screen.Edit9->setText(typed.school);
        screen.Edit3->setText(typed.schoolClass);
        screen.Edit1->setText(typed.surname);
        screen.Edit2->setText(typed.firstName);
        screen.Edit4->setText(typed.mail);
    }

    // A class with its students, as an earlier session left it; the class in
    // use unless told otherwise.
    void makeClass(const QString &schoolClass, const QStringList &students, bool inUse = true)
    {
        const QStringList lines{u"EVRY"_s, u"JAURES"_s, schoolClass};
        if (inUse)
            folder.writeText(u"ecole.txt"_s, lines);
        folder.writeText(u"EVRY_JAURES_"_s + schoolClass + u"/lecteurs/ecole.txt"_s, lines);
        for (const QString &student : students)
            folder.makeFolder(u"EVRY_JAURES_"_s + schoolClass + u"/lecteurs/"_s + student);
    }

    QString students(const QString &relative = {}) const
    {
        return folder.file(Class + u"/lecteurs/"_s + relative);
    }

    QByteArray indexPage(const QStringList &links) const
    {
        return bytesOf(Reserve + u"Indexdeb.txt"_s) + workspace::encodeLines(links) + bytesOf(Reserve + u"Indexfin.txt"_s);
    }

    fakes::Platform platform;
    fakes::WorkingFolder folder;
    fakes::FtpServer server;
    platform::CurlFtpClients curl;
};

QString link(const QString &target, const QString &text)
{
    return u"<a href=\"http://127.0.0.1:8000/Orvane_EVRY_JAURES_CM1/"_s + target + u"/_Tablematieres.html\">"_s + text
           + u"</a><br>"_s;
}

} // namespace

TEST_F(RegistrationScreen, TheFirstRegistrationMakesEveryFileAndTheRemoteFolders)
{
    TForm2 screen;
    type(screen, {});
    screen.Button1->click();

    EXPECT_EQ(platform.messages.shown, QStringList());
    const QByteArray classLines = "EVRY\r\nJAURES\r\nCM1\r\n";
    EXPECT_EQ(bytesOf(folder.file(u"ecole.txt"_s)), classLines);
    EXPECT_EQ(bytesOf(students(u"ecole.txt"_s)), classLines);
    EXPECT_EQ(bytesOf(students(u"ListeLecteurs.txt"_s)), QByteArray("Le_Boeuf;Zoe;CM1;zoe@x.fr\r\n"));
    for (const QString &name : {u"style.css"_s, u"entete.html"_s, u"FinFichier.html"_s, u"fond.jpg"_s})
        EXPECT_EQ(bytesOf(students(Zoe + u'/' + name)), bytesOf(Reserve + name)) << name.toStdString();
    const QByteArray page = indexPage({link(Zoe, u"Le Bœuf_Zoé_zoe@x.fr"_s)});
    EXPECT_EQ(bytesOf(folder.file(Class + u"/index.html"_s)), page);
    EXPECT_EQ(tree(folder.file(Class)),
              (QStringList{u"index.html"_s, u"lecteurs"_s, u"lecteurs/"_s + Zoe, u"lecteurs/"_s + Zoe + u"/FinFichier.html"_s,
                           u"lecteurs/"_s + Zoe + u"/entete.html"_s, u"lecteurs/"_s + Zoe + u"/fond.jpg"_s,
                           u"lecteurs/"_s + Zoe + u"/style.css"_s, u"lecteurs/ListeLecteurs.txt"_s,
                           u"lecteurs/ecole.txt"_s}));

    EXPECT_EQ(tree(server.root()), (QStringList{u"Orvane_EVRY_JAURES_CM1"_s, u"Orvane_EVRY_JAURES_CM1/"_s + Zoe,
                                                u"Orvane_EVRY_JAURES_CM1/index.html"_s}));
    EXPECT_EQ(bytesOf(server.file(u"Orvane_EVRY_JAURES_CM1/index.html"_s)), page);
    EXPECT_EQ(platform.ftp.log.filter(u"MKD"_s),
              (QStringList{u"MKD ../Orvane_EVRY_JAURES_CM1/"_s, u"MKD ../Orvane_EVRY_JAURES_CM1/"_s + Zoe + u'/'}));
    ASSERT_FALSE(platform.ftp.log.isEmpty());
    EXPECT_EQ(platform.ftp.log.last(), u"disconnect"_s);

    EXPECT_EQ(screen.Edit8->text(), u"EVRY"_s);
    EXPECT_EQ(screen.Edit9->text(), u"JAURES"_s);
    EXPECT_EQ(screen.Edit3->text(), u"CM1"_s);
    EXPECT_EQ(NomClasse, u"CM1"_s);
    EXPECT_EQ(RepertoireW, students());
    EXPECT_EQ(screen.Label1->text(), students(Zoe) + QDir::separator());
    EXPECT_EQ(screen.Label5->text(), u"ELEVE ACTUEL : "_s + Zoe);
    EXPECT_EQ(screen.Edit7->text(), Zoe);
    EXPECT_EQ(screen.Edit10->text(), u"../Orvane_EVRY_JAURES_CM1/"_s + Zoe + u'/');
    ASSERT_EQ(screen.ListView1->count(), 1);
    EXPECT_EQ(screen.ListView1->item(0)->text(), Zoe);
    EXPECT_FALSE(screen.Button2->isHidden());
    EXPECT_FALSE(screen.Button1->isHidden());
}

TEST_F(RegistrationScreen, ASecondRegistrationOnlyMakesTheStudentCurrentAndCopiesTheBackground)
{
    makeClass(u"CM1"_s, {Zoe});
    folder.writeText(Class + u"/index.html"_s, {u"avant"_s});
    TForm2 screen;
    type(screen, {});
    const QString fond = students(Zoe + u"/fond.jpg"_s);
    screen.Button1->click();

    EXPECT_EQ(platform.messages.shown, QStringList{u"Cet élève est déjà enregistré"_s});
    EXPECT_FALSE(QFileInfo::exists(students(u"ListeLecteurs.txt"_s)));
    EXPECT_EQ(bytesOf(folder.file(Class + u"/index.html"_s)), QByteArray("avant\r\n"));
    EXPECT_FALSE(QFileInfo::exists(server.file(u"Orvane_EVRY_JAURES_CM1/index.html"_s)));
    EXPECT_FALSE(QFileInfo::exists(students(Zoe + u"/style.css"_s)));
    EXPECT_EQ(bytesOf(fond), bytesOf(Reserve + u"fond.jpg"_s));
    EXPECT_EQ(screen.Label1->text(), students(Zoe) + QDir::separator());
    EXPECT_EQ(screen.Label5->text(), u"ELEVE ACTUEL : "_s + Zoe);
    EXPECT_EQ(screen.ListView1->count(), 1);
    EXPECT_FALSE(screen.Button2->isHidden());
}

TEST_F(RegistrationScreen, AThirdStudentIsListedFirstOnThePublishedPage)
{
    makeClass(u"CM1"_s, {u"martin_Lea_l@x.fr"_s, u"Dupont_Jean_j@x.fr"_s});
    TForm2 screen;
    type(screen, {u"EVRY"_s, u"JAURES"_s, u"CM1"_s, u"Petit"_s, u"Léo"_s, u"leo@x.fr"_s});
    screen.Button1->click();

    EXPECT_EQ(platform.messages.shown, QStringList());
    const QByteArray page =
        indexPage({link(u"Petit_Leo_leo@x.fr"_s, u"Petit_Léo_leo@x.fr"_s),
                   link(u"Dupont_Jean_j@x.fr"_s, u"Dupont_Jean_j@x.fr"_s),
                   link(u"martin_Lea_l@x.fr"_s, u"martin_Lea_l@x.fr"_s)});
    EXPECT_EQ(bytesOf(folder.file(Class + u"/index.html"_s)), page);
    EXPECT_EQ(bytesOf(server.file(u"Orvane_EVRY_JAURES_CM1/index.html"_s)), page);
    ASSERT_EQ(screen.ListView1->count(), 3);
    EXPECT_EQ(screen.ListView1->item(2)->text(), u"Petit_Leo_leo@x.fr"_s);
}

TEST_F(RegistrationScreen, AnEmptySurnameGivesAFolderBeginningWithAnUnderscore)
{
    TForm2 screen;
    Typed typed;
    typed.surname.clear();
    type(screen, typed);
    screen.Button1->click();
    EXPECT_EQ(platform.messages.shown, QStringList());
    EXPECT_TRUE(QFileInfo(students(u"_Zoe_zoe@x.fr/style.css"_s)).isFile());
    EXPECT_EQ(bytesOf(students(u"ListeLecteurs.txt"_s)), QByteArray(";Zoe;CM1;zoe@x.fr\r\n"));
    EXPECT_TRUE(QFileInfo(server.file(u"Orvane_EVRY_JAURES_CM1/_Zoe_zoe@x.fr"_s)).isDir());
}

TEST_F(RegistrationScreen, AnEmptyMailIsRefusedOnceTheHostIsReachedAndNothingIsWritten)
{
    TForm2 screen;
    Typed typed;
    typed.mail.clear();
    type(screen, typed);
    screen.Button1->click();
    EXPECT_EQ(platform.messages.shown, QStringList{u"Il faut mettre un nom d'email valide"_s});
    EXPECT_FALSE(QFileInfo::exists(folder.file(Class)));
    EXPECT_FALSE(QFileInfo::exists(folder.file(u"ecole.txt"_s)));
    EXPECT_EQ(platform.ftp.log, QStringList{u"connect 127.0.0.1:%1 eleve"_s.arg(server.port())});
    EXPECT_TRUE(screen.IdFTP1->connected()) << "the next connection sequence closes it";
    EXPECT_EQ(tree(server.root()), QStringList());
    EXPECT_TRUE(screen.Button2->isHidden());
}

TEST_F(RegistrationScreen, AClassChangeSwitchesToAnExistingClassWithoutRegistering)
{
    makeClass(u"CM2"_s, {u"Dupont_Jean_j@x.fr"_s});
    makeClass(u"CM1"_s, {Zoe});
    TForm2 screen;
    screen.ListView1->setCurrentRow(0);
    screen.ListView1Click();
    screen.Edit3->setText(u"cm2"_s);
    screen.Button1->click();

    EXPECT_EQ(platform.messages.shown, QStringList{u"Vous avez changez de classe ?"_s});
    const QString cm2 = folder.file(u"EVRY_JAURES_CM2/lecteurs/"_s);
    EXPECT_EQ(RepertoireW, cm2);
    EXPECT_EQ(NomClasse, u"CM2"_s);
    EXPECT_EQ(screen.Label1->text(), cm2);
    ASSERT_EQ(screen.ListView1->count(), 1);
    EXPECT_EQ(screen.ListView1->item(0)->text(), u"Dupont_Jean_j@x.fr"_s);
    EXPECT_EQ(bytesOf(folder.file(u"ecole.txt"_s)), QByteArray("EVRY\r\nJAURES\r\nCM2\r\n"));
    EXPECT_EQ(bytesOf(cm2 + u"ecole.txt"_s), QByteArray("EVRY\r\nJAURES\r\nCM2\r\n"));
    EXPECT_EQ(screen.Label5->text(), u"ELEVE ACTUEL : "_s + Zoe);
    EXPECT_EQ(screen.Edit10->text(), u"../Orvane_EVRY_JAURES_CM1/"_s + Zoe + u'/');
    EXPECT_FALSE(QFileInfo::exists(cm2 + u"ListeLecteurs.txt"_s));
    EXPECT_EQ(platform.ftp.log, QStringList());

    // A class typed with an accent finds the folder its registration made.
    makeClass(u"6EME"_s, {u"Petit_Leo_l@x.fr"_s}, false);
    platform.messages.shown.clear();
    screen.Edit3->setText(u"6ème"_s);
    screen.Button1->click();
    EXPECT_EQ(platform.messages.shown, QStringList{u"Vous avez changez de classe ?"_s});
    EXPECT_EQ(NomClasse, u"6EME"_s);
    EXPECT_EQ(screen.Edit3->text(), u"6EME"_s);
    ASSERT_EQ(screen.ListView1->count(), 1);
    EXPECT_EQ(screen.ListView1->item(0)->text(), u"Petit_Leo_l@x.fr"_s);
    EXPECT_EQ(bytesOf(folder.file(u"ecole.txt"_s)), QByteArray("EVRY\r\nJAURES\r\n6EME\r\n"));
    // Typed again while in use, it is the same class: the student is registered there.
    screen.Edit3->setText(u"6ème"_s);
    screen.Button1->click();
    EXPECT_EQ(platform.messages.shown.size(), 1);
}

TEST_F(RegistrationScreen, AClassChangeToAMissingClassForgetsTheClassInUse)
{
    makeClass(u"CM1"_s, {Zoe});
    TForm2 screen;
    screen.Edit3->setText(u"CE2"_s);
    // The handler runs in the program's event loop, which it ends.
    QTimer tooLong;
    tooLong.setSingleShot(true);
    QObject::connect(&tooLong, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    tooLong.start(5000);
    QTimer::singleShot(0, &screen, [&] { screen.Button1->click(); });
    EXPECT_EQ(QCoreApplication::exec(), 0) << "the program did not end";
    EXPECT_EQ(platform.messages.shown,
              (QStringList{u"Vous avez changez de classe ?"_s, u"Cette classe n'existe pas. Redémarrer tessavo"_s}));
    EXPECT_FALSE(QFileInfo::exists(folder.file(u"ecole.txt"_s)));
    EXPECT_TRUE(QFileInfo::exists(students(Zoe)));

    TForm2 next;  // the next start
    EXPECT_EQ(next.Edit3->text(), u"Classe"_s);
    EXPECT_EQ(next.ListView1->count(), 0);
}

TEST_F(RegistrationScreen, RefusesANameTheFilesCannotHoldBeforeWritingAnything)
{
    struct Case { const char *name; QString Typed::*field; QString value; QString caption, shown; };
    const Case cases[] = {
        {"city that climbs", &Typed::city, u"../x"_s, u"Ville"_s, u"« / »"_s},
        {"city outside the code page", &Typed::city, u"Łódź"_s, u"Ville"_s, u"« Ł » (U+0141)"_s},
        {"school with a backslash", &Typed::school, u"a\\b"_s, u"Ecole"_s, u"« \\ »"_s},
        {"school outside the code page", &Typed::school, u"İzmir"_s, u"Ecole"_s, u"« İ » (U+0130)"_s},
        {"class of dots", &Typed::schoolClass, u".."_s, u"Classe"_s, u"« .. »"_s},
        {"class with an invisible mark", &Typed::schoolClass, u"cm1\u200E"_s, u"Classe"_s, u"(U+200E)"_s},
        {"surname with a command", &Typed::surname, u"x\r\nDELE index.html"_s, u"Nom"_s, u"un retour à la ligne"_s},
        {"surname outside the code page", &Typed::surname, u"Çağlar"_s, u"Nom"_s, u"« ğ » (U+011F)"_s},
        {"first name with a colon", &Typed::firstName, u"a:b"_s, u"Prénom"_s, u"« : »"_s},
        {"first name with a hash", &Typed::firstName, u"Zoé#2"_s, u"Prénom"_s, u"« # »"_s},
        {"mail with a bar", &Typed::mail, u"a|b@x"_s, u"Mail"_s, u"« | »"_s},
        {"mail with a percent", &Typed::mail, u"j%x@x.fr"_s, u"Mail"_s, u"« % »"_s},
        {"surname of 300 characters", &Typed::surname, QString(300, u'a'), u"Nom"_s, u"est trop long"_s},
        {"school of 250 characters", &Typed::school, QString(250, u'E'), u"Ecole"_s, u"est trop long"_s},
    };
    const QStringList before = tree(folder.path());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        platform.messages.shown.clear();
        TForm2 screen;
        Typed typed;
        typed.*c.field = c.value;
        type(screen, typed);
        screen.Button1->click();
        ASSERT_EQ(platform.messages.shown.size(), 1);
        EXPECT_TRUE(platform.messages.shown[0].startsWith(u"Le champ « "_s + c.caption + u" »"_s))
            << visible(platform.messages.shown[0]);
        EXPECT_TRUE(platform.messages.shown[0].contains(c.shown)) << visible(platform.messages.shown[0]);
        EXPECT_EQ(tree(folder.path()), before);
        EXPECT_EQ(tree(server.root()), QStringList());
        EXPECT_EQ(platform.ftp.log, QStringList());
    }
}

TEST_F(RegistrationScreen, APastedIdentityIsCleanedAndTheStudentIsFoundAgainAfterARestart)
{
    TForm2 screen;
    type(screen, {u"évry\u00A0"_s, u" jaurès"_s, u"cm1\u200B"_s, u"Le\u00A0Bœuf"_s, u"Zoé\u00AD"_s, u"zoe@x.fr "_s});
    screen.Button1->click();

    EXPECT_EQ(platform.messages.shown, QStringList());
    EXPECT_EQ(bytesOf(folder.file(u"ecole.txt"_s)), QByteArray("EVRY\r\nJAURES\r\nCM1\r\n"));
    EXPECT_EQ(bytesOf(students(u"ListeLecteurs.txt"_s)), QByteArray("Le_Boeuf;Zoe;CM1;zoe@x.fr\r\n"));
    EXPECT_TRUE(QFileInfo(students(Zoe + u"/style.css"_s)).isFile());
    const QString remote = u"../Orvane_EVRY_JAURES_CM1/"_s + Zoe + u'/';
    EXPECT_EQ(screen.Edit10->text(), remote);
    EXPECT_TRUE(QFileInfo(server.file(u"Orvane_EVRY_JAURES_CM1/"_s + Zoe)).isDir());
    EXPECT_EQ(bytesOf(folder.file(Class + u"/index.html"_s)), indexPage({link(Zoe, u"Le Bœuf_Zoé_zoe@x.fr"_s)}));
    EXPECT_EQ(screen.Edit4->text(), u"zoe@x.fr"_s) << "the field shows what was used";

    TForm2 next;  // the next start
    ASSERT_EQ(next.ListView1->count(), 1);
    next.ListView1->setCurrentRow(0);
    next.ListView1Click();
    EXPECT_EQ(next.Edit10->text(), remote) << "the publication goes where the registration made the folder";
}

TEST_F(RegistrationScreen, AnotherCityIsAClassChangeAndTheStudentThereKeepsEveryFile)
{
    // Paris is in use; Lyon has a class of the same name and a student with
    // settings of her own.
    folder.writeText(u"ecole.txt"_s, {u"PARIS"_s, u"ECOLE"_s, u"CM1"_s});
    folder.writeText(u"PARIS_ECOLE_CM1/lecteurs/ecole.txt"_s, {u"PARIS"_s, u"ECOLE"_s, u"CM1"_s});
    folder.makeFolder(u"PARIS_ECOLE_CM1/lecteurs/Martin_Lea_l@x.fr"_s);
    const QString lyon = folder.file(u"LYON_ECOLE_CM1/lecteurs/"_s);
    const QString dupont = lyon + u"Dupont_Jean_j@x.fr/"_s;
    folder.writeText(u"LYON_ECOLE_CM1/lecteurs/ecole.txt"_s, {u"LYON"_s, u"ECOLE"_s, u"CM1"_s});
    folder.writeText(u"LYON_ECOLE_CM1/lecteurs/ListeLecteurs.txt"_s, {u"Dupont;Jean;CM1;j@x.fr"_s});
    folder.writeText(u"LYON_ECOLE_CM1/index.html"_s, {u"la page de Lyon"_s});
    const QStringList own = {u"style.css"_s, u"entete.html"_s, u"FinFichier.html"_s, u"fond.jpg"_s};
    for (const QString &name : own)
        folder.writeText(u"LYON_ECOLE_CM1/lecteurs/Dupont_Jean_j@x.fr/"_s + name, {u"réglage de Jean : "_s + name});
    const auto snapshot = [&] {
        QStringList bytes;
        for (const QString &name : own)
            bytes << QString::fromLatin1(bytesOf(dupont + name));
        bytes << QString::fromLatin1(bytesOf(lyon + u"ListeLecteurs.txt"_s))
              << QString::fromLatin1(bytesOf(folder.file(u"LYON_ECOLE_CM1/index.html"_s)));
        return bytes;
    };
    const QStringList before = snapshot();

    TForm2 screen;
    type(screen, {u"LYON"_s, u"ECOLE"_s, u"CM1"_s, u"Dupont"_s, u"Jean"_s, u"j@x.fr"_s});
    screen.Button1->click();
    EXPECT_EQ(platform.messages.shown, QStringList{u"Vous avez changez de classe ?"_s});
    EXPECT_EQ(RepertoireW, lyon);
    ASSERT_EQ(screen.ListView1->count(), 1);
    EXPECT_EQ(screen.ListView1->item(0)->text(), u"Dupont_Jean_j@x.fr"_s);
    EXPECT_EQ(snapshot(), before);

    // Pressed again, in the Lyon class now, the student is found there.
    screen.Button1->click();
    EXPECT_EQ(platform.messages.shown,
              (QStringList{u"Vous avez changez de classe ?"_s, u"Cet élève est déjà enregistré"_s}));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(screen.Label1->text(), dupont.chopped(1) + QDir::separator());
    EXPECT_EQ(screen.Label5->text(), u"ELEVE ACTUEL : Dupont_Jean_j@x.fr"_s);
    EXPECT_FALSE(QFileInfo::exists(server.file(u"Orvane_LYON_ECOLE_CM1/index.html"_s)));
}

TEST_F(RegistrationScreen, AStudentFolderTheListDidNotShowIsKeptWhole)
{
    // No class in use: the list is empty, the class and the student are on disk.
    folder.writeText(Class + u"/lecteurs/ecole.txt"_s, {u"EVRY"_s, u"JAURES"_s, u"CM1"_s});
    folder.writeText(Class + u"/lecteurs/ListeLecteurs.txt"_s, {u"Dupont;Jean;CM1;j@x.fr"_s, u"Le_Boeuf;Zoe;CM1;zoe@x.fr"_s});
    folder.makeFolder(Class + u"/lecteurs/Dupont_Jean_j@x.fr"_s);
    folder.writeText(Class + u"/lecteurs/"_s + Zoe + u"/style.css"_s, {u"les réglages de Zoé"_s});
    folder.writeText(Class + u"/index.html"_s, {u"Dupont et Zoé"_s});
    const QByteArray register_ = bytesOf(students(u"ListeLecteurs.txt"_s));
    {
        TForm2 screen;
        EXPECT_EQ(screen.ListView1->count(), 0);
        type(screen, {});
        screen.Button1->click();
        EXPECT_EQ(platform.messages.shown, QStringList{u"Cet élève est déjà enregistré"_s});
        EXPECT_EQ(bytesOf(students(Zoe + u"/style.css"_s)), QByteArray("les r\xE9glages de Zo\xE9\r\n"));
        EXPECT_FALSE(QFileInfo::exists(students(Zoe + u"/entete.html"_s))) << "no template is copied";
        EXPECT_EQ(bytesOf(students(u"ListeLecteurs.txt"_s)), register_);
        EXPECT_EQ(bytesOf(folder.file(Class + u"/index.html"_s)), QByteArray("Dupont et Zo\xE9\r\n"));
        EXPECT_EQ(screen.ListView1->count(), 2) << "the class's students are listed";
        EXPECT_EQ(screen.Label5->text(), u"ELEVE ACTUEL : "_s + Zoe);
    }

    // A folder made after the list was filled is a student all the same.
    platform.messages.shown.clear();
    TForm2 screen;
    const QString petit = u"Petit_Leo_leo@x.fr"_s;
    folder.writeText(Class + u"/lecteurs/"_s + petit + u"/style.css"_s, {u"les réglages de Léo"_s});
    type(screen, {u"EVRY"_s, u"JAURES"_s, u"CM1"_s, u"Petit"_s, u"Léo"_s, u"leo@x.fr"_s});
    screen.Button1->click();
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown[0].startsWith(u"Cet élève est déjà enregistré : son dossier « "_s + petit))
        << visible(platform.messages.shown[0]);
    EXPECT_EQ(bytesOf(students(petit + u"/style.css"_s)), QByteArray("les r\xE9glages de L\xE9o\r\n"));
    EXPECT_EQ(bytesOf(students(u"ListeLecteurs.txt"_s)), register_);
    ASSERT_GT(screen.ListView1->count(), 0);
    EXPECT_EQ(screen.ListView1->item(screen.ListView1->count() - 1)->text(), petit);
    EXPECT_EQ(screen.Label1->text(), students(petit) + QDir::separator());
    EXPECT_FALSE(screen.Button2->isHidden());
}

TEST_F(RegistrationScreen, ChoosingAStudentChecksTheClassFieldsTypedSince)
{
    makeClass(u"CM1"_s, {Zoe});
    struct Case { const char *name; QString city, schoolClass; QString refusal; };
    const Case cases[] = {
        {"a city that climbs", u"X/../../Y"_s, u"CM1"_s, u"Le champ « Ville » contient « / »"_s},
        {"a class of dots", u"EVRY"_s, u".."_s, u"Le champ « Classe » ne peut pas être"_s},
        {"a backslash", u"A\\B"_s, u"CM1"_s, u"Le champ « Ville » contient « \\ »"_s},
        {"a control character", u"EVRY"_s, u"CM1\u0007"_s, u"Le champ « Classe » contient un caractère invisible (U+0007)"_s},
        {"a letter outside the code page", u"Łódź"_s, u"CM1"_s, u"Le champ « Ville » contient « Ł »"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        platform.messages.shown.clear();
        TForm2 screen;
        screen.Edit8->setText(c.city);
        screen.Edit3->setText(c.schoolClass);
        screen.ListView1->setCurrentRow(0);
        screen.ListView1Click();
        ASSERT_EQ(platform.messages.shown.size(), 1);
        EXPECT_TRUE(platform.messages.shown[0].startsWith(c.refusal)) << visible(platform.messages.shown[0]);
        EXPECT_EQ(screen.Edit10->text(), QString());
        EXPECT_EQ(screen.Label5->text(), u"ELEVE ACTUEL : "_s);
        EXPECT_FALSE(screen.Button1->isHidden());
    }

    platform.messages.shown.clear();
    TForm2 screen;
    screen.Edit3->setText(u"CM1\u200B"_s);
    screen.ListView1->setCurrentRow(0);
    screen.ListView1Click();
    EXPECT_EQ(platform.messages.shown, QStringList());
    EXPECT_EQ(screen.Edit3->text(), u"CM1"_s);
    EXPECT_EQ(screen.Edit10->text(), u"../Orvane_EVRY_JAURES_CM1/"_s + Zoe + u'/');

    // A folder that could not be a remote name is not chosen.
    folder.makeFolder(Class + u"/lecteurs/a\\b_Jean_j@x.fr"_s);
    TForm2 other;
    const QList<QListWidgetItem *> found = other.ListView1->findItems(u"a\\b_Jean_j@x.fr"_s, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    other.ListView1->setCurrentItem(found.first());
    other.ListView1Click();
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown[0].contains(u"a\\b_Jean_j@x.fr"_s)) << visible(platform.messages.shown[0]);
    EXPECT_EQ(other.Edit10->text(), QString());
}

namespace {

struct Fault
{
    const char *name;
    QString permissions = u"elradfmwMT"_s;
    // Changes publication.ini or the host; given the folder and the server.
    std::function<void(const fakes::WorkingFolder &, const fakes::FtpServer &)> setUp;
    QStringList shownStart;  // what each message shown begins with
    bool madeOnHost = false;  // the student folder was made on the host before the failure
};

void writeIni(const fakes::WorkingFolder &folder, const QString &lines)
{
    QFile ini(folder.file(u"publication.ini"_s));
    ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
    ini.write(lines.toUtf8());
}

} // namespace

TEST(RegistrationFaults, EachFaultShowsItsMessageAndLeavesTheWorkingFolderAsItWas)
{
    static QTcpServer silent;  // accepts connections and never answers
    if (!silent.isListening()) {
        ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    }
    const QString noConnection = u"Pas de connexion au serveur de publication"_s;
    const Fault faults[] = {
        {"host down", {},
         [](const fakes::WorkingFolder &folder, const fakes::FtpServer &) {
             QTcpServer probe;
             probe.listen(QHostAddress::LocalHost);
             writeIni(folder, u"[publication]\nhote=127.0.0.1\nport=%1\nutilisateur=eleve\nmot_de_passe=x\n"
                              u"adresse_web=127.0.0.1:8000\n"_s.arg(probe.serverPort()));
         },
         {u"Impossible de joindre le serveur de publication"_s, noConnection}},
        {"login refused", {},
         [](const fakes::WorkingFolder &folder, const fakes::FtpServer &server) {
             writeIni(folder, u"[publication]\nhote=127.0.0.1\nport=%1\nutilisateur=eleve\nmot_de_passe=faux\n"
                              u"adresse_web=127.0.0.1:8000\n"_s.arg(
                                  server.port()));
         },
         {u"Le serveur de publication 127.0.0.1:"_s, noConnection}},
        {"no publication.ini", {},
         [](const fakes::WorkingFolder &folder, const fakes::FtpServer &) {
             QFile::remove(folder.file(u"publication.ini"_s));
         },
         {u"Connexion au serveur de publication impossible : publication.ini est introuvable"_s, noConnection}},
        {"delay reached", {},
         [](const fakes::WorkingFolder &folder, const fakes::FtpServer &) {
             writeIni(folder, u"[publication]\nhote=127.0.0.1\nport=%1\ndelai=1\nutilisateur=eleve\nmot_de_passe=x\n"
                              u"adresse_web=127.0.0.1:8000\n"_s.arg(silent.serverPort()));
         },
         {u"Le serveur de publication 127.0.0.1:%1 n'a pas répondu dans le délai de 1 seconde."_s.arg(silent.serverPort()),
          noConnection}},
        {"no web address", {},
         [](const fakes::WorkingFolder &folder, const fakes::FtpServer &server) {
             writeIni(folder, u"[publication]\nhote=127.0.0.1\nport=%1\nutilisateur=eleve\nmot_de_passe=\"s3cret,pw\"\n"_s.arg(
                                  server.port()));
         },
         {u"Connexion au serveur de publication impossible : publication.ini ne donne pas l'adresse web du serveur "
          u"(clé adresse_web du groupe [publication])"_s,
          noConnection}},
        {"folder refused", u"elr"_s, {}, {u"Le serveur de publication n'a pas pu créer le dossier « ../Orvane_EVRY_JAURES_CM1/ »"_s}},
        {"upload refused", u"elradfmMT"_s, {}, {u"L'envoi de"_s}, true},
    };
    for (const Fault &fault : faults) {
        SCOPED_TRACE(fault.name);
        RepertoireW.clear();
        NomClasse.clear();
        fakes::Platform platform;
        fakes::WorkingFolder folder;
        fakes::FtpServer server({false, fault.permissions});
        ASSERT_EQ(server.error(), QString());
        platform::CurlFtpClients curl;
        platform.ftp.real = &curl;
        folder.makeFolder(u"reserve"_s);
        for (const QString &name : QDir(Reserve).entryList(QDir::Files))
            QFile::copy(Reserve + name, folder.file(u"reserve/"_s + name));
        server.writePublicationIni(folder.path());
        if (fault.setUp)
            fault.setUp(folder, server);

        TForm2 screen;
        screen.Edit8->setText(u"EVRY"_s);
        screen.Edit9->setText(u"JAURES"_s);
        screen.Edit3->setText(u"CM1"_s);
        screen.Edit1->setText(u"Le Bœuf"_s);
        screen.Edit2->setText(u"Zoé"_s);
        screen.Edit4->setText(u"zoe@x.fr"_s);
        screen.Button1->click();

        ASSERT_EQ(platform.messages.shown.size(), fault.shownStart.size()) << platform.messages.shown.join(u" | "_s).toStdString();
        for (qsizetype i = 0; i < fault.shownStart.size(); ++i)
            EXPECT_TRUE(platform.messages.shown[i].startsWith(fault.shownStart[i])) << platform.messages.shown[i].toStdString();
        // A registration refused, or stopped by the host half-way, leaves the
        // working folder as it was: the next start shows no empty class.
        EXPECT_FALSE(QFileInfo::exists(folder.file(Class)));
        EXPECT_FALSE(QFileInfo::exists(folder.file(u"ecole.txt"_s)));
        EXPECT_EQ(RepertoireW, QString());
        EXPECT_FALSE(screen.IdFTP1->connected() && !fault.madeOnHost);
        if (fault.madeOnHost)
            EXPECT_TRUE(QFileInfo(server.file(u"Orvane_EVRY_JAURES_CM1/"_s + Zoe)).isDir());
        else
            EXPECT_EQ(tree(server.root()), QStringList());
        EXPECT_TRUE(screen.Button2->isHidden());
    }
}

// The student screen's edge cases beside the registration.
// Fields changed after a choice or a registration describe another pupil:
// "Enregistrer cet élève" comes back, and nothing goes on with the pupil the
// fields left.
TEST_F(RegistrationScreen, FieldsChangedAfterAChoiceOrARegistrationBringBackTheRegistration)
{
    const struct
    {
        const char *name;
        QLineEdit *TForm2::*field;
        QString typed;
    } changes[] = {
        {"surname", &TForm2::Edit1, u"Durand"_s},
        {"first name", &TForm2::Edit2, u"Léo"_s},
        {"mail", &TForm2::Edit4, u"leo@x.fr"_s},
        {"class", &TForm2::Edit3, u"CM2"_s},
    };
    makeClass(u"CM1"_s, {Zoe});
    for (const auto &change : changes) {
        SCOPED_TRACE(change.name);
        platform.messages.shown.clear();
        TForm2 screen;
        app::followStudentScreen(&screen);
        screen.ListView1->setCurrentRow(0);
        screen.ListView1Click();
        ASSERT_FALSE(screen.Button2->isHidden());
        screen.Edit1->setText(u" "_s + screen.Edit1->text());  // a blank the cleaning drops changes nothing
        EXPECT_FALSE(screen.Button2->isHidden());
        (screen.*change.field)->setText(change.typed);
        EXPECT_TRUE(screen.Button2->isHidden());
        EXPECT_FALSE(screen.Button1->isHidden());
        screen.Button2->click();  // a click that reached it all the same
        EXPECT_EQ(platform.messages.shown,
                  QStringList{u"Les champs ne montrent plus l'élève « "_s + Zoe
                              + u" » : choisissez un élève dans la liste, ou enregistrez celui que montrent les champs."_s});
        EXPECT_TRUE(screen.findChildren<TForm3 *>().isEmpty());
    }

    // The second pupil of the day, typed after the first one's registration.
    TForm2 screen;
    Typed leo;
    leo.surname = u"Durand"_s;
    leo.firstName = u"Léo"_s;
    type(screen, {});
    screen.Button1->click();
    ASSERT_FALSE(screen.Button2->isHidden());
    type(screen, leo);
    EXPECT_TRUE(screen.Button2->isHidden());
    screen.Button1->click();
    EXPECT_EQ(screen.Label5->text(), u"ELEVE ACTUEL : Durand_Leo_zoe@x.fr"_s);
    EXPECT_FALSE(screen.Button2->isHidden());
}

TEST_F(RegistrationScreen, RefusesToGoOnWithAnEmptyMail)
{
    makeClass(u"CM1"_s, {Zoe});
    TForm2 screen;
    app::followStudentScreen(&screen);
    screen.ListView1->setCurrentRow(0);
    screen.ListView1Click();
    screen.Edit4->clear();
    screen.Button2->click();
    EXPECT_EQ(platform.messages.shown, QStringList{u"Il faut mettre un nom d'email valide"_s});
    EXPECT_FALSE(screen.Button1->isHidden());
    EXPECT_TRUE(screen.Button2->isHidden());
    EXPECT_TRUE(screen.findChildren<TForm3 *>().isEmpty());
}

TEST_F(RegistrationScreen, InfoAndTheTitleOpenTheHelpPageAndAnEmptyClickChangesNothing)
{
    makeClass(u"CM1"_s, {Zoe});
    TForm2 screen;
    screen.Button3->click();
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(screen.Label8, &release);
    const QString help = QUrl::fromLocalFile(QDir::fromNativeSeparators(folder.path()) + u"/A_lire_une_Fois.htm"_s).toString();
    EXPECT_EQ(platform.shell.addresses, (QStringList{help, help}));
    // The working folder had no help page: the program's own was put there.
    EXPECT_EQ(bytesOf(folder.file(u"A_lire_une_Fois.htm"_s)), bytesOf(QStringLiteral(TESSAVO_SOURCE_DIR "/A_lire_une_Fois.htm")));
    EXPECT_EQ(screen.Button3->text(), u"Info"_s);
    EXPECT_EQ(platform.messages.shown, QStringList());

    // A desktop without a browser: the teacher is given the address instead.
    platform.shell.browser = false;
    screen.Button3->click();
    QCoreApplication::sendEvent(screen.Label8, &release);
    const QString told = u"Aucun navigateur n'a pu être ouvert sur cet ordinateur. Ouvrez vous-même cette adresse "
                         u"(vous pouvez la sélectionner et la copier) :\n"_s + help;
    EXPECT_EQ(platform.messages.shown, (QStringList{told, told}));

    screen.ListView1->setCurrentItem(nullptr);
    screen.ListView1Click();
    EXPECT_EQ(screen.Label5->text(), u"ELEVE ACTUEL : "_s);
    EXPECT_TRUE(screen.Edit7->text().isEmpty());
    EXPECT_FALSE(screen.Button1->isHidden());
}

// Without adresses=noms, a pupil registered is published under a code: no
// surname nor e-mail, in any spelling, in a path or a file of the host.
TEST_F(RegistrationScreen, TwoPupilsRegisteredWithDiscreetAddressesLeaveNoNameOnTheHost)
{
    server.writePublicationIni(folder.path(), u"127.0.0.1:8000"_s, 5, fakes::FtpServer::Addresses::Discreet);
    TForm2 screen;
    type(screen, {});
    screen.Button1->click();
    Typed second;
    second.surname = u"Durand"_s;
    second.firstName = u"Léo"_s;
    second.mail = u"parents.durand@exemple.fr"_s;
    type(screen, second);
    screen.Button1->click();
    ASSERT_EQ(platform.messages.shown, QStringList());

    const QStringList zoe = workspace::readLines(students(Zoe + u"/adresse.txt"_s));
    const QStringList leo = workspace::readLines(students(u"Durand_Leo_parents.durand@exemple.fr/adresse.txt"_s));
    ASSERT_EQ(zoe.size(), 2);
    ASSERT_EQ(leo.size(), 2);
    EXPECT_EQ(zoe[1], u"Zoé L."_s);
    EXPECT_EQ(leo[1], u"Léo D."_s);
    EXPECT_NE(zoe[0], leo[0]);
    EXPECT_EQ(screen.Edit10->text(), u"../Orvane_EVRY_JAURES_CM1/"_s + leo[0] + u'/');
    QStringList published{u"Orvane_EVRY_JAURES_CM1"_s, u"Orvane_EVRY_JAURES_CM1/"_s + leo[0],
                          u"Orvane_EVRY_JAURES_CM1/"_s + zoe[0], u"Orvane_EVRY_JAURES_CM1/index.html"_s};
    published.sort();
    EXPECT_EQ(tree(server.root()), published);
    const QByteArray page = bytesOf(server.file(u"Orvane_EVRY_JAURES_CM1/index.html"_s));
    EXPECT_TRUE(page.contains("<meta name=\"robots\" content=\"noindex, nofollow\">"));
    EXPECT_TRUE(page.contains(workspace::encodeLines({link(leo[0], u"Léo D."_s), link(zoe[0], u"Zoé L."_s)})))
        << page.toStdString();
    for (const QString &name : tree(server.root())) {
        const QByteArray content = QFileInfo(server.file(name)).isFile() ? bytesOf(server.file(name)) : QByteArray();
        for (const QString &personal : {u"boeuf"_s, u"bœuf"_s, u"durand"_s, u"zoe@x.fr"_s, u"exemple.fr"_s}) {
            EXPECT_FALSE(name.contains(personal, Qt::CaseInsensitive)) << name.toStdString();
            EXPECT_FALSE(QString::fromLatin1(content).contains(personal, Qt::CaseInsensitive)) << name.toStdString();
        }
    }

    // Chosen in the list, the pupil is published at the same code.
    TForm2 next;
    next.ListView1->setCurrentItem(next.ListView1->findItems(Zoe, Qt::MatchExactly).value(0));
    next.ListView1Click();
    EXPECT_EQ(next.Edit10->text(), u"../Orvane_EVRY_JAURES_CM1/"_s + zoe[0] + u'/');
}

// A pupil published under the name before is moved to a code on request:
// the documents go up under the code, the named folder leaves the host.
TEST_F(RegistrationScreen, APupilPublishedUnderTheNameIsMovedToACodeOnRequest)
{
    server.writePublicationIni(folder.path(), u"127.0.0.1:8000"_s, 5, fakes::FtpServer::Addresses::Discreet);
    const QString jean = u"Dupont_Jean_j@x.fr"_s;
    makeClass(u"CM1"_s, {jean});
    folder.writeText(Class + u"/lecteurs/ListeLecteurs.txt"_s, {u"Dupont;Jean;CM1;j@x.fr"_s});
    folder.writeText(Class + u"/lecteurs/"_s + jean + u"/conte.html"_s, {u"<p>Il était une fois</p>"_s});
    folder.writeText(Class + u"/lecteurs/"_s + jean + u"/conte.bak"_s, {u"ancien"_s});
    QDir().mkpath(server.file(u"Orvane_EVRY_JAURES_CM1/"_s + jean));
    workspace::writeLines(server.file(u"Orvane_EVRY_JAURES_CM1/"_s + jean + u"/conte.html"_s), {u"publié"_s});

    TForm2 screen;
    screen.ListView1->setCurrentItem(screen.ListView1->findItems(jean, Qt::MatchExactly).value(0));
    screen.ListView1Click();
    EXPECT_EQ(screen.Edit10->text(), u"../Orvane_EVRY_JAURES_CM1/"_s + jean + u'/') << "the named address is kept";
    ASSERT_FALSE(screen.Button4->isHidden());
    screen.Button4->click();

    const QStringList address = workspace::readLines(students(jean + u"/adresse.txt"_s));
    ASSERT_EQ(address.size(), 2) << platform.messages.shown.join(u" | "_s).toStdString();
    EXPECT_EQ(address[1], u"Jean D."_s);
    const QString code = address[0];
    EXPECT_EQ(screen.Edit10->text(), u"../Orvane_EVRY_JAURES_CM1/"_s + code + u'/');
    EXPECT_TRUE(screen.Button4->isHidden());
    QStringList published{u"Orvane_EVRY_JAURES_CM1"_s, u"Orvane_EVRY_JAURES_CM1/"_s + code,
                          u"Orvane_EVRY_JAURES_CM1/"_s + code + u"/conte.html"_s, u"Orvane_EVRY_JAURES_CM1/index.html"_s};
    published.sort();
    EXPECT_EQ(tree(server.root()), published) << "the backup stays home, the named folder is gone";
    EXPECT_EQ(bytesOf(server.file(u"Orvane_EVRY_JAURES_CM1/"_s + code + u"/conte.html"_s)),
              bytesOf(students(jean + u"/conte.html"_s)));
    EXPECT_TRUE(bytesOf(server.file(u"Orvane_EVRY_JAURES_CM1/index.html"_s))
                    .contains(workspace::encodeLines({link(code, u"Jean D."_s)})));
    ASSERT_FALSE(platform.messages.shown.isEmpty());
    EXPECT_TRUE(platform.messages.shown.last().startsWith(u"Les documents de Jean D. sont maintenant à l'adresse discrète :\nhttp://127.0.0.1:8000/Orvane_EVRY_JAURES_CM1/"_s + code + u"/_Tablematieres.html"_s))
        << platform.messages.shown.last().toStdString();
}

TEST_F(RegistrationScreen, APupilRemovedLeavesNothingOnTheHostAndIsArchivedOrDeleted)
{
    server.writePublicationIni(folder.path(), u"127.0.0.1:8000"_s, 5, fakes::FtpServer::Addresses::Discreet);
    Typed leo;
    leo.surname = u"Durand"_s;
    leo.firstName = u"Léo"_s;
    const QString leoFolder = u"Durand_Leo_zoe@x.fr"_s;
    for (const bool archive : {true, false}) {
        SCOPED_TRACE(archive ? "archived" : "deleted");
        TForm2 screen;
        type(screen, {});
        screen.Button1->click();
        type(screen, leo);
        screen.Button1->click();
        const QString code = workspace::readLines(students(Zoe + u"/adresse.txt"_s)).value(0);
        workspace::writeLines(server.file(u"Orvane_EVRY_JAURES_CM1/"_s + code + u"/conte.html"_s), {u"conte"_s});
        platform.messages.shown.clear();

        screen.ListView1->setCurrentItem(screen.ListView1->findItems(Zoe, Qt::MatchExactly).value(0));
        screen.ListView1Click();
        platform.messages.answers = {archive ? 0 : 1};
        screen.Button5->click();

        ASSERT_EQ(platform.messages.shown.size(), 2) << platform.messages.shown.join(u" | "_s).toStdString();
        EXPECT_TRUE(platform.messages.shown[0].startsWith(u"Retirer l'élève « Zoé L. » (dossier « "_s + Zoe + u" ») ?"_s));
        EXPECT_FALSE(QFileInfo::exists(server.file(u"Orvane_EVRY_JAURES_CM1/"_s + code)));
        const QByteArray page = bytesOf(server.file(u"Orvane_EVRY_JAURES_CM1/index.html"_s));
        EXPECT_FALSE(page.contains(code.toLatin1()) || page.contains("Zo\xe9"));
        EXPECT_TRUE(page.contains("L\xe9o D."));
        EXPECT_FALSE(QFileInfo::exists(students(Zoe)));
        EXPECT_EQ(QFileInfo(folder.file(u"archives/"_s + Class + u'/' + Zoe + u"/adresse.txt"_s)).isFile(), archive);
        EXPECT_EQ(bytesOf(students(u"ListeLecteurs.txt"_s)), QByteArray("Durand;Leo;CM1;zoe@x.fr\r\n"));
        EXPECT_TRUE(screen.ListView1->findItems(Zoe, Qt::MatchExactly).isEmpty());
        EXPECT_EQ(screen.Edit10->text(), QString());
        EXPECT_EQ(screen.Label5->text(), u"ELEVE ACTUEL : "_s);

        // The end of the year: the class leaves the host, the folders stay here.
        platform.messages.answers = {0};
        screen.Button6->click();
        EXPECT_EQ(tree(server.root()), QStringList());
        EXPECT_TRUE(QFileInfo(students(leoFolder + u"/adresse.txt"_s)).isFile());
        QDir(folder.file(Class)).removeRecursively();
        QDir(folder.file(u"archives"_s)).removeRecursively();
        QFile::remove(folder.file(u"ecole.txt"_s));
        RepertoireW.clear();
        NomClasse.clear();
    }
}

TEST_F(RegistrationScreen, APupilIsNotRemovedWhenTheHostCannotBeReachedOrTheTeacherCancels)
{
    TForm2 screen;
    type(screen, {});
    screen.Button1->click();
    screen.ListView1->setCurrentItem(screen.ListView1->findItems(Zoe, Qt::MatchExactly).value(0));
    screen.ListView1Click();
    platform.messages.shown.clear();
    screen.Button5->click();  // cancelled: no answer given
    EXPECT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(QFileInfo(server.file(u"Orvane_EVRY_JAURES_CM1/"_s + Zoe)).isDir());

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 nobody = closed.serverPort();
    closed.close();
    workspace::writeBytes(folder.file(u"publication.ini"_s),
                          u"[publication]\r\nhote=127.0.0.1\r\nport=%1\r\nutilisateur=eleve\r\nmot_de_passe=x\r\n"
                          u"adresse_web=127.0.0.1:8000\r\ndelai=2\r\n"_s.arg(nobody).toLatin1());
    platform.messages.shown.clear();
    platform.messages.answers = {0};
    screen.Button5->click();
    ASSERT_EQ(platform.messages.shown.size(), 3) << platform.messages.shown.join(u" | "_s).toStdString();
    EXPECT_EQ(platform.messages.shown[2], u"Rien n'a été changé sur cet ordinateur. Les documents de « "_s + Zoe
                                              + u" » restent sur le serveur, dans « ../Orvane_EVRY_JAURES_CM1/"_s + Zoe
                                              + u"/ »."_s);
    EXPECT_TRUE(QFileInfo(students(Zoe + u"/style.css"_s)).isFile());
    EXPECT_FALSE(screen.ListView1->findItems(Zoe, Qt::MatchExactly).isEmpty());
}
