#include "Vitrine_test.h"

#include "layout/lecture.h"
#include "platform/eventrules.h"
#include "readingaids/speech.h"

#include "platform/webview.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

// The web engine's page of the view; null for a view that is not the
// engine's (the doubles of the tests).
QWebEnginePage *pageOf(platform::WebView *view)
{
    auto *engine = view->findChild<QWebEngineView *>();
    return engine ? engine->page() : nullptr;
}

} // namespace

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
    // "Écouter" plays from the program's own world (the documents' scripts
    // never run in the view), before the page is next loaded.
    if (QWebEnginePage *page = pageOf(WebBrowser1))
        page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    Ecouter->setEnabled(available);
    Ecouter->setToolTip(available ? u"Lit le document à voix haute ici, le mot lu éclairé ; un clic sur un mot "
                                    u"lit à partir de lui"_s
                                  : why);
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

namespace {

// What "Écouter" keeps while the screen lives: the folder of the audio it
// plays (never the student folder: listening changes no file there).
class Ecoute : public QObject
{
public:
    explicit Ecoute(QObject *screen)
        : QObject(screen)
    {
        setObjectName(u"ecoute"_s);
    }

    // The screen's, once "Écouter" was pressed.
    static Ecoute *of(QObject *screen)
    {
        return dynamic_cast<Ecoute *>(screen->findChild<QObject *>(u"ecoute"_s, Qt::FindDirectChildrenOnly));
    }

    QTemporaryDir folder;
    int count = 0;
    QTimer watch; // "Pause" or "Reprendre", as the reading is
};

// The page's reading, in the program's own world: paused, or null when none.
const QString PausedScript = u"window.tessavoLu ? window.tessavoLu.paused : null"_s;

} // namespace

void TForm1::EcouterClick()
{
    QWebEnginePage *page = pageOf(WebBrowser1);
    if (!page || !Ecouter->isEnabled())
        return;
    auto *ecoute = Ecoute::of(this);
    if (!ecoute) {
        ecoute = new Ecoute(this);
        ecoute->watch.setInterval(300);
        connect(&ecoute->watch, &QTimer::timeout, this, [this, ecoute] {
            if (QWebEnginePage *shown = pageOf(WebBrowser1))
                shown->runJavaScript(PausedScript, QWebEngineScript::ApplicationWorld, [this](const QVariant &paused) {
                    if (!paused.isNull())
                        PauseLecture->setText(paused.toBool() ? u"Reprendre"_s : u"Pause"_s);
                });
        });
    }
    if (!ecoute->folder.isValid())
        throw workspace::IoError::cannotWrite(ecoute->folder.path());
    // The view reads the pupil's folder only, and this one of the program's.
    WebBrowser1->allowProgramFolder(ecoute->folder.path());
    // The document as the view shows it.
    const QStringList lines = workspace::readLines(Label3->text());
    const readingaids::SpeechSpeed speed
        = LectureVitesse->currentIndex() == 0 ? readingaids::SpeechSpeed::Lente : readingaids::SpeechSpeed::Normale;
    const readingaids::Speech speech
        = readingaids::synthesise(readingaids::Pronouncer::process(), readingaids::speechText(lines), speed);
    const QString audio = ecoute->folder.filePath(u"ecoute-%1.wav"_s.arg(++ecoute->count));
    const QByteArray cues = readingaids::webVtt(speech.cues);
    workspace::writeBytes(audio, readingaids::wav(speech));
    workspace::writeBytes(audio.chopped(4) + u".vtt"_s, cues);

    const QString script = u"window.tessavoDansLeProgramme = true;\n"_s + QString::fromUtf8(layout::lectureScript())
        + uR"(
(function (source, cues) {
  // A reading before this one: its audio goes, its words' spans too.
  if (window.tessavoLu) { window.tessavoLu.pause(); window.tessavoLu.remove(); }
  document.querySelectorAll("span.tessavo-mot").forEach(function (s) { s.replaceWith.apply(s, Array.from(s.childNodes)); });
  document.body.normalize();
  window.tessavoLu = window.tessavoLecture(source, cues, false);
  if (window.tessavoLu) window.tessavoLu.play();
}))"_s;
    const QString call = script + u"(%1, %2);"_s.arg(
                             QString::fromUtf8(QJsonDocument(QJsonArray{QUrl::fromLocalFile(audio).toString()})
                                                   .toJson(QJsonDocument::Compact)
                                                   .sliced(1)
                                                   .chopped(1)),
                             QString::fromUtf8(QJsonDocument(QJsonArray{QString::fromUtf8(cues)})
                                                   .toJson(QJsonDocument::Compact)
                                                   .sliced(1)
                                                   .chopped(1)));
    page->runJavaScript(call, QWebEngineScript::ApplicationWorld);
    PauseLecture->setText(u"Pause"_s);
    PauseLecture->setEnabled(true);
    ecoute->watch.start();
}

void TForm1::PauseLectureClick()
{
    QWebEnginePage *page = pageOf(WebBrowser1);
    if (!page)
        return;
    page->runJavaScript(
        u"(function () { var a = window.tessavoLu; if (!a) return null; if (a.paused) a.play(); else a.pause(); "
        "return !a.paused; })()"_s,
        QWebEngineScript::ApplicationWorld, [this](const QVariant &playing) {
            if (!playing.isNull())
                PauseLecture->setText(playing.toBool() ? u"Pause"_s : u"Reprendre"_s);
        });
}

void TForm1::arreterLecture()
{
    auto *ecoute = Ecoute::of(this);
    if (!ecoute)
        return;
    ecoute->watch.stop();
    PauseLecture->setText(u"Pause"_s);
    PauseLecture->setEnabled(false);
    if (QWebEnginePage *page = pageOf(WebBrowser1))
        page->runJavaScript(u"if (window.tessavoLu) { window.tessavoLu.pause(); window.tessavoLu.remove(); window.tessavoLu = null; }"_s,
                            QWebEngineScript::ApplicationWorld);
}
