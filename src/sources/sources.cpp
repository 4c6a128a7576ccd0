#include "sources.h"

#include "html.h"
#include "office.h"
#include "opendocument.h"
#include "pdf.h"
#include "plaintext.h"
#include "refusals.h"
#include "wordml.h"

#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sources {

namespace {

bool isBlankLine(const QString &line)
{
    return std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c.isSpace(); });
}

} // namespace

SourceKind sourceKind(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"txt")
        return SourceKind::PlainText;
    if (suffix == u"odt")
        return SourceKind::OpenDocument;
    if (suffix == u"docx")
        return SourceKind::WordDocument;
    if (suffix == u"pdf")
        return SourceKind::Pdf;
    if (suffix == u"html" || suffix == u"htm")
        return SourceKind::Html;
    if ((suffix == u"doc" || suffix == u"rtf") && !officeConverter().isEmpty())
        return SourceKind::ThroughOffice;
    return SourceKind::Other;
}

std::optional<QStringList> readSource(const QString &path)
{
    QStringList lines;
    switch (sourceKind(path)) {
    case SourceKind::PlainText: lines = readPlainText(path); break;
    case SourceKind::OpenDocument: lines = readOpenDocument(path); break;
    case SourceKind::WordDocument: lines = readWordDocument(path); break;
    case SourceKind::Pdf: lines = readPdf(path); break;
    case SourceKind::Html: lines = readHtml(path); break;
    case SourceKind::ThroughOffice: lines = readThroughOffice(path); break;
    case SourceKind::Other: return std::nullopt;
    }
    if (std::all_of(lines.cbegin(), lines.cend(), isBlankLine))
        throw noText(path);
    return lines;
}

QString sourceFilter()
{
    QStringList filter = {
        u"Textes et documents (*.txt *.odt *.docx *.doc *.rtf *.pdf *.html *.htm)"_s,
        u"*.txt;*.odt;*.docx;*.doc;*.rtf;*.pdf;*.html;*.htm"_s,
        u"Textes (*.txt)"_s, u"*.txt"_s,
        u"Documents OpenDocument (*.odt)"_s, u"*.odt"_s,
        u"Documents Word (*.docx *.doc)"_s, u"*.docx;*.doc"_s,
        u"Textes enrichis (*.rtf)"_s, u"*.rtf"_s,
        u"Documents PDF (*.pdf)"_s, u"*.pdf"_s,
        u"Pages web (*.html *.htm)"_s, u"*.html;*.htm"_s,
        u"Tous les fichiers (*)"_s, u"*"_s,
    };
    return filter.join(u'|');
}

} // namespace sources
