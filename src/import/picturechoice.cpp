#include "picturechoice.h"

#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace import {

namespace {

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}

// The picture's name in the student folder: its own, or, when a file of
// that name is there already (the logo of another document), the first free
// "name (2).jpg", "name (3).jpg"...
QString freeNameIn(const QString &studentFolder, const QFileInfo &picture)
{
    QString path = studentFolder + picture.fileName();
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = studentFolder + u"%1 (%2).%3"_s.arg(picture.completeBaseName()).arg(n).arg(picture.suffix());
    return path;
}

} // namespace

bool isPictureUsed(const QString &listPath, const QString &picturePath)
{
    if (!QFileInfo::exists(listPath))
        return false;
    return workspace::readLines(listPath).contains(picturePath);
}

TakenPicture takePicture(const QString &picturePath, const QString &studentFolder, const QString &cardsFolder)
{
    TakenPicture taken;
    taken.path = studentFolder + QFileInfo(picturePath).fileName();
    taken.wasInFolder = sameFile(picturePath, taken.path);
    if (!taken.wasInFolder) {
        taken.path = freeNameIn(studentFolder, QFileInfo(picturePath));
        workspace::copyBytes(picturePath, taken.path);
    }
    workspace::appendLines(studentFolder + workspace::ListeImagesTxt, {picturePath});
    const bool fromTheCards = sameFile(QFileInfo(picturePath).absolutePath(), cardsFolder);
    if (!taken.wasInFolder && fromTheCards)
        QFile::remove(picturePath);
    return taken;
}

bool hasNoCards(const QString &cardsFolder)
{
    return QDir(cardsFolder).entryList({u"*.jpg"_s}, QDir::Files).isEmpty();
}

void placePicture(const TakenPicture &picture, const QString &target)
{
    if (sameFile(picture.path, target))
        return;
    if (picture.wasInFolder) {
        workspace::copyBytes(picture.path, target);
        return;
    }
    QFile::remove(target);
    QFile::rename(picture.path, target);
}

} // namespace import
