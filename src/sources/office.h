#pragma once

#include <QString>
#include <QByteArrayView>
#include <QStringList>

#include <stop_token>

// Word 97-2003 documents (.doc) and rich text (.rtf), read through the office
// suite's own converter (LibreOffice, run headless on a private profile),
// which turns them into an OpenDocument text that opendocument.h reads.
namespace sources {

// The converter's program, or nothing when the office suite is not installed.
QString officeConverter();

// What a rich text file holds, from a quick look at its bytes: how deep its
// groups go, and how many characters of text it may hold at most (the
// characters outside control words, the pictures', fonts' and other
// hidden groups' left out), and whether raw bytes (\bin) are said to run
// past its end: a file cut short.
struct RichTextShape
{
    qsizetype depth = 0;
    qsizetype text = 0;
    bool cutShort = false;
};
RichTextShape richTextShape(QByteArrayView rtf);

// Groups nested deeper than this are no document's: the converter would
// take minutes on them.
inline constexpr qsizetype MaxRichTextDepth = 1000;
// The time the converter has, and the most memory it may take.
inline constexpr int ConversionSeconds = 60;

// The lines of a .doc or .rtf file. The file must be what its name says (a
// compound file, "{\rtf"); rich text whose groups go too deep, or cut
// short, is refused as damaged, and one that holds too much text as too long, before any
// conversion. The conversion has the given time; past it, or when a stop is
// requested, the converter and every process it started are ended. Raises
// workspace::IoError.
QStringList readThroughOffice(const QString &path, const QString &converter = officeConverter(),
                              std::stop_token stop = {}, int seconds = ConversionSeconds);

} // namespace sources
