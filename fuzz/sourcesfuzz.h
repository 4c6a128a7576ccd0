#pragma once

// What the file readers' fuzz targets share: a reading that refuses the
// bytes with a French message is a right answer; any other end is not.

#include "fuzzcheck.h"

#include "workspace/failure.h"

#include <functional>

namespace fuzzing {

// The lines read, or nothing when the reader refused the bytes.
inline std::optional<QStringList> linesOrRefusal(const std::function<QStringList()> &read)
{
    try {
        return read();
    } catch (const workspace::Failure &refusal) {
        expect("a refusal says why", !refusal.message().isEmpty());
        return std::nullopt;
    }
}

// No line holds a line end, and the text is within the readers' budget.
inline void expectLines(const QStringList &lines)
{
    qsizetype total = 0;
    for (const QString &line : lines) {
        expect("no line end inside a line", !line.contains(u'\n') && !line.contains(u'\r'));
        total += line.size() + 1;
    }
    expect("the text is within the budget", total <= 2 * 1024 * 1024 + 1);
}

} // namespace fuzzing
