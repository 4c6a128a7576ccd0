#pragma once

#include "refusals.h"

#include <QString>
#include <QStringList>

// The lines of a word processor's body as its markup is read: one line a
// paragraph, a line break starting a new one, tabs kept.
namespace sources {

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
    void flush();

    TextBudget &m_budget;
    QStringList m_lines;
    QString m_line;
    int m_depth = 0;
};

} // namespace sources
