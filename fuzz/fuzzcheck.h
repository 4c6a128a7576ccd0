#pragma once

// What the fuzz targets share: the ways to read fuzzer bytes as text, and a
// check that stops the run with the input that broke it.

#include "workspace/cp1252.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzzing {

// The bytes as a file of the workspace holds them: every byte is a character.
inline QString asWindows1252(const std::uint8_t *data, std::size_t size)
{
    return workspace::fromWindows1252(QByteArrayView(data, qsizetype(size)));
}

// The bytes as 16-bit units, two by two: any unit at all, lone surrogates
// included, as a pasted or typed text may hold.
inline QString asUnits(const std::uint8_t *data, std::size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    return text;
}

[[noreturn]] inline void fail(const char *what, QStringView got, QStringView expected)
{
    std::fprintf(stderr, "CHECK FAILED: %s\n  got:      %s\n  expected: %s\n", what,
                 got.toString().toUtf8().constData(), expected.toString().toUtf8().constData());
    std::abort();
}

inline void expectEqual(const char *what, QStringView got, QStringView expected)
{
    if (got != expected)
        fail(what, got, expected);
}

inline void expect(const char *what, bool holds)
{
    if (!holds)
        fail(what, u"false", u"true");
}

// The text without any of the given characters.
inline QString without(QStringView text, QStringView characters)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!characters.contains(c))
            out += c;
    }
    return out;
}

} // namespace fuzzing
