#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

// Text files of the workspace: lines in Windows-1252, each ended by CR LF.
// Every function raises workspace::IoError when a file cannot be opened,
// read or written.
namespace workspace {

// The lines of a file. CR LF, LF and a lone CR all end a line; a last line
// without a line end counts; an empty file has no lines.
QStringList readLines(const QString &path);

// Creates or replaces the file with these lines, each followed by CR LF.
// The old file stays whole until the new one is complete.
void writeLines(const QString &path, const QStringList &lines);

// Adds lines at the end of the file, creating it when it is missing.
void appendLines(const QString &path, const QStringList &lines);

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
