// The Word document reader on any main part: lines or a refusal.
#include "sourcesfuzz.h"

#include "sources/wordml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace fuzzing;
    const QByteArray xml(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto lines = linesOrRefusal([&] { return sources::wordDocumentLines(xml, QStringLiteral("texte.docx")); }))
        expectLines(*lines);
    return 0;
}
