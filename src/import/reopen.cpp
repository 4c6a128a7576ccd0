#include "reopen.h"

#include "import/tableofcontents.h"
#include "layout/entendubox.h"
#include "layout/workingcopies.h"
#include "readingaids/document.h"
#include "readingaids/markup.h"
#include "readingaids/trim.h"
#include "sources/refusals.h"
#include "workspace/ioerror.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace import {

namespace {

const QString LineEnd = u"<br>"_s;

// The document's regions as the aids see them; nothing when a marker is
// missing.
std::optional<readingaids::Regions> regionsOf(const QStringList &lines)
{
    try {
        return readingaids::findRegions(lines);
    } catch (const readingaids::DocumentRefused &) {
        return std::nullopt;
    }
}

// Refuses a file of the document that cannot be read or written in place. A
// link may lead to another student's document, which a correction would
// overwrite; a named pipe would never answer.
workspace::Result<void> checkUsableFile(const QString &path)
{
    const QFileInfo file(path);
    if (file.isSymLink())
        return workspace::refuse(u"« %1 » est un lien vers un autre fichier : Tessavo ne rouvre pas un texte à "
                                 u"travers un lien, qui pourrait mener au texte d'un autre élève."_s.arg(file.fileName()));
    if (!file.isFile())
        return workspace::refuse(
            u"« %1 » n'est pas un fichier ordinaire : Tessavo ne peut pas le lire."_s.arg(file.fileName()));
    return {};
}

bool isThere(const QString &path)
{
    const QFileInfo file(path);
    return file.exists() || file.isSymLink();
}

// Text split as workspace::decodeLines splits it: CR LF, LF and a lone CR
// end a line, a last line without an end counts.
QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start).toString());
    return lines;
}

// Whether the untransformed document is what Tessavo made of its text copy:
// the picture line, then one body line per kept line of the copy, as typed,
// as brought in from a file, or as older versions of Tessavo wrote it.
bool madeFrom(const QStringList &document, const QStringList &textCopy, const QString &pictureName)
{
    const std::optional<readingaids::Regions> regions = regionsOf(document);
    if (!regions || readingaids::trimLine(document[regions->logo]) != pictureLine(pictureName))
        return false;
    const QStringList kept = textLines(textCopy);
    if (regions->endMarker - regions->logo - 1 != kept.size())
        return false;
    for (qsizetype i = 0; i < kept.size(); ++i) {
        const QStringView body = readingaids::trimLine(document[regions->logo + 1 + i]);
        const QString &line = kept[i];
        const bool typed = body == readingaids::trimLine(bodyLine(line));
        const bool brought = body == readingaids::trimLine(readingaids::escapeText(line) + LineEnd);
        const bool older = body == readingaids::trimLine(line + LineEnd);
        if (!typed && !brought && !older)
            return false;
    }
    return true;
}

// Which lines of the text copy the document shows as brought in from a file:
// escaped whole where the teacher's own text would have kept some mark-up.
// The document has one body line per kept line (textLines), the n-th line of
// text of the copy being the n-th one of the kept lines, which may hold blank
// lines between paragraphs besides.
QList<bool> broughtInLines(const QStringList &document, const QStringList &textCopy)
{
    QList<bool> brought(textCopy.size(), false);
    const std::optional<readingaids::Regions> regions = regionsOf(document);
    const QStringList kept = textLines(textCopy);
    if (!regions || regions->endMarker - regions->logo - 1 != kept.size())
        return brought;
    qsizetype k = 0;
    for (qsizetype i = 0; i < textCopy.size(); ++i) {
        if (textLines({textCopy[i]}).isEmpty())
            continue;
        while (k < kept.size() && kept[k].isEmpty())
            ++k;
        if (k == kept.size())
            break;
        const QStringView shown = readingaids::trimLine(document[regions->logo + 1 + k]);
        const QString escaped = readingaids::escapeText(kept[k]) + LineEnd;
        brought[i] = escaped != bodyLine(kept[k]) && shown == readingaids::trimLine(escaped);
        ++k;
    }
    return brought;
}

// "conte.html.hors-tessavo.bak", or the first of "...-2.bak", "...-3.bak"
// that is free: an earlier one is never replaced.
QString freeKeptCopyPath(const QString &documentPath)
{
    QString path = documentPath + u".hors-tessavo.bak"_s;
    for (int n = 2; isThere(path); ++n)
        path = documentPath + u".hors-tessavo-%1.bak"_s.arg(n);
    return path;
}

bool sameFolder(const QString &a, const QString &b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

QString folderOf(const QString &studentFolder)
{
    return studentFolder.endsWith(QDir::separator()) || studentFolder.endsWith(u'/') ? studentFolder.chopped(1)
                                                                                       : studentFolder;
}

layout::WorkingCopies workingCopies(const DocumentNames &names)
{
    return {QFileInfo(names.documentPath).absolutePath() + QDir::separator(), names.documentPath};
}

// The body aid that made the aided lines of the document from its
// untransformed ones, with the teacher's corrections and the student's flags
// and "entendu" box; nothing when none did.
std::optional<layout::CarriedAid> aidOf(const QStringList &untransformed, const QStringList &aided,
                                        const QString &studentFolder, const readingaids::Corrections &corrections)
{
    const bool hasCss = QFileInfo::exists(studentFolder + workspace::StyleCss);
    return layout::carriedAid(untransformed, aided, hasCss ? layout::loadCss(studentFolder) : layout::Css(),
                              layout::entenduBox(studentFolder).checked, corrections);
}

// The aid put on the corrected document (plain), or, when it could not be
// told, the student's flags cleared of it.
void putBack(const std::optional<layout::CarriedAid> &aid, const layout::WorkingCopies &files,
             const QStringList &plain)
{
    layout::Css css = layout::loadCss(files.cheminW);
    if (aid)
        layout::putAidOn(*aid, css, files, plain);
    else
        layout::forgetAids(css, files.cheminW);
}

} // namespace

std::optional<DocumentNames> studentDocument(const QString &chosenPath, const QString &studentFolder)
{
    const QFileInfo chosen(chosenPath);
    const QString name = chosen.fileName();
    QString documentPath;
    if (name.endsWith(u".html"_s))
        documentPath = chosenPath;
    else if (name.endsWith(u".txt"_s))
        documentPath = chosenPath.chopped(4) + u".html"_s;
    else
        return std::nullopt;
    const DocumentNames names = documentNames(documentPath);
    const bool inFolder = sameFolder(chosen.absolutePath(), folderOf(studentFolder));
    if (!inFolder || isReservedName(names) || !isThere(names.documentPath))
        return std::nullopt;
    if (!checkUsableFile(names.documentPath))
        return names;
    // An aid may have taken a marker into its output (the sentences in
    // colours close their colour on the end marker's line): the markers are
    // looked for in the untransformed document.
    if (!regionsOf(layout::untransformedLines(workingCopies(names))))
        return std::nullopt;
    return names;
}

QStringList readTextCopy(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw workspace::IoError::cannotRead(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw workspace::IoError::cannotRead(path);
    QByteArrayView content(bytes);
    const bool marked = content.startsWith("\xEF\xBB\xBF");
    if (marked)
        content = content.sliced(3);
    const bool plainAscii = std::all_of(content.begin(), content.end(), [](char c) { return c >= 0; });
    if (marked || !plainAscii) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(content);
        // A marked copy is UTF-8 even with a bad byte, which then shows as
        // one replacement character.
        if (marked || !utf8.hasError())
            return splitLines(text);
    }
    return workspace::decodeLines(content);
}

workspace::Result<ReopenedDocument> reopenDocument(const DocumentNames &names)
{
    if (const workspace::Result<void> checked = checkTitle(names); !checked)
        return workspace::refuse(u"Tessavo ne peut pas rouvrir « %1 », dont le nom a été donné hors de Tessavo. %2 "
                                 u"Renommez le fichier dans le dossier de l'élève, avec sa copie « .txt » et son "
                                 u"logo « .jpg »."_s.arg(names.documentName, checked.reason()));
    if (workspace::Result<void> usable = checkUsableFile(names.documentPath); !usable)
        return workspace::refuse(usable.reason());
    if (isThere(names.textPath)) {
        if (workspace::Result<void> usable = checkUsableFile(names.textPath); !usable)
            return workspace::refuse(usable.reason());
        const QStringList text = readTextCopy(names.textPath);
        // A word of a megabyte would hold the text box for minutes.
        if (std::any_of(text.cbegin(), text.cend(), [](const QString &line) { return sources::holdsLongWord(line); }))
            return workspace::refuse(sources::longWord(names.textPath).message());
        return ReopenedDocument{names, text,
                                broughtInLines(layout::untransformedLines(workingCopies(names)), text)};
    }
    // Without its text copy, the body of the untransformed document.
    const layout::WorkingCopies files = workingCopies(names);
    const QStringList untransformed = layout::untransformedLines(files);
    const QStringList current = workspace::readLines(names.documentPath);
    const bool stillAided = layout::carriesAid(current) && untransformed == current.first(current.size() - 1);
    const std::optional<readingaids::Regions> regions = regionsOf(untransformed);
    if (stillAided || !regions) {
        throw workspace::IoError(u"Le texte du document « %1 » ne peut pas être retrouvé : sa copie « %2 » a "
                                 u"disparu."_s.arg(names.documentName, QFileInfo(names.textPath).fileName()),
                                 names.textPath);
    }
    QStringList text;
    for (qsizetype i = regions->logo + 1; i < regions->endMarker; ++i) {
        const QString &line = untransformed[i];
        text.append(line.endsWith(LineEnd) ? line.chopped(LineEnd.size()) : line);
        if (sources::holdsLongWord(text.last()))
            return workspace::refuse(sources::longWord(names.documentPath).message());
    }
    return ReopenedDocument{names, text, QList<bool>(text.size(), false)};
}

QString keptCopyMessage(const DocumentNames &names, const QString &keptCopy)
{
    return u"« %1 » ne correspondait plus à sa copie « %2 » : il a été modifié hors de Tessavo depuis sa dernière "
           u"sauvegarde. Cette version-là n'est pas perdue : elle est gardée dans « %3 »."_s
        .arg(names.documentName, QFileInfo(names.textPath).fileName(), QFileInfo(keptCopy).fileName());
}

QString aidLostMessage(const DocumentNames &names)
{
    return u"« %1 » portait une aide à la lecture que Tessavo n'a pas pu reconnaître pour la remettre sur le texte "
           u"corrigé : il est sauvegardé sans aide. Remettez-la sur l'écran de mise en page ( 3->)."_s
        .arg(names.documentName);
}

SavedAgain saveAgain(const DocumentNames &names, const BoxLines &typedLines, const QString &studentFolder,
                     const QString &workingFolder)
{
    // A file that became a link or a pipe since the reopening is neither
    // read nor written.
    for (const QString &path : {names.documentPath, names.textPath}) {
        if (!isThere(path))
            continue;
        if (const workspace::Result<void> usable = checkUsableFile(path); !usable)
            throw workspace::IoError(usable.reason(), path);
    }
    layout::WorkingCopies files = workingCopies(names);
    const QStringList before = layout::untransformedLines(files);
    SavedAgain saved;
    // What was changed outside Tessavo since its last save is kept, never
    // lost under the correction. A document that carries an aid whose backup
    // is gone is Tessavo's own output, not such a change.
    const QStringList current = workspace::readLines(names.documentPath);
    const bool aided = layout::carriesAid(current);
    const bool aidedWithoutBackup = aided && before == current.first(current.size() - 1);
    if (QFileInfo(names.textPath).isFile() && !aidedWithoutBackup
        && !madeFrom(before, readTextCopy(names.textPath), names.pictureName)) {
        saved.keptCopy = freeKeptCopyPath(names.documentPath);
        workspace::copyBytes(names.documentPath, *saved.keptCopy);
    }
    // The aid is told before anything is written, while the backups of the
    // older text are there.
    if (aided) {
        if (!aidedWithoutBackup) {
            files.corrections = layout::loadCorrections(workingFolder, names.documentPath);
            saved.aid = aidOf(before, current.first(current.size() - 1), studentFolder, files.corrections);
        }
        saved.aidLost = !saved.aid;
    }
    const std::optional<readingaids::Regions> regions = regionsOf(before);
    workspace::writeLines(names.textPath, textLines(typedLines.text));
    completeStudentFolder(studentFolder, workspace::templateFolderPath(workingFolder));
    // Its own head and tail when it has them, else the student's templates.
    const QStringList header = regions ? before.first(regions->startMarker + 1)
                                       : workspace::readLines(studentFolder + workspace::EnteteHtml);
    const QStringList trailer = regions ? before.sliced(regions->endMarker)
                                        : workspace::readLines(studentFolder + workspace::FinFichierHtml);
    const QStringList plain = documentLines(header, names.pictureName, typedLines.markup, trailer);
    layout::replaceText(files, plain);
    if (aided)
        putBack(saved.aid, files, plain);
    writeTable(studentFolder, names.documentName, names.pictureName, EntryPlace::Kept);
    return saved;
}

QList<StudentDocument> studentDocuments(const QString &studentFolder)
{
    const QString listPath = studentFolder + workspace::TablematieresTxt;
    if (!QFileInfo(listPath).isFile())
        return {};
    static const QRegularExpression entry(uR"re(<img src=" ?([^"]*)"[^>]*><a href="([^"]*)">)re"_s);
    const QStringList lines = workspace::readLines(listPath);
    QList<StudentDocument> documents;
    QSet<QString> seen;
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QRegularExpressionMatch match = entry.match(*line);
        if (!match.hasMatch())
            continue;
        const QString title = match.captured(2);
        const QString documentPath = studentFolder + title;
        if (seen.contains(title) || QFileInfo(title).fileName() != title || !QFileInfo(documentPath).isFile())
            continue;
        seen.insert(title);
        documents.append({title, documentPath, studentFolder + match.captured(1)});
    }
    return documents;
}

} // namespace import
