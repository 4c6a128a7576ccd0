#include "icone.h"

namespace dessins {

namespace {

constexpr qreal Canvas = 256;

const QColor Jaune(0xff, 0xd7, 0x00);
const QColor JauneFonce(0xd9, 0xa4, 0x00);
const QColor Sarcelle(0x00, 0x8b, 0x8b);
const QColor SarcelleFonce(0x00, 0x4f, 0x4f);
const QColor Page(0xff, 0xfd, 0xf0);
const QColor Rouge(0xd6, 0x28, 0x28);
const QColor Bleu(0x1d, 0x4e, 0xd8);

QPainterPath roundedRect(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// "12.5", "12", "-3.25": at most two decimals, without trailing zeros.
QByteArray number(qreal value)
{
    QByteArray text = QByteArray::number(value, 'f', 2);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text == "-0" ? QByteArray("0") : text;
}

QByteArray point(QPointF p)
{
    return number(p.x()) + ' ' + number(p.y());
}

// The path as SVG path data; a sub-path that ends where it began is closed.
QByteArray pathData(const QPainterPath &path)
{
    QByteArray d;
    QPointF start;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            start = e;
            d += "M" + point(e);
        } else if (e.isLineTo()) {
            d += "L" + point(e);
        } else if (e.isCurveTo()) {
            d += "C" + point(e) + ' ' + point(path.elementAt(i + 1)) + ' ' + point(path.elementAt(i + 2));
            i += 2;
        }
        const bool last = i + 1 == path.elementCount() || path.elementAt(i + 1).isMoveTo();
        if (last && QPointF(path.elementAt(i)) == start)
            d += "Z";
    }
    return d;
}

QByteArray colour(const QColor &c)
{
    return c.alpha() == 0 ? QByteArray("none") : c.name(QColor::HexRgb).toLatin1();
}

} // namespace

std::vector<Trace> icone()
{
    std::vector<Trace> traces;
    traces.push_back({roundedRect(QRectF(12, 12, 232, 232), 48), Jaune, JauneFonce, 6});

    const qreal mid = Canvas / 2;
    const qreal top = 72;
    const qreal bottom = 184;
    const qreal half = 94;
    // The cover, showing under the pages.
    QPainterPath cover;
    cover.moveTo(mid, bottom + 16);
    cover.quadTo(mid - half / 2, bottom + 2, mid - half - 10, bottom + 8);
    cover.lineTo(mid - half - 10, top + 14);
    cover.lineTo(mid + half + 10, top + 14);
    cover.lineTo(mid + half + 10, bottom + 8);
    cover.quadTo(mid + half / 2, bottom + 2, mid, bottom + 16);
    cover.closeSubpath();
    traces.push_back({cover, Sarcelle, SarcelleFonce, 5});

    // Each page, and on it three lines of two syllables in alternate colours.
    const qreal syllables[3][2] = {{30, 26}, {20, 38}, {34, 22}};
    for (const qreal side : {-1.0, 1.0}) {
        QPainterPath page;
        page.moveTo(mid, top + 10);
        page.quadTo(mid + side * half / 2, top - 10, mid + side * half, top);
        page.lineTo(mid + side * half, bottom - 6);
        page.quadTo(mid + side * half / 2, bottom - 16, mid, bottom + 6);
        page.closeSubpath();
        traces.push_back({page, Page, SarcelleFonce, 5});

        for (int line = 0; line < 3; ++line) {
            const qreal y = top + 26 + line * 26;
            // From the spine outwards: on the left page, the last syllable first.
            qreal x = mid + side * 16;
            for (int s = 0; s < 2; ++s) {
                const int read = side < 0 ? 1 - s : s;
                const qreal width = syllables[side < 0 ? line : 2 - line][read];
                const QRectF bar(side < 0 ? x - width : x, y, width, 12);
                traces.push_back({roundedRect(bar, 6), (line + read) % 2 ? Bleu : Rouge, Qt::transparent, 0});
                x += side * (width + 7);
            }
        }
    }
    return traces;
}

Picture iconePng(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    prepare(p);
    p.scale(size / Canvas, size / Canvas);
    for (const Trace &t : icone()) {
        p.setBrush(t.fill.alpha() ? QBrush(t.fill) : QBrush(Qt::NoBrush));
        p.setPen(t.stroke.alpha() ? trait(t.stroke, t.width) : QPen(Qt::NoPen));
        p.drawPath(t.path);
    }
    p.end();
    return {QStringLiteral("packaging/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(IconeId), image};
}

QString iconeSvgPath()
{
    return QStringLiteral("packaging/icons/hicolor/scalable/apps/%1.svg").arg(IconeId);
}

QByteArray iconeSvg()
{
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
                     "  <title>Tessavo</title>\n";
    for (const Trace &t : icone()) {
        svg += "  <path d=\"" + pathData(t.path) + "\" fill=\"" + colour(t.fill) + '"';
        if (t.path.fillRule() == Qt::OddEvenFill && t.fill.alpha())
            svg += " fill-rule=\"evenodd\"";
        if (t.stroke.alpha())
            svg += " stroke=\"" + colour(t.stroke) + "\" stroke-width=\"" + number(t.width)
                 + "\" stroke-linejoin=\"round\" stroke-linecap=\"round\"";
        svg += "/>\n";
    }
    svg += "</svg>\n";
    return svg;
}

} // namespace dessins
