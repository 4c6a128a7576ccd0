// Draws every picture that ships with Tessavo and writes it into the
// repository given as argument:
//   reserve/Cartes/*.jpg      logo pictures of the reading texts
//   reserve/fond.jpg          background tile of the "Bord multicolor" border
//   src/app/pictures/*.png    screen pictures (step bar, teacher's badge)
//   packaging/icons/hicolor/  the program's icon, SVG and 256 px PNG
// Each written file is read back and checked. With --planche FILE.png, also
// renders a contact sheet of all the pictures for a look by eye.

#include "cartes.h"
#include "ecrans.h"
#include "icone.h"
#include "outils.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QXmlStreamReader>

#include <cstdio>
#include <cstdlib>

using namespace dessins;

namespace {

bool write(const QString &root, const Picture &picture)
{
    const QString path = QDir(root).filePath(picture.path);
    QDir().mkpath(QFileInfo(path).path());
    const bool jpeg = path.endsWith(QLatin1String(".jpg"));
    QImageWriter writer(path, jpeg ? "jpeg" : "png");
    if (jpeg)
        writer.setQuality(90);
    const QImage image = jpeg ? picture.image.convertToFormat(QImage::Format_RGB32) : picture.image;
    if (!writer.write(image)) {
        std::fprintf(stderr, "dessins: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }

    // Read it back: it must load as a picture of the expected kind and size.
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    const QImage loaded = reader.read();
    if (loaded.isNull() || format != (jpeg ? "jpeg" : "png") || loaded.size() != picture.image.size()) {
        std::fprintf(stderr, "dessins: %s does not load back as a %dx%d %s picture (%s)\n",
                     qPrintable(path), picture.image.width(), picture.image.height(),
                     jpeg ? "JPEG" : "PNG", qPrintable(reader.errorString()));
        return false;
    }
    std::printf("%-36s %4d x %-4d %s\n", qPrintable(picture.path), loaded.width(), loaded.height(),
                format.constData());
    return true;
}

// Writes the SVG icon and reads it back: it must be well-formed XML whose
// root is a 256 x 256 svg element.
bool writeSvg(const QString &root, const QString &relative, const QByteArray &svg)
{
    const QString path = QDir(root).filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size() || !file.commit()) {
        std::fprintf(stderr, "dessins: cannot write %s\n", qPrintable(path));
        return false;
    }
    QFile written(path);
    written.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&written);
    xml.readNextStartElement();
    const bool root256 = xml.name() == QLatin1String("svg")
                         && xml.attributes().value(QLatin1String("viewBox")) == QLatin1String("0 0 256 256");
    while (!xml.atEnd())
        xml.readNext();
    if (!root256 || xml.hasError()) {
        std::fprintf(stderr, "dessins: %s is not a 256 x 256 SVG document (%s)\n", qPrintable(path),
                     qPrintable(xml.errorString()));
        return false;
    }
    std::printf("%-36s %4d x %-4d svg\n", qPrintable(relative), 256, 256);
    return true;
}

// All pictures side by side with their names; the border tile is shown
// repeated down a column (to see the seams) and enlarged, the badge on a
// checkerboard (to see its transparency) and enlarged on white.
QImage planche(const std::vector<Picture> &all)
{
    constexpr int Margin = 20;
    constexpr int Label = 24;
    constexpr int Columns = 4;
    constexpr int Cell = 250;
    constexpr int Width = 2 * Margin + Columns * Cell + 40;

    std::vector<const Picture *> cards;
    std::vector<const Picture *> others;
    for (const Picture &p : all)
        (p.path.startsWith(QLatin1String("reserve/Cartes/")) ? cards : others).push_back(&p);

    int height = Margin + int((cards.size() + Columns - 1) / Columns) * (Cell + Label);
    for (const Picture *p : others)
        height += (p->path.endsWith(QLatin1String("fond.jpg")) ? 240
                   : p->image.width() < 200                     ? 3 * p->image.height()
                                                                : p->image.height())
                  + Label + Margin;
    height += Margin;

    QImage sheet(Width, height, QImage::Format_RGB32);
    sheet.fill(QColor(0x90, 0x90, 0x98));
    QPainter p(&sheet);
    prepare(p);
    p.setFont(sans(15, true));
    const auto label = [&](int x, int y, const QString &text) {
        p.setPen(Qt::black);
        p.drawText(QRect(x, y, 600, Label), Qt::AlignLeft | Qt::AlignVCenter, text);
    };

    int y = Margin;
    for (size_t i = 0; i < cards.size(); ++i) {
        const int x = Margin + int(i % Columns) * Cell;
        const int top = y + int(i / Columns) * (Cell + Label);
        p.drawImage(x, top, cards[i]->image);
        label(x, top + 240, QFileInfo(cards[i]->path).fileName());
    }
    y += int((cards.size() + Columns - 1) / Columns) * (Cell + Label);

    for (const Picture *pic : others) {
        const QImage &img = pic->image;
        if (pic->path.endsWith(QLatin1String("fond.jpg"))) {
            for (int k = 0; k < 4; ++k)
                p.drawImage(Margin, y + k * img.height(), img);
            p.drawImage(QRect(Margin + 60, y, img.width() * 4, img.height() * 4), img);
            label(Margin, y + 240, pic->path + QStringLiteral("  (x4 tiles down, then 4x enlarged)"));
            y += 240 + Label + Margin;
            continue;
        }
        if (img.hasAlphaChannel()) {
            for (int cy = 0; cy < img.height(); cy += 10)
                for (int cx = 0; cx < img.width(); cx += 10)
                    p.fillRect(QRect(Margin + cx, y + cy, 10, 10),
                               ((cx + cy) / 10) % 2 ? QColor(0xcc, 0xcc, 0xcc) : QColor(0xff, 0xff, 0xff));
        }
        p.drawImage(Margin, y, img);
        int shown = img.height();
        if (img.width() < 200) {
            // Small pictures are shown enlarged as well, to judge the detail.
            const QRect big(Margin + img.width() + Margin, y, img.width() * 3, img.height() * 3);
            p.fillRect(big, Qt::white);
            p.drawImage(big, img);
            shown = big.height();
        }
        label(Margin, y + shown, pic->path);
        y += shown + Label + Margin;
    }
    p.end();
    return sheet;
}

} // namespace

int main(int argc, char **argv)
{
    // Runs headless, on a build machine as well as a desktop.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments().mid(1);
    QString root;
    QString sheetPath;
    bool usable = true;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--planche") && i + 1 < args.size())
            sheetPath = args[++i];
        else if (root.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            root = args[i];
        else
            usable = false;
    }
    if (!usable || root.isEmpty() || !QFileInfo(root).isDir()) {
        std::fprintf(stderr, "usage: dessins REPOSITORY_ROOT [--planche SHEET.png]\n");
        return 2;
    }

    std::vector<Picture> all = cartes();
    all.push_back(fond());
    for (Picture &p : etapes())
        all.push_back(std::move(p));
    all.push_back(badge());
    all.push_back(iconePng(256));

    bool ok = true;
    for (const Picture &p : all)
        ok = write(root, p) && ok;
    ok = writeSvg(root, iconeSvgPath(), iconeSvg()) && ok;

    if (!sheetPath.isEmpty()) {
        QImageWriter writer(sheetPath, "png");
        if (!writer.write(planche(all))) {
            std::fprintf(stderr, "dessins: cannot write %s: %s\n", qPrintable(sheetPath),
                         qPrintable(writer.errorString()));
            ok = false;
        }
    }
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
