#include "cp1252.h"

#include <algorithm>
#include <array>
#include <string_view>
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

// Characters that the code page cannot hold and the text that reads the same
// in it: what word processors, web pages and PDF files put in a French text.
struct Equivalent
{
    char16_t character;
    const char16_t *text;
};

constexpr Equivalent kEquivalents[] = {
    // Hyphens and the minus sign; a non-breaking hyphen as word processors write "vas‑tu".
    {0x2010, u"-"}, {0x2011, u"-"}, {0x2012, u"-"}, {0x2212, u"-"}, {0x2043, u"-"},
    {0x2015, u"\u2014"},
    // The narrow no-break space put before ; : ! ? and », and the figure space,
    // keep words together as the no-break space does.
    {0x2007, u"\u00A0"}, {0x202F, u"\u00A0"},
    // The other spaces of typography.
    {0x2000, u" "}, {0x2001, u" "}, {0x2002, u" "}, {0x2003, u" "}, {0x2004, u" "}, {0x2005, u" "},
    {0x2006, u" "}, {0x2008, u" "}, {0x2009, u" "}, {0x200A, u" "}, {0x205F, u" "},
    // Invisible joiners and breaks, and a byte-order mark inside a paste.
    {0x200B, u""}, {0x200C, u""}, {0x200D, u""}, {0x2060, u""}, {0xFEFF, u""},
    // Apostrophes, primes and quotes.
    {0x02BC, u"\u2019"}, {0x02BB, u"\u2018"}, {0x201B, u"\u2018"}, {0x201F, u"\u201C"},
    {0x2032, u"'"}, {0x02B9, u"'"}, {0x2033, u"\""}, {0x02BA, u"\""},
    {0x2024, u"."}, {0x2044, u"/"}, {0x2215, u"/"},
    // List bullets: the symbol font's bullet of a word processor's list among them.
    {0xF0B7, u"\u2022"}, {0x2219, u"\u2022"}, {0x25CF, u"\u2022"}, {0x25E6, u"\u2022"}, {0x2023, u"\u2022"},
    {0x25AA, u"\u2022"},
    // The ligatures of PDF files.
    {0xFB00, u"ff"}, {0xFB01, u"fi"}, {0xFB02, u"fl"}, {0xFB03, u"ffi"}, {0xFB04, u"ffl"}, {0xFB06, u"st"},
};

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
        // A character whose equivalent is one character of the code page is
        // written as that one.
        for (const Equivalent &equivalent : kEquivalents) {
            const std::u16string_view text = equivalent.text;
            if (text.size() == 1 && bytes[text[0]] != '?')
                bytes[equivalent.character] = bytes[text[0]];
        }
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

QString withWindows1252Equivalents(QStringView text)
{
    // Composed first: an "e" followed by a combining acute accent is "é".
    const QString composed = text.toString().normalized(QString::NormalizationForm_C);
    QString written;
    written.reserve(composed.size());
    for (const QChar c : composed) {
        const Equivalent *found = std::find_if(std::begin(kEquivalents), std::end(kEquivalents),
                                               [c](const Equivalent &e) { return e.character == c.unicode(); });
        if (found == std::end(kEquivalents))
            written += c;
        else
            written += QStringView(found->text);
    }
    return written;
}

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
