// The current selection as the student screen hands it to the other screens,
// and the controls that show it.
#include "app/screenflow.h"
#include "fakeplatform.h"
#include "import/Unit3.h"
#include "studentchoice.h"
#include "students/Unit2.h"
#include "workingfolder.h"
#include "workspace/paths.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

const QString Dupont = u"Dupont_Jean_jean@ecole.fr"_s;
const QString Fontaine = u"De_La_Fontaine_Zoe_z@x.fr"_s;
const QString LeGoff = u"Le_Goff_Anne-Laure_al_g@x.fr"_s;

class Selection : public testing::Test
{
protected:
    void SetUp() override
    {
        folder.writeText(u"ecole.txt"_s, {u"EVRY"_s, u"JAURES"_s, u"CM1"_s});
        folder.makeFolder(u"EVRY_JAURES_CM1/lecteurs/"_s + Dupont);
        folder.makeFolder(u"EVRY_JAURES_CM1/lecteurs/"_s + Fontaine);
        folder.makeFolder(u"EVRY_JAURES_CM1/lecteurs/"_s + LeGoff);
        folder.writeText(u"EVRY_JAURES_CM1/lecteurs/ListeLecteurs.txt"_s,
                         {u"Dupont;Jean;CM1;jean@ecole.fr"_s, u"Le_Goff;Anne-Laure;CM1;al_g@x.fr"_s});
        folder.makeFolder(u"EVRY_JAURES_CM2/lecteurs"_s);
    }

    QString studentsFolder(const QString &schoolClass = u"CM1"_s) const
    {
        return folder.file(u"EVRY_JAURES_"_s + schoolClass + u"/lecteurs/"_s);
    }

    // The controls of the student screen show the selection it hands out.
    static void expectShown(const TForm2 &screen)
    {
        const students::Selection selection = screen.selection();
        EXPECT_EQ(screen.Label1->text(), selection.studentFolder);
        EXPECT_EQ(screen.Label5->text(), u"ELEVE ACTUEL : "_s + selection.student);
        EXPECT_EQ(screen.Edit7->text(), selection.student);
        EXPECT_EQ(screen.Edit10->text(), selection.remoteFolder);
        EXPECT_EQ(screen.Edit3->text(), selection.schoolClass);
        EXPECT_EQ(screen.Edit5->text(), selection.document);
    }

    fakes::Platform platform;
    fakes::WorkingFolder folder;
};

TEST_F(Selection, NamesNoStudentUntilOneIsChosen)
{
    TForm2 screen;
    EXPECT_EQ(screen.selection(), (students::Selection{studentsFolder(), {}, u"CM1"_s, {}, {}}));
    expectShown(screen);
}

TEST_F(Selection, EveryControlStandsWholeInsideTheWindowOnAPlaceOfItsOwn)
{
    // The faces the program asks for on Debian, and the one a computer without
    // them falls back on, which draws wider.
    const QFont before = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(before); });
    for (const QString &face : {u"Liberation Sans"_s, u"DejaVu Sans"_s}) {
        SCOPED_TRACE(face.toStdString());
        QFont font = before;
        font.setFamilies({face});
        QApplication::setFont(font);
        TForm2 screen;
        fakes::chooseStudent(&screen, Dupont);
        // As after a registration: both buttons shown, "Suite -> Importer du
        // texte" in front.
        screen.Button1->show();
        ASSERT_FALSE(screen.Button2->isHidden());
        EXPECT_EQ(screen.Button2->geometry(), screen.Button1->geometry()) << "it covers the other one whole";

        const QRect window(QPoint(0, 0), QSize(939, 623));
        const auto named = [](const QWidget *control) {
            const auto *button = qobject_cast<const QPushButton *>(control);
            const auto *label = qobject_cast<const QLabel *>(control);
            const QString text = button ? button->text() : label ? label->text() : QString();
            return u"%1 « %2 » at %3,%4 %5x%6"_s.arg(QString::fromLatin1(control->metaObject()->className()), text)
                .arg(control->x()).arg(control->y()).arg(control->width()).arg(control->height()).toStdString();
        };
        QList<QWidget *> shown;
        for (QWidget *control : screen.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!control->isHidden())
                shown.append(control);
        }
        for (qsizetype i = 0; i < shown.size(); ++i) {
            EXPECT_TRUE(window.contains(shown[i]->geometry())) << named(shown[i]);
            if (const auto *button = qobject_cast<const QPushButton *>(shown[i])) {
                EXPECT_LE(button->sizeHint().width(), button->width()) << "its caption is cut: " << named(button);
            }
            for (qsizetype j = i + 1; j < shown.size(); ++j) {
                const bool theTwoSteps = QSet<QWidget *>{shown[i], shown[j]} == QSet<QWidget *>{screen.Button1, screen.Button2};
                if (!theTwoSteps) {
                    EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                        << named(shown[i]) << " on " << named(shown[j]);
                }
            }
        }
    }
}

TEST_F(Selection, AChoiceInTheListMakesTheStudentCurrentThenASavedDocument)
{
    TForm2 screen;
    fakes::chooseStudent(&screen, Fontaine);
    const QString student = studentsFolder() + Fontaine + workspace::separator();
    // The folder's name is split at its first two "_", and joined again.
    const students::Selection chosen{student, Fontaine, u"CM1"_s, u"../Orvane_EVRY_JAURES_CM1/"_s + Fontaine + u'/',
                                     {}};
    EXPECT_EQ(screen.selection(), chosen);
    expectShown(screen);

    screen.setCurrentDocument(student + u"conte.html"_s);
    EXPECT_EQ(screen.selection().document, student + u"conte.html"_s);
    EXPECT_EQ(screen.Edit6->text(), student);
    expectShown(screen);

    fakes::chooseStudent(&screen, Dupont);
    EXPECT_EQ(screen.selection().student, Dupont);
    EXPECT_EQ(screen.selection().studentFolder, studentsFolder() + Dupont + workspace::separator());
}

TEST_F(Selection, ASurnameWithABlankShowsWholeOnBothScreens)
{
    TForm2 screen;
    fakes::chooseStudent(&screen, LeGoff);
    EXPECT_EQ(screen.Edit1->text(), u"Le Goff"_s);
    EXPECT_EQ(screen.Edit2->text(), u"Anne-Laure"_s);
    EXPECT_EQ(screen.Edit4->text(), u"al_g@x.fr"_s);
    // The folder and the remote folder are the registered ones, unchanged.
    EXPECT_EQ(screen.selection(),
              (students::Selection{studentsFolder() + LeGoff + workspace::separator(), LeGoff, u"CM1"_s,
                                   u"../Orvane_EVRY_JAURES_CM1/"_s + LeGoff + u'/', {}}));
    expectShown(screen);

    auto *import = new TForm3(&screen, screen);
    EXPECT_EQ(import->Edit1->text(), u"Le Goff"_s);
    EXPECT_EQ(import->Edit2->text(), u"Anne-Laure"_s);
    EXPECT_EQ(import->Edit3->text(), u"CM1"_s);
    EXPECT_EQ(import->Edit4->text(), u"al_g@x.fr"_s);

    // Registering the fields as they now stand names the same folder.
    EXPECT_EQ(workspace::studentFolderName(screen.Edit1->text(), screen.Edit2->text(), screen.Edit4->text()), LeGoff);
}

TEST_F(Selection, AClassChangeMovesTheFolderAndKeepsTheStudentAndTheRemoteFolder)
{
    TForm2 screen;
    fakes::chooseStudent(&screen, Dupont);
    const students::Selection before = screen.selection();
    screen.Edit3->setText(u"cm2"_s);
    screen.Button1->click();

    const students::Selection after = screen.selection();
    EXPECT_EQ(after.studentFolder, studentsFolder(u"CM2"_s));
    EXPECT_EQ(after.schoolClass, u"CM2"_s);
    EXPECT_EQ(after.student, before.student);
    EXPECT_EQ(after.remoteFolder, before.remoteFolder);
    expectShown(screen);
}

TEST_F(Selection, TheImportScreenShowsTheSelectionAndTheClassAsTypedSince)
{
    TForm2 students;
    fakes::chooseStudent(&students, Dupont);
    // The class field is typed again after the choice, without registering.
    students.Edit3->setText(u"CM2"_s);
    auto *import = app::makeImportScreen(&students);

    const QString folder = studentsFolder() + Dupont + workspace::separator();
    EXPECT_EQ(import->Label2->text(), folder);
    EXPECT_EQ(import->Label3->text(), u"ELEVE ACTUEL : "_s + Dupont);
    EXPECT_EQ(import->Edit6->text(), folder);
    EXPECT_EQ(import->Edit7->text(), u"../Orvane_EVRY_JAURES_CM1/"_s + Dupont + u'/');
    EXPECT_EQ(import->Edit1->text(), u"Dupont"_s);
    EXPECT_EQ(import->Edit2->text(), u"Jean"_s);
    EXPECT_EQ(import->Edit3->text(), u"CM2"_s);
    EXPECT_EQ(import->Edit4->text(), u"jean@ecole.fr"_s);
}

} // namespace
