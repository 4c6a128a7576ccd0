#include "cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace workspace {

namespace {

// Bytes 80 to 9F; 0 marks the five that Windows-1252 leaves undefined.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The character of every byte; an undefined byte stands for the control
// character of the same code.
constexpr std::array<char16_t, 256> makeDecoding()
{
    std::array<char16_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        const bool high = b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0;
        table[b] = high ? kHighControls[b - 0x80] : char16_t(b);
    }
    return table;
}

constexpr std::array<char16_t, 256> kDecoding = makeDecoding();

// The byte of every 16-bit unit: "?" where the code page has none, 0 for the
// surrogates (decided with the unit after them). Built once, 64 KB.
struct Encoding
{
    std::array<char, 0x10000> bytes;

    Encoding()
    {
        bytes.fill('?');
        for (unsigned b = 0; b < 256; ++b)
            bytes[kDecoding[b]] = char(b);
        // The narrow no-break space that word processors put before ; : ! ?
        // and the figure space keep words together as the no-break space does.
        bytes[0x202F] = '\xA0';
        bytes[0x2007] = '\xA0';
        for (unsigned u = 0xD800; u <= 0xDFFF; ++u)
            bytes[u] = 0;
    }
};

const Encoding &encoding()
{
    static const Encoding table;
    return table;
}

// Whether the eight units from p on are all below 0x80.
bool asciiOctet(const char16_t *p)
{
    std::uint64_t a;
    std::uint64_t b;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + 4, 8);
    return ((a | b) & 0xFF80FF80FF80FF80ull) == 0;
}

} // namespace

qsizetype encodeWindows1252(QStringView text, char *out)
{
    const char *const table = encoding().bytes.data();
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    char *const begin = out;
    while (p < end) {
        // Plain ASCII sixteen or eight units at a time: the common run of
        // French text and of the reading aids' mark-up.
#if defined(__SSE2__)
        const __m128i nonAscii = _mm_set1_epi16(short(0xFF80));
        while (end - p >= 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 8));
            const __m128i high = _mm_and_si128(_mm_or_si128(a, b), nonAscii);
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF)
                break;
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(a, b));
            p += 16;
            out += 16;
        }
#endif
        while (end - p >= 8 && asciiOctet(p)) {
            for (int k = 0; k < 8; ++k)
                out[k] = char(p[k]);
            p += 8;
            out += 8;
        }
        if (p == end)
            break;
        const char16_t unit = *p++;
        char byte = table[unit];
        if (byte == 0 && unit != 0) {
            // A surrogate: a whole pair is one character the code page cannot
            // hold, as is a lone half.
            if (unit < 0xDC00 && p < end && *p >= 0xDC00 && *p <= 0xDFFF)
                ++p;
            byte = '?';
        }
        *out++ = byte;
    }
    return out - begin;
}

void decodeWindows1252(QByteArrayView bytes, char16_t *out)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = p + bytes.size();
    while (p < end) {
        // Plain ASCII sixteen or eight bytes at a time, widened as they are.
#if defined(__SSE2__)
        while (end - p >= 16) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            if (_mm_movemask_epi8(x) != 0)
                break;
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(x, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 8), _mm_unpackhi_epi8(x, zero));
            p += 16;
            out += 16;
        }
#endif
        while (end - p >= 8) {
            std::uint64_t x;
            std::memcpy(&x, p, 8);
            if (x & 0x8080808080808080ull)
                break;
            for (int k = 0; k < 8; ++k)
                out[k] = p[k];
            p += 8;
            out += 8;
        }
        if (p < end)
            *out++ = kDecoding[*p++];
    }
}

QByteArray toWindows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(encodeWindows1252(text, bytes.data()));
    return bytes;
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    decodeWindows1252(bytes, reinterpret_cast<char16_t *>(text.data()));
    return text;
}

} // namespace workspace
