// The layout screen on a computer without espeak-ng: the process is given a
// library name that cannot be loaded before anything pronounces a word, so
// this runs as a test program of its own.
#include "aides_screen.h"

#include "readingaids/bodyaids.h"
#include "testfiles.h"
#include "workspace/textfile.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using aidestest::AidesScreen;
using readingaids::BodyAid;

namespace {

// Before main, so before the process's pronouncer is made.
const bool withoutEspeak = qputenv("TESSAVO_ESPEAK_NG", "tessavo-sans-espeak-ng");

TEST_F(AidesScreen, WithoutEspeakTheBoxIsDisabledWithItsReasonAndTheSoundIsMarkedByLetters)
{
    ASSERT_TRUE(withoutEspeak);
    // The student had checked the box on a computer that has espeak-ng.
    const QString remembered = student.cheminW + u"entendu.ini"_s;
    workspace::writeLines(remembered, {u"entendu=oui"_s});
    TForm1 *screen = open();
    const QStringList lines = workspace::readLines(student.document);

    const QString reason = u"Le mode « entendu » n'est pas disponible : la bibliothèque espeak-ng n'a pas pu "
                           u"être chargée (paquet libespeak-ng1)."_s;
    EXPECT_FALSE(screen->Entendu->isEnabled());
    EXPECT_FALSE(screen->Entendu->isChecked());
    EXPECT_EQ(screen->Entendu->toolTip(), reason);
    EXPECT_EQ(screen->LabelEntendu->text(), reason);
    EXPECT_TRUE(screen->LabelEntendu->isVisible());

    // A press on the box does nothing.
    QTest::mouseClick(screen->Entendu, Qt::LeftButton);
    EXPECT_FALSE(screen->Entendu->isChecked());

    for (const QString &sound : {u"o"_s, u"on"_s, u"c"_s}) {
        SCOPED_TRACE(sound.toStdString());
        const int loadsBefore = loads(screen);
        screen->Edit6->setText(sound);
        EXPECT_EQ(shown(), readingaids::writeBodyAid(lines, BodyAid::Son, sound));
        EXPECT_EQ(loads(screen), loadsBefore + 1);
        EXPECT_EQ(screen->LabelEntendu->text(), reason);
    }
    EXPECT_EQ(bytesOf(remembered), "entendu=oui\r\n") << "the choice waits for a computer with espeak-ng";
    EXPECT_EQ(platform.messages.shown.size(), 1); // the opening's only
}

} // namespace

namespace {

// "Lecture à voix haute" and "Écouter" say why they cannot read and stay off; a save
// changes no document and makes no reading file.
TEST_F(AidesScreen, WithoutEspeakTheReadingAloudBoxIsOffWithItsReason)
{
    workspace::writeLines(student.cheminW + u"lecture.ini"_s, {u"lecture=oui"_s, u"vitesse=lente"_s});
    const QByteArray document = bytesOf(student.document);
    TForm1 *screen = open();
    EXPECT_FALSE(screen->Lecture->isEnabled());
    EXPECT_FALSE(screen->Lecture->isChecked());
    EXPECT_EQ(screen->Lecture->toolTip(), u"La lecture à voix haute n'est pas disponible : la bibliothèque espeak-ng "
                                          u"n'a pas pu être chargée (paquet libespeak-ng1)."_s);
    QTest::mouseClick(screen->Lecture, Qt::LeftButton);
    EXPECT_FALSE(screen->Lecture->isChecked());
    EXPECT_FALSE(screen->Ecouter->isEnabled());
    EXPECT_EQ(screen->Ecouter->toolTip(), screen->Lecture->toolTip());
    EXPECT_FALSE(screen->PauseLecture->isEnabled());
    screen->Button1->click();
    EXPECT_EQ(bytesOf(student.document), document);
    EXPECT_FALSE(QFile::exists(student.cheminW + u"lecture.js"_s));
    EXPECT_EQ(bytesOf(student.cheminW + u"lecture.ini"_s), "lecture=oui\r\nvitesse=lente\r\n");
}

} // namespace
