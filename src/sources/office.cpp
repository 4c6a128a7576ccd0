#include "office.h"

#include "opendocument.h"
#include "plaintext.h"
#include "refusals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace sources {

namespace {

constexpr int ConversionMilliseconds = 120'000;

QByteArray utf16le(QByteArrayView name)
{
    QByteArray bytes;
    for (const char c : name)
        bytes.append(c).append('\0');
    return bytes;
}

// The converter takes what it does not recognise for plain text: a file must
// look like its kind before it is handed over. A Word 97 document is a
// compound file holding a "WordDocument" stream.
bool looksLikeItsKind(const QString &path, const QByteArray &bytes)
{
    if (QFileInfo(path).suffix().compare(u"rtf"_s, Qt::CaseInsensitive) == 0)
        return bytes.startsWith("{\\rtf");
    static const QByteArray stream = utf16le("WordDocument");
    return bytes.startsWith(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) && bytes.contains(stream);
}

workspace::IoError unconverted(const QString &path)
{
    return workspace::IoError(u"Le fichier « %1 » ne peut pas être lu : il est endommagé ou protégé par un mot de "
                              u"passe."_s.arg(QFileInfo(path).fileName()),
                              path);
}

} // namespace

QString officeConverter()
{
    for (const QString &name : {u"soffice"_s, u"libreoffice"_s}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

QStringList readThroughOffice(const QString &path, const QString &converter)
{
    const QByteArray bytes = readSourceBytes(path);
    if (!looksLikeItsKind(path, bytes))
        throw damaged(path);
    QTemporaryDir work;
    if (!work.isValid() || converter.isEmpty())
        throw workspace::IoError::cannotRead(path);
    // The converter reads a copy with a plain name, on a profile of its own,
    // so that an office suite open on the desktop is neither used nor disturbed.
    const QString source = work.filePath(u"source."_s + QFileInfo(path).suffix().toLower());
    {
        QFile copy(source);
        if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size())
            throw workspace::IoError::cannotRead(path);
    }
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(converter, {u"--headless"_s, u"--norestore"_s, u"--nologo"_s, u"--nolockcheck"_s,
                             u"--nodefault"_s,
                             u"-env:UserInstallation="_s + QUrl::fromLocalFile(work.filePath(u"profil"_s)).toString(),
                             u"--convert-to"_s, u"odt"_s, u"--outdir"_s, work.filePath(u"odt"_s), source});
    if (!office.waitForFinished(ConversionMilliseconds)) {
        office.kill();
        office.waitForFinished();
        throw unconverted(path);
    }
    QFile converted(work.filePath(u"odt/source.odt"_s));
    if (!converted.open(QIODevice::ReadOnly))
        throw unconverted(path);
    return openDocumentArchiveLines(converted.readAll(), path);
}

} // namespace sources
