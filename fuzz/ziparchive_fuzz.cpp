// The zip layer of the word processors' files on any bytes: the archive
// opens or is refused with a French message, and each part of a document is
// read whole, within the limit, or refused; read as it is unpacked, piece by
// piece, it gives the same bytes.
#include "sourcesfuzz.h"

#include "sources/ziparchive.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace fuzzing;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = QStringLiteral("texte.odt");
    std::unique_ptr<sources::ZipArchive> archive;
    if (!linesOrRefusal([&] {
            archive = std::make_unique<sources::ZipArchive>(path, bytes);
            return QStringList();
        }))
        return 0;
    for (const QString &name : {QStringLiteral("content.xml"), QStringLiteral("word/document.xml"),
                                QStringLiteral("META-INF/manifest.xml"), QStringLiteral("mimetype")}) {
        std::optional<QByteArray> part;
        if (!linesOrRefusal([&] {
                part = archive->part(name);
                return QStringList();
            }))
            continue;
        if (!part)
            continue;
        expect("a part is within the limit", part->size() <= sources::ZipArchive::MaxPartBytes);
        // Read again as it is unpacked, in small pieces, the part is the same.
        const std::unique_ptr<sources::ZipPart> device = archive->openPart(name);
        expect("a part read is there again", device != nullptr);
        QByteArray again;
        char piece[7];
        qint64 got = 0;
        while ((got = device->read(piece, sizeof piece)) > 0)
            again.append(piece, qsizetype(got));
        device->check();
        expect("a part reads the same in pieces", again == *part);
    }
    return 0;
}
