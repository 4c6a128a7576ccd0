// The OpenDocument reader on any content part: lines or a refusal.
#include "sourcesfuzz.h"

#include "sources/opendocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace fuzzing;
    const QByteArray xml(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto lines = linesOrRefusal([&] { return sources::openDocumentLines(xml, QStringLiteral("texte.odt")); }))
        expectLines(*lines);
    return 0;
}
