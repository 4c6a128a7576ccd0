#include "eleve.h"

#include "workspace/cp1252.h"

namespace import {

namespace {

QString shortString(const QString &text, qsizetype capacity)
{
    const QByteArray bytes = workspace::toWindows1252(text);
    return workspace::fromWindows1252(QByteArrayView(bytes).first(std::min(capacity, bytes.size())));
}

} // namespace

TEleve shortFields(const QString &surname, const QString &firstName, const QString &mail)
{
    TEleve eleve;
    eleve.nom = shortString(surname, 30);
    eleve.prenom = shortString(firstName, 30);
    if (mail.contains(u'@'))
        eleve.mail = shortString(mail, 120);
    return eleve;
}

} // namespace import
