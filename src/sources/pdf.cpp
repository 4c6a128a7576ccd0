#include "pdf.h"

#include "hyphens.h"
#include "pdflayout.h"
#include "plaintext.h"
#include "refusals.h"

#include <poppler-qt6.h>

#include <QDeadlineTimer>
#include <QImage>

namespace sources {

namespace {

// The ligatures of Latin type ("ﬁ", "ﬂ"...) that a PDF's text may name as
// such, back to their letters. Nothing else is changed: no-break spaces and
// French quotes stay.
QString withoutLigatures(QString text)
{
    static const std::pair<char16_t, const char16_t *> ligatures[] = {
        {0xFB00, u"ff"}, {0xFB01, u"fi"}, {0xFB02, u"fl"}, {0xFB03, u"ffi"}, {0xFB04, u"ffl"}, {0xFB05, u"st"},
        {0xFB06, u"st"}};
    for (const auto &[ligature, letters] : ligatures)
        text.replace(QChar(ligature), QString::fromUtf16(letters));
    return text;
}

// A PDF's text keeps no trace of the no-break spaces of French typography:
// the type draws them as blanks and poppler cuts words there. A blank before
// ; : ! ? » or after « is one of them, so it comes back as a no-break space,
// which the saved document keeps (0xA0).
// "« Qui ? » dit-il" -> "«\u00A0Qui\u00A0?\u00A0» dit-il"
QString withFrenchSpaces(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u' ')
            continue;
        const bool beforeSign = i + 1 < text.size() && QStringView(u";:!?»").contains(text.at(i + 1));
        const bool afterQuote = i > 0 && text.at(i - 1) == u'«';
        if (beforeSign || afterQuote)
            text[i] = QChar(0x00A0);
    }
    return text;
}

// The lines of a page: poppler gives the words in reading order, each
// linked to the next one on its line.
QList<PdfLine> pageLines(const Poppler::Page &page, TextBudget &budget)
{
    QList<PdfLine> lines;
    bool lineOpen = false;
    for (const std::unique_ptr<Poppler::TextBox> &word : page.textList()) {
        if (!lineOpen) {
            lines.append(PdfLine{QString(), word->boundingBox(), word->boundingBox().width()});
            lineOpen = true;
        }
        PdfLine &line = lines.last();
        line.text += withoutLigatures(word->text());
        line.box = line.box.united(word->boundingBox());
        budget.spend(word->text().size() + 1);
        if (!word->nextWord())
            lineOpen = false;
        else if (word->hasSpaceAfter())
            line.text += u' ';
    }
    return lines;
}

// The time that looking for a drawing may take over all pages: a page of
// hundreds of thousands of strokes takes longer than a scan.
constexpr int DrawingMilliseconds = 3000;

bool pastDeadline(const QVariant &deadline)
{
    return QDeadlineTimer::current().deadlineNSecs() > deadline.toLongLong();
}

// Whether the page draws anything at all: a scan draws its picture. The
// drawing takes its time from what is left (in milliseconds), and raises
// tooManyStrokes when none is.
bool drawsSomething(const Poppler::Page &page, qint64 &left, const QString &path)
{
    const QDeadlineTimer deadline(left);
    const QImage drawn = page.renderToImage(12, 12, -1, -1, -1, -1, Poppler::Page::Rotate0, nullptr, nullptr,
                                            pastDeadline, QVariant(deadline.deadlineNSecs()));
    left = deadline.remainingTime();
    if (left <= 0)
        throw tooManyStrokes(path);
    const QImage image = drawn.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        const uchar *row = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] < 250)
                return true;
        }
    }
    return false;
}

void quiet(const QString &, const QVariant &)
{
}

} // namespace

QStringList readPdf(const QString &path, std::stop_token stop)
{
    const QByteArray bytes = readSourceBytes(path);
    // A damaged file is told to the teacher, not written to the console.
    Poppler::setDebugErrorFunction(quiet, QVariant());
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(bytes);
    if (!document)
        throw damaged(path);
    if (document->isLocked())
        throw encrypted(path);
    if (!document->okToCopy())
        throw copyForbidden(path);

    if (document->numPages() > MaxPdfPages)
        throw tooManyPages(path, document->numPages());

    TextBudget budget(path);
    QList<QList<PdfLine>> pages;
    bool drawn = false;
    qint64 drawingLeft = DrawingMilliseconds;
    for (int i = 0; i < document->numPages(); ++i) {
        if (stop.stop_requested())
            throw stopped(path);
        const std::unique_ptr<Poppler::Page> page = document->page(i);
        if (!page)
            throw damaged(path);
        pages.append(pageLines(*page, budget));
        if (pages.last().isEmpty() && !drawn)
            drawn = drawsSomething(*page, drawingLeft, path);
    }
    // The running headers, footers and page numbers are no part of the text,
    // and a paragraph goes on across a page's end.
    leaveOutRunningLines(pages);
    QList<QList<PdfParagraph>> pageTexts;
    for (const QList<PdfLine> &lines : std::as_const(pages))
        pageTexts.append(pageParagraphs(lines));
    const QList<PdfParagraph> paragraphs = documentParagraphs(pageTexts);
    if (paragraphs.isEmpty())
        throw drawn ? onlyPictures(path) : noText(path);

    QList<QStringList> paragraphLines;
    for (const PdfParagraph &paragraph : paragraphs)
        paragraphLines.append(paragraph.lines);
    const QSet<QString> known = knownWords(wordsToLookUp(paragraphLines));
    // A paragraph set apart by a wider gap (a stanza) keeps its empty line.
    QStringList text;
    for (const PdfParagraph &paragraph : paragraphs) {
        if (paragraph.apart && !text.isEmpty())
            text.append(QString());
        text.append(withFrenchSpaces(joinLines(paragraph.lines, known)));
    }
    return text;
}

} // namespace sources
