#pragma once

#include "refusals.h"

#include <QString>
#include <QStringList>

// The lines of a word processor's body as its markup is read: one line a
// paragraph, a line break starting a new one, tabs kept. The paragraphs are
// parted by an empty line, so that a heading stands on its own line with an
// empty line after it; a list item starts with "• " and the items of one list
// follow each other. An empty paragraph adds nothing.
// heading "Le Loup", paragraph "Il part.", items "un", "deux"
//   -> {"Le Loup", "", "Il part.", "", "• un", "• deux"}
namespace sources {

// What starts a list item's line, whatever the file it comes from.
inline const QString ListItemMark = QStringLiteral("\u2022 ");

class Paragraphs
{
public:
    explicit Paragraphs(TextBudget &budget)
        : m_budget(budget)
    {
    }

    // A paragraph inside another (a text box anchored in it) ends the outer
    // one's line so far, and the outer one goes on in a line of its own.
    void start();
    void end();
    // What the paragraph being read is; a plain paragraph unless said.
    void listItem();
    bool inParagraph() const { return m_depth > 0; }

    void text(QStringView text);
    // Text whose blanks, tabs and line ends collapse into one blank, and
    // which starts a paragraph without one.
    void collapsedText(QStringView text);
    void spaces(int count);
    void tab();
    void lineBreak();

    QStringList take() { return std::move(m_lines); }

private:
    void add(QStringView text);
    void flush();

    TextBudget &m_budget;
    QStringList m_lines;
    QString m_line;
    int m_depth = 0;
    bool m_item = false;        // the paragraph being read is a list item
    bool m_emitted = false;     // a line of it is in m_lines already
    bool m_lastWasItem = false; // the last paragraph written was a list item
};

} // namespace sources
