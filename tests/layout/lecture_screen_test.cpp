// "Lecture à voix haute" on the layout screen, driven headless through its
// real handlers with the doubles of the desktop.
#include "fakeplatform.h"
#include "layout/Vitrine_test.h"
#include "layout/lecture.h"
#include "layoutfolder.h"
#include "platform/eventrules.h"
#include "readingaids/speech.h"
#include "workingfolder.h"
#include "workspace/textfile.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

using namespace Qt::StringLiterals;
using layouttest::Screens;
using layouttest::StudentFolder;

namespace {

class LectureScreen : public testing::Test
{
protected:
    fakes::Platform platform;
    fakes::WorkingFolder folder;
    StudentFolder student{folder};
};

TEST_F(LectureScreen, TheBoxIsRememberedAndSavingMakesTheReadingFiles)
{
    const QByteArray document = bytesOf(student.document);
    const QStringList files = readingaids::readingFileNames(QFileInfo(student.document).fileName());
    {
        Screens screens(student);
        TForm1 *screen = screens.openLayout();
        ASSERT_TRUE(screen->Lecture->isEnabled()) << screen->Lecture->toolTip().toStdString();
        EXPECT_FALSE(screen->Lecture->isChecked()) << "off by default";
        EXPECT_EQ(screen->Lecture->text(), u"Lecture à voix haute"_s);
        EXPECT_EQ(screen->LectureVitesse->currentText(), u"Normale"_s);
        EXPECT_FALSE(QFileInfo::exists(student.cheminW + layout::LectureFile)) << "nothing written by opening";
        screen->Button1->click();
        for (const QString &name : files + QStringList{layout::LectureScript, layout::LectureFile})
            EXPECT_FALSE(QFileInfo::exists(student.cheminW + name)) << name.toStdString();
    }
    {
        Screens screens(student);
        TForm1 *screen = screens.openLayout();
        screen->Lecture->setChecked(true);
        screen->LectureVitesse->setCurrentIndex(0);
        EXPECT_EQ(workspace::readLines(student.cheminW + layout::LectureFile),
                  (QStringList{u"lecture=oui"_s, u"vitesse=lente"_s}));
        screen->Button1->click();
        for (const QString &name : files + QStringList{layout::LectureScript})
            EXPECT_TRUE(QFileInfo::exists(student.cheminW + name)) << name.toStdString();
        EXPECT_TRUE(bytesOf(student.cheminW + files[1]).contains("NOTE tessavo-lecture lente "));
        EXPECT_EQ(bytesOf(student.document), document) << "the document itself never changes";
    }
    {
        Screens screens(student);
        TForm1 *screen = screens.openLayout();
        EXPECT_TRUE(screen->Lecture->isChecked());
        EXPECT_EQ(screen->LectureVitesse->currentText(), u"Lente"_s);
        screen->Lecture->setChecked(false);
        screen->Button1->click();
        for (const QString &name : files + QStringList{layout::LectureScript})
            EXPECT_FALSE(QFileInfo::exists(student.cheminW + name)) << name.toStdString();
        EXPECT_EQ(bytesOf(student.document), document);
    }
}

} // namespace
