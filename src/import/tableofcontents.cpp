#include "tableofcontents.h"

#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QFileInfo>

#include <algorithm>

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

TableOfContents rebuildTable(const QStringList &earlierList, const QString &documentName, const QString &entry,
                             const QStringList &header, const QStringList &trailer)
{
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

    table.page = header;
    std::copy(table.scratch.crbegin(), table.scratch.crend(), std::back_inserter(table.page));
    table.page.append(trailer);
    return table;
}

TableOfContents writeTable(const QString &studentFolder, const QString &documentName, const QString &pictureName)
{
    const QString listPath = studentFolder + workspace::TablematieresTxt;
    const QStringList earlier = QFileInfo::exists(listPath) ? workspace::readLines(listPath) : QStringList();
    const TableOfContents table = rebuildTable(earlier, documentName, tableEntry(documentName, pictureName),
                                               workspace::readLines(studentFolder + workspace::EnteteHtml),
                                               workspace::readLines(studentFolder + workspace::FinFichierHtml));
    workspace::writeLines(listPath, table.list);
    workspace::writeLines(studentFolder + workspace::TablematieresHtml, table.page);
    return table;
}

} // namespace import
