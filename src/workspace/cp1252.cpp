#include "cp1252.h"

#include <array>

namespace workspace {

namespace {

// Bytes 80 to 9F; 0 marks the five that Windows-1252 leaves undefined.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char encodeUnit(char16_t unit)
{
    const bool latin1 = unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF);
    if (latin1)
        return char(unit);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        const bool undefinedKeptAsItself = kHighControls[i] == 0 && unit == 0x80 + i;
        if (kHighControls[i] == unit || undefinedKeptAsItself)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray toWindows1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(unit) && i + 1 < text.size()
                          && QChar::isLowSurrogate(text[i + 1].unicode());
        if (pair)
            ++i;
        bytes.append(pair ? '?' : encodeUnit(unit));
    }
    return bytes;
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool high = byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0;
        *out++ = QChar(high ? kHighControls[byte - 0x80] : char16_t(byte));
    }
    return text;
}

} // namespace workspace
