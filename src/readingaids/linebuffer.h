#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <memory>

namespace readingaids {

// An output line as an aid makes it: plain characters appended in room
// that is kept from one line to the next, without the checks of a shared
// string.
class LineBuffer
{
public:
    // Room for n more characters at the end; returns where they go.
    char16_t *extend(qsizetype n)
    {
        if (m_size + n > m_capacity)
            grow(m_size + n);
        char16_t *at = m_data.get() + m_size;
        m_size += n;
        return at;
    }
    void append(QStringView text) { std::copy_n(text.utf16(), text.size(), extend(text.size())); }
    void append(char16_t c) { *extend(1) = c; }
    void clear() { m_size = 0; }
    QStringView view() const { return QStringView(m_data.get(), m_size); }
    QString toString() const { return QString(reinterpret_cast<const QChar *>(m_data.get()), m_size); }

private:
    void grow(qsizetype needed);

    std::unique_ptr<char16_t[]> m_data;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
};

} // namespace readingaids
