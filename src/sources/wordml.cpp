#include "wordml.h"

#include "paragraphs.h"
#include "plaintext.h"
#include "refusals.h"
#include "ziparchive.h"

#include <QXmlStreamReader>

#include <functional>

using namespace Qt::StringLiterals;

namespace sources {

namespace {

// The transitional and the strict names of the same markup.
bool isWordNs(QStringView ns)
{
    return ns == u"http://schemas.openxmlformats.org/wordprocessingml/2006/main"
        || ns == u"http://purl.oclc.org/ooxml/wordprocessingml/main";
}

const QString CompatibilityNs = u"http://schemas.openxmlformats.org/markup-compatibility/2006"_s;

bool isLeftOut(const QXmlStreamReader &xml)
{
    static const QStringList word = {u"rPr"_s, u"del"_s, u"delText"_s, u"moveFrom"_s,
                                     u"instrText"_s, u"sdtPr"_s, u"sym"_s, u"tblPr"_s, u"sectPr"_s};
    // Word writes a text box twice, the second time for old readers.
    if (xml.namespaceUri() == CompatibilityNs)
        return xml.name() == u"Fallback";
    return isWordNs(xml.namespaceUri()) && word.contains(xml.name());
}

// An encrypted Word document is no zip archive but a compound file holding
// an "EncryptedPackage" stream.
bool isEncryptedPackage(const QByteArray &bytes)
{
    static const QByteArray compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    static const QByteArray stream = [] {
        QByteArray utf16le; // the stream's name in the compound file's directory
        for (const char c : QByteArrayView("EncryptedPackage"))
            utf16le.append(c).append('\0');
        return utf16le;
    }();
    return bytes.startsWith(compound) && bytes.contains(stream);
}

// The main part, as the package's relationships name it.
QString mainPart(const ZipArchive &archive)
{
    const std::optional<QByteArray> rels = archive.part(u"_rels/.rels"_s);
    QXmlStreamReader xml(rels.value_or(QByteArray()));
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD)
            break; // no entities expanded: the main part is looked for where it usually is
        if (token == QXmlStreamReader::StartElement && xml.name() == u"Relationship"
            && xml.attributes().value(u"Type"_s).endsWith(u"/officeDocument")) {
            QString target = xml.attributes().value(u"Target"_s).toString();
            while (target.startsWith(u'/'))
                target.remove(0, 1);
            return target;
        }
    }
    return u"word/document.xml"_s;
}

// Reads a paragraph's properties to their end: whether it is a list item, by
// its numbering or by a list style ("ListParagraph", "Paragraphedeliste").
bool isListItem(QXmlStreamReader &xml)
{
    bool item = false;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        if (!isWordNs(xml.namespaceUri()))
            continue;
        if (xml.name() == u"numPr")
            item = true;
        else if (xml.name() == u"pStyle") {
            const QStringView style = xml.attributes().value(xml.namespaceUri().toString(), u"val"_s);
            item = item || style.contains(u"List", Qt::CaseInsensitive) || style.contains(u"liste", Qt::CaseInsensitive);
        }
    }
    return item;
}

// The lines of the main part as the reader reads it; `read` is told of each
// token read, and at the end (it may raise a refusal of its own, which
// comes before the reader's: the part may have ended early inside an element
// skipped whole).
QStringList bodyLines(QXmlStreamReader &xml, const QString &path, const std::function<void()> &read)
{
    TextBudget budget(path);
    Paragraphs paragraphs(budget);
    bool inText = false;
    bool sawDocument = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        read();
        switch (token) {
        case QXmlStreamReader::StartElement: {
            if (isLeftOut(xml)) {
                xml.skipCurrentElement();
                break;
            }
            if (isWordNs(xml.namespaceUri()) && xml.name() == u"pPr") {
                if (isListItem(xml) && paragraphs.inParagraph())
                    paragraphs.listItem();
                break;
            }
            if (!isWordNs(xml.namespaceUri()))
                break;
            const QStringView name = xml.name();
            sawDocument = sawDocument || name == u"document";
            if (name == u"p")
                paragraphs.start();
            else if (name == u"t")
                inText = true;
            else if (name == u"tab")
                paragraphs.tab();
            else if (name == u"br" || name == u"cr")
                paragraphs.lineBreak();
            else if (name == u"noBreakHyphen")
                paragraphs.text(u"-");
            break;
        }
        case QXmlStreamReader::EndElement:
            if (isWordNs(xml.namespaceUri()) && xml.name() == u"p")
                paragraphs.end();
            else if (isWordNs(xml.namespaceUri()) && xml.name() == u"t")
                inText = false;
            break;
        case QXmlStreamReader::Characters:
            if (inText)
                paragraphs.text(xml.text());
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
    if (xml.hasError() || !sawDocument)
        throw damaged(path);
    return paragraphs.take();
}

} // namespace

QStringList wordDocumentLines(const QByteArray &documentXml, const QString &path)
{
    QXmlStreamReader xml(documentXml);
    return bodyLines(xml, path, [] {});
}

QStringList readWordDocument(const QString &path, std::stop_token stop)
{
    const QByteArray bytes = readSourceBytes(path);
    if (isEncryptedPackage(bytes))
        throw encrypted(path);
    const ZipArchive archive(path, bytes);
    // Read as it is unpacked (see openDocumentArchiveLines).
    const std::unique_ptr<ZipPart> document = archive.openPart(mainPart(archive), std::move(stop));
    if (!document)
        throw damaged(path);
    QXmlStreamReader xml(document.get());
    return bodyLines(xml, path, [&] { document->mark(); });
}

} // namespace sources
