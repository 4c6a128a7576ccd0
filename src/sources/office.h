#pragma once

#include <QString>
#include <QStringList>

// Word 97-2003 documents (.doc) and rich text (.rtf), read through the office
// suite's own converter (LibreOffice, run headless on a private profile),
// which turns them into an OpenDocument text that opendocument.h reads.
namespace sources {

// The converter's program, or nothing when the office suite is not installed.
QString officeConverter();

// The lines of a .doc or .rtf file. The file must be what its name says (a
// compound file, "{\rtf"); the conversion has two minutes. Raises
// workspace::IoError.
QStringList readThroughOffice(const QString &path, const QString &converter = officeConverter());

} // namespace sources
