#pragma once

#include "readingaids/phonemes.h"
#include "readingaids/speech.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// "Lecture à voix haute": for a pupil whose box is checked, each reading
// document of the student folder gets its reading files beside it (NOM.mp3,
// NOM.vtt), and its published copy a line naming the one static script that
// plays them on the tablet (lecture.js, beside the documents too).
// Remembered for each student in a small file of the student folder; off,
// every file is as without it.
namespace layout {

// The box's caption, and the speed list's entries.
inline const QString LectureCaption = QStringLiteral("Lecture à voix haute");
inline const QString LenteCaption = QStringLiteral("Lente");
inline const QString NormaleCaption = QStringLiteral("Normale");

// The file that remembers the box and the speed, in the student folder: the
// lines "lecture=oui" or "lecture=non", and "vitesse=lente" or
// "vitesse=normale". No reading document writes such a name.
inline const QString LectureFile = QStringLiteral("lecture.ini");

// The script that the documents name, published beside them.
inline const QString LectureScript = QStringLiteral("lecture.js");

// The line a document names the script with, right before its start marker
// (with "defer", the script runs once the page is read).
inline const QString LectureScriptLine = QStringLiteral("<script src=\"lecture.js\" defer></script>");

struct LectureSettings
{
    bool on = false;
    readingaids::SpeechSpeed speed = readingaids::SpeechSpeed::Normale;

    bool operator==(const LectureSettings &) const = default;
};

// The settings of the student of cheminW (a folder path ending with a
// separator): off and at the normal speed without the file, or for lines it
// does not know. Raises workspace::IoError when the file is there but cannot
// be read.
LectureSettings lectureSettings(const QString &cheminW);

// Remembers them. Raises workspace::IoError.
void rememberLecture(const QString &cheminW, const LectureSettings &settings);

// The script's bytes, as the program carries them.
QByteArray lectureScript();

// The names of the student folder's reading documents: its .html and .htm
// files with both markers, the working pages and templates aside.
QStringList readingDocuments(const QString &cheminW);

// What prepareLecture did, by file name.
struct LectureWork
{
    QStringList made;    // reading files made anew
    QStringList kept;    // reading files whose document's text and speed were the same
    QStringList removed; // reading files and script taken away
};

// Brings the student folder's reading files in line with the settings. On:
// each reading document's reading files are made again when its text or the
// speed changed (the key in the .vtt says), and the script is beside them.
// Off: the reading files that were made for the documents, and the script,
// go. The documents themselves are never changed here. Raises
// workspace::IoError, and readingaids::SpeechUnavailable when on without the
// French voice (nothing then changes).
LectureWork prepareLecture(const QString &cheminW, const LectureSettings &settings,
                           readingaids::Pronouncer &pronouncer);

// The documents name the script while a publication sends them: the line
// goes in each reading document of the folder that has its reading files,
// right before its start marker, when this is made, and each document whose
// bytes are still those written is put back byte for byte when it ends. (The
// layout screen's aids recognise a document by its lines: the line stays in
// the published copy only.) Raises workspace::IoError.
class ScriptLinesForPublication
{
public:
    explicit ScriptLinesForPublication(const QString &cheminW);
    ~ScriptLinesForPublication();
    ScriptLinesForPublication(const ScriptLinesForPublication &) = delete;
    ScriptLinesForPublication &operator=(const ScriptLinesForPublication &) = delete;

    // The documents that name the script now.
    QStringList documents() const;

private:
    void restore();

    struct Written
    {
        QString path;
        QByteArray before;
        QByteArray after;
    };
    QList<Written> m_written;
};

} // namespace layout
