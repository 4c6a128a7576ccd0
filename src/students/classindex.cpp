#include "classindex.h"

#include "publishing/remotepaths.h"
#include "publishing/settings.h"
#include "workspace/folding.h"
#include "workspace/htmlhead.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

using namespace Qt::StringLiterals;

namespace students {

namespace {

// The line copy rule: a template without lines still gives one.
QStringList templateLines(const QString &path)
{
    const QStringList lines = workspace::readLines(path);
    return lines.isEmpty() ? QStringList{QString()} : lines;
}

} // namespace

QString classIndexLink(const QString &webAddress, const QString &city, const QString &school,
                       const QString &schoolClass, const QString &folder, const QString &text)
{
    return u"<a href=\""_s + publishing::webRoot(webAddress) + u"/Orvane_"_s + city + u'_' + school + u'_' + schoolClass + u'/'
           + folder + u"/_Tablematieres.html\">"_s + text + u"</a><br>"_s;
}

QStringList classIndexLinks(const QString &webAddress, const QString &city, const QString &school,
                            const QString &schoolClass, const QString &surname, const QString &firstName,
                            const QString &mail, const QStringList &listed)
{
    const QString typed = surname + u'_' + firstName + u'_' + mail;
    QStringList links{classIndexLink(webAddress, city, school, schoolClass,
                                     workspace::EnleveAccentsCaseOfDoubles(typed), typed)};
    for (const QString &item : listed)
        links << classIndexLink(webAddress, city, school, schoolClass, item, item);
    return links;
}

QStringList classIndexLinks(const QString &webAddress, const QString &city, const QString &school,
                            const QString &schoolClass, const QList<ClassPageEntry> &entries)
{
    QStringList links;
    for (const ClassPageEntry &entry : entries)
        links << classIndexLink(webAddress, city, school, schoolClass, entry.folder, entry.text);
    return links;
}

QList<ClassPageEntry> listedEntries(const QString &studentsFolder, const QStringList &listed, bool named)
{
    QList<ClassPageEntry> entries;
    for (const QString &item : listed)
        entries << listedEntry(studentsFolder, item, named);
    return entries;
}

void writeClassIndex(const QString &templateFolder, const QString &classFolder, const QStringList &links)
{
    const QStringList opening = workspace::withRobotsMeta(templateLines(templateFolder + workspace::IndexdebTxt));
    const QStringList closing = templateLines(templateFolder + workspace::IndexfinTxt);
    workspace::writeLines(classFolder + workspace::IndexHtml, opening + links + closing);
}

QString remoteClassIndexPath(const QString &city, const QString &school, const QString &schoolClass)
{
    return workspace::EnleveAccentsCaseOfDoubles(publishing::remoteClassFolderPath(city, school, schoolClass))
           + workspace::IndexHtml;
}

} // namespace students
