#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QString>

#include <vector>

// Small drawing helpers shared by every picture.
namespace dessins {

// A picture to write: its path relative to the repository root and its pixels.
struct Picture
{
    QString path;
    QImage image;
};

// A rounded outline pen, the cartoon stroke of the drawings.
QPen trait(const QColor &color, qreal width);

// A painter with antialiasing (and smooth image scaling) turned on.
void prepare(QPainter &p);

// A regular star: `points` tips at `outer`, hollows at `inner`, first tip
// straight up.
QPainterPath star(QPointF centre, qreal outer, qreal inner, int points = 5);

// A circle as a path.
QPainterPath disc(QPointF centre, qreal radius);

// An ellipse centred on `centre`, turned by `degrees` (clockwise on screen).
QPainterPath ellipse(QPointF centre, qreal width, qreal height, qreal degrees = 0);

// The sans-serif family used for every text, loaded from the font files of
// the machine when they are there so the result does not hang on font lookup.
QString sansFamily();
QFont sans(int pixelSize, bool bold);

// Sets the painter's outline and a radial shading from `inner` at `light`
// to `outer` at `radius` from it, for the shape drawn next.
void shade(QPainter &p, QPointF light, qreal radius, const QColor &inner, const QColor &outer, const QPen &outline);

// Fills `path` with `fill` and strokes it with `outline`.
void shape(QPainter &p, const QPainterPath &path, const QColor &fill, const QPen &outline);

} // namespace dessins
