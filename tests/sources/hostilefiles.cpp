#include "hostilefiles.h"

#include "sourcefixtures.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <QFile>
#include <QList>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace hostile {

void writeEntityOdt(const QString &path, int uses)
{
    QByteArray content =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE office:document-content [<!ENTITY e \"" + QByteArray("loup ").repeated(800) + "\">]>\n"
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:text><text:p>";
    content += QByteArray("&e;").repeated(uses);
    content += "</text:p></office:text></office:body></office:document-content>\n";
    fixtures::writeZip(path, {{u"mimetype"_s, "application/vnd.oasis.opendocument.text"},
                              {u"content.xml"_s, content}});
}

void writeSpacesOdt(const QString &path, int elements)
{
    fixtures::writeOdt(path, "<text:p>a" + QByteArray("<text:s text:c=\"1000\"/>").repeated(elements) + "b</text:p>");
}

void writeLongRunOdt(const QString &path, qsizetype bytes)
{
    fixtures::writeOdt(path, "<text:p>" + QByteArray("loup ").repeated(bytes / 5) + "</text:p>");
}

void writeTabsDocx(const QString &path, int tabs)
{
    fixtures::writeDocx(path, "<w:p><w:r>" + QByteArray("<w:tab/>").repeated(tabs) + "<w:t>fin</w:t></w:r></w:p>");
}

QByteArray pdf(int pages, const QByteArray &content)
{
    // zlib's stream, which qCompress gives after a 4-byte length.
    const QByteArray packed = qCompress(content, 9).mid(4);
    QList<QByteArray> objects = {
        "<</Type/Catalog/Pages 2 0 R>>",
        "", // the page tree, once its pages are numbered
        "<</Type/Font/Subtype/Type1/BaseFont/Helvetica/Encoding/WinAnsiEncoding>>",
        "<</Length " + QByteArray::number(packed.size()) + "/Filter/FlateDecode>>stream\n" + packed + "\nendstream",
    };
    QByteArray kids;
    kids.reserve(qsizetype(pages) * 10);
    for (int p = 0; p < pages; ++p) {
        objects.append("<</Type/Page/Parent 2 0 R/Contents 4 0 R>>");
        kids += QByteArray::number(objects.size()) + " 0 R ";
    }
    objects[1] = "<</Type/Pages/Count " + QByteArray::number(pages) + "/MediaBox[0 0 595 842]"
                 "/Resources<</Font<</F1 3 0 R>>>>/Kids[" + kids + "]>>";

    QByteArray file = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(file.size());
        file += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = file.size();
    file += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f\r\n";
    for (const qsizetype offset : offsets)
        file += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n\r\n";
    file += "trailer\n<</Size " + QByteArray::number(objects.size() + 1) + "/Root 1 0 R>>\nstartxref\n"
            + QByteArray::number(xref) + "\n%%EOF\n";
    return file;
}

QByteArray strokes(int count)
{
    QByteArray content = "1 G 0.5 w\n";
    content.reserve(content.size() + qsizetype(count) * 24);
    for (int i = 0; i < count; ++i) {
        const QByteArray x = QByteArray::number(50 + i % 500);
        content += x + " 100 m " + x + " 700 l S\n";
    }
    return content;
}

QByteArray oneLineOfText()
{
    return "BT /F1 12 Tf 72 700 Td (Le loup mange.) Tj ET\n";
}

QByteArray nestedRtf(int depth)
{
    return "{\\rtf1\\ansi " + QByteArray(depth, '{') + "loup" + QByteArray(depth, '}') + "}";
}

QByteArray wordyRtf(qsizetype bytes)
{
    const QByteArray sentence = "Il \\'e9tait une fois un loup qui mangeait. \\par\n";
    return "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Times New Roman;}} " + sentence.repeated(bytes / sentence.size())
           + "}";
}

void writeAesDocx(const QString &path)
{
    fixtures::writeDocx(path, "<w:p><w:r><w:t>Un texte secret.</w:t></w:r></w:p>");
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), 0, &error);
    ASSERT_NE(archive, nullptr);
    const zip_int64_t index = zip_name_locate(archive, "word/document.xml", 0);
    ASSERT_GE(index, 0);
    ASSERT_EQ(zip_file_set_encryption(archive, zip_uint64_t(index), ZIP_EM_AES_256, "motdepasse"), 0);
    ASSERT_EQ(zip_close(archive), 0);
}

void writeUnderstatedDocx(const QString &path)
{
    fixtures::writeDocx(path, "<w:p><w:r><w:t>" + QByteArray("a ").repeated(70 * 1024 * 1024) + "</w:t></w:r></w:p>");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    // The size unpacked, in the part's local header (at 22) and in its entry
    // of the central directory (at 24), each found by the name after it.
    const QByteArray name = "word/document.xml";
    const auto understate = [&](const char *signature, qsizetype nameAt, qsizetype sizeAt) {
        for (qsizetype at = bytes.indexOf(signature); at >= 0; at = bytes.indexOf(signature, at + 4)) {
            if (bytes.mid(at + nameAt, name.size()) == name) {
                const quint32 small = qToLittleEndian(quint32(1000));
                bytes.replace(at + sizeAt, 4, reinterpret_cast<const char *>(&small), 4);
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(understate("PK\x03\x04", 30, 22));
    ASSERT_TRUE(understate("PK\x01\x02", 46, 24));
    ASSERT_TRUE(file.seek(0));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace hostile
