#include "reopen.h"

#include "import/tableofcontents.h"
#include "layout/workingcopies.h"
#include "readingaids/trim.h"
#include "workspace/ioerror.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace import {

namespace {

const QString StartMarker = u"<!--DEBUT-->"_s;
const QString EndMarker = u"<!--FIN-->"_s;
const QString LineEnd = u"<br>"_s;

// A reading document's parts, as the aids see them: the header through the
// start marker, the picture line, the body, the trailer from the last end
// marker on. Nothing when the lines lack the markers.
struct Parts
{
    qsizetype start = -1; // the start marker
    qsizetype end = -1;   // the end marker
};

std::optional<Parts> partsOf(const QStringList &lines)
{
    Parts parts;
    for (qsizetype i = 0; i < lines.size() && parts.start < 0; ++i) {
        if (readingaids::trimLine(lines[i]) == StartMarker)
            parts.start = i;
    }
    for (qsizetype i = lines.size() - 1; i > parts.start + 1 && parts.start >= 0; --i) {
        if (readingaids::trimLine(lines[i]) == EndMarker) {
            parts.end = i;
            break;
        }
    }
    if (parts.start < 0 || parts.end < 0)
        return std::nullopt;
    return parts;
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
    if (!inFolder || isReservedName(names) || !QFileInfo(names.documentPath).isFile())
        return std::nullopt;
    if (!partsOf(workspace::readLines(names.documentPath)))
        return std::nullopt;
    return names;
}

ReopenedDocument reopenDocument(const DocumentNames &names)
{
    if (QFileInfo::exists(names.textPath))
        return {names, workspace::readLines(names.textPath)};
    // Without its text copy, the body of the untransformed document.
    const layout::WorkingCopies files = workingCopies(names);
    const QStringList untransformed = layout::untransformedLines(files);
    const QStringList current = workspace::readLines(names.documentPath);
    const bool stillAided = layout::carriesAid(current) && untransformed == current.first(current.size() - 1);
    const std::optional<Parts> parts = partsOf(untransformed);
    if (stillAided || !parts) {
        throw workspace::IoError(u"Le texte du document « %1 » ne peut pas être retrouvé : sa copie « %2 » a "
                                 u"disparu."_s.arg(names.documentName, QFileInfo(names.textPath).fileName()),
                                 names.textPath);
    }
    QStringList text;
    for (qsizetype i = parts->start + 2; i < parts->end; ++i) {
        const QString &line = untransformed[i];
        text.append(line.endsWith(LineEnd) ? line.chopped(LineEnd.size()) : line);
    }
    return {names, text};
}

void saveAgain(const DocumentNames &names, const QStringList &typedLines, const QString &studentFolder,
               const QString &templateFolder)
{
    const layout::WorkingCopies files = workingCopies(names);
    const QStringList before = layout::untransformedLines(files);
    const std::optional<Parts> parts = partsOf(before);
    workspace::writeLines(names.textPath, textLines(typedLines));
    completeStudentFolder(studentFolder, templateFolder);
    // Its own head and tail when it has them, else the student's templates.
    const QStringList header = parts ? before.first(parts->start + 1)
                                     : workspace::readLines(studentFolder + workspace::EnteteHtml);
    const QStringList trailer = parts ? before.sliced(parts->end)
                                      : workspace::readLines(studentFolder + workspace::FinFichierHtml);
    layout::replaceText(files, documentLines(header, names.pictureName, typedLines, trailer));
    writeTable(studentFolder, names.documentName, names.pictureName, EntryPlace::Kept);
}

QList<StudentDocument> studentDocuments(const QString &studentFolder)
{
    const QString listPath = studentFolder + workspace::TablematieresTxt;
    if (!QFileInfo::exists(listPath))
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
