#include "lecture.h"

#include "readingaids/document.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace layout {

namespace {

const QString On = u"lecture=oui"_s;
const QString Slow = u"vitesse=lente"_s;

// The lines of the document with the script line before its start marker
// (with), or with none (without); the same lines when they already are so.
QStringList withScriptLine(QStringList lines, bool with)
{
    const readingaids::Regions regions = readingaids::findRegions(lines);
    qsizetype at = regions.startMarker;
    for (qsizetype i = at - 1; i >= 0; --i) {
        if (lines[i].trimmed() == LectureScriptLine) {
            lines.removeAt(i);
            --at;
        }
    }
    if (with)
        lines.insert(at, LectureScriptLine);
    return lines;
}

bool isOurs(const QString &vttPath)
{
    QFile file(vttPath);
    return file.open(QIODevice::ReadOnly) && file.read(200).contains(readingaids::readingKeyNote);
}

QByteArray readBytes(const QString &path)
{
    return workspace::readBytesIfAny(path).value_or(QByteArray());
}

void remove(const QString &path)
{
    if (QFile::exists(path) && !QFile::remove(path))
        throw workspace::IoError::cannotWrite(path);
}

} // namespace

LectureSettings lectureSettings(const QString &cheminW)
{
    const QString path = cheminW + LectureFile;
    LectureSettings settings;
    if (!QFileInfo::exists(path))
        return settings;
    for (const QString &line : workspace::readLines(path)) {
        if (line.trimmed() == On)
            settings.on = true;
        else if (line.trimmed() == Slow)
            settings.speed = readingaids::SpeechSpeed::Lente;
    }
    return settings;
}

void rememberLecture(const QString &cheminW, const LectureSettings &settings)
{
    workspace::writeLines(cheminW + LectureFile,
                          {settings.on ? On : u"lecture=non"_s,
                           settings.speed == readingaids::SpeechSpeed::Lente ? Slow : u"vitesse=normale"_s});
}

QByteArray lectureScript()
{
    QFile script(u":/lecture/lecture.js"_s);
    if (!script.open(QIODevice::ReadOnly))
        throw workspace::IoError::cannotRead(script.fileName());
    return script.readAll();
}

QStringList readingDocuments(const QString &cheminW)
{
    static const QStringList notDocuments = {u"TexteAlire.html"_s, u"TexteAlire2.html"_s, u"TexteAlire_copie.html"_s,
                                             u"entete.html"_s, u"FinFichier.html"_s};
    QStringList documents;
    const QStringList names
        = QDir(cheminW).entryList({u"*.html"_s, u"*.htm"_s}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        if (notDocuments.contains(name, Qt::CaseInsensitive))
            continue;
        try {
            readingaids::findRegions(workspace::readLines(cheminW + name));
            documents.append(name);
        } catch (const readingaids::DocumentRefused &) {
            // Not a reading document: a table of contents, a page of the teacher's.
        }
    }
    return documents;
}

LectureWork prepareLecture(const QString &cheminW, const LectureSettings &settings,
                           readingaids::Pronouncer &pronouncer)
{
    LectureWork work;
    const QStringList documents = readingDocuments(cheminW);
    if (settings.on && !documents.isEmpty() && !pronouncer.available())
        throw readingaids::SpeechUnavailable(readingaids::speechUnavailableReason(pronouncer));
    for (const QString &name : documents) {
        const QStringList files = readingaids::readingFileNames(name);
        if (settings.on) {
            const QStringList lines = workspace::readLines(cheminW + name);
            const QString key = readingaids::readingKey(lines, settings.speed);
            const QByteArray vtt = readBytes(cheminW + files[1]);
            if (QFileInfo::exists(cheminW + files[0]) && vtt.contains(key.toUtf8())) {
                work.kept += files;
            } else {
                const QList<QByteArray> made = readingaids::readingFiles(pronouncer, lines, settings.speed);
                for (qsizetype i = 0; i < files.size(); ++i)
                    workspace::writeBytes(cheminW + files[i], made[i]);
                work.made += files;
            }
        } else if (isOurs(cheminW + files[1])) {
            for (const QString &file : files)
                remove(cheminW + file);
            work.removed += files;
        }
    }
    const QString script = cheminW + LectureScript;
    if (settings.on) {
        const QByteArray bytes = lectureScript();
        if (readBytes(script) != bytes)
            workspace::writeBytes(script, bytes);
    } else if (QFileInfo::exists(script)) {
        remove(script);
        work.removed.append(LectureScript);
    }
    return work;
}

ScriptLinesForPublication::ScriptLinesForPublication(const QString &cheminW)
{
    const bool scriptSent = QFileInfo::exists(cheminW + LectureScript);
    try {
        for (const QString &name : readingDocuments(cheminW)) {
            const QString path = cheminW + name;
            const QByteArray current = readBytes(path);
            const QStringList lines = workspace::decodeLines(current);
            const bool named = std::any_of(lines.begin(), lines.end(),
                                           [](const QString &line) { return line.trimmed() == LectureScriptLine; });
            const bool reads = scriptSent && isOurs(cheminW + readingaids::readingFileNames(name)[1]);
            if (!reads && !named)
                continue;
            // A line left by a publication that was cut short (the program
            // killed) goes now: the document is put back without it.
            const QByteArray plain = named ? workspace::encodeLines(withScriptLine(lines, false)) : current;
            const QByteArray after = reads ? workspace::encodeLines(withScriptLine(lines, true)) : plain;
            if (after != current)
                workspace::writeBytes(path, after);
            if (after != plain)
                m_written.append({path, plain, after});
        }
    } catch (...) {
        restore();
        throw;
    }
}

ScriptLinesForPublication::~ScriptLinesForPublication()
{
    restore();
}

void ScriptLinesForPublication::restore()
{
    for (const Written &written : std::as_const(m_written)) {
        try {
            if (readBytes(written.path) == written.after)
                workspace::writeBytes(written.path, written.before);
        } catch (const workspace::Failure &) {
            // Left naming the script: the next publication puts it back.
        }
    }
    m_written.clear();
}

QStringList ScriptLinesForPublication::documents() const
{
    QStringList names;
    for (const Written &written : m_written)
        names.append(QFileInfo(written.path).fileName());
    return names;
}

} // namespace layout
