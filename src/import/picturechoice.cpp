#include "picturechoice.h"

#include "workspace/ioerror.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

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
    return QDir(cardsFolder)
        .entryList({u"*.jpg"_s, u"*.jpeg"_s, u"*.png"_s, u"*.gif"_s, u"*.webp"_s}, QDir::Files)
        .isEmpty();
}

bool isJpeg(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(3) == QByteArray("\xFF\xD8\xFF");
}

void saveAsJpeg(const QString &path)
{
    if (isJpeg(path))
        return;
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull())
        throw workspace::IoError(u"Le logo « %1 » n'est pas une image lisible : il ne peut pas être enregistré en "
                                 u"JPEG."_s.arg(path), path);
    // JPEG holds no transparency: the picture is laid on white, the page's colour.
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, picture);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(92);
    if (!writer.write(flat))
        throw workspace::IoError::cannotWrite(path);
    workspace::writeBytes(path, buffer.data());
}

void placePicture(const TakenPicture &picture, const QString &target)
{
    if (!sameFile(picture.path, target)) {
        if (picture.wasInFolder) {
            workspace::copyBytes(picture.path, target);
        } else {
            QFile::remove(target);
            QFile::rename(picture.path, target);
        }
    }
    // The logo is a ".jpg" for the page and the tablet: its bytes are too. A
    // file that is no picture was refused when it was chosen.
    if (QImageReader(target).canRead())
        saveAsJpeg(target);
}

} // namespace import
