#include "opendocument.h"

#include "paragraphs.h"
#include "plaintext.h"
#include "refusals.h"
#include "ziparchive.h"

#include <QXmlStreamReader>

#include <functional>

using namespace Qt::StringLiterals;

namespace sources {

namespace {

const QString TextNs = u"urn:oasis:names:tc:opendocument:xmlns:text:1.0"_s;
const QString OfficeNs = u"urn:oasis:names:tc:opendocument:xmlns:office:1.0"_s;
const QString SvgNs = u"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"_s;

// Elements whose content is no part of the body's text as it reads.
bool isLeftOut(const QXmlStreamReader &xml)
{
    static const QStringList text = {
        u"note"_s, u"tracked-changes"_s, u"sequence-decls"_s, u"variable-decls"_s, u"user-field-decls"_s,
        u"dde-connection-decls"_s, u"table-of-content"_s, u"alphabetical-index"_s, u"illustration-index"_s,
        u"table-index"_s, u"object-index"_s, u"user-index"_s, u"bibliography"_s, u"ruby-text"_s};
    static const QStringList office = {u"annotation"_s, u"forms"_s, u"scripts"_s};
    const QStringView ns = xml.namespaceUri();
    const QStringView name = xml.name();
    return (ns == TextNs && text.contains(name)) || (ns == OfficeNs && office.contains(name)) || ns == SvgNs;
}

// The lines of content.xml as the reader reads it; `read` is told of each
// token read, and at the end (it may raise a refusal of its own, which
// comes before the reader's: the part may have ended early inside an element
// skipped whole).
QStringList bodyLines(QXmlStreamReader &xml, const QString &path, const std::function<void()> &read)
{
    TextBudget budget(path);
    Paragraphs paragraphs(budget);
    bool inBody = false;
    int listItems = 0; // the list items the reading is inside
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        read();
        switch (token) {
        case QXmlStreamReader::StartElement: {
            const bool text = xml.namespaceUri() == TextNs;
            if (xml.namespaceUri() == OfficeNs && xml.name() == u"text")
                inBody = true;
            else if (!inBody)
                break;
            else if (isLeftOut(xml))
                xml.skipCurrentElement();
            else if (text && xml.name() == u"list-item")
                ++listItems;
            else if (text && (xml.name() == u"p" || xml.name() == u"h")) {
                paragraphs.start();
                if (listItems > 0)
                    paragraphs.listItem();
            }
            else if (text && xml.name() == u"s")
                paragraphs.spaces(xml.attributes().value(TextNs, u"c"_s).toInt());
            else if (text && xml.name() == u"tab")
                paragraphs.tab();
            else if (text && xml.name() == u"line-break")
                paragraphs.lineBreak();
            break;
        }
        case QXmlStreamReader::EndElement:
            if (xml.namespaceUri() == TextNs && (xml.name() == u"p" || xml.name() == u"h"))
                paragraphs.end();
            else if (xml.namespaceUri() == TextNs && xml.name() == u"list-item" && listItems > 0)
                --listItems;
            else if (xml.namespaceUri() == OfficeNs && xml.name() == u"text")
                inBody = false;
            break;
        case QXmlStreamReader::Characters:
            paragraphs.collapsedText(xml.text());
            break;
        case QXmlStreamReader::DTD:
            // A word processor declares no entities: a file that does means
            // to have them expanded past any size.
            throw damaged(path);
        default:
            break;
        }
    }
    read();
    if (xml.hasError())
        throw damaged(path);
    return paragraphs.take();
}

} // namespace

QStringList openDocumentLines(const QByteArray &contentXml, const QString &path)
{
    QXmlStreamReader xml(contentXml);
    return bodyLines(xml, path, [] {});
}

QStringList readOpenDocument(const QString &path, std::stop_token stop)
{
    return openDocumentArchiveLines(readSourceBytes(path), path, std::move(stop));
}

QStringList openDocumentArchiveLines(const QByteArray &bytes, const QString &path, std::stop_token stop)
{
    const ZipArchive archive(path, bytes);
    // An encrypted document keeps its parts readable as zip entries but
    // scrambled; its manifest says so.
    if (const std::optional<QByteArray> manifest = archive.part(u"META-INF/manifest.xml"_s);
        manifest && manifest->contains("encryption-data"))
        throw encrypted(path);
    // Read as it is unpacked: a run of text of a hundred megabytes is never
    // held whole, and a stop is heeded within a piece.
    const std::unique_ptr<ZipPart> content = archive.openPart(u"content.xml"_s, std::move(stop));
    if (!content)
        throw damaged(path);
    QXmlStreamReader xml(content.get());
    return bodyLines(xml, path, [&] { content->mark(); });
}

} // namespace sources
