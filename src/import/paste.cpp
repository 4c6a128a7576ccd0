#include "paste.h"

#include "sources/html.h"
#include "sources/paragraphs.h"
#include "sources/refusals.h"

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
    // The paragraphs parted by an empty line, but for the items of a list,
    // which follow each other as a word processor's do.
    QString text;
    bool itemBefore = false;
    for (const QString &line : sources::htmlLines(html, u"presse-papiers"_s)) {
        if (!isVisible(line))
            continue;
        const bool item = line.startsWith(sources::ListItemMark);
        if (!text.isEmpty())
            text += item && itemBefore ? u"\n"_s : u"\n\n"_s;
        text += line;
        itemBefore = item;
    }
    return text;
}

bool makesLongWord(QStringView before, QStringView inserted, QStringView after)
{
    // The word's characters on either side, one more than a word may hold
    // at most (a pair of surrogates counting as two, which only lengthens
    // what is looked at).
    constexpr qsizetype Enough = 2 * sources::MaxWordCharacters + 2;
    qsizetype start = before.size();
    while (start > 0 && !before[start - 1].isSpace() && before.size() - start < Enough)
        --start;
    qsizetype end = 0;
    while (end < after.size() && !after[end].isSpace() && end < Enough)
        ++end;
    QString touched;
    touched.reserve(before.size() - start + inserted.size() + end);
    touched.append(before.sliced(start)).append(inserted).append(after.first(end));
    return sources::holdsLongWord(touched);
}

QString longWordMessage()
{
    return u"Ce texte n'est pas un texte à lire : un de ses mots aurait plus de 1\u00A0000 caractères. Il n'est "
           u"pas ajouté à la grande fenêtre."_s;
}

QString nothingToPasteMessage()
{
    return u"Le presse-papiers ne contient aucun texte à coller. Sélectionnez le texte dans le document ou la page "
           u"web, copiez-le (Ctrl+C), puis collez-le ici."_s;
}

} // namespace import
