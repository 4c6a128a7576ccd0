#include "workingfolder.h"

#include "workspace/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace fakes {

WorkingFolder::WorkingFolder()
    : m_previous(QDir::currentPath())
{
    const QString folder = m_root.path() + u"/Mes Documents/Tessavo é"_s;
    QDir().mkpath(folder);
    m_path = QDir::toNativeSeparators(folder);
    QDir::setCurrent(folder);
}

WorkingFolder::~WorkingFolder()
{
    QDir::setCurrent(m_previous);
}

QString WorkingFolder::path() const
{
    return m_path;
}

QString WorkingFolder::file(const QString &relative) const
{
    return QDir::toNativeSeparators(m_path + u'/' + relative);
}

void WorkingFolder::writeText(const QString &relative, const QStringList &lines) const
{
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    workspace::writeLines(target, lines);
}

void WorkingFolder::makeFolder(const QString &relative) const
{
    QDir().mkpath(file(relative));
}

void WorkingFolder::copyFolder(const QString &from, const QString &relative) const
{
    const QString to = file(relative);
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + QDir::toNativeSeparators(source.mid(from.size()));
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}

} // namespace fakes
