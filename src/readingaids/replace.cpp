#include "replace.h"

#include <algorithm>

namespace readingaids {

namespace {

// The texts that replace the occurrences, taken in turn.
struct Replacements
{
    const QStringView *texts;
    qsizetype count;

    QStringView at(qsizetype k) const { return texts[k % count]; }
};

// Whether a new occurrence of src can overlap a text dest put in its place:
// dest inside src, or an end of dest that begins or ends src.
bool canOverlap(QStringView src, QStringView dest)
{
    const qsizetype m = src.size();
    if (dest.size() < m && src.contains(dest) && (!dest.isEmpty() || m >= 2))
        return true;
    const qsizetype longest = std::min(dest.size(), m - 1);
    for (qsizetype k = 1; k <= longest; ++k) {
        if (dest.last(k) == src.first(k) || dest.first(k) == src.last(k))
            return true;
    }
    return false;
}

// The occurrences of the text as it stands, replaced once each from left to
// right: the whole result when no replacement can take part in a new
// occurrence, and the safe one when searching again could never end.
QString replaceInOnePass(QStringView s, QStringView src, const Replacements &dests)
{
    QString out;
    out.reserve(s.size());
    qsizetype in = 0;
    qsizetype k = 0;
    for (qsizetype found = s.indexOf(src); found >= 0; found = s.indexOf(src, in)) {
        out += s.sliced(in, found - in);
        out += dests.at(k++);
        in = found + src.size();
    }
    out += s.sliced(in);
    return out;
}

// Searching again after each replacement, as from the start, though only
// from the first place where an occurrence can begin that was not there
// before: len(src) - 1 characters before the replacement. Used when each
// replacement shrinks the text, so the search ends.
QString replaceSearchingAgain(QStringView s, QStringView src, const Replacements &dests)
{
    const qsizetype m = src.size();
    QString out;
    qsizetype in = 0; // the text is out followed by s from in
    qsizetype k = 0;
    qsizetype resume = -1; // first place of out where an occurrence may begin
    for (;;) {
        if (resume >= 0) {
            QString window = out.sliced(resume);
            window += s.sliced(in).first(std::min(m - 1, s.size() - in));
            const qsizetype w = window.indexOf(src);
            if (w >= 0 && resume + w < out.size()) {
                const qsizetype p = resume + w;
                QString tail;
                if (p + m <= out.size())
                    tail = out.sliced(p + m);
                else
                    in += p + m - out.size();
                out.truncate(p);
                out += dests.at(k++);
                out += tail;
                resume = std::max<qsizetype>(0, p - m + 1);
                continue;
            }
        }
        const qsizetype found = s.indexOf(src, in);
        if (found < 0)
            break;
        out += s.sliced(in, found - in);
        const qsizetype p = out.size();
        out += dests.at(k++);
        in = found + m;
        resume = std::max<qsizetype>(0, p - m + 1);
    }
    out += s.sliced(in);
    return out;
}

QString replaceAll(QStringView s, QStringView src, const Replacements &dests)
{
    if (src.isEmpty())
        return s.toString();
    bool overlaps = false;
    bool shrinks = true;
    for (qsizetype k = 0; k < dests.count; ++k) {
        overlaps = overlaps || canOverlap(src, dests.texts[k]);
        shrinks = shrinks && dests.texts[k].size() < src.size();
    }
    if (overlaps && shrinks)
        return replaceSearchingAgain(s, src, dests);
    return replaceInOnePass(s, src, dests);
}

} // namespace

QString AnsiReplaceStr(QStringView s, QStringView src, QStringView dest)
{
    return replaceAll(s, src, Replacements{&dest, 1});
}

QString AnsiReplaceStrPaire(QStringView s, QStringView src, QStringView dest1, QStringView dest2,
                            QStringView dest3, QStringView dest4, QStringView dest5)
{
    const QStringView dests[] = {dest1, dest2, dest3, dest4, dest5};
    return replaceAll(s, src, Replacements{dests, 5});
}

} // namespace readingaids
