#include "workingcopies.h"

#include "readingaids/trim.h"
#include "workspace/ioerror.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QCryptographicHash>
#include <QFile>

#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

namespace layout {

namespace {

const QString markOpening = u"<!--COPIE SANS AIDE "_s;
const QString markClosing = u"-->"_s;
constexpr qsizetype fingerprintLength = 16;

QString fingerprint(const QByteArray &bytes)
{
    const QByteArray hex = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    return QString::fromLatin1(hex.left(fingerprintLength));
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw workspace::IoError::cannotRead(path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw workspace::IoError::cannotRead(path);
    return bytes;
}

using workspace::writeBytes;

void writeUnlessSame(const QString &path, const QByteArray &bytes, const std::optional<QByteArray> &held)
{
    if (held != bytes)
        writeBytes(path, bytes);
}

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Moves a finished file onto the target in one step; where the system cannot
// (another volume), the target is replaced by a whole copy of it.
void moveOnto(const QString &from, const QString &to, const QByteArray &bytes)
{
    std::error_code error;
    std::filesystem::rename(fsPath(from), fsPath(to), error);
    if (!error)
        return;
    writeBytes(to, bytes);
    QFile::remove(from);
}

QStringList withoutMark(QStringList lines)
{
    if (markedFingerprint(lines))
        lines.removeLast();
    return lines;
}

enum class Where { Copie, Own, Opening, Output };

struct Backup
{
    QByteArray bytes;
    Where where;
};

// The current document as read, the two backups as they stand, and the
// backup of the aid the document carries, if any.
struct Current
{
    QByteArray bytes;
    QStringList lines;
    std::optional<QString> mark;
    std::optional<QByteArray> copie;
    std::optional<QByteArray> own;
    std::optional<Backup> backup;
};

// The backup whose bytes have the fingerprint: the shared copy first, then
// the document's own, then the copy the opening wrote when the document was
// untransformed, then the output copy, where a rewrite left it when it was
// stopped half-way.
std::optional<Backup> backupOf(const WorkingCopies &files, const Current &current)
{
    const QString &wanted = *current.mark;
    if (current.copie && fingerprint(*current.copie) == wanted)
        return Backup{*current.copie, Where::Copie};
    if (current.own && fingerprint(*current.own) == wanted)
        return Backup{*current.own, Where::Own};
    if (const auto bak = workspace::readBytesIfAny(files.bak()); bak && fingerprint(*bak) == wanted)
        return Backup{*bak, Where::Opening};
    if (const auto output = workspace::readBytesIfAny(files.output()); output && fingerprint(*output) == wanted)
        return Backup{*output, Where::Output};
    return std::nullopt;
}

Current readCurrent(const WorkingCopies &files)
{
    Current current;
    current.bytes = readBytes(files.document);
    current.lines = workspace::decodeLines(current.bytes);
    current.mark = markedFingerprint(current.lines);
    current.copie = workspace::readBytesIfAny(files.copie());
    current.own = workspace::readBytesIfAny(files.own());
    if (current.mark)
        current.backup = backupOf(files, current);
    return current;
}

// The untransformed bytes of the current document. A document that carries a
// mark whose backup is gone counts as untransformed without its mark.
QByteArray untransformedBytes(const Current &current)
{
    if (current.backup)
        return current.backup->bytes;
    if (current.mark)
        return workspace::encodeLines(withoutMark(current.lines));
    return current.bytes;
}

} // namespace

QString WorkingCopies::output() const
{
    return cheminW + workspace::TexteAlire2Html;
}

QString WorkingCopies::copie() const
{
    return cheminW + workspace::TexteAlireCopieHtml;
}

QString WorkingCopies::own() const
{
    return document + u".sansaide.bak"_s;
}

QString WorkingCopies::bak() const
{
    return document + u".bak"_s;
}

QString aidMark(const QByteArray &plain)
{
    return markOpening + fingerprint(plain) + markClosing;
}

std::optional<QString> markedFingerprint(const QStringList &lines)
{
    if (lines.isEmpty())
        return std::nullopt;
    const QStringView last = readingaids::trimLine(lines.last());
    const bool framed = last.startsWith(markOpening) && last.endsWith(markClosing)
        && last.size() == markOpening.size() + fingerprintLength + markClosing.size();
    if (!framed)
        return std::nullopt;
    const QStringView print = last.mid(markOpening.size(), fingerprintLength);
    for (const QChar c : print) {
        if (!(c.isDigit() || (c >= u'a' && c <= u'f')))
            return std::nullopt;
    }
    return print.toString();
}

bool carriesAid(const QStringList &lines)
{
    return markedFingerprint(lines).has_value();
}

QStringList untransformedLines(const WorkingCopies &files)
{
    const Current current = readCurrent(files);
    if (current.backup)
        return workspace::decodeLines(current.backup->bytes);
    return withoutMark(current.lines);
}

void install(const WorkingCopies &files, const QStringList &output)
{
    const Current current = readCurrent(files);
    const QByteArray plain = untransformedBytes(current);
    // The untransformed document is in the document's own backup before the
    // document changes, and in the shared copy once it has.
    writeUnlessSame(files.own(), plain, current.own);
    const QByteArray bytes = workspace::encodeLines(QStringList(output) << aidMark(plain));
    // Written straight: the document is replaced by it only once it is whole.
    workspace::writeBeforeMove(files.output(), bytes);
    moveOnto(files.output(), files.document, bytes);
    writeUnlessSame(files.copie(), plain, current.copie);
}

Restored restore(const WorkingCopies &files)
{
    const Current current = readCurrent(files);
    if (!current.mark)
        return Restored::AlreadyPlain;
    if (!current.backup)
        return Restored::NoBackup;
    if (current.backup->where == Where::Copie)
        moveOnto(files.copie(), files.document, current.backup->bytes);
    else
        writeBytes(files.document, current.backup->bytes);
    // The document is the teacher's text again: its own backup has served.
    QFile::remove(files.own());
    return Restored::Untransformed;
}

void rewriteInPlace(const WorkingCopies &files, const std::function<QStringList(const QStringList &)> &change)
{
    const Current current = readCurrent(files);
    if (!current.backup) {
        writeBytes(files.document, workspace::encodeLines(change(current.lines)));
        return;
    }
    // The new backup is first written beside the document, so that whichever
    // write fails, the document's mark names a backup that is on disk.
    const QByteArray plain = workspace::encodeLines(change(workspace::decodeLines(current.backup->bytes)));
    writeBytes(files.output(), plain);
    writeBytes(files.document,
               workspace::encodeLines(change(withoutMark(current.lines)) << aidMark(plain)));
    writeBytes(files.own(), plain);
    if (current.backup->where == Where::Copie)
        writeBytes(files.copie(), plain);
    QFile::remove(files.output());
}

void replaceText(const WorkingCopies &files, const QStringList &lines)
{
    const Current current = readCurrent(files);
    const QByteArray older = untransformedBytes(current);
    const QByteArray bytes = workspace::encodeLines(lines);
    writeBytes(files.document, bytes);
    QFile::remove(files.own());
    if (current.copie == older)
        QFile::remove(files.copie());
    if (workspace::readBytesIfAny(files.output()) == older)
        QFile::remove(files.output());
    if (QFile::exists(files.bak()))
        writeBytes(files.bak(), bytes);
}

} // namespace layout
