#pragma once

#include "outils.h"

#include <QByteArray>

namespace dessins {

// The program's icon on the desktop: an open book whose lines are syllables
// in colours, on the yellow of the screens. It is drawn once, as shapes, and
// written both as a scalable SVG and as a 256 x 256 PNG, so the two are the
// same picture.
inline const QString IconeId = QStringLiteral("fr.tessavo.tessavo");

// One filled and outlined shape of the icon, on a 256 x 256 canvas.
struct Trace
{
    QPainterPath path;
    QColor fill;         // Qt::transparent: not filled
    QColor stroke;       // Qt::transparent: not outlined
    qreal width = 0;     // of the outline, round caps and joins
};

std::vector<Trace> icone();

// The icon as PNG pixels of `size` x `size`, transparent around the square.
Picture iconePng(int size);

// The icon as an SVG document; its path relative to the repository root.
QString iconeSvgPath();
QByteArray iconeSvg();

} // namespace dessins
