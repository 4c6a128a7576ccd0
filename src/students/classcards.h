#pragma once

#include <QImage>
#include <QList>
#include <QString>

// What the teacher prints for the tablets: each pupil's address as a QR code
// to scan, with the address written out for a tablet without a camera.
namespace students {

struct TabletCard
{
    QString shownName;  // "Zoé D."
    QString address;    // "http://192.168.1.20:29305/Orvane_A_B_C/k7dq.../_Tablematieres.html"
};

// The QR code of the text, each module scale pixels wide, with the quiet zone
// of four modules that a camera needs around it; a null image when the text
// does not fit in one code.
QImage qrImage(const QString &text, int scale);

// One A4 page after another, eight cards a page (two columns of four), each
// with the pupil's name, the QR code and the address. Raises
// workspace::IoError when the file cannot be written.
void writeClassCards(const QString &pdfPath, const QString &title, const QList<TabletCard> &cards);

} // namespace students
