#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// Files to bring a text in from, made by the tests themselves.
namespace fixtures {

// A zip archive of these parts (name, bytes), as word processors write them.
void writeZip(const QString &path, const QList<std::pair<QString, QByteArray>> &parts);

// An OpenDocument text whose body is these lines of markup.
void writeOdt(const QString &path, const QByteArray &body);

// A Word document whose body is these lines of markup; a header part with
// its own text is in the package too.
void writeDocx(const QString &path, const QByteArray &body);

// An OpenDocument text whose content is encrypted, as a password leaves it.
void writeEncryptedOdt(const QString &path);

// A paragraph of a PDF page, given as the lines it is printed on.
struct PdfParagraph
{
    enum Style {
        Justified, // every line but the last spread to the full width
        Title,     // in larger type
        Verses,    // lines left as they are, without space between them
    };
    QStringList lines;
    Style style = Justified;
};
using PdfPage = QList<PdfParagraph>;

// A PDF written by Qt's own writer; the paragraphs stand one space apart.
void writePdf(const QString &path, const QList<PdfPage> &pages);

// A PDF whose only page is a picture (a scan), and one with a blank page.
void writePicturePdf(const QString &path);
void writeBlankPdf(const QString &path);

} // namespace fixtures
