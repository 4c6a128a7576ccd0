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
    m_budget.spend(1); // the line's end
    m_lines.append(m_line);
    m_line.clear();
}

void Paragraphs::start()
{
    if (m_depth > 0 && !m_line.isEmpty())
        flush();
    ++m_depth;
}

void Paragraphs::end()
{
    if (m_depth == 0)
        return;
    flush();
    --m_depth;
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
