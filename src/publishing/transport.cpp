#include "transport.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace publishing {

int defaultPort(Protocol protocol)
{
    return protocol == Protocol::Sftp ? 22 : 21;
}

QString hostKeyFingerprint(const QByteArray &keyBlob)
{
    const QByteArray digest = QCryptographicHash::hash(keyBlob, QCryptographicHash::Sha256);
    return u"SHA256:"_s + QString::fromLatin1(digest.toBase64(QByteArray::OmitTrailingEquals));
}

QString hostKeyType(int curlKeyType)
{
    switch (curlKeyType) {
    case 1:
        return u"RSA1"_s;
    case 2:
        return u"RSA"_s;
    case 3:
        return u"DSA"_s;
    case 4:
        return u"ECDSA"_s;
    case 5:
        return u"ED25519"_s;
    default:
        return u"type inconnu"_s;
    }
}

namespace {

QString withoutPadding(QString key)
{
    while (key.endsWith(u'='))
        key.chop(1);
    return key;
}

} // namespace

workspace::Result<QStringList> pinnedHostKeys(const QString &value)
{
    // 43 characters of base64 for 32 bytes, "=" padding allowed.
    static const QRegularExpression word(uR"((?:^|\s)(SHA256:[A-Za-z0-9+/]{43}=?)(?:\s|$))"_s);
    QStringList keys;
    for (const QString &item : value.split(u',', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = word.match(item);
        if (!match.hasMatch())
            return workspace::refuse(u"la clé cle_hote de publication.ini contient « %1 » : elle doit donner l'empreinte "
                                     u"de la clé d'hôte du serveur, « SHA256: » suivi de 43 caractères, telle que "
                                     u"« ssh-keygen -lf » l'écrit (plusieurs séparées par des virgules)"_s.arg(item.trimmed()));
        keys.append(withoutPadding(match.captured(1)));
    }
    if (keys.isEmpty())
        return workspace::refuse(u"la clé cle_hote de publication.ini ne donne aucune empreinte"_s);
    return keys;
}

bool sameHostKey(const QString &shown, const QStringList &pinned)
{
    return pinned.contains(withoutPadding(shown));
}

QString sftpPath(const QString &loginFolder, const QString &currentFolder, const QString &remotePath)
{
    const QStringList login = loginFolder.split(u'/', Qt::SkipEmptyParts);
    QStringList parts = remotePath.startsWith(u'/') ? login : currentFolder.split(u'/', Qt::SkipEmptyParts);
    for (const QString &part : remotePath.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"."_s)
            continue;
        if (part == u".."_s) {
            // Never above the login folder, as an FTP server keeps its account.
            if (parts.size() > login.size())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    QString path = u'/' + parts.join(u'/');
    if (remotePath.endsWith(u'/') && !path.endsWith(u'/'))
        path += u'/';
    return path;
}

QByteArray sftpArgument(const QString &path)
{
    QByteArray quoted = path.toUtf8();
    quoted.replace('\\', "\\\\");
    quoted.replace('"', "\\\"");
    return '"' + quoted + '"';
}

QString sftpLoginFolder(const QByteArray &pwdReply)
{
    if (!pwdReply.startsWith("257 \""))
        return {};
    const qsizetype end = pwdReply.lastIndexOf('"');
    if (end <= 5)
        return {};
    QString folder = QString::fromUtf8(pwdReply.mid(5, end - 5));
    if (!folder.startsWith(u'/'))
        return {};
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace publishing
