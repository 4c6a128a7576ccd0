#include "paragraphs.h"

namespace sources {

// Every character is counted as it is added, so that markup that expands
// (a run of blanks, an entity) is refused before its text is built whole.
void Paragraphs::add(QStringView text)
{
    m_budget.spend(text.size());
    m_line += text;
}

void Paragraphs::flush()
{
    if (!m_emitted) {
        // The paragraph's first line: an empty line parts it from the one
        // before, but for two items of a list.
        if (!m_lines.isEmpty() && !(m_item && m_lastWasItem))
            m_lines.append(QString());
        if (m_item) {
            m_budget.spend(ListItemMark.size());
            m_line.prepend(ListItemMark);
        }
        m_emitted = true;
        m_lastWasItem = m_item;
    }
    m_budget.spend(1); // the line's end
    m_lines.append(m_line);
    m_line.clear();
}

void Paragraphs::start()
{
    if (m_depth > 0 && !m_line.isEmpty())
        flush();
    // A paragraph inside another (a text box) is one of its own.
    m_emitted = false;
    m_item = false;
    ++m_depth;
}

void Paragraphs::end()
{
    if (m_depth == 0)
        return;
    // An empty paragraph adds nothing.
    if (m_emitted || !m_line.trimmed().isEmpty())
        flush();
    m_line.clear();
    m_emitted = false;
    m_item = false;
    --m_depth;
}

void Paragraphs::listItem()
{
    m_item = true;
}

void Paragraphs::text(QStringView text)
{
    if (m_depth == 0)
        return;
    // A line end written inside a run's text shows as a blank: only the
    // markup's breaks start a line.
    if (text.contains(u'\n') || text.contains(u'\r')) {
        QString blanks = text.toString();
        blanks.replace(u'\r', u' ').replace(u'\n', u' ');
        add(blanks);
        return;
    }
    add(text);
}

void Paragraphs::collapsedText(QStringView text)
{
    if (m_depth == 0)
        return;
    const qsizetype before = m_line.size();
    for (const QChar c : text) {
        const bool blank = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
        if (!blank)
            m_line += c;
        else if (!m_line.isEmpty() && !m_line.endsWith(u' '))
            m_line += u' ';
    }
    m_budget.spend(m_line.size() - before);
}

void Paragraphs::spaces(int count)
{
    if (m_depth > 0)
        add(QString(qBound(1, count, 1000), u' '));
}

void Paragraphs::tab()
{
    if (m_depth > 0)
        add(u"\t");
}

void Paragraphs::lineBreak()
{
    if (m_depth > 0)
        flush();
}

} // namespace sources
