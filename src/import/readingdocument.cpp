#include "readingdocument.h"

#include "layout/stylesheet.h"
#include "readingaids/markup.h"
#include "workspace/characters.h"
#include "workspace/cp1252.h"
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

namespace {

struct NeededFile
{
    QString title;       // the title that would take its place
    QString file;        // the file of the student folder
    QString whatItIs;
};

// The files of the student folder that are not documents, by the title that
// would overwrite them (or, for the style sheet, pass for it).
const QList<NeededFile> &neededFiles()
{
    static const QList<NeededFile> files = {
        {u"entete"_s, u"entete.html"_s, u"l'en-tête de tous les textes de l'élève"_s},
        {u"FinFichier"_s, u"FinFichier.html"_s, u"la fin de tous les textes de l'élève"_s},
        {u"style"_s, u"style.css"_s, u"la feuille de style qui garde les réglages de l'élève"_s},
        {u"fond"_s, u"fond.jpg"_s, u"l'image des bordures"_s},
        {u"_Tablematieres"_s, u"_Tablematieres.html"_s, u"la table des matières des textes de l'élève"_s},
        {u"ListeImages"_s, u"ListeImages.txt"_s, u"la liste des logos déjà utilisés"_s},
        {u"TexteAlire2"_s, u"TexteAlire2.html"_s, u"une copie de travail des aides à la lecture"_s},
        {u"TexteAlire_copie"_s, u"TexteAlire_copie.html"_s, u"une copie de travail des aides à la lecture"_s},
    };
    return files;
}

const NeededFile *neededFileOf(const DocumentNames &names)
{
    const QString title = names.documentName.chopped(Html.size());
    for (const NeededFile &needed : neededFiles()) {
        if (needed.title.compare(title, Qt::CaseInsensitive) == 0)
            return &needed;
    }
    return nullptr;
}

} // namespace

bool isReservedName(const DocumentNames &names)
{
    return neededFileOf(names) != nullptr;
}

QStringList studentFolderOwnFiles()
{
    QStringList files;
    for (const NeededFile &needed : neededFiles())
        files << needed.file;
    return files;
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
    if (const NeededFile *needed = neededFileOf(names))
        return workspace::refuse(u"Le titre « %1 » prendrait la place de « %2 », %3, dont le dossier de l'élève a "
                                 u"besoin : choisissez un autre titre."_s.arg(title, needed->file, needed->whatItIs));
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

workspace::Result<void> checkWritableText(const QStringList &typedLines)
{
    const QList<workspace::UnwritableCharacter> found = workspace::unwritableCharacters(typedLines);
    if (found.isEmpty())
        return {};
    QStringList named;
    for (const workspace::UnwritableCharacter &character : found.first(std::min<qsizetype>(found.size(), 8))) {
        QStringList lines;
        for (const int line : character.lines.first(std::min<qsizetype>(character.lines.size(), 6)))
            lines << QString::number(line);
        if (character.lines.size() > 6)
            lines << u"…"_s;
        named << u"%1 %2 %3"_s.arg(workspace::shownCharacter(character.character),
                                   character.lines.size() == 1 ? u"à la ligne"_s : u"aux lignes"_s,
                                   lines.join(u", "_s));
    }
    if (found.size() > 8)
        named << u"et %1 autres"_s.arg(found.size() - 8);
    return workspace::refuse(
        u"Le texte contient des caractères que les fichiers de Tessavo ne savent pas écrire : %1. Rien n'a été "
        u"sauvegardé : remplacez-les ou retirez-les dans la grande fenêtre, puis sauvegardez à nouveau."_s
            .arg(named.join(u" ; "_s)));
}

QStringList textLines(const QStringList &typedLines)
{
    QStringList kept;
    bool blankBefore = false;
    for (const QString &line : typedLines) {
        if (line.isEmpty() || line == u" "_s) {
            blankBefore = !kept.isEmpty();
            continue;
        }
        if (blankBefore)
            kept.append(QString());
        blankBefore = false;
        kept.append(workspace::withWindows1252Equivalents(line));
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
    // The fonts the style sheet names, so that a tablet shows them.
    layout::placeFonts(studentFolder, templateFolder, workspace::readLines(studentFolder + workspace::StyleCss));
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
