#include "paste.h"

#include "sources/html.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace import {

namespace {

bool isVisible(const QString &text)
{
    for (const QChar c : text) {
        if (!c.isSpace() && c.category() != QChar::Other_Format)
            return true;
    }
    return false;
}

} // namespace

QString pastedText(const QString &plain, const QString &html)
{
    if (isVisible(plain))
        return QString(plain).replace(u"\r\n"_s, u"\n"_s);
    if (html.isEmpty())
        return {};
    QStringList paragraphs;
    for (const QString &line : sources::htmlLines(html, u"presse-papiers"_s)) {
        if (isVisible(line))
            paragraphs.append(line);
    }
    return paragraphs.join(u"\n\n"_s);
}

QString nothingToPasteMessage()
{
    return u"Le presse-papiers ne contient aucun texte à coller. Sélectionnez le texte dans le document ou la page "
           u"web, copiez-le (Ctrl+C), puis collez-le ici."_s;
}

} // namespace import
