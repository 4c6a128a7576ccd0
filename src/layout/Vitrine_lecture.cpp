#include "Vitrine_test.h"

#include "layout/lecture.h"
#include "platform/eventrules.h"
#include "readingaids/speech.h"

#include <QComboBox>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

void TForm1::montrerLecture()
{
    const QSignalBlocker blockBox(Lecture);
    const QSignalBlocker blockSpeed(LectureVitesse);
    LectureVitesse->clear();
    LectureVitesse->addItems({layout::LenteCaption, layout::NormaleCaption});
    readingaids::Pronouncer &pronouncer = readingaids::Pronouncer::process();
    const bool available = pronouncer.available();
    const layout::LectureSettings settings = layout::lectureSettings(cheminW);
    // Without the French voice the box stays off, and says why; the choice
    // waits in the student's file for a computer that has it.
    Lecture->setEnabled(available);
    LectureVitesse->setEnabled(available);
    Lecture->setChecked(available && settings.on);
    LectureVitesse->setCurrentIndex(settings.speed == readingaids::SpeechSpeed::Lente ? 0 : 1);
    const QString why = available ? u"Coché : sur la tablette, chaque document se lit à voix haute, le mot lu "
                                    u"éclairé ; un mot touché lance la lecture à partir de lui"_s
                                  : readingaids::speechUnavailableReason(pronouncer);
    Lecture->setToolTip(why);
    LectureVitesse->setToolTip(available ? u"La vitesse de la lecture à voix haute"_s : why);
}

void TForm1::LectureChange()
{
    layout::LectureSettings settings;
    settings.on = Lecture->isChecked();
    settings.speed = LectureVitesse->currentIndex() == 0 ? readingaids::SpeechSpeed::Lente : readingaids::SpeechSpeed::Normale;
    layout::rememberLecture(cheminW, settings);
}

void TForm1::preparerLecture()
{
    // Without the voice nothing changes: the files already made stay.
    if (!Lecture->isEnabled())
        return;
    layout::prepareLecture(cheminW, layout::lectureSettings(cheminW), readingaids::Pronouncer::process());
}
