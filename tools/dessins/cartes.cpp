#include "cartes.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <QTransform>

#include <cmath>
#include <functional>
#include <numbers>

namespace dessins {

namespace {

constexpr int Size = 240;
constexpr qreal Pi = std::numbers::pi;

const QColor Ink(0x33, 0x2b, 0x2b);

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// Glossy spot of light on a round object.
void shine(QPainter &p, QPointF centre, qreal width, qreal height, qreal degrees)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawPath(ellipse(centre, width, height, degrees));
}

void soleil(QPainter &p)
{
    const QPointF c(120, 120);
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * Pi / 6;
        const qreal half = 0.16;
        const qreal tip = (i % 2 == 0) ? 112 : 98;
        QPainterPath ray = polygon({
            QPointF(c.x() + 56 * std::cos(a - half), c.y() + 56 * std::sin(a - half)),
            QPointF(c.x() + tip * std::cos(a), c.y() + tip * std::sin(a)),
            QPointF(c.x() + 56 * std::cos(a + half), c.y() + 56 * std::sin(a + half)),
        });
        shape(p, ray, (i % 2 == 0) ? QColor(0xff, 0x8c, 0x00) : QColor(0xff, 0xc1, 0x07),
              trait(QColor(0xd9, 0x6a, 0x00), 3));
    }
    shade(p, QPointF(105, 100), 75, QColor(0xff, 0xf1, 0x76), QColor(0xff, 0xcc, 0x00),
          trait(QColor(0xe0, 0x8a, 0x00), 4));
    p.drawEllipse(c, 62, 62);

    // A smiling face.
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(100, 108), 6, 8);
    p.drawEllipse(QPointF(140, 108), 6, 8);
    p.setBrush(QColor(0xff, 0x80, 0x80, 150));
    p.drawEllipse(QPointF(86, 130), 10, 6);
    p.drawEllipse(QPointF(154, 130), 10, 6);
    p.setPen(trait(Ink, 5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(96, 106, 48, 38), 200 * 16, 140 * 16);
}

void maison(QPainter &p)
{
    // Sky and grass.
    p.fillRect(QRectF(0, 196, Size, Size - 196), QColor(0x8b, 0xc3, 0x4a));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7c, 0xb3, 0x42));
    for (int x = 6; x < Size; x += 16)
        p.drawPath(polygon({QPointF(x, 198), QPointF(x + 5, 186), QPointF(x + 10, 198)}));

    const QPen brown = trait(QColor(0x5d, 0x40, 0x37), 4);
    // Chimney, then the walls, then the roof over both.
    shape(p, QPainterPath([] { QPainterPath r; r.addRect(148, 48, 22, 44); return r; }()),
          QColor(0xb5, 0x4a, 0x3a), brown);
    shape(p, roundedRect(QRectF(56, 108, 128, 96), 2), QColor(0xff, 0xe0, 0x9e), brown);
    shape(p, polygon({QPointF(38, 116), QPointF(120, 42), QPointF(202, 116)}),
          QColor(0xe5, 0x39, 0x35), brown);

    // Door with its knob.
    QPainterPath door;
    door.moveTo(104, 204);
    door.lineTo(104, 162);
    door.arcTo(QRectF(104, 146, 32, 32), 180, -180);
    door.lineTo(136, 204);
    door.closeSubpath();
    shape(p, door, QColor(0x1e, 0x88, 0xe5), brown);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd5, 0x4f));
    p.drawEllipse(QPointF(129, 184), 3.5, 3.5);

    // Two windows with their crosses.
    for (qreal x : {68.0, 146.0}) {
        shape(p, roundedRect(QRectF(x, 128, 28, 28), 2), QColor(0xb3, 0xe5, 0xfc), brown);
        p.setPen(trait(QColor(0x5d, 0x40, 0x37), 3));
        p.drawLine(QPointF(x + 14, 128), QPointF(x + 14, 156));
        p.drawLine(QPointF(x, 142), QPointF(x + 28, 142));
    }
    // Smoke.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb0, 0xbe, 0xc5));
    p.drawEllipse(QPointF(166, 36), 8, 7);
    p.drawEllipse(QPointF(180, 24), 10, 8);
    p.drawEllipse(QPointF(198, 14), 12, 9);
}

void arbre(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9c, 0xcc, 0x65));
    p.drawEllipse(QPointF(120, 222), 100, 18);

    QPainterPath trunk;
    trunk.moveTo(92, 222);
    trunk.quadTo(106, 200, 106, 130);
    trunk.lineTo(134, 130);
    trunk.quadTo(134, 200, 148, 222);
    trunk.closeSubpath();
    shape(p, trunk, QColor(0x8d, 0x5a, 0x2b), trait(QColor(0x4e, 0x30, 0x14), 4));

    QPainterPath crown;
    const struct { qreal x, y, r; } puffs[] = {
        {120, 62, 42}, {80, 88, 38}, {160, 88, 38}, {62, 124, 30},
        {178, 124, 30}, {100, 130, 36}, {140, 130, 36}, {120, 100, 46},
    };
    for (const auto &b : puffs)
        crown = crown.united(disc(QPointF(b.x, b.y), b.r));
    shade(p, QPointF(100, 70), 120, QColor(0x7c, 0xd6, 0x5a), QColor(0x2e, 0x8b, 0x3a),
          trait(QColor(0x1b, 0x5e, 0x20), 4));
    p.drawPath(crown);
    // A few leaf curls inside the crown.
    p.setPen(trait(QColor(0x1b, 0x5e, 0x20, 160), 3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(70, 92, 30, 24), 200 * 16, 120 * 16);
    p.drawArc(QRectF(140, 100, 30, 24), 200 * 16, 120 * 16);
    p.drawArc(QRectF(106, 52, 30, 24), 200 * 16, 120 * 16);
}

void chat(QPainter &p)
{
    const QColor fur(0xff, 0x9f, 0x43);
    const QPen line = trait(QColor(0x6d, 0x3b, 0x0f), 4);
    // Ears behind the head.
    shape(p, polygon({QPointF(46, 110), QPointF(58, 26), QPointF(112, 70)}), fur, line);
    shape(p, polygon({QPointF(194, 110), QPointF(182, 26), QPointF(128, 70)}), fur, line);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xb3, 0xc1));
    p.drawPath(polygon({QPointF(60, 94), QPointF(65, 46), QPointF(96, 72)}));
    p.drawPath(polygon({QPointF(180, 94), QPointF(175, 46), QPointF(144, 72)}));

    shape(p, ellipse(QPointF(120, 136), 168, 140), fur, line);

    // Stripes on the forehead.
    p.setPen(trait(QColor(0xd9, 0x6b, 0x10), 6));
    p.drawLine(QPointF(120, 70), QPointF(120, 92));
    p.drawLine(QPointF(102, 72), QPointF(106, 90));
    p.drawLine(QPointF(138, 72), QPointF(134, 90));

    // Eyes: green with slit pupils.
    for (qreal x : {88.0, 152.0}) {
        shape(p, ellipse(QPointF(x, 122), 30, 36), QColor(0x8b, 0xd3, 0x4a), trait(Ink, 3));
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawPath(ellipse(QPointF(x, 123), 9, 28));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(x + 6, 113), 4, 4);
    }
    // Muzzle, nose and mouth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xe0, 0xc0));
    p.drawPath(ellipse(QPointF(106, 164), 40, 30));
    p.drawPath(ellipse(QPointF(134, 164), 40, 30));
    shape(p, polygon({QPointF(110, 146), QPointF(130, 146), QPointF(120, 158)}),
          QColor(0xff, 0x6f, 0x91), trait(QColor(0xc2, 0x18, 0x5b), 2));
    p.setPen(trait(Ink, 3));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(120, 158), QPointF(120, 166));
    p.drawArc(QRectF(104, 156, 16, 16), 180 * 16, 180 * 16);
    p.drawArc(QRectF(120, 156, 16, 16), 180 * 16, 180 * 16);
    // Whiskers.
    p.setPen(trait(Ink, 2.5));
    for (int i = -1; i <= 1; ++i) {
        p.drawLine(QPointF(86, 162 + 6 * i), QPointF(22, 154 + 16 * i));
        p.drawLine(QPointF(154, 162 + 6 * i), QPointF(218, 154 + 16 * i));
    }
}

void poisson(QPainter &p)
{
    // Sand and weed.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xe0, 0x82));
    p.drawEllipse(QPointF(120, 246), 150, 30);
    p.setPen(trait(QColor(0x2e, 0x7d, 0x32), 7));
    p.setBrush(Qt::NoBrush);
    QPainterPath weed;
    weed.moveTo(196, 230);
    weed.cubicTo(180, 205, 212, 195, 196, 170);
    weed.moveTo(212, 232);
    weed.cubicTo(226, 210, 200, 200, 216, 184);
    p.drawPath(weed);

    const QColor body(0xff, 0x7f, 0x11);
    const QPen line = trait(QColor(0x9a, 0x3c, 0x00), 4);
    QPainterPath tail;
    tail.moveTo(160, 120);
    tail.lineTo(218, 74);
    tail.quadTo(200, 120, 218, 166);
    tail.closeSubpath();
    shape(p, tail, QColor(0xff, 0xb3, 0x00), line);
    QPainterPath fin;
    fin.moveTo(76, 84);
    fin.quadTo(110, 40, 146, 86);
    fin.closeSubpath();
    shape(p, fin, QColor(0xff, 0xb3, 0x00), line);

    const QPainterPath fish = ellipse(QPointF(106, 122), 140, 92);
    shape(p, fish, body, line);
    // White stripes, clipped to the body.
    p.save();
    p.setClipPath(fish);
    p.setPen(trait(QColor(0xff, 0xff, 0xff), 10));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(60, 60, 60, 130), -60 * 16, 120 * 16);
    p.drawArc(QRectF(96, 60, 60, 130), -60 * 16, 120 * 16);
    p.restore();
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    p.drawPath(fish);

    // Eye and mouth.
    shape(p, disc(QPointF(66, 112), 12), Qt::white, trait(Ink, 2.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(63, 112), 6, 6);
    p.setPen(trait(QColor(0x9a, 0x3c, 0x00), 3));
    p.drawArc(QRectF(38, 124, 18, 14), 90 * 16, 150 * 16);

    // Bubbles.
    p.setPen(trait(QColor(0x03, 0x9b, 0xe5), 3));
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(QPointF(30, 86), 8, 8);
    p.drawEllipse(QPointF(22, 58), 6, 6);
    p.drawEllipse(QPointF(34, 34), 4, 4);
}

void bateau(QPainter &p)
{
    const QPen line = trait(QColor(0x3e, 0x27, 0x23), 4);
    // Mast and flag.
    p.setPen(trait(QColor(0x5d, 0x40, 0x37), 6));
    p.drawLine(QPointF(120, 26), QPointF(120, 152));
    shape(p, polygon({QPointF(123, 24), QPointF(150, 32), QPointF(123, 40)}),
          QColor(0xe5, 0x39, 0x35), trait(QColor(0x8e, 0x1b, 0x1b), 2));
    // Two sails.
    QPainterPath mainSail;
    mainSail.moveTo(127, 44);
    mainSail.quadTo(170, 90, 196, 140);
    mainSail.lineTo(127, 140);
    mainSail.closeSubpath();
    shape(p, mainSail, QColor(0xff, 0xfd, 0xf5), line);
    QPainterPath jib;
    jib.moveTo(113, 56);
    jib.quadTo(84, 100, 52, 140);
    jib.lineTo(113, 140);
    jib.closeSubpath();
    shape(p, jib, QColor(0xff, 0xca, 0x28), line);
    // A red band on the big sail.
    p.save();
    p.setClipPath(mainSail);
    p.fillRect(QRectF(120, 100, 90, 16), QColor(0xe5, 0x39, 0x35));
    p.restore();
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    p.drawPath(mainSail);

    // Hull.
    QPainterPath hull;
    hull.moveTo(30, 148);
    hull.lineTo(210, 148);
    hull.quadTo(196, 186, 170, 192);
    hull.lineTo(72, 192);
    hull.quadTo(44, 186, 30, 148);
    hull.closeSubpath();
    shape(p, hull, QColor(0xd8, 0x43, 0x15), line);
    p.setPen(trait(QColor(0xff, 0xf3, 0xe0), 5));
    p.drawLine(QPointF(46, 162), QPointF(194, 162));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xf3, 0xe0));
    for (qreal x : {90.0, 120.0, 150.0})
        p.drawEllipse(QPointF(x, 176), 6, 6);

    // Sea with waves.
    QPainterPath sea;
    sea.moveTo(0, 184);
    for (int x = 0; x < Size; x += 40)
        sea.quadTo(x + 20, 170, x + 40, 184);
    sea.lineTo(Size, Size);
    sea.lineTo(0, Size);
    sea.closeSubpath();
    shape(p, sea, QColor(0x1e, 0x88, 0xe5), trait(QColor(0x0d, 0x47, 0xa1), 3));
    p.setPen(trait(QColor(0xbb, 0xde, 0xfb), 3));
    p.setBrush(Qt::NoBrush);
    for (int x = 10; x < Size; x += 60)
        p.drawArc(QRectF(x, 206, 30, 16), 30 * 16, 120 * 16);
}

void voiture(QPainter &p)
{
    // Road.
    p.fillRect(QRectF(0, 196, Size, Size - 196), QColor(0x78, 0x90, 0x9c));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int x = 6; x < Size; x += 60)
        p.drawRect(QRectF(x, 222, 32, 6));

    const QPen line = trait(QColor(0x6b, 0x0f, 0x14), 4);
    QPainterPath car = roundedRect(QRectF(22, 112, 196, 66), 18);
    QPainterPath cabin;
    cabin.moveTo(58, 118);
    cabin.lineTo(84, 70);
    cabin.quadTo(88, 64, 96, 64);
    cabin.lineTo(152, 64);
    cabin.quadTo(160, 64, 164, 70);
    cabin.lineTo(194, 118);
    cabin.closeSubpath();
    car = car.united(cabin);
    QLinearGradient g(0, 64, 0, 178);
    g.setColorAt(0, QColor(0xff, 0x52, 0x52));
    g.setColorAt(1, QColor(0xc6, 0x28, 0x28));
    p.setPen(line);
    p.setBrush(g);
    p.drawPath(car);

    const QColor glass(0xb3, 0xe5, 0xfc);
    shape(p, polygon({QPointF(72, 114), QPointF(92, 76), QPointF(119, 76), QPointF(119, 114)}),
          glass, trait(QColor(0x6b, 0x0f, 0x14), 3));
    shape(p, polygon({QPointF(127, 76), QPointF(155, 76), QPointF(178, 114), QPointF(127, 114)}),
          glass, trait(QColor(0x6b, 0x0f, 0x14), 3));
    // Door line and handle.
    p.setPen(trait(QColor(0x6b, 0x0f, 0x14), 3));
    p.drawLine(QPointF(123, 118), QPointF(123, 170));
    p.drawLine(QPointF(132, 128), QPointF(144, 128));
    // Lights.
    shape(p, ellipse(QPointF(210, 134), 12, 18), QColor(0xff, 0xee, 0x58), trait(QColor(0x6b, 0x0f, 0x14), 2));
    shape(p, ellipse(QPointF(28, 134), 8, 16), QColor(0xff, 0x98, 0x00), trait(QColor(0x6b, 0x0f, 0x14), 2));

    // Wheels.
    for (qreal x : {68.0, 172.0}) {
        shape(p, disc(QPointF(x, 178), 25), QColor(0x26, 0x32, 0x38), trait(QColor(0x10, 0x10, 0x10), 3));
        shape(p, disc(QPointF(x, 178), 11), QColor(0xcf, 0xd8, 0xdc), trait(QColor(0x45, 0x5a, 0x64), 2));
    }
}

void fleur(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9c, 0xcc, 0x65));
    p.drawEllipse(QPointF(120, 236), 110, 20);

    const QColor leafGreen(0x43, 0xa0, 0x47);
    const QPen leafLine = trait(QColor(0x1b, 0x5e, 0x20), 3);
    p.setPen(trait(QColor(0x2e, 0x7d, 0x32), 9));
    p.drawLine(QPointF(120, 120), QPointF(120, 228));
    QPainterPath leaf;
    leaf.moveTo(120, 190);
    leaf.quadTo(140, 150, 182, 156);
    leaf.quadTo(160, 196, 120, 190);
    shape(p, leaf, leafGreen, leafLine);
    QPainterPath leaf2;
    leaf2.moveTo(120, 206);
    leaf2.quadTo(100, 168, 60, 172);
    leaf2.quadTo(80, 212, 120, 206);
    shape(p, leaf2, leafGreen, leafLine);

    const QPointF c(120, 92);
    for (int i = 0; i < 8; ++i) {
        const qreal deg = i * 45.0;
        const qreal a = deg * Pi / 180;
        const QPointF at(c.x() + 44 * std::sin(a), c.y() - 44 * std::cos(a));
        shape(p, ellipse(at, 40, 62, deg), (i % 2 == 0) ? QColor(0xff, 0x4f, 0x9a) : QColor(0xff, 0x80, 0xb5),
              trait(QColor(0xad, 0x14, 0x57), 3));
    }
    shape(p, disc(c, 28), QColor(0xff, 0xd5, 0x4f), trait(QColor(0xe6, 0x7e, 0x00), 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe6, 0x9a, 0x00));
    for (int i = 0; i < 6; ++i) {
        const qreal a = i * Pi / 3;
        p.drawEllipse(QPointF(c.x() + 13 * std::cos(a), c.y() + 13 * std::sin(a)), 3, 3);
    }
}

void pomme(QPainter &p)
{
    QPainterPath apple;
    apple.moveTo(120, 76);
    apple.cubicTo(150, 50, 208, 64, 204, 128);
    apple.cubicTo(200, 186, 162, 218, 136, 208);
    apple.quadTo(120, 202, 104, 208);
    apple.cubicTo(78, 218, 40, 186, 36, 128);
    apple.cubicTo(32, 64, 90, 50, 120, 76);
    apple.closeSubpath();
    shade(p, QPointF(96, 104), 120, QColor(0xff, 0x5a, 0x4f), QColor(0xc6, 0x12, 0x12),
          trait(QColor(0x7f, 0x0b, 0x0b), 4));
    p.drawPath(apple);
    shine(p, QPointF(76, 108), 22, 40, 20);

    // Stem and leaf.
    p.setPen(trait(QColor(0x5d, 0x40, 0x37), 7));
    p.setBrush(Qt::NoBrush);
    QPainterPath stem;
    stem.moveTo(120, 80);
    stem.quadTo(118, 56, 130, 36);
    p.drawPath(stem);
    QPainterPath leaf;
    leaf.moveTo(128, 56);
    leaf.quadTo(150, 24, 188, 36);
    leaf.quadTo(164, 70, 128, 56);
    shape(p, leaf, QColor(0x66, 0xbb, 0x6a), trait(QColor(0x1b, 0x5e, 0x20), 3));
    p.setPen(trait(QColor(0x1b, 0x5e, 0x20), 2));
    p.drawLine(QPointF(134, 54), QPointF(176, 40));
}

void etoile(QPainter &p)
{
    const QPainterPath big = star(QPointF(120, 128), 108, 46);
    shade(p, QPointF(110, 110), 110, QColor(0xff, 0xf5, 0x9d), QColor(0xff, 0xc1, 0x07),
          trait(QColor(0xe6, 0x7e, 0x00), 6));
    p.drawPath(big);
    // Little sparkles around.
    const QPen sparkle = trait(QColor(0xff, 0xa0, 0x00), 3);
    p.setPen(sparkle);
    for (QPointF s : {QPointF(34, 34), QPointF(206, 36), QPointF(206, 206), QPointF(34, 206)}) {
        p.drawLine(s + QPointF(-9, 0), s + QPointF(9, 0));
        p.drawLine(s + QPointF(0, -9), s + QPointF(0, 9));
    }
}

void lune(QPainter &p)
{
    const QPainterPath moon = disc(QPointF(112, 124), 86).subtracted(disc(QPointF(156, 92), 76));
    shade(p, QPointF(70, 150), 100, QColor(0xff, 0xf1, 0x76), QColor(0xff, 0xc1, 0x07),
          trait(QColor(0xc7, 0x8a, 0x00), 5));
    p.drawPath(moon);
    // A sleeping eye and a rosy cheek.
    p.setPen(trait(QColor(0x8a, 0x5a, 0x00), 4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(48, 128, 22, 14), 200 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x8a, 0x80, 140));
    p.drawEllipse(QPointF(66, 160), 10, 7);

    const QPen starLine = trait(QColor(0xe6, 0x7e, 0x00), 3);
    const QColor starFill(0xff, 0xd5, 0x4f);
    shape(p, star(QPointF(166, 84), 28, 12), starFill, starLine);
    shape(p, star(QPointF(204, 154), 18, 8), starFill, starLine);
    shape(p, star(QPointF(120, 30), 16, 7), starFill, starLine);
    shape(p, star(QPointF(212, 34), 13, 6), starFill, starLine);
}

void papillon(QPainter &p)
{
    const QPen line = trait(QColor(0x31, 0x1b, 0x92), 4);
    for (int side : {-1, 1}) {
        const qreal s = side;
        shape(p, ellipse(QPointF(120 + s * 50, 84), 92, 110, s * 38), QColor(0x7e, 0x57, 0xc2), line);
        shape(p, ellipse(QPointF(120 + s * 44, 160), 70, 80, -s * 30), QColor(0xf0, 0x62, 0x92), line);
        p.setPen(trait(QColor(0x31, 0x1b, 0x92), 2));
        p.setBrush(QColor(0xff, 0xeb, 0x3b));
        p.drawEllipse(QPointF(120 + s * 58, 80), 16, 16);
        p.setBrush(QColor(0x4f, 0xc3, 0xf7));
        p.drawEllipse(QPointF(120 + s * 86, 104), 8, 8);
        p.drawEllipse(QPointF(120 + s * 48, 168), 12, 12);
    }
    // Antennae.
    p.setPen(trait(QColor(0x3e, 0x27, 0x23), 4));
    p.setBrush(Qt::NoBrush);
    QPainterPath antennae;
    antennae.moveTo(114, 58);
    antennae.quadTo(104, 30, 86, 22);
    antennae.moveTo(126, 58);
    antennae.quadTo(136, 30, 154, 22);
    p.drawPath(antennae);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3e, 0x27, 0x23));
    p.drawEllipse(QPointF(86, 22), 6, 6);
    p.drawEllipse(QPointF(154, 22), 6, 6);
    // Body and head.
    shape(p, ellipse(QPointF(120, 130), 18, 130), QColor(0x4e, 0x34, 0x2e), trait(QColor(0x21, 0x13, 0x0d), 2));
    shape(p, disc(QPointF(120, 62), 12), QColor(0x4e, 0x34, 0x2e), trait(QColor(0x21, 0x13, 0x0d), 2));
}

void parapluie(QPainter &p)
{
    // Rain drops.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x42, 0xa5, 0xf5));
    for (QPointF d : {QPointF(24, 150), QPointF(44, 196), QPointF(200, 160), QPointF(186, 210),
                      QPointF(22, 30), QPointF(214, 30)}) {
        QPainterPath drop;
        drop.moveTo(d + QPointF(0, -12));
        drop.quadTo(d + QPointF(8, 2), d + QPointF(0, 6));
        drop.quadTo(d + QPointF(-8, 2), d + QPointF(0, -12));
        p.drawPath(drop);
    }

    const QPointF c(120, 124);
    const qreal r = 96;
    const int scallops = 4;
    const qreal w = 2 * r / scallops;
    QPainterPath canopy;
    canopy.moveTo(c.x() - r, c.y());
    canopy.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 180, -180);
    for (int i = 0; i < scallops; ++i) {
        const qreal x0 = c.x() + r - i * w;
        canopy.quadTo(x0 - w / 2, c.y() - 20, x0 - w, c.y());
    }
    canopy.closeSubpath();

    // Ribs run from the top to the points between the scallops; the outer
    // two bounds lie beyond the canopy and only serve to close the panels.
    const auto ribEnd = [&](int i) {
        if (i == 0)
            return c.x() - 1.6 * r;
        if (i == scallops)
            return c.x() + 1.6 * r;
        return c.x() - r + i * w;
    };
    const auto ribControl = [&](qreal x) {
        return QPointF((c.x() + x) / 2 + (x - c.x()) * 0.6, c.y() - r / 2);
    };
    const QPointF top(c.x(), c.y() - r);

    // Coloured panels between the ribs, clipped to the canopy.
    const QColor panels[] = {QColor(0xe5, 0x39, 0x35), QColor(0xff, 0xca, 0x28),
                             QColor(0x43, 0xa0, 0x47), QColor(0x1e, 0x88, 0xe5)};
    p.save();
    p.setClipPath(canopy);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < scallops; ++i) {
        const qreal left = ribEnd(i);
        const qreal right = ribEnd(i + 1);
        QPainterPath panel;
        panel.moveTo(top);
        panel.quadTo(ribControl(left), QPointF(left, c.y()));
        panel.lineTo(left, c.y() + 30);
        panel.lineTo(right, c.y() + 30);
        panel.lineTo(right, c.y());
        panel.quadTo(ribControl(right), top);
        panel.closeSubpath();
        p.setBrush(panels[i]);
        p.drawPath(panel);
    }
    p.restore();
    const QPen line = trait(QColor(0x26, 0x32, 0x38), 4);
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    p.drawPath(canopy);
    p.setPen(trait(QColor(0x26, 0x32, 0x38), 2.5));
    for (int i = 1; i < scallops; ++i) {
        const qreal x = ribEnd(i);
        QPainterPath rib;
        rib.moveTo(top);
        rib.quadTo(ribControl(x), QPointF(x, c.y()));
        p.drawPath(rib);
    }
    // Tip, shaft and hooked handle.
    p.setPen(trait(QColor(0x26, 0x32, 0x38), 6));
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() - r - 12));
    p.drawLine(QPointF(c.x(), c.y()), QPointF(c.x(), 200));
    p.setPen(trait(QColor(0x6d, 0x4c, 0x41), 9));
    p.drawArc(QRectF(c.x() - 30, 186, 30, 30), 0, -180 * 16);
}

void ballon(QPainter &p)
{
    struct Balloon { QPointF centre; QColor colour; qreal tilt; };
    const Balloon balloons[] = {
        {QPointF(72, 82), QColor(0xe5, 0x39, 0x35), -12},
        {QPointF(168, 78), QColor(0x1e, 0x88, 0xe5), 12},
        {QPointF(120, 104), QColor(0xfd, 0xd8, 0x35), 0},
    };
    const QPointF hand(120, 226);
    // Strings first, under the balloons.
    p.setPen(trait(QColor(0x54, 0x6e, 0x7a), 2.5));
    p.setBrush(Qt::NoBrush);
    for (const Balloon &b : balloons) {
        const QTransform t = QTransform().translate(b.centre.x(), b.centre.y()).rotate(b.tilt);
        const QPointF knot = t.map(QPointF(0, 52));
        QPainterPath string;
        string.moveTo(knot);
        string.cubicTo(knot + QPointF(12, 30), hand + QPointF(-10, -40), hand);
        p.drawPath(string);
    }
    for (const Balloon &b : balloons) {
        const QTransform t = QTransform().translate(b.centre.x(), b.centre.y()).rotate(b.tilt);
        const QPen line = trait(b.colour.darker(170), 3.5);
        QPainterPath knot;
        knot.moveTo(0, 46);
        knot.lineTo(-7, 56);
        knot.lineTo(7, 56);
        knot.closeSubpath();
        shape(p, t.map(knot), b.colour, line);
        QPainterPath body;
        body.moveTo(0, 48);
        body.cubicTo(-30, 40, -42, 14, -42, -6);
        body.cubicTo(-42, -32, -22, -50, 0, -50);
        body.cubicTo(22, -50, 42, -32, 42, -6);
        body.cubicTo(42, 14, 30, 40, 0, 48);
        body.closeSubpath();
        shape(p, t.map(body), b.colour, line);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 150));
        p.drawPath(t.map(ellipse(QPointF(-18, -22), 12, 22, 25)));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x54, 0x6e, 0x7a));
    p.drawEllipse(hand, 4, 4);
}

void escargot(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9c, 0xcc, 0x65));
    p.drawEllipse(QPointF(120, 232), 130, 22);

    const QPen line = trait(QColor(0x55, 0x6b, 0x2f), 4);
    const QColor skin(0xc5, 0xe1, 0x7a);
    // Eye stalks behind the head.
    p.setPen(trait(QColor(0x55, 0x6b, 0x2f), 5));
    p.drawLine(QPointF(48, 142), QPointF(34, 92));
    p.drawLine(QPointF(68, 140), QPointF(76, 90));
    for (QPointF eye : {QPointF(34, 88), QPointF(76, 86)}) {
        shape(p, disc(eye, 9), Qt::white, trait(QColor(0x55, 0x6b, 0x2f), 3));
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawEllipse(eye + QPointF(-2, 1), 4.5, 4.5);
    }

    QPainterPath body;
    body.moveTo(222, 210);
    body.lineTo(60, 210);
    body.quadTo(28, 210, 28, 178);
    body.quadTo(28, 136, 60, 136);
    body.quadTo(88, 136, 92, 170);
    body.lineTo(196, 192);
    body.quadTo(216, 196, 222, 210);
    body.closeSubpath();
    shape(p, body, skin, line);
    p.setPen(trait(QColor(0x55, 0x6b, 0x2f), 3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(40, 162, 26, 18), 200 * 16, 140 * 16);

    // Shell with its spiral.
    const QPointF c(146, 128);
    shade(p, QPointF(130, 110), 80, QColor(0xff, 0xb7, 0x4d), QColor(0xd8, 0x6a, 0x10),
          trait(QColor(0x6d, 0x3b, 0x0f), 4));
    p.drawEllipse(c, 66, 64);
    QPainterPath spiral;
    const qreal turns = 2.6;
    const int steps = 240;
    for (int i = 0; i <= steps; ++i) {
        const qreal t = turns * 2 * Pi * i / steps;
        const qreal radius = 58.0 * i / steps;
        const QPointF pt(c.x() + radius * std::cos(t + Pi), c.y() + radius * std::sin(t + Pi));
        if (i == 0)
            spiral.moveTo(pt);
        else
            spiral.lineTo(pt);
    }
    p.setPen(trait(QColor(0x6d, 0x3b, 0x0f), 5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(spiral);
}

void fusee(QPainter &p)
{
    // Stars in the sky.
    const QColor starFill(0xff, 0xd5, 0x4f);
    const QPen starLine = trait(QColor(0xe6, 0x9a, 0x00), 2);
    for (QPointF s : {QPointF(36, 40), QPointF(200, 60), QPointF(42, 150), QPointF(206, 170)})
        shape(p, star(s, 12, 5), starFill, starLine);

    const QPen line = trait(QColor(0x37, 0x47, 0x4f), 4);
    const QColor red(0xe5, 0x39, 0x35);
    // Flame.
    QPainterPath flame;
    flame.moveTo(94, 176);
    flame.quadTo(92, 206, 120, 234);
    flame.quadTo(148, 206, 146, 176);
    flame.closeSubpath();
    shape(p, flame, QColor(0xff, 0x8f, 0x00), trait(QColor(0xe6, 0x51, 0x00), 3));
    QPainterPath inner;
    inner.moveTo(106, 178);
    inner.quadTo(106, 200, 120, 216);
    inner.quadTo(134, 200, 134, 178);
    inner.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xee, 0x58));
    p.drawPath(inner);

    // Fins.
    shape(p, polygon({QPointF(90, 120), QPointF(52, 168), QPointF(54, 192), QPointF(92, 172)}), red, line);
    shape(p, polygon({QPointF(150, 120), QPointF(188, 168), QPointF(186, 192), QPointF(148, 172)}), red, line);

    QPainterPath body;
    body.moveTo(120, 14);
    body.cubicTo(160, 40, 164, 110, 152, 180);
    body.lineTo(88, 180);
    body.cubicTo(76, 110, 80, 40, 120, 14);
    body.closeSubpath();
    QLinearGradient g(80, 0, 160, 0);
    g.setColorAt(0, QColor(0xff, 0xff, 0xff));
    g.setColorAt(1, QColor(0xcf, 0xd8, 0xdc));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(body);
    // Red nose, clipped to the body.
    p.save();
    p.setClipPath(body);
    p.fillRect(QRectF(60, 0, 120, 56), red);
    p.fillRect(QRectF(60, 150, 120, 40), red);
    p.restore();
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    p.drawLine(QPointF(90, 56), QPointF(150, 56));
    p.drawLine(QPointF(88, 150), QPointF(152, 150));
    // Centre fin.
    shape(p, roundedRect(QRectF(115, 140, 10, 50), 4), red, line);

    // Porthole.
    shape(p, disc(QPointF(120, 98), 22), QColor(0x90, 0xa4, 0xae), line);
    shape(p, disc(QPointF(120, 98), 14), QColor(0x4f, 0xc3, 0xf7), trait(QColor(0x37, 0x47, 0x4f), 2));
    shine(p, QPointF(115, 93), 7, 10, 30);
}

struct Card
{
    const char *name;
    QColor background;
    std::function<void(QPainter &)> draw;
};

} // namespace

std::vector<Picture> cartes()
{
    const Card list[] = {
        {"soleil", QColor(0xe1, 0xf5, 0xfe), soleil},
        {"maison", QColor(0xe3, 0xf2, 0xfd), maison},
        {"arbre", QColor(0xf1, 0xf8, 0xe9), arbre},
        {"chat", QColor(0xff, 0xf8, 0xe1), chat},
        {"poisson", QColor(0xe0, 0xf7, 0xfa), poisson},
        {"bateau", QColor(0xe8, 0xf4, 0xff), bateau},
        {"voiture", QColor(0xff, 0xfd, 0xe7), voiture},
        {"fleur", QColor(0xf3, 0xf9, 0xff), fleur},
        {"pomme", QColor(0xfb, 0xfb, 0xec), pomme},
        {"etoile", QColor(0xed, 0xe7, 0xf6), etoile},
        {"lune", QColor(0xe8, 0xea, 0xf6), lune},
        {"papillon", QColor(0xf1, 0xf8, 0xe9), papillon},
        {"parapluie", QColor(0xec, 0xef, 0xf1), parapluie},
        {"ballon", QColor(0xfd, 0xf6, 0xff), ballon},
        {"escargot", QColor(0xff, 0xfd, 0xe7), escargot},
        {"fusee", QColor(0xe3, 0xf2, 0xfd), fusee},
    };
    std::vector<Picture> pictures;
    for (const Card &card : list) {
        QImage image(Size, Size, QImage::Format_RGB32);
        image.fill(card.background);
        {
            QPainter p(&image);
            prepare(p);
            card.draw(p);
        }
        pictures.push_back({QStringLiteral("reserve/Cartes/%1.jpg").arg(QLatin1String(card.name)), image});
    }
    return pictures;
}

} // namespace dessins
