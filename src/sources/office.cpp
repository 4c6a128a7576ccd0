#include "office.h"

#include "opendocument.h"
#include "plaintext.h"
#include "refusals.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace sources {

namespace {


QByteArray utf16le(QByteArrayView name)
{
    QByteArray bytes;
    for (const char c : name)
        bytes.append(c).append('\0');
    return bytes;
}

// The converter takes what it does not recognise for plain text: a file must
// look like its kind before it is handed over. A Word 97 document is a
// compound file holding a "WordDocument" stream.
bool looksLikeItsKind(const QString &path, const QByteArray &bytes)
{
    if (QFileInfo(path).suffix().compare(u"rtf"_s, Qt::CaseInsensitive) == 0)
        return bytes.startsWith("{\\rtf");
    static const QByteArray stream = utf16le("WordDocument");
    return bytes.startsWith(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) && bytes.contains(stream);
}

workspace::IoError unconverted(const QString &path)
{
    return workspace::IoError(u"Le fichier « %1 » ne peut pas être lu : il est endommagé ou protégé par un mot de "
                              u"passe."_s.arg(QFileInfo(path).fileName()),
                              path);
}

workspace::IoError tooSlow(const QString &path, int seconds)
{
    return workspace::IoError(u"La conversion du fichier « %1 » n'a pas abouti en %2 secondes : il est trop long "
                              u"ou trop compliqué. Enregistrez-le au format .odt ou .docx, puis importez-le de "
                              u"nouveau."_s.arg(QFileInfo(path).fileName())
                                  .arg(seconds),
                              path);
}

// Groups whose content is not the document's text.
bool isHiddenDestination(QByteArrayView word)
{
    static const QByteArrayView hidden[] = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "object",
                                            "listtable", "listoverridetable", "themedata", "datastore",
                                            "latentstyles", "rsidtbl", "generator", "xmlnstbl", "revtbl"};
    return std::find(std::begin(hidden), std::end(hidden), word) != std::end(hidden);
}

// Ends the converter and every process it started (they share its group).
void endAll(QProcess &office, qint64 group)
{
    if (group > 0)
        ::kill(-pid_t(group), SIGKILL);
    office.kill();
    office.waitForFinished();
}

} // namespace

RichTextShape richTextShape(QByteArrayView rtf)
{
    RichTextShape shape;
    qsizetype depth = 0;
    qsizetype hiddenFrom = -1; // the depth of the hidden group the bytes are in
    const auto hide = [&] {
        if (hiddenFrom < 0)
            hiddenFrom = depth;
    };
    const auto text = [&](qsizetype characters) {
        if (hiddenFrom < 0)
            shape.text += characters;
    };
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            shape.depth = std::max(shape.depth, ++depth);
        } else if (c == '}') {
            if (depth == hiddenFrom)
                hiddenFrom = -1;
            depth = std::max<qsizetype>(0, depth - 1);
        } else if (c == '\\' && i + 1 < rtf.size()) {
            const char next = rtf[i + 1];
            if (std::isalpha(static_cast<unsigned char>(next))) {
                qsizetype end = i + 1;
                while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end])))
                    ++end;
                const QByteArrayView word = rtf.sliced(i + 1, end - i - 1);
                // The parameter, held below the input's size: a count of
                // raw bytes past it only says that the file is cut short.
                const bool negative = end < rtf.size() && rtf[end] == '-';
                if (negative)
                    ++end;
                qsizetype parameter = 0;
                for (; end < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[end])); ++end)
                    parameter = std::min(parameter * 10 + (rtf[end] - '0'), rtf.size() + 1);
                if (end < rtf.size() && rtf[end] == ' ')
                    ++end;
                i = end - 1;
                if (word == "bin" && !negative) {
                    // Raw bytes, skipped unread.
                    if (parameter > rtf.size() - end) {
                        shape.cutShort = true;
                        break;
                    }
                    i += parameter;
                } else if (isHiddenDestination(word))
                    hide();
                else if (word == "u" || word == "par" || word == "line" || word == "tab")
                    text(1);
            } else if (next == '*') {
                hide();
                ++i;
            } else if (next == '\'') {
                text(1);
                i += 3;
            } else {
                text(1);
                ++i;
            }
        } else if (c != '\r' && c != '\n') {
            text(1);
        }
    }
    return shape;
}

QString officeConverter()
{
    for (const QString &name : {u"soffice"_s, u"libreoffice"_s}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

QStringList readThroughOffice(const QString &path, const QString &converter, std::stop_token stop, int seconds)
{
    const QByteArray bytes = readSourceBytes(path);
    if (!looksLikeItsKind(path, bytes))
        throw damaged(path);
    if (bytes.startsWith("{\\rtf")) {
        const RichTextShape shape = richTextShape(bytes);
        if (shape.depth > MaxRichTextDepth || shape.cutShort)
            throw damaged(path);
        if (shape.text > MaxTextCharacters)
            throw tooLong(path);
    }
    QTemporaryDir work;
    if (!work.isValid() || converter.isEmpty())
        throw workspace::IoError::cannotRead(path);
    // The converter reads a copy with a plain name, on a profile of its own,
    // so that an office suite open on the desktop is neither used nor disturbed.
    const QString source = work.filePath(u"source."_s + QFileInfo(path).suffix().toLower());
    {
        QFile copy(source);
        if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size())
            throw workspace::IoError::cannotRead(path);
    }
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    // A group of its own: the suite's launcher starts a worker that a kill of
    // the launcher alone would leave running.
    office.setChildProcessModifier([] { ::setpgid(0, 0); });
    office.start(converter, {u"--headless"_s, u"--norestore"_s, u"--nologo"_s, u"--nolockcheck"_s,
                             u"--nodefault"_s,
                             u"-env:UserInstallation="_s + QUrl::fromLocalFile(work.filePath(u"profil"_s)).toString(),
                             u"--convert-to"_s, u"odt"_s, u"--outdir"_s, work.filePath(u"odt"_s), source});
    const qint64 group = office.processId();
    const QDeadlineTimer deadline{std::chrono::seconds(seconds)};
    while (!office.waitForFinished(100)) {
        if (office.state() == QProcess::NotRunning)
            break;
        if (stop.stop_requested()) {
            endAll(office, group);
            throw stopped(path);
        }
        if (deadline.hasExpired()) {
            endAll(office, group);
            throw tooSlow(path, seconds);
        }
    }
    // Whatever the suite left behind ends with it.
    endAll(office, group);
    QFile converted(work.filePath(u"odt/source.odt"_s));
    if (!converted.open(QIODevice::ReadOnly))
        throw unconverted(path);
    return openDocumentArchiveLines(converted.readAll(), path, stop);
}

} // namespace sources
