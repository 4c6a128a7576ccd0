#include "outils.h"

#include <QFile>
#include <QFontDatabase>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>
#include <numbers>

namespace dessins {

QPen trait(const QColor &color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void prepare(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

QPainterPath star(QPointF centre, qreal outer, qreal inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / points;
        const qreal r = (i % 2 == 0) ? outer : inner;
        const QPointF pt(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

QPainterPath disc(QPointF centre, qreal radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath ellipse(QPointF centre, qreal width, qreal height, qreal degrees)
{
    QPainterPath path;
    path.addEllipse(QPointF(0, 0), width / 2, height / 2);
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(degrees);
    return t.map(path);
}

QString sansFamily()
{
    static const QString family = [] {
        QString found;
        for (const char *file : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                 "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"}) {
            const QString path = QString::fromLatin1(file);
            if (!QFile::exists(path))
                continue;
            const int id = QFontDatabase::addApplicationFont(path);
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (found.isEmpty() && !families.isEmpty())
                found = families.first();
        }
        return found.isEmpty() ? QStringLiteral("DejaVu Sans") : found;
    }();
    return family;
}

QFont sans(int pixelSize, bool bold)
{
    QFont font(sansFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void shape(QPainter &p, const QPainterPath &path, const QColor &fill, const QPen &outline)
{
    p.setPen(outline);
    p.setBrush(fill);
    p.drawPath(path);
}

void shade(QPainter &p, QPointF light, qreal radius, const QColor &inner, const QColor &outer, const QPen &outline)
{
    QRadialGradient g(light, radius);
    g.setColorAt(0, inner);
    g.setColorAt(1, outer);
    p.setPen(outline);
    p.setBrush(g);
}

} // namespace dessins
