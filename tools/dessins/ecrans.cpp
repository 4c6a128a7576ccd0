#include "ecrans.h"

#include <QTransform>

namespace dessins {

namespace {

const QColor Rainbow[] = {
    QColor(0xe5, 0x39, 0x35), QColor(0xfb, 0x8c, 0x00), QColor(0xfd, 0xd8, 0x35),
    QColor(0x43, 0xa0, 0x47), QColor(0x1e, 0x88, 0xe5), QColor(0x8e, 0x24, 0xaa),
};

} // namespace

Picture fond()
{
    constexpr int Width = 30;
    constexpr int Height = 60;
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(QColor(0xff, 0xfd, 0xf5));
    QPainter p(&image);
    prepare(p);
    // Pale rainbow bands, 10 pixels each: six bands fill the tile exactly.
    for (int i = 0; i < 6; ++i) {
        QColor pale = Rainbow[i];
        pale.setAlpha(70);
        p.fillRect(QRectF(0, i * 10, Width, 10), pale);
    }
    // Bright dots in two staggered columns; each dot is drawn again one tile
    // up and one tile down so that a dot crossing an edge wraps round.
    for (int i = 0; i < 6; ++i) {
        const qreal y = i * 10 + 5;
        const qreal x = (i % 2 == 0) ? 9 : 21;
        for (qreal shift : {-Height, 0, Height}) {
            p.setPen(Qt::NoPen);
            p.setBrush(Rainbow[(i + 3) % 6]);
            p.drawEllipse(QPointF(x, y + shift), 6.5, 6.5);
            p.setBrush(QColor(255, 255, 255, 170));
            p.drawEllipse(QPointF(x - 2, y - 2 + shift), 2, 2);
        }
    }
    p.end();
    return {QStringLiteral("reserve/fond.jpg"), image};
}

std::vector<Picture> etapes()
{
    const QString captions[] = {QStringLiteral("Élève"), QStringLiteral("Texte"),
                                QStringLiteral("Mise en page"), QStringLiteral("Diffusion")};
    const QColor red(0xe0, 0x24, 0x24);
    const QColor yellow(0xff, 0xd0, 0x00);
    const QColor green(0x22, 0xa2, 0x4a);
    const QColor dark(0x26, 0x26, 0x2e);

    std::vector<Picture> pictures;
    for (int current = 1; current <= 3; ++current) {
        QImage image(1000, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        prepare(p);

        // The arrow, left to right, under the discs.
        const qreal y = 36;
        QPainterPath arrow;
        arrow.moveTo(18, y - 9);
        arrow.lineTo(938, y - 9);
        arrow.lineTo(938, y - 24);
        arrow.lineTo(986, y);
        arrow.lineTo(938, y + 24);
        arrow.lineTo(938, y + 9);
        arrow.lineTo(18, y + 9);
        arrow.closeSubpath();
        shape(p, arrow, yellow, trait(QColor(0xc7, 0x93, 0x00), 2.5));

        for (int step = 1; step <= 4; ++step) {
            const qreal x = 125 + (step - 1) * 250;
            const QColor fill = step < current ? green : step == current ? red : yellow;
            const QColor edge = fill.darker(150);
            shape(p, disc(QPointF(x, y), 28), fill, trait(edge, 3));
            p.setFont(sans(30, true));
            p.setPen(fill == yellow ? dark : QColor(Qt::white));
            p.drawText(QRectF(x - 28, y - 28, 56, 56), Qt::AlignCenter, QString::number(step));
            p.setFont(sans(17, step == current));
            p.setPen(dark);
            p.drawText(QRectF(x - 120, 68, 240, 28), Qt::AlignCenter, captions[step - 1]);
        }
        p.end();
        pictures.push_back({QStringLiteral("src/app/pictures/etapes%1.png").arg(current), image});
    }
    return pictures;
}

namespace {

// A right hand seen from its back, index finger pointing up (towards -y),
// wrist at the origin's bottom. About 40 wide and 74 tall.
QPainterPath hand()
{
    QPainterPath path;
    auto rounded = [](const QRectF &r, qreal radius) {
        QPainterPath p;
        p.addRoundedRect(r, radius, radius);
        return p;
    };
    path = rounded(QRectF(-16, -6, 34, 34), 10);                  // palm
    path = path.united(rounded(QRectF(-16, -44, 11, 46), 5.5));  // index finger
    path = path.united(rounded(QRectF(-5, -14, 10, 20), 5));     // folded middle finger
    path = path.united(rounded(QRectF(4, -12, 9.5, 18), 4.75));  // folded ring finger
    path = path.united(rounded(QRectF(12, -9, 8.5, 16), 4.25));  // folded little finger
    // Thumb along the left side, slightly open.
    QPainterPath thumb = rounded(QRectF(-10, -5, 10, 26), 5);
    thumb = QTransform().translate(-14, 14).rotate(30).translate(5, -12).map(thumb);
    path = path.united(thumb);
    return path.simplified();
}

} // namespace

Picture badge()
{
    constexpr int Width = 137;
    constexpr int Height = 153;
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    prepare(p);

    const QPointF c(Width / 2.0, Height / 2.0);
    const qreal r = 66;
    shade(p, c + QPointF(-18, -22), r * 1.4, QColor(0x6c, 0xd0, 0x6a), QColor(0x1b, 0x7a, 0x32),
          trait(QColor(0x11, 0x55, 0x22), 3));
    p.drawEllipse(c, r, r);
    p.setPen(trait(QColor(0xc8, 0xf0, 0xc0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r - 6, r - 6);

    // The open book: a red cover under two curved pages.
    const qreal mid = c.x();
    const qreal top = 42;
    const qreal bottom = 94;
    const qreal half = 50;
    QPainterPath cover;
    cover.moveTo(mid, bottom + 6);
    cover.quadTo(mid - half / 2, bottom - 2, mid - half - 4, bottom + 2);
    cover.lineTo(mid - half - 4, top + 6);
    cover.lineTo(mid + half + 4, top + 6);
    cover.lineTo(mid + half + 4, bottom + 2);
    cover.quadTo(mid + half / 2, bottom - 2, mid, bottom + 6);
    cover.closeSubpath();
    shape(p, cover, QColor(0xc6, 0x28, 0x28), trait(QColor(0x4a, 0x10, 0x10), 2));
    const QPen pageLine = trait(QColor(0x4a, 0x3a, 0x30), 1.8);
    for (int side : {-1, 1}) {
        const qreal s = side;
        QPainterPath page;
        page.moveTo(mid, top + 6);
        page.quadTo(mid + s * half / 2, top - 4, mid + s * half, top);
        page.lineTo(mid + s * half, bottom - 4);
        page.quadTo(mid + s * half / 2, bottom - 8, mid, bottom + 2);
        page.closeSubpath();
        shape(p, page, QColor(0xff, 0xfd, 0xf4), pageLine);
        // Lines of text under the title.
        p.setPen(trait(QColor(0x9e, 0x9e, 0x9e), 1.6));
        for (qreal ly : {74.0, 81.0}) {
            const qreal from = mid + s * 8;
            const qreal to = mid + s * (half - 7);
            p.drawLine(QPointF(from, ly), QPointF(to, ly));
        }
    }
    p.setFont(sans(17, true));
    p.setPen(QColor(0x1a, 0x23, 0x7e));
    p.drawText(QRectF(mid - half, top + 8, 2 * half, 24), Qt::AlignCenter, QStringLiteral("MAITRE"));

    // The pointing hand comes out of the rim at the lower right, its index
    // fingertip on the lower edge of the book. It is clipped to the inside of
    // the badge so the circle stays whole.
    QTransform t;
    t.rotate(-38);
    t.scale(0.92, 0.92);
    const QPointF tip = t.map(QPointF(-10.5, -44));
    t = t * QTransform::fromTranslate(c.x() - 6 - tip.x(), bottom + 2 - tip.y());
    p.save();
    p.setClipPath(disc(c, r - 1.5));
    QPainterPath sleeve;
    sleeve.addRoundedRect(QRectF(-20, 24, 44, 40), 3, 3);
    shape(p, t.map(sleeve), QColor(0x1e, 0x88, 0xe5), trait(QColor(0x0d, 0x47, 0xa1), 2));
    shape(p, t.map(hand()), QColor(0xff, 0xd1, 0xa9), trait(QColor(0x8a, 0x55, 0x30), 2));
    // Knuckle creases of the folded fingers and the nail of the index.
    p.setPen(trait(QColor(0x8a, 0x55, 0x30), 1.4));
    p.drawLine(t.map(QLineF(-5, 2, -5, 8)));
    p.drawLine(t.map(QLineF(4.5, 3, 4.5, 8)));
    p.drawLine(t.map(QLineF(12.5, 4, 12.5, 8)));
    p.setBrush(QColor(0xff, 0xec, 0xdc));
    p.drawPath(t.map(ellipse(QPointF(-10.5, -37), 6, 8)));
    p.restore();
    // The rim again, over the sleeve.
    p.setPen(trait(QColor(0x11, 0x55, 0x22), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.end();
    return {QStringLiteral("src/app/pictures/badge.png"), image};
}

} // namespace dessins
