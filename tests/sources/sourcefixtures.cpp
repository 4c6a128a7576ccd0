#include "sourcefixtures.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

using namespace Qt::StringLiterals;

namespace fixtures {

void writeZip(const QString &path, const QList<std::pair<QString, QByteArray>> &parts)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << path.toStdString();
    for (const auto &[name, bytes] : parts) {
        // libzip copies nothing until it writes: the bytes stay with the list.
        zip_source_t *source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        ASSERT_GE(zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

void writeOdt(const QString &path, const QByteArray &body)
{
    const QByteArray content =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
        "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" office:version=\"1.3\">\n"
        "<office:body><office:text>\n"
        + body + "\n</office:text></office:body></office:document-content>\n";
    const QByteArray styles =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<office:document-styles xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\"><office:master-styles>"
        "<style:master-page style:name=\"Standard\"><style:header><text:p>En-tête de page</text:p></style:header>"
        "<style:footer><text:p>Pied de page</text:p></style:footer></style:master-page>"
        "</office:master-styles></office:document-styles>\n";
    const QByteArray manifest =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
        "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
        "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
        "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>"
        "</manifest:manifest>\n";
    writeZip(path, {{u"mimetype"_s, "application/vnd.oasis.opendocument.text"},
                    {u"content.xml"_s, content},
                    {u"styles.xml"_s, styles},
                    {u"META-INF/manifest.xml"_s, manifest}});
}

void writeEncryptedOdt(const QString &path)
{
    writeZip(path, {{u"mimetype"_s, "application/vnd.oasis.opendocument.text"},
                    {u"content.xml"_s, "\x8f\x12\x33 chiffré"},
                    {u"META-INF/manifest.xml"_s,
                     "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
                     "<manifest:file-entry manifest:full-path=\"content.xml\"><manifest:encryption-data/>"
                     "</manifest:file-entry></manifest:manifest>"}});
}

void writeDocx(const QString &path, const QByteArray &body)
{
    const QByteArray w = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                         "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
                         "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"";
    const QByteArray document = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document " + w
        + "><w:body>\n" + body + "\n<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr></w:body></w:document>\n";
    const QByteArray header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<w:hdr " + w
        + "><w:p><w:r><w:t>En-tête de page</w:t></w:r></w:p></w:hdr>\n";
    const QByteArray types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>\n";
    const QByteArray rels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"word/document.xml\"/></Relationships>\n";
    writeZip(path, {{u"[Content_Types].xml"_s, types},
                    {u"_rels/.rels"_s, rels},
                    {u"word/document.xml"_s, document},
                    {u"word/header1.xml"_s, header}});
}

namespace {

// Draws the line from x with its words spread to the width, as a justified
// line is set; a line of a single word, or not spread, is drawn as it is.
void drawLine(QPainter &painter, const QString &line, qreal x, qreal y, qreal width, bool spread)
{
    const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
    const QFontMetricsF metrics(painter.font(), painter.device());
    if (!spread || words.size() < 2) {
        painter.drawText(QPointF(x, y), line);
        return;
    }
    qreal inked = 0;
    for (const QString &word : words)
        inked += metrics.horizontalAdvance(word);
    const qreal gap = (width - inked) / qreal(words.size() - 1);
    for (const QString &word : words) {
        painter.drawText(QPointF(x, y), word);
        x += metrics.horizontalAdvance(word) + gap;
    }
}

} // namespace

void writePdf(const QString &path, const QList<PdfPage> &pages)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(40, 40, 40, 40), QPageLayout::Point);
    QPainter painter(&writer);
    QFont body(u"DejaVu Serif"_s);
    body.setPointSizeF(11);
    QFont title = body;
    title.setPointSizeF(18);
    // The width of the text: its longest line.
    qreal width = 0;
    for (const PdfPage &page : pages)
        for (const PdfParagraph &paragraph : page)
            for (const QString &line : paragraph.lines)
                width = std::max(width, QFontMetricsF(paragraph.style == PdfParagraph::Title ? title : body, &writer)
                                            .horizontalAdvance(line));

    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0)
            writer.newPage();
        qreal y = 0;
        for (const PdfParagraph &paragraph : pages[p]) {
            painter.setFont(paragraph.style == PdfParagraph::Title ? title : body);
            const qreal pitch = QFontMetricsF(painter.font(), &writer).lineSpacing();
            for (qsizetype i = 0; i < paragraph.lines.size(); ++i) {
                const bool last = i + 1 == paragraph.lines.size();
                y += pitch;
                drawLine(painter, paragraph.lines[i], 0, y, width,
                         paragraph.style == PdfParagraph::Justified && !last);
            }
            y += pitch * 0.8;
        }
    }
}

void writePicturePdf(const QString &path)
{
    QImage scan(400, 300, QImage::Format_RGB32);
    scan.fill(Qt::white);
    QPainter onScan(&scan);
    onScan.fillRect(40, 40, 320, 8, Qt::black);
    onScan.fillRect(40, 70, 280, 8, Qt::black);
    onScan.end();
    QPdfWriter writer(path);
    QPainter painter(&writer);
    painter.drawImage(QRectF(0, 0, 4000, 3000), scan);
}

void writeBlankPdf(const QString &path)
{
    QPdfWriter writer(path);
    QPainter painter(&writer);
}

} // namespace fixtures
