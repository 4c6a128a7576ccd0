#include "paragraphs.h"

namespace sources {

void Paragraphs::flush()
{
    m_budget.spend(m_line.size() + 1);
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
    if (m_depth > 0)
        m_line += text;
    if (m_line.size() > MaxTextCharacters)
        m_budget.spend(m_line.size());
}

void Paragraphs::collapsedText(QStringView text)
{
    if (m_depth == 0)
        return;
    for (const QChar c : text) {
        const bool blank = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
        if (!blank)
            m_line += c;
        else if (!m_line.isEmpty() && !m_line.endsWith(u' '))
            m_line += u' ';
    }
    if (m_line.size() > MaxTextCharacters)
        m_budget.spend(m_line.size());
}

void Paragraphs::spaces(int count)
{
    if (m_depth > 0)
        m_line += QString(qBound(1, count, 1000), u' ');
}

void Paragraphs::tab()
{
    if (m_depth > 0)
        m_line += u'\t';
}

void Paragraphs::lineBreak()
{
    if (m_depth > 0)
        flush();
}

} // namespace sources
