#include "picturechoice.h"

#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

} // namespace

bool isPictureUsed(const QString &listPath, const QString &picturePath)
{
    if (!QFileInfo::exists(listPath))
        return false;
    return workspace::readLines(listPath).contains(picturePath);
}

TakenPicture takePicture(const QString &picturePath, const QString &studentFolder)
{
    TakenPicture taken;
    taken.path = studentFolder + QFileInfo(picturePath).fileName();
    taken.wasInFolder = sameFile(picturePath, taken.path);
    if (!taken.wasInFolder)
        workspace::copyBytes(picturePath, taken.path);
    workspace::appendLines(studentFolder + workspace::ListeImagesTxt, {picturePath});
    if (!taken.wasInFolder)
        QFile::remove(picturePath);
    return taken;
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
