#include "tableofcontents.h"

#include "workspace/htmlhead.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace import {

QString tableEntry(const QString &documentName, const QString &pictureName)
{
    return u"<img src=\" "_s + pictureName + u"\"  width=\"70\" height= \"70\"><a href=\""_s + documentName
        + u"\"> "_s + documentName + u"</a><br>"_s;
}

bool isEntryOf(const QString &line, const QString &documentName)
{
    return line.contains(u"<a href=\""_s + documentName + u"\">"_s);
}

namespace {

// The page: the header (which keeps search engines out), the scratch lines
// from the last (the newest entry, the empty line, the older entries newest
// first), the trailer.
QStringList pageOf(const QStringList &scratch, const QStringList &header, const QStringList &trailer)
{
    QStringList page = workspace::withRobotsMeta(header);
    std::copy(scratch.crbegin(), scratch.crend(), std::back_inserter(page));
    page.append(trailer);
    return page;
}

// The document's entry in place of its first earlier one; nothing when the
// list has none.
std::optional<TableOfContents> keptInPlace(const QStringList &earlierList, const QString &documentName,
                                           const QString &entry, const QStringList &header,
                                           const QStringList &trailer)
{
    TableOfContents table;
    bool placed = false;
    for (const QString &line : earlierList) {
        if (line.isEmpty())
            continue;
        if (!isEntryOf(line, documentName))
            table.list.append(line);
        else if (!std::exchange(placed, true))
            table.list.append(entry);
    }
    if (!placed)
        return std::nullopt;
    table.scratch = table.list.first(table.list.size() - 1);
    table.scratch << QString() << table.list.last();
    table.page = pageOf(table.scratch, header, trailer);
    return table;
}

} // namespace

TableOfContents rebuildTable(const QStringList &earlierList, const QString &documentName, const QString &entry,
                             const QStringList &header, const QStringList &trailer, EntryPlace place)
{
    if (place == EntryPlace::Kept) {
        if (std::optional<TableOfContents> kept = keptInPlace(earlierList, documentName, entry, header, trailer))
            return *kept;
    }
    TableOfContents table;
    for (const QString &line : earlierList) {
        if (!isEntryOf(line, documentName))
            table.scratch.append(line);
    }
    table.scratch.append(QString());
    for (const QString &line : std::as_const(table.scratch)) {
        if (!line.isEmpty())
            table.list.append(line);
    }
    table.list.append(entry);
    table.scratch.append(entry);

    table.page = pageOf(table.scratch, header, trailer);
    return table;
}

TableOfContents writeTable(const QString &studentFolder, const QString &documentName, const QString &pictureName,
                           EntryPlace place)
{
    const QString listPath = studentFolder + workspace::TablematieresTxt;
    // Only a list that is a file of its own is read; anything else in its
    // place (a named pipe) is replaced by the new list.
    const QStringList earlier = QFileInfo(listPath).isFile() ? workspace::readLines(listPath) : QStringList();
    const TableOfContents table = rebuildTable(earlier, documentName, tableEntry(documentName, pictureName),
                                               workspace::readLines(studentFolder + workspace::EnteteHtml),
                                               workspace::readLines(studentFolder + workspace::FinFichierHtml),
                                               place);
    workspace::writeLines(listPath, table.list);
    workspace::writeLines(studentFolder + workspace::TablematieresHtml, table.page);
    return table;
}

} // namespace import
