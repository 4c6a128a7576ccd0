// The three screens opening, hiding and closing one another, driven headless
// through their real handlers.
#include "app/program.h"
#include "localhost/start.h"
#include "fakeplatform.h"
#include "import/Unit3.h"
#include "layout/Vitrine_test.h"
#include "platform/controls.h"
#include "platform/handlers.h"
#include "platform/modal.h"
#include "localhost/connexion.h"
#include "script.h"
#include "studentchoice.h"
#include "students/Unit2.h"
#include "workingfolder.h"
#include "workspace/ioerror.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QDeadlineTimer>
#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QString Dupont = u"Dupont_Jean_jean@ecole.fr"_s;
const QString Martin = u"Martin_Léa_lea@ecole.fr"_s;

template <typename Screen>
Screen *newest(QObject *owner)
{
    const QList<Screen *> screens = owner->findChildren<Screen *>(Qt::FindDirectChildrenOnly);
    return screens.isEmpty() ? nullptr : screens.last();
}

// Every screen of a kind that is alive, wherever it hangs.
template <typename Screen>
QList<Screen *> alive()
{
    QList<Screen *> screens;
    for (QWidget *widget : QApplication::allWidgets()) {
        if (auto *screen = qobject_cast<Screen *>(widget))
            screens.append(screen);
    }
    return screens;
}

// Whether the screen is the only one of its kind, shown, and the window the
// keyboard goes to. Asked after the step that showed it has returned to the
// event loop: the window system says which window is active there. A step
// that opens a modal screen needs one step more (settled): the step after it
// was posted before the screen's loop ran.
template <typename Screen>
testing::AssertionResult aloneAndActive(Screen *screen)
{
    const qsizetype count = alive<Screen>().size();
    if (count != 1)
        return testing::AssertionFailure() << count << " screens of its kind";
    if (!screen->isVisible())
        return testing::AssertionFailure() << "hidden";
    if (QApplication::activeWindow() != screen)
        return testing::AssertionFailure() << "not the active window; "
                                           << (QApplication::activeWindow()
                                                   ? QApplication::activeWindow()->windowTitle().toStdString()
                                                   : std::string("none"))
                                           << " is";
    return testing::AssertionSuccess();
}

// A step that only lets the events of the window system through.
void settled() {}

class ScreenFlow : public testing::Test
{
protected:
    void SetUp() override
    {
        folder.writeText(u"ecole.txt"_s, {u"EVRY"_s, u"JAURES"_s, u"CM1"_s});
        folder.makeFolder(u"EVRY_JAURES_CM1/lecteurs/"_s + Dupont);
        folder.makeFolder(u"EVRY_JAURES_CM1/lecteurs/"_s + Martin);
        folder.writeText(u"EVRY_JAURES_CM1/lecteurs/ListeLecteurs.txt"_s, {u"Dupont;Jean;CM1;jean@ecole.fr"_s});
    }

    QString studentFolder(const QString &name) const
    {
        return folder.file(u"EVRY_JAURES_CM1/lecteurs/"_s + name) + workspace::separator();
    }

    // What saving a document leaves behind: the document, the student's style
    // sheet from the shipped template, and the document's path in the import
    // screen and in the student screen that opened it.
    static void saveDocument(TForm3 *import, const QString &path)
    {
        const QString studentFolder = QFileInfo(path).absolutePath() + u'/';
        workspace::copyTextLines(QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/style.css"),
                                 studentFolder + u"style.css"_s);
        workspace::writeLines(path, {u"<!--DEBUT-->"_s, u"<img>"_s, u"Le chat dort.<br>"_s, u"<!--FIN-->"_s});
        import->Edit5->setText(path);
        import->studentScreen()->setCurrentDocument(path);
    }

    // Chooses a student and opens the import screen: the step after this one
    // runs while the import screen is shown modally.
    std::function<void()> openImportScreenFor(const QString &name, TForm2 **students)
    {
        return [name, students] {
            fakes::chooseStudent(*students, name);
            (*students)->Button2->click();
        };
    }

    fakes::Platform platform;
    fakes::WorkingFolder folder;
    Script script;
};

TEST(ScreenFlowWithoutAClass, StartsWithThePlaceholdersAndEndsWhenTheMainScreenCloses)
{
    fakes::Platform platform;
    fakes::WorkingFolder folder;
    Script script;
    script.then([&] {
        ASSERT_TRUE(Form2);
        EXPECT_EQ(Form2->windowTitle(), u"Tessavo - Élèves"_s);
        EXPECT_TRUE(Form2->isVisible());
        EXPECT_EQ(Form2->Edit8->text(), u"Ville"_s);
        EXPECT_EQ(Form2->Edit9->text(), u"Ecole"_s);
        EXPECT_EQ(Form2->Edit3->text(), u"Classe"_s);
        EXPECT_EQ(Form2->ListView1->count(), 0);
        EXPECT_EQ(Form2->Label1->text(), QString());
        EXPECT_TRUE(Form2->Button1->isVisible());
        EXPECT_FALSE(Form2->Button2->isVisible());
        EXPECT_EQ(RepertoireR, folder.path() + workspace::separator() + u"reserve"_s + workspace::separator());
        Form2->close();
    });
    EXPECT_TRUE(script.runProgram());
    EXPECT_FALSE(Form2) << "every screen is destroyed when the program ends";
    EXPECT_TRUE(platform.messages.shown.isEmpty());
}

// What the start could not do (the local publishing host) is told over the
// first screen, and the program goes on.
TEST(ScreenFlowWithoutAClass, WhatTheStartCouldNotDoIsToldOnceTheFirstScreenIsUp)
{
    fakes::Platform platform;
    fakes::WorkingFolder folder;
    const QString told = u"Le serveur de publication local de ce dossier de travail n'a pas pu être démarré : le port "
                         u"24117 de cet ordinateur (clé port de publication.ini) est déjà pris par un autre programme."_s;
    bool screenShownFirst = false;
    platform.messages.onShow = [&](const QString &) { screenShownFirst = Form2 && Form2->isVisible(); };
    Script script;
    script.then([&] { EXPECT_TRUE(platform.messages.shown.isEmpty()); })
        .then([&] {
            EXPECT_EQ(platform.messages.shown, QStringList{told});
            EXPECT_TRUE(screenShownFirst);
            ASSERT_TRUE(Form2);
            EXPECT_TRUE(Form2->isVisible());
            Form2->close();
        });
    EXPECT_TRUE(script.runProgram(20000, told));
    EXPECT_EQ(platform.messages.shown, QStringList{told}) << "told once";
}

TEST_F(ScreenFlow, EachPressOfTheImportButtonShowsAFreshModalImportScreen)
{
    QPointer<TForm3> first;
    TForm2 *main = nullptr;
    script.then([&] { main = Form2; })
        .then(openImportScreenFor(Dupont, &main))
        .then(settled)
        .then([&] {
            first = newest<TForm3>(Form2);
            ASSERT_TRUE(first);
            EXPECT_EQ(first->windowTitle(), u"Tessavo - Importer un texte"_s);
            EXPECT_TRUE(aloneAndActive(first.data()));
            EXPECT_EQ(first->windowModality(), Qt::ApplicationModal);
            EXPECT_EQ(first->Label2->text(), studentFolder(Dupont));
            EXPECT_EQ(first->Edit1->text(), u"Dupont"_s);
            EXPECT_EQ(first->Edit3->text(), u"CM1"_s);
            EXPECT_EQ(first->Edit4->text(), u"jean@ecole.fr"_s);
            first->Memo1->setPlainText(u"Un texte commencé."_s);
            first->close();
        })
        .then([&] {
            EXPECT_FALSE(first->isVisible()) << "closing the import screen only hides it";
            Form2->Button2->click();
        })
        .then(settled)
        .then([&] {
            TForm3 *second = newest<TForm3>(Form2);
            ASSERT_TRUE(second);
            EXPECT_FALSE(first) << "the earlier import screen makes way for the new one";
            EXPECT_TRUE(aloneAndActive(second));
            EXPECT_TRUE(platform::linesOf(second->Memo1).isEmpty()) << "a fresh screen";
            second->close();
        })
        .then([] { Form2->close(); });
    EXPECT_TRUE(script.runProgram());
}

TEST_F(ScreenFlow, TheImportButtonRefusesAMissingMailOrStudent)
{
    script.then([&] {
        Form2->Edit4->setText(u"x@y.fr"_s);
        Form2->Button2->click();
        EXPECT_EQ(platform.messages.shown, QStringList{u"Il faut choisir un élève ou en créer un nouveau"_s});

        fakes::chooseStudent(Form2, Dupont);
        Form2->Edit4->setText(u"@"_s);
        Form2->Button2->click();
        ASSERT_FALSE(platform.messages.shown.isEmpty());
        EXPECT_EQ(platform.messages.shown.last(), u"Il faut mettre un nom d'email valide"_s);
        EXPECT_FALSE(Form2->Button1->isHidden());
        EXPECT_TRUE(Form2->Button2->isHidden());
        EXPECT_FALSE(newest<TForm3>(Form2)) << "no import screen was opened";
        Form2->close();
    });
    EXPECT_TRUE(script.runProgram());
}

TEST_F(ScreenFlow, TheLayoutButtonNeedsASavedDocument)
{
    TForm2 *main = nullptr;
    script.then([&] { main = Form2; })
        .then(openImportScreenFor(Dupont, &main))
        .then([&] {
            TForm3 *import = newest<TForm3>(Form2);
            import->Button6->click();
            import->Memo1->setPlainText(u"Le chat dort."_s);
            import->Button6->click();
            EXPECT_EQ(platform.messages.shown,
                      (QStringList{u"Il n'a pas de texte"_s, u" 1->Choisir une image et 2->Sauvegarder le texte "_s}));
            EXPECT_FALSE(newest<TForm1>(import));
            EXPECT_FALSE(import->MiseEnPage);
            import->close();
        })
        .then([] { Form2->close(); });
    EXPECT_TRUE(script.runProgram());
}

// One screen of each kind: a second press of " 3->Faire la Mise en Page Dys"
// shows a new layout screen in place of the first, and "Sauvegarder ces
// réglages" brings the student screen that exists forward.
TEST_F(ScreenFlow, OneLayoutScreenAtATimeAndBackToTheStudentScreen)
{
    TForm2 *main = nullptr;
    QPointer<TForm3> import;
    QPointer<TForm1> first;
    QPointer<TForm1> second;
    const QString typedPath = studentFolder(Dupont) + u"conte à lire.html"_s;
    script.then([&] { main = Form2; })
        .then(openImportScreenFor(Dupont, &main))
        .then([&] {
            import = newest<TForm3>(Form2);
            saveDocument(import, typedPath);
            import->Button6->click();
            first = Form1;
        })
        .then([&] {
            ASSERT_TRUE(first) << platform.messages.shown.join(u'|').toStdString();
            EXPECT_EQ(first->parentWidget(), import);
            EXPECT_EQ(first->windowTitle(), u"Tessavo - Mise en page"_s);
            EXPECT_TRUE(aloneAndActive(first.data()));
            EXPECT_TRUE(import->isVisible()) << "the import screen stays open beneath";
            import->Button6->click();
            second = Form1;
        })
        .then([&] {
            ASSERT_TRUE(second);
            EXPECT_FALSE(first) << "the first layout screen makes way for the second";
            EXPECT_TRUE(aloneAndActive(second.data()));
            EXPECT_EQ(second->Label3->text(), typedPath);
            EXPECT_EQ(second->cheminW, studentFolder(Dupont));
            EXPECT_TRUE(import->MiseEnPage);
            EXPECT_TRUE(import->WebBrowser2->isVisible());
            EXPECT_EQ(import->WebBrowser2->address(), workspace::travauxAddress(folder.path()));
            second->Button1->click();
        })
        .then([&] {
            EXPECT_TRUE(aloneAndActive(main)) << "no other student screen is made";
            EXPECT_EQ(main, Form2.data());
            EXPECT_FALSE(second->isVisible());
            EXPECT_FALSE(import->isVisible()) << "the import screen's wait is over";
            EXPECT_EQ(Form2->Label1->text(), studentFolder(Dupont)) << "the student chosen stays chosen";
            Form2->Button2->click();
        })
        .then(settled)
        .then([&] {
            TForm3 *again = newest<TForm3>(Form2);
            ASSERT_TRUE(again);
            EXPECT_FALSE(import) << "the earlier import screen goes, with its layout screen";
            EXPECT_FALSE(second);
            EXPECT_TRUE(aloneAndActive(again));
            saveDocument(again, typedPath);
            again->Button6->click();
        })
        .then([&] {
            ASSERT_TRUE(Form1);
            EXPECT_TRUE(aloneAndActive(Form1.data()));
            Form1->close();
        });
    EXPECT_TRUE(script.runProgram()) << "closing a layout screen ends the program";
    // Each layout screen shows its version when it opens, and nothing else.
    EXPECT_EQ(platform.messages.shown, QStringList(3, u"Version beta 1.1  : "_s))
        << platform.messages.shown.join(u'|').toStdString();
}

// Back on the student screen, another student is chosen and worked on.
TEST_F(ScreenFlow, BackOnTheStudentScreenAnotherStudentIsWorkedOn)
{
    TForm2 *main = nullptr;
    TForm3 *martinImport = nullptr;
    script.then([&] { main = Form2; })
        .then(openImportScreenFor(Dupont, &main))
        .then([&] {
            TForm3 *import = newest<TForm3>(Form2);
            saveDocument(import, studentFolder(Dupont) + u"a.html"_s);
            import->Button6->click();
            Form1->Button1->click();
        })
        .then([&] {
            EXPECT_TRUE(aloneAndActive(main));
            fakes::chooseStudent(Form2, Martin);
            Form2->Button2->click();
        })
        .then(settled)
        .then([&] {
            martinImport = newest<TForm3>(Form2);
            ASSERT_TRUE(martinImport);
            EXPECT_TRUE(aloneAndActive(martinImport));
            EXPECT_EQ(martinImport->Label2->text(), studentFolder(Martin));
            EXPECT_EQ(martinImport->Edit2->text(), u"Léa"_s);
            saveDocument(martinImport, studentFolder(Martin) + u"b.html"_s);
            martinImport->Button6->click();
        })
        .then([&] {
            ASSERT_TRUE(Form1);
            EXPECT_EQ(Form1->parentWidget(), martinImport);
            EXPECT_EQ(Form1->cheminW, studentFolder(Martin));
            EXPECT_TRUE(aloneAndActive(Form1.data()));
            Form1->Button1->click();
        })
        .then([&] {
            EXPECT_TRUE(aloneAndActive(main));
            EXPECT_FALSE(martinImport->isVisible());
            EXPECT_EQ(Form2->Label1->text(), studentFolder(Martin));
            Form2->close();
        });
    EXPECT_TRUE(script.runProgram());
}

TEST_F(ScreenFlow, APastedTextSavedWithALogoOpensInTheLayoutScreen)
{
    // The shipped templates and one logo, as the start command prepares them.
    folder.makeFolder(u"reserve/Cartes"_s);
    for (const QString &name : {u"entete.html"_s, u"FinFichier.html"_s, u"style.css"_s, u"fond.jpg"_s, u"Cartes/chat.jpg"_s})
        QFile::copy(QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/") + name, folder.file(u"reserve/"_s + name));
    const QStringList text = {u"Le petit chaperon rouge traverse la forêt."_s, QString(),
                              u"Il rencontre « le loup », qui a faim… et l’œil vif."_s};
    platform.clipboard.content = text.join(u'\n');
    platform.fileDialogs.openAnswers = {folder.file(u"reserve/Cartes/chat.jpg"_s)};
    platform.fileDialogs.saveAnswers = {studentFolder(Dupont) + u"chaperon"_s};
    const QString document = studentFolder(Dupont) + u"chaperon.html"_s;
    TForm2 *main = nullptr;
    script.then([&] { main = Form2; })
        .then(openImportScreenFor(Dupont, &main))
        .then([&] {
            TForm3 *import = newest<TForm3>(Form2);
            import->Button7->click();
            import->Button1->click();
            ASSERT_TRUE(import->Button6->isVisible()) << platform.messages.shown.join(u'|').toStdString();
            import->Button6->click();
            ASSERT_TRUE(Form1);
            EXPECT_EQ(Form1->parentWidget(), import);
            EXPECT_TRUE(Form1->isVisible());
            EXPECT_EQ(Form1->Label3->text(), document);
            const QStringList lines = platform::linesOf(Form1->Memo1);
            EXPECT_EQ(lines, workspace::readLines(document));
            const qsizetype start = lines.indexOf(u"<!--DEBUT-->"_s);
            ASSERT_GE(start, 0);
            // The empty line between the two paragraphs stays one.
            EXPECT_EQ(lines.mid(start + 1, 5),
                      (QStringList{u"<img src=\"chaperon.jpg\"  width=\"70\" height= \"70\">"_s, text[0] + u"<br>"_s,
                                   u"<br>"_s, text[2] + u"<br>"_s, u"<!--FIN-->"_s}));
            // The working folder's waiting page, its address spelt out here.
            EXPECT_EQ(import->WebBrowser2->address().toString(),
                      u"file://"_s + QDir::fromNativeSeparators(folder.path()) + u"/travaux.html"_s);
            Form1->close();
        });
    EXPECT_TRUE(script.runProgram()) << "closing a layout screen ends the program";
    EXPECT_EQ(platform.messages.shown,
              (QStringList{u"il faut tapper un titre pour ce nouveau text"_s, u"Version beta 1.1  : "_s}));
}

TEST_F(ScreenFlow, ARequestToEndLetsTheRunningHandlerFinish)
{
    bool finished = false;
    script.then([&] {
        platform::runHandler(Form2, [&] {
            platform::endProgram();
            finished = true;
        });
    });
    EXPECT_TRUE(script.runProgram());
    EXPECT_TRUE(finished);
}

TEST(ScreenFlowErrors, AnUnreadableClassFileIsReportedAndTheScreenStillOpens)
{
    fakes::Platform platform;
    fakes::WorkingFolder folder;
    folder.makeFolder(u"ecole.txt"_s);
    Script script;
    script.then([&] {
        ASSERT_EQ(platform.messages.shown.size(), 1);
        EXPECT_TRUE(platform.messages.shown.first().contains(folder.file(u"ecole.txt"_s)))
            << platform.messages.shown.first().toStdString();
        EXPECT_TRUE(Form2->isVisible());
        Form2->Button2->click();
        EXPECT_EQ(platform.messages.shown.last(), u"Il faut mettre un nom d'email valide"_s)
            << "the program goes on";
        Form2->close();
    });
    EXPECT_TRUE(script.runProgram());
}

} // namespace

namespace {

// A launcher that fails after a while, saying why.
QString slowFailingLauncher(const QTemporaryDir &root, const char *seconds)
{
    const QString launcher = root.filePath(u"lanceur"_s);
    QFile file(launcher);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("#!/bin/sh\nsleep ") + seconds + "\necho 'Le port 24117 est pris.' >&2\nexit 1\n");
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner);
    return launcher;
}

} // namespace

// A connection asked for while the launcher still runs waits for it, with the
// progress window once the wait is long, and tells the launcher's failure
// there; the message of the start is not shown on top of it.
TEST(HostInTheBackground, AConnectionWaitsForTheLauncherAndTellsItsFailure)
{
    fakes::Platform platform;
    QTemporaryDir root;
    localhost::HostStart host;
    host.start(slowFailingLauncher(root, "0.8"), root.path());
    app::followPublishingHost(host);
    const auto unset = qScopeGuard([] { localhost::setHostWait({}); });
    ASSERT_TRUE(host.starting());

    const std::unique_ptr<publishing::FtpClient> client = platform.ftp.create();
    const workspace::Result<void> connected = localhost::ConnexionFTP(*client, root.path());

    EXPECT_EQ(connected.reason(), localhost::toldWhenNeeded(u"Le port 24117 est pris."_s));
    EXPECT_FALSE(host.starting());
    EXPECT_EQ(platform.progress.opened, 1);
    EXPECT_GT(platform.progress.waits, 0);
    EXPECT_EQ(platform.progress.openNow, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(platform.messages.shown, QStringList()) << "told once, where the host was needed";
}

// A failure that nothing waits for is shown once, when it is known.
TEST(HostInTheBackground, AFailureNothingWaitsForIsShownOnceWhenKnown)
{
    fakes::Platform platform;
    QTemporaryDir root;
    localhost::HostStart host;
    host.start(slowFailingLauncher(root, "0.2"), root.path());
    app::followPublishingHost(host);
    const auto unset = qScopeGuard([] { localhost::setHostWait({}); });
    EXPECT_EQ(platform.messages.shown, QStringList()) << "nothing told before it is known";

    const QDeadlineTimer deadline(10'000);
    while (host.starting() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();

    EXPECT_EQ(platform.messages.shown, QStringList{localhost::toldAtStart(u"Le port 24117 est pris."_s)});
}
