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
    result.host = required(settings, u"hote"_s, u"l'hôte du serveur"_s, path).trimmed();
    result.port = number(settings, u"port"_s, 21, 1, 65535, path);
    // No account would mean an anonymous login.
    result.user = required(settings, u"utilisateur"_s, u"l'utilisateur du serveur"_s, path);
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
    const QString certificat = text(settings, u"certificat"_s).trimmed();
    if (!certificat.isEmpty())
        result.certificat = QDir(workingFolder).absoluteFilePath(certificat);
    return result;
}

} // namespace publishing
