#include "linebuffer.h"

namespace readingaids {

void LineBuffer::grow(qsizetype needed)
{
    const qsizetype capacity = std::max(needed, 2 * m_capacity);
    auto data = std::make_unique_for_overwrite<char16_t[]>(std::size_t(capacity));
    std::copy_n(m_data.get(), m_size, data.get());
    m_data = std::move(data);
    m_capacity = capacity;
}

} // namespace readingaids
