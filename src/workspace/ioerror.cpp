#include "ioerror.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace workspace {

IoError::IoError(QString message, QString path)
    : Failure(std::move(message))
    , m_path(std::move(path))
{
}

IoError IoError::cannotRead(const QString &path)
{
    const QString text = QFileInfo::exists(path)
        ? u"Le fichier « %1 » ne peut pas être lu."_s
        : u"Le fichier « %1 » est introuvable."_s;
    return IoError(text.arg(path), path);
}

IoError IoError::cannotWrite(const QString &path)
{
    return IoError(u"Le fichier « %1 » ne peut pas être écrit."_s.arg(path), path);
}

IoError IoError::cannotReplace(const QString &path, bool existed)
{
    const QString text = existed
        ? u"Le fichier « %1 » n'a pas pu être enregistré (disque plein, ou dossier où aucun fichier ne peut être "
          u"créé) : il est resté tel qu'il était."_s
        : u"Le fichier « %1 » n'a pas pu être créé (disque plein, ou dossier où aucun fichier ne peut être créé)."_s;
    return IoError(text.arg(path), path);
}

IoError IoError::emptyPicture(const QString &path)
{
    return IoError(u"Le fichier « %1 » est vide : l'image ne peut pas être copiée."_s.arg(path), path);
}

} // namespace workspace
