#pragma once

#include <QString>
#include <QTemporaryDir>

namespace fakes {

// A fresh working folder, made the current directory for as long as it lives.
// Its name holds blanks and accented letters, as a teacher's folder may.
class WorkingFolder
{
public:
    WorkingFolder();
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder &) = delete;
    WorkingFolder &operator=(const WorkingFolder &) = delete;

    // The folder, with the host's separators and no trailing one.
    QString path() const;
    // path() + separator + relative (relative written with "/").
    QString file(const QString &relative) const;

    // Writes a Windows-1252 text file (CR LF), making its folders.
    void writeText(const QString &relative, const QStringList &lines) const;
    void makeFolder(const QString &relative) const;
    // Copies the files of a folder, and of its subfolders, into relative.
    void copyFolder(const QString &from, const QString &relative) const;

private:
    QTemporaryDir m_root;
    QString m_path;
    QString m_previous;
};

} // namespace fakes
