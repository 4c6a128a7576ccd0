#include "publishedfolder.h"

#include "platform/curlftpclient.h"
#include "localhost/connexion.h"
#include "publishing/diffusion.h"
#include "publishing/forcedirectories.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace fakes {

QByteArray pseudoRandom(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bytes[i] = char(seed >> 24);
    }
    return bytes;
}

QString studentFolder(const QTemporaryDir &working, int pictureSize)
{
    const QString source = working.filePath(u"PARIS_ECOLE_CM1/lecteurs/Dupont_Jean_x/"_s);
    writeFile(source + u"conte.html"_s, "<html>\r\n<!--DEBUT-->\r\nIl \xe9tait une fois<br>\r\n<!--FIN-->\r\n");
    writeFile(source + u"conte.txt"_s, "Il \xe9tait une fois\r\n");
    writeFile(source + u"conte.jpg"_s, pseudoRandom(pictureSize, 7));
    writeFile(source + u"style.css"_s, "body { font-size: 24px; }\r\n");
    writeFile(source + u"fond.jpg"_s, everyByte());
    writeFile(source + u"ListeImages.txt"_s, "conte.jpg\r\n");
    writeFile(source + u"_Tablematieres.txt"_s, "conte\r\n");
    writeFile(source + u"_Tablematieres.html"_s, "<a href=\"conte.html\">conte</a>\r\n");
    writeFile(source + u"anciens/vieux.html"_s, "une ancienne version");
    return source;
}

QMap<QString, QByteArray> contents(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, bytesOf(QDir(folder).filePath(name)));
    return files;
}

void expectPublishedWhole(const QString &remoteFolder, const QMap<QString, QByteArray> &before)
{
    EXPECT_EQ(contents(remoteFolder), before);
    EXPECT_FALSE(QFileInfo::exists(remoteFolder + u"anciens"_s));
}

std::optional<QString> publishAll(const QString &working, const QString &source, const QString &target,
                                  const publishing::FtpClient::Progress &progress)
{
    platform::CurlFtpClient client;
    try {
        if (const workspace::Result<void> connected = localhost::ConnexionFTP(client, working); !connected)
            return connected.reason();
        publishing::ForceFtpDirectories(client, target);
        client.disconnect();
        if (const workspace::Result<void> connected = localhost::ConnexionFTP(client, working); !connected)
            return connected.reason();
        client.put(source + u"_Tablematieres.html"_s, target.section(u'/', 0, 1) + u"/index.html"_s);
        client.disconnect();
        if (const workspace::Result<void> connected = localhost::ConnexionFTP(client, working); !connected)
            return connected.reason();
        client.setProgress(progress);
        const publishing::UploadResult result =
            publishing::uploadFiles(client, {source, target, working}, publishing::sourceFiles(source));
        client.disconnect();
        if (result.published != result.count)
            return u"<%1 of %2 files>"_s.arg(result.published).arg(result.count);
    } catch (const publishing::FtpError &error) {
        return error.message();
    }
    return std::nullopt;
}

} // namespace fakes
