#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QIODevice;

// Text files of the workspace: lines in Windows-1252, each ended by CR LF.
// Every function raises workspace::IoError when a file cannot be opened,
// read or written.
namespace workspace {

// The lines of a file. CR LF, LF and a lone CR all end a line; a last line
// without a line end counts; an empty file has no lines.
QStringList readLines(const QString &path);

// The bytes of a file, or nothing when it is missing or cannot be read: for
// a copy or a backup, which is as good as none when it cannot be read. Raises
// nothing.
std::optional<QByteArray> readBytesIfAny(const QString &path);

// Creates or replaces the file with these lines, each followed by CR LF.
// The new file is written beside the old one and replaces it once complete;
// a file is never written in place, so when no new file can be made (a full
// disk, a folder closed to new files) the write fails and the old file stays
// whole.
void writeLines(const QString &path, const QStringList &lines);

// Adds lines at the end of the file, creating it when it is missing. The file
// is written again whole, as writeLines does, its earlier bytes unchanged.
void appendLines(const QString &path, const QStringList &lines);

// Creates or replaces the file with these bytes, as writeLines does.
void writeBytes(const QString &path, const QByteArray &bytes);

class LineWriter;

// Creates or replaces the file with the lines that produce writes as it makes
// them, as writeLines does: the old file stays until the new one is complete.
void writeLinesAsMade(const QString &path, const std::function<void(LineWriter &)> &produce);

// Writes a working file that is then moved onto the file it stands for
// (TexteAlire2.html onto the document): straight, with no copy beside it,
// since the move is what puts it in place. A failure removes what was written.
void writeBeforeMove(const QString &path, const QByteArray &bytes);

// The line copy of a text template: the target gets every line of the source,
// each with its line end; an empty source gives one empty line.
void copyTextLines(const QString &source, const QString &target);

// The byte copy of a picture. An empty or missing source is an error and
// leaves the target untouched; copying a file onto itself keeps it whole.
void copyBytes(const QString &source, const QString &target);

// The lines as a file holds them: each followed by CR LF, in Windows-1252.
QByteArray encodeLines(const QStringList &lines);

// The lines of file content, by the rules of readLines.
QStringList decodeLines(QByteArrayView content);

// Writes lines one by one to an open device as they are made, each followed
// by CR LF in Windows-1252, through a buffer of about a megabyte, so that a
// long output is never held whole. Raises IoError::cannotWrite(name) when the
// device refuses bytes; flush() writes what the buffer still holds.
class LineWriter
{
public:
    LineWriter(QIODevice &device, QString name);

    void write(QStringView line);
    void flush();

private:
    QIODevice &m_device;
    QString m_name;
    QByteArray m_buffer;
    qsizetype m_used = 0;
};

} // namespace workspace
