#include "settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

[[noreturn]] void refuse(const QString &path, const QString &why)
{
    throw SettingsError(u"Connexion au serveur de publication impossible : %1 (fichier %2)."_s.arg(why, path), why, path);
}

// An INI value holding a comma comes back as a list: put it together again.
QString text(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

// Qt's reader turns "\r\n" inside a quoted value into a real line break; such
// a value would end an FTP command and start another.
bool holdsControlCharacter(const QString &value)
{
    for (const QChar ch : value) {
        if (ch.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

[[noreturn]] void missing(const QString &path, const QString &key, const QString &what)
{
    refuse(path, u"publication.ini ne donne pas %1 (clé %2 du groupe [publication])"_s.arg(what, key));
}

// The value of a key that must be given; the text never quotes the value, which
// may be the password.
QString required(const QSettings &settings, const QString &key, const QString &what, const QString &path)
{
    const QString value = text(settings, key);
    if (value.trimmed().isEmpty())
        missing(path, key, what);
    if (holdsControlCharacter(value))
        refuse(path, u"la clé %1 de publication.ini contient un caractère de contrôle (un saut de ligne, par exemple) : "
                     u"rien n'est envoyé au serveur"_s.arg(key));
    return value;
}

int number(const QSettings &settings, const QString &key, int fallback, int low, int high, const QString &path)
{
    const QString value = text(settings, key).trimmed();
    if (value.isEmpty())
        return fallback;
    bool ok = false;
    const int result = value.toInt(&ok);
    if (!ok || result < low || result > high)
        refuse(path, u"la valeur « %1 » de la clé %2 n'est pas un nombre entre %3 et %4"_s.arg(value, key).arg(low).arg(high));
    return result;
}

// The scheme an address starts with, as written; empty when it has none.
QStringView schemeOf(QStringView address)
{
    for (const QStringView scheme : {u"http://", u"https://"}) {
        if (address.startsWith(scheme, Qt::CaseInsensitive))
            return address.first(scheme.size());
    }
    return {};
}

// The address without its scheme and without "/" at its end.
QStringView siteOf(QStringView address)
{
    QStringView site = address.sliced(schemeOf(address).size());
    while (site.endsWith(u'/'))
        site.chop(1);
    return site;
}

// The keys of the SFTP protocol: protocole, cle_hote and cle_privee. Read
// before the port and the password, whose rules they change.
void readTransport(const QSettings &settings, const QString &workingFolder, const QString &path,
                   PublicationSettings &result)
{
    const QString protocole = text(settings, u"protocole"_s).trimmed().toLower();
    if (protocole != u"ftp"_s && protocole != u"sftp"_s && !protocole.isEmpty())
        refuse(path, u"la clé protocole de publication.ini vaut « %1 » au lieu de ftp ou sftp"_s.arg(protocole));
    result.protocole = protocole == u"sftp"_s ? Protocol::Sftp : Protocol::Ftp;
    const QString cleHote = text(settings, u"cle_hote"_s).trimmed();
    const QString clePrivee = text(settings, u"cle_privee"_s).trimmed();
    if (result.protocole != Protocol::Sftp) {
        if (!cleHote.isEmpty() || !clePrivee.isEmpty())
            refuse(path, u"les clés cle_hote et cle_privee de publication.ini ne servent qu'avec protocole=sftp"_s);
        return;
    }
    if (text(settings, u"tls"_s).trimmed().toLower() == u"oui"_s)
        refuse(path, u"tls=oui (FTPS) et protocole=sftp ne vont pas ensemble : SFTP chiffre déjà tout, mettez tls=non"_s);
    // A missing key is no refusal here: the connection refuses it, giving the
    // key the host shows.
    if (!cleHote.isEmpty()) {
        const workspace::Result<QStringList> pinned = pinnedHostKeys(cleHote);
        if (!pinned)
            refuse(path, pinned.reason());
        result.cle_hote = *pinned;
    }
    if (!clePrivee.isEmpty()) {
        result.cle_privee = QDir::cleanPath(QDir(workingFolder).absoluteFilePath(clePrivee));
        if (!QFileInfo(result.cle_privee).isFile())
            refuse(path, u"la clé privée « %1 » (clé cle_privee de publication.ini) est introuvable"_s.arg(result.cle_privee));
    }
}

} // namespace

QString webRoot(const QString &adresseWeb)
{
    const QStringView scheme = schemeOf(adresseWeb);
    return (scheme.isEmpty() ? u"http://"_s : scheme.toString().toLower()) + siteOf(adresseWeb).toString();
}

FtpLogin PublicationSettings::login() const
{
    FtpLogin result;
    result.host = host;
    result.port = port;
    result.user = user;
    result.password = password;
    result.passive = true;
    result.tls = tls;
    result.caFile = certificat;
    result.timeoutSeconds = delai;
    result.protocol = protocole;
    result.hostKeys = cle_hote;
    result.privateKey = cle_privee;
    return result;
}

PublicationSettings readPublicationSettings(const QString &workingFolder)
{
    const QString path = QDir::toNativeSeparators(QDir(workingFolder).filePath(PublicationIni));
    if (!QFileInfo(path).isFile())
        refuse(path, u"publication.ini est introuvable dans le dossier de travail"_s);
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        refuse(path, u"publication.ini ne peut pas être lu"_s);
    settings.beginGroup(u"publication"_s);

    PublicationSettings result;
    readTransport(settings, workingFolder, path, result);
    result.host = required(settings, u"hote"_s, u"l'hôte du serveur"_s, path).trimmed();
    result.port = number(settings, u"port"_s, defaultPort(result.protocole), 1, 65535, path);
    // No account would mean an anonymous login.
    result.user = required(settings, u"utilisateur"_s, u"l'utilisateur du serveur"_s, path);
    // An SFTP login with a key file may have no password.
    if (result.cle_privee.isEmpty() || !text(settings, u"mot_de_passe"_s).isEmpty())
        result.password = required(settings, u"mot_de_passe"_s, u"le mot de passe du serveur"_s, path);
    // Without it every link of the class page and the address of the table of
    // contents would be "http:///Orvane_...".
    const QString webWhat = u"l'adresse web du serveur"_s;
    result.adresse_web = required(settings, u"adresse_web"_s, webWhat, path).trimmed();
    if (siteOf(result.adresse_web).isEmpty())
        missing(path, u"adresse_web"_s, webWhat); // "http://" alone
    const QString tls = text(settings, u"tls"_s).trimmed().toLower();
    if (tls != u"oui"_s && tls != u"non"_s && !tls.isEmpty())
        refuse(path, u"la clé tls de publication.ini vaut « %1 » au lieu de oui ou non"_s.arg(tls));
    result.tls = tls == u"oui"_s;
    result.delai = number(settings, u"delai"_s, 20, 1, 3600, path);
    const QString classroom = text(settings, u"reseau_classe"_s).trimmed().toLower();
    if (classroom != u"oui"_s && classroom != u"non"_s && !classroom.isEmpty())
        refuse(path, u"la clé reseau_classe de publication.ini vaut « %1 » au lieu de oui ou non"_s.arg(classroom));
    result.reseau_classe = classroom == u"oui"_s;
    const QString certificat = text(settings, u"certificat"_s).trimmed();
    if (!certificat.isEmpty())
        result.certificat = QDir(workingFolder).absoluteFilePath(certificat);
    return result;
}

QByteArray withPublicationKey(const QByteArray &ini, const QString &key, const QString &value)
{
    const QByteArray line = key.toUtf8() + '=' + value.toUtf8();
    QList<QByteArray> lines = ini.split('\n');
    bool inGroup = false;
    qsizetype header = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray trimmed = lines[i].trimmed();
        if (trimmed.startsWith('[')) {
            inGroup = trimmed.toLower() == "[publication]";
            if (inGroup && header < 0)
                header = i;
            continue;
        }
        const qsizetype equals = trimmed.indexOf('=');
        if (inGroup && equals > 0 && trimmed.first(equals).trimmed().toLower() == key.toUtf8()) {
            lines[i] = line + (lines[i].endsWith('\r') ? "\r" : "");
            return lines.join('\n');
        }
    }
    if (header < 0)
        return ini + (ini.isEmpty() || ini.endsWith('\n') ? "" : "\r\n") + "[publication]\r\n" + line + "\r\n";
    lines.insert(header + 1, line + '\r');
    return lines.join('\n');
}

} // namespace publishing
