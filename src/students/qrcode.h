#pragma once

#include <QList>
#include <QString>

// The QR code that a tablet's camera reads to open a pupil's address.
namespace students {

// The modules of the QR code of the text (UTF-8, error correction level M,
// which a printed card keeps through a fold or a stain), row by row, true
// for a dark one; the quiet zone around it is the drawer's. Empty when the
// text does not fit in one code.
QList<QList<bool>> qrModules(const QString &text);

} // namespace students
