#include "classcards.h"

#include "students/qrcode.h"
#include "workspace/ioerror.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace students {

namespace {

constexpr int QuietZone = 4;
constexpr int Columns = 2;
constexpr int Rows = 4;

// The code as squares, sharp at any printer's resolution, with its quiet
// zone, in the box.
void drawQrCode(QPainter &painter, const QRect &box, const QString &text)
{
    const QList<QList<bool>> modules = qrModules(text);
    if (modules.isEmpty())
        return;
    const qreal module = qreal(box.width()) / qreal(modules.size() + 2 * QuietZone);
    for (int y = 0; y < modules.size(); ++y) {
        for (int x = 0; x < modules.size(); ++x) {
            if (modules[y][x])
                painter.fillRect(QRectF(box.left() + (x + QuietZone) * module, box.top() + (y + QuietZone) * module,
                                        module, module),
                                 Qt::black);
        }
    }
}

// One card in its cell of the page (device pixels at the writer's resolution).
void drawCard(QPainter &painter, const QRect &cell, const TabletCard &card)
{
    const int margin = cell.width() / 20;
    const QRect inner = cell.adjusted(margin, margin, -margin, -margin);
    painter.setPen(QPen(Qt::gray, 2, Qt::DashLine));
    painter.drawRect(cell.adjusted(margin / 2, margin / 2, -margin / 2, -margin / 2));

    QFont name(u"DejaVu Sans"_s);
    name.setPixelSize(inner.height() / 9);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(Qt::black);
    const QRect nameBox(inner.left(), inner.top(), inner.width(), inner.height() / 6);
    painter.drawText(nameBox, Qt::AlignCenter, card.shownName);

    const int side = std::min(inner.width(), inner.height() * 3 / 5);
    const QRect codeBox(inner.center().x() - side / 2, nameBox.bottom(), side, side);
    drawQrCode(painter, codeBox, card.address);

    QFont address(u"DejaVu Sans Mono"_s);
    address.setPixelSize(inner.height() / 22);
    painter.setFont(address);
    painter.drawText(QRect(inner.left(), codeBox.bottom(), inner.width(), inner.bottom() - codeBox.bottom()),
                     Qt::AlignCenter | Qt::TextWrapAnywhere, card.address);
}

} // namespace

QImage qrImage(const QString &text, int scale)
{
    const QList<QList<bool>> modules = qrModules(text);
    if (modules.isEmpty())
        return {};
    const int side = (int(modules.size()) + 2 * QuietZone) * scale;
    QImage image(side, side, QImage::Format_Mono);
    image.fill(1);  // white, the colour at index 1 of a mono image set below
    image.setColor(0, qRgb(0, 0, 0));
    image.setColor(1, qRgb(255, 255, 255));
    for (int y = 0; y < modules.size(); ++y) {
        for (int x = 0; x < modules.size(); ++x) {
            if (!modules[y][x])
                continue;
            for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx)
                    image.setPixel((x + QuietZone) * scale + dx, (y + QuietZone) * scale + dy, 0);
            }
        }
    }
    return image;
}

void writeClassCards(const QString &pdfPath, const QString &title, const QList<TabletCard> &cards)
{
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly))
        throw workspace::IoError::cannotWrite(pdfPath);
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(150);
        writer.setTitle(title);
        writer.setCreator(u"Tessavo"_s);
        QPainter painter(&writer);
        const QRect page = painter.viewport();
        const QSize cell(page.width() / Columns, page.height() / Rows);
        for (qsizetype i = 0; i < cards.size(); ++i) {
            const qsizetype place = i % (Columns * Rows);
            if (i > 0 && place == 0)
                writer.newPage();
            const QPoint corner(int(place % Columns) * cell.width(), int(place / Columns) * cell.height());
            drawCard(painter, QRect(corner, cell), cards[i]);
        }
    }
    if (!file.commit())
        throw workspace::IoError::cannotWrite(pdfPath);
}

} // namespace students
