#include "refusals.h"

#include <QFileInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace sources {

namespace {

workspace::IoError refusal(const QString &text, const QString &path)
{
    return workspace::IoError(text.arg(QFileInfo(path).fileName()), path);
}

} // namespace

workspace::IoError damaged(const QString &path)
{
    return refusal(u"Le fichier « %1 » est endommagé : son texte ne peut pas être lu."_s, path);
}

workspace::IoError encrypted(const QString &path)
{
    return refusal(u"Le fichier « %1 » est protégé par un mot de passe : son texte ne peut pas être lu. "
                   u"Enregistrez-le sans mot de passe, puis importez-le de nouveau."_s,
                   path);
}

workspace::IoError emptyFile(const QString &path)
{
    return refusal(u"Le fichier « %1 » est vide : il n'y a pas de texte à importer."_s, path);
}

workspace::IoError noText(const QString &path)
{
    return refusal(u"Le fichier « %1 » ne contient aucun texte à importer."_s, path);
}

workspace::IoError onlyPictures(const QString &path)
{
    return refusal(u"Le fichier « %1 » ne peut pas être importé : ce PDF ne contient que des images "
                   u"(une page scannée n'a pas de texte à lire)."_s,
                   path);
}

workspace::IoError copyForbidden(const QString &path)
{
    return refusal(u"Le fichier « %1 » interdit que l'on copie son texte : il ne peut pas être importé."_s, path);
}

workspace::IoError notText(const QString &path)
{
    return refusal(u"Le fichier « %1 » n'est pas un fichier de texte lisible."_s, path);
}

workspace::IoError tooBig(const QString &path, qint64 bytes)
{
    const QString size = QLocale(QLocale::French).toString(double(bytes) / (1024 * 1024), 'f', 1);
    return refusal(u"Le fichier « %1 » est trop gros (%2 Mo) : Tessavo importe des fichiers de 20 Mo au plus."_s
                       .arg(u"%1"_s, size),
                   path);
}

workspace::IoError tooLong(const QString &path)
{
    return refusal(u"Le texte du fichier « %1 » est trop long : Tessavo importe des textes de 2 Mo au plus. "
                   u"Importez-en une partie."_s,
                   path);
}

workspace::IoError longWord(const QString &path)
{
    return refusal(u"Le fichier « %1 » ne contient pas un texte à lire : un de ses mots a plus de 1\u00A0000 "
                   u"caractères."_s,
                   path);
}

workspace::IoError tooManyPages(const QString &path, int pages)
{
    return refusal(u"Le fichier « %1 » a trop de pages (%2) : Tessavo importe des PDF de 1\u00A0000 pages au plus. "
                   u"Enregistrez les pages du texte dans un autre PDF, puis importez-le."_s
                       .arg(u"%1"_s, QLocale(QLocale::French).toString(pages)),
                   path);
}

workspace::IoError tooManyStrokes(const QString &path)
{
    return refusal(u"Le fichier « %1 » ne peut pas être importé : ses pages ont trop de traits pour être lues "
                   u"en quelques secondes."_s,
                   path);
}

workspace::IoError stopped(const QString &path)
{
    return refusal(u"La lecture du fichier « %1 » a été annulée."_s, path);
}

bool holdsLongWord(QStringView text)
{
    qsizetype run = 0;
    for (const QChar c : text) {
        if (c.isSpace())
            run = 0;
        else if (!c.isLowSurrogate() && ++run > MaxWordCharacters)
            return true;
    }
    return false;
}

qint64 checkedSize(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        throw workspace::IoError::cannotRead(path);
    if (info.size() == 0)
        throw emptyFile(path);
    if (info.size() > MaxFileBytes)
        throw tooBig(path, info.size());
    return info.size();
}

void TextBudget::spend(qsizetype characters)
{
    m_spent += characters;
    if (m_spent > MaxTextCharacters)
        throw tooLong(m_path);
}

} // namespace sources
