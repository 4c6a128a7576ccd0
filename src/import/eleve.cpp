#include "eleve.h"

#include "workspace/cp1252.h"

namespace import {

namespace {

QString shortString(const QString &text, qsizetype capacity)
{
    const QByteArray bytes = workspace::toWindows1252(text);
    return workspace::fromWindows1252(QByteArrayView(bytes).first(std::min(capacity, bytes.size())));
}

// Takes the part of rest before its first "_" and leaves what follows it.
QString takeUpToUnderscore(QString &rest)
{
    const qsizetype at = rest.indexOf(u'_');
    const QString part = rest.left(std::max<qsizetype>(at, 0));
    rest = rest.mid(at + 1);
    return part;
}

} // namespace

TEleve splitIdentity(const QString &identity)
{
    TEleve eleve;
    QString rest = identity;
    eleve.nom = shortString(takeUpToUnderscore(rest), 30);
    eleve.prenom = shortString(takeUpToUnderscore(rest), 30);
    eleve.classe = shortString(rest.contains(u'_') ? takeUpToUnderscore(rest) : rest, 20);
    if (rest.contains(u'@'))
        eleve.mail = shortString(rest, 120);
    return eleve;
}

} // namespace import
