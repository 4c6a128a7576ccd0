#include "readingdocument.h"

#include "readingaids/markup.h"
#include "workspace/characters.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace import {

namespace {

const QString Html = u".html"_s;
constexpr qsizetype MaxTitleBytes = 200;

} // namespace

DocumentNames documentNames(const QString &chosenPath)
{
    const bool hasExtension = QFileInfo(chosenPath).fileName().contains(Html);
    DocumentNames names;
    names.documentPath = hasExtension ? chosenPath : chosenPath + Html;
    names.documentName = QFileInfo(names.documentPath).fileName();
    const QString base = names.documentPath.chopped(Html.size());
    names.textPath = base + u".txt"_s;
    names.picturePath = base + u".jpg"_s;
    names.pictureName = names.documentName.chopped(Html.size()) + u".jpg"_s;
    return names;
}

bool isReservedName(const DocumentNames &names)
{
    static const QStringList reserved = {u"entete"_s, u"FinFichier"_s, u"fond"_s, u"ListeImages"_s,
                                         u"_Tablematieres"_s, u"TexteAlire2"_s, u"TexteAlire_copie"_s};
    return reserved.contains(names.documentName.chopped(Html.size()), Qt::CaseInsensitive);
}

namespace {

workspace::Refusal titleRefusal(const QString &title, char32_t c, const QString &why)
{
    return workspace::refuse(u"Le titre « %1 » contient %2, %3 : choisissez un autre titre."_s.arg(
        title, workspace::shownCharacter(c), why));
}

} // namespace

workspace::Result<void> checkTitle(const DocumentNames &names)
{
    const QString &name = names.documentName;
    if (!name.endsWith(Html))
        return workspace::refuse(u"Le titre « %1 » ne peut porter « .html » qu'à sa fin : choisissez un autre titre."_s.arg(name));
    const QString title = name.chopped(Html.size());
    if (isReservedName(names))
        return workspace::refuse(u"Le titre « %1 » est le nom d'un fichier de Tessavo dans le dossier de l'élève : "
                                 u"choisissez un autre titre."_s.arg(title));
    // The document's longest companion, "<title>.html.hors-tessavo-2.bak",
    // must still fit the 255 bytes a file name may have.
    if (QFile::encodeName(title).size() > MaxTitleBytes)
        return workspace::refuse(u"Le titre « %1… » est trop long pour un nom de fichier : choisissez un autre titre."_s.arg(
            title.left(40)));
    static const QString notInAFileName = u"<>:\"|*\\"_s;
    for (const char32_t c : title.toUcs4()) {
        if (c == U'?' || c == U'#' || c == U'%')
            return titleRefusal(title, c, u"un caractère qui couperait le lien du texte et son logo sur la tablette"_s);
        if ((c < 0x80 && notInAFileName.contains(QChar(char16_t(c)))) || QChar::category(c) == QChar::Other_Control)
            return titleRefusal(title, c, u"un caractère qu'un nom de fichier ne peut pas porter sur les ordinateurs "
                                          u"des élèves"_s);
        if (!workspace::fitsWindows1252(c))
            return titleRefusal(title, c, u"un caractère que les fichiers de Tessavo ne savent pas écrire"_s);
    }
    return {};
}

QStringList textLines(const QStringList &typedLines)
{
    QStringList kept;
    for (const QString &line : typedLines) {
        if (!line.isEmpty() && line != u" "_s)
            kept.append(line);
    }
    return kept;
}

QString pictureLine(const QString &pictureName)
{
    return u"<img src=\""_s + pictureName + u"\"  width=\"70\" height= \"70\">"_s;
}

QString bodyLine(const QString &markupLine)
{
    return readingaids::keepPlainFormatting(markupLine) + u"<br>"_s;
}

QStringList documentLines(const QStringList &header, const QString &pictureName, const QStringList &markupLines,
                          const QStringList &trailer)
{
    QStringList lines = header;
    lines.append(pictureLine(pictureName));
    for (const QString &line : textLines(markupLines))
        lines.append(bodyLine(line));
    lines.append(trailer);
    return lines;
}

void completeStudentFolder(const QString &studentFolder, const QString &templateFolder)
{
    for (const QLatin1StringView name : {workspace::EnteteHtml, workspace::FinFichierHtml, workspace::StyleCss}) {
        if (!QFileInfo::exists(studentFolder + name))
            workspace::copyTextLines(templateFolder + name, studentFolder + name);
    }
    if (!QFileInfo::exists(studentFolder + workspace::FondJpg))
        workspace::copyBytes(templateFolder + workspace::FondJpg, studentFolder + workspace::FondJpg);
}

void writeDocument(const DocumentNames &names, const BoxLines &typedLines, const QString &studentFolder,
                   const QString &templateFolder)
{
    Q_ASSERT(typedLines.text.size() == typedLines.markup.size());
    workspace::writeLines(names.textPath, textLines(typedLines.text));
    completeStudentFolder(studentFolder, templateFolder);
    const QStringList header = workspace::readLines(studentFolder + workspace::EnteteHtml);
    const QStringList trailer = workspace::readLines(studentFolder + workspace::FinFichierHtml);
    workspace::writeLines(names.documentPath, documentLines(header, names.pictureName, typedLines.markup, trailer));
}

} // namespace import
