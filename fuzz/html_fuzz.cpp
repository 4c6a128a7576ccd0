// The web page reader on any bytes: decoded in one pass, and its lines hold
// no line end and stay within the budget.
#include "sourcesfuzz.h"

#include "sources/html.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace fuzzing;
    const QString html = sources::decodeHtml(QByteArrayView(data, qsizetype(size)));
    if (const auto lines = linesOrRefusal([&] { return sources::htmlLines(html, QStringLiteral("page.html")); }))
        expectLines(*lines);
    return 0;
}
