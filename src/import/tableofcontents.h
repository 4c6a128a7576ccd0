#pragma once

#include <QString>
#include <QStringList>

// The student's table of contents: the list (_Tablematieres.txt, oldest
// first) and the page (_Tablematieres.html, newest first).
namespace import {

// <img src=" conte.jpg"  width="70" height= "70"><a href="conte.html"> conte.html</a><br>
QString tableEntry(const QString &documentName, const QString &pictureName);

// Whether the line is the entry of that document, found by its own link:
// the entry of "la.html" is not one of "a.html".
bool isEntryOf(const QString &line, const QString &documentName);

struct TableOfContents
{
    // The earlier entries of the other documents, one empty line, the new
    // entry: the scratch lines the page is made from, read backwards.
    QStringList scratch;
    QStringList list;  // the earlier entries kept, then the new one; no empty line
    QStringList page;  // header, newest entry, empty line, older entries newest first, trailer
};

// Where the entry of a document saved goes.
enum class EntryPlace {
    Newest, // a document saved: its entry comes last in the list, first on the page
    Kept,   // a document corrected: its entry stays where it is (last when it has none)
};

// The table once the document is saved: an earlier entry of the same
// document leaves its place and the new entry comes last in the list, or,
// kept, takes the place of the first earlier one.
TableOfContents rebuildTable(const QStringList &earlierList, const QString &documentName, const QString &entry,
                             const QStringList &header, const QStringList &trailer,
                             EntryPlace place = EntryPlace::Newest);

// Rebuilds and rewrites both files of the student folder (ending with the
// separator); the head and tail of the page come from the student folder.
// Returns the table as written.
TableOfContents writeTable(const QString &studentFolder, const QString &documentName, const QString &pictureName,
                           EntryPlace place = EntryPlace::Newest);

} // namespace import
