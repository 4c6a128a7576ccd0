#include "qrcode.h"

#include <qrencode.h>

#include <memory>

namespace students {

QList<QList<bool>> qrModules(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(utf8.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code)
        return {};
    QList<QList<bool>> rows(code->width, QList<bool>(code->width));
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x)
            rows[y][x] = code->data[y * code->width + x] & 1;  // bit 0: dark
    }
    return rows;
}

} // namespace students
