#pragma once

#include "students/publicaddress.h"

#include <QList>
#include <QString>
#include <QStringList>

// The class index page: one link per registered student to the student's
// table of contents on the publishing host, between the lines of
// Indexdeb.txt and Indexfin.txt.
namespace students {

// One link line, to the root of adresse_web (publishing::webRoot).
// ("h:8000", "A", "B", "C", "Dupont_Jean_x", "Dupont_Jean_x") ->
// <a href="http://h:8000/Orvane_A_B_C/Dupont_Jean_x/_Tablematieres.html">Dupont_Jean_x</a><br>
QString classIndexLink(const QString &webAddress, const QString &city, const QString &school,
                       const QString &schoolClass, const QString &folder, const QString &text);

// The link lines: the new student first (target folded, text as typed),
// then each listed student folder name as it stands, in list order.
QStringList classIndexLinks(const QString &webAddress, const QString &city, const QString &school,
                            const QString &schoolClass, const QString &surname, const QString &firstName,
                            const QString &mail, const QStringList &listed);

// The link lines, one per entry, in their order.
QStringList classIndexLinks(const QString &webAddress, const QString &city, const QString &school,
                            const QString &schoolClass, const QList<ClassPageEntry> &entries);

// The class page's entries of the listed pupils (student folder names), in
// list order (listedEntry).
QList<ClassPageEntry> listedEntries(const QString &studentsFolder, const QStringList &listed, bool named);

// Writes classFolder + "index.html": the lines of Indexdeb.txt, the links,
// the lines of Indexfin.txt (an empty template gives one empty line), the
// page's head asking search engines to leave it out. Both templates are read
// first, so a missing one leaves the earlier page whole.
void writeClassIndex(const QString &templateFolder, const QString &classFolder, const QStringList &links);

// The folded form of ("../Orvane_" + city + "_" + school + "_" + class + "/"),
// followed by "index.html".
QString remoteClassIndexPath(const QString &city, const QString &school, const QString &schoolClass);

} // namespace students
