#include "host.h"

#include "workspace/cp1252.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace localhost {

namespace {

constexpr int FirstPort = 20000;
constexpr int LastPort = 32767;

[[noreturn]] void refuse(const QString &workingFolder, const QString &why)
{
    const QString path = QDir::toNativeSeparators(QDir(workingFolder).filePath(publishing::PublicationIni));
    throw publishing::SettingsError(u"Le fichier %1 ne convient pas au serveur de publication local : %2."_s.arg(path, why), why, path);
}

// "127.0.0.1:8000" -> 8000, "localhost" -> 80; 0 when the address is not
// this computer's host and a port.
int webPortOf(const QString &address)
{
    const qsizetype colon = address.lastIndexOf(u':');
    const QString host = colon < 0 ? address : address.left(colon);
    if (!namesThisComputer(host))
        return 0;
    if (colon < 0)
        return 80;
    bool ok = false;
    const int port = address.mid(colon + 1).toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? port : 0;
}

bool writeAll(int fd, const QByteArray &content)
{
    qsizetype written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + written, size_t(content.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return ::fsync(fd) == 0;
}

// Puts the finished file in place unless one is there already; false then.
bool placeWithoutReplacing(const QByteArray &temporary, const QByteArray &target, const QString &path)
{
    if (::link(temporary.constData(), target.constData()) == 0) {
        ::unlink(temporary.constData());
        return true;
    }
    const int error = errno;
    if (error == EEXIST) {
        ::unlink(temporary.constData());
        return false;
    }
    // A file system without hard links (a FAT memory stick).
    if ((error == EPERM || error == EOPNOTSUPP) && !QFileInfo::exists(path)
        && ::rename(temporary.constData(), target.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    throw workspace::IoError::cannotWrite(path);
}

QString notDone(const QString &what, const QString &cause, const QString &remedy)
{
    const QString told = u"Le serveur de publication local de ce dossier de travail n'a pas pu être %1 : %2."_s.arg(what, cause);
    return remedy.isEmpty() ? told : told + u' ' + remedy;
}

} // namespace

QString hostNotStarted(const QString &cause, const QString &remedy)
{
    return notDone(u"démarré"_s, cause, remedy);
}

QString hostNotStopped(const QString &cause, const QString &remedy)
{
    return notDone(u"arrêté"_s, cause, remedy);
}

QString whatIsPublished(const LocalHost &host, const QString &networkAddress)
{
    const QString web = u"http://127.0.0.1:%1"_s.arg(host.webPort);
    const QString told =
        u"Y sont publiés, pour chaque élève, ses documents avec leurs images et leur feuille de style, et sa table "
        u"des matières, à l'adresse %1/Orvane_<VILLE>_<ECOLE>_<CLASSE>/<code de l'élève>/_Tablematieres.html (le code "
        u"est tiré au hasard à l'enregistrement ; avec adresses=noms dans publication.ini, c'est le nom de l'élève), "
        u"ainsi que la page de la classe, %1/Orvane_<VILLE>_<ECOLE>_<CLASSE>/index.html. "_s.arg(web);
    const QString robots = u"les moteurs de recherche sont priés de ne rien en indexer (%1/robots.txt)."_s.arg(web);
    if (!host.classroom)
        return told + u"Ces adresses ne sont joignables que depuis cet ordinateur, et "_s + robots;
    const QString network = networkAddress.isEmpty() ? u"<adresse de cet ordinateur>"_s : networkAddress;
    return told + u"Sur le réseau local (reseau_classe=oui), les tablettes lisent, sans rien pouvoir y changer, les "
                  u"seuls dossiers nommés par le code d'un élève, à l'adresse http://%1:%2/Orvane_<VILLE>_<ECOLE>_<CLASSE>/"
                  u"<code de l'élève>/_Tablematieres.html ; ni la page de la classe ni aucune liste de dossiers n'y est "
                  u"servie, et un appareil qui demande 20 adresses inconnues en une minute attend une minute. Le serveur "
                  u"FTP reste joignable depuis cet ordinateur seulement, et "_s.arg(network).arg(host.webPort)
           + robots;
}

bool namesThisComputer(const QString &host)
{
    return host == u"127.0.0.1"_s || host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0;
}

LocalHost localHostOf(const QString &workingFolder, const publishing::PublicationSettings &settings)
{
    Q_ASSERT(namesThisComputer(settings.host));
    if (settings.protocole != publishing::Protocol::Ftp)
        refuse(workingFolder, u"le serveur local ne parle pas SFTP ; mettez protocole=ftp (il n'écoute que sur cet ordinateur)"_s);
    if (settings.tls)
        refuse(workingFolder, u"le serveur local ne parle pas FTPS ; mettez tls=non (il n'écoute que sur cet ordinateur)"_s);
    LocalHost host;
    host.workingFolder = workingFolder;
    host.servedFolder = workingFolder + u"-publication"_s;
    host.ftpPort = settings.port;
    // The local web server speaks plain http.
    const QString root = publishing::webRoot(settings.adresse_web);
    const QString http = u"http://"_s;
    host.webPort = root.startsWith(http) ? webPortOf(root.mid(http.size())) : 0;
    host.user = settings.user;
    host.password = settings.password;
    host.classroom = settings.reseau_classe;
    // A server lets these names in with any password: every user of this
    // computer could then store files that the web server serves.
    for (const QLatin1StringView anonymous : {"anonymous"_L1, "ftp"_L1}) {
        if (host.user.trimmed().compare(anonymous, Qt::CaseInsensitive) == 0)
            refuse(workingFolder, u"l'utilisateur « %1 » (clé utilisateur) est anonyme : n'importe quel utilisateur de cet "
                                  u"ordinateur pourrait publier avec lui ; donnez un autre nom"_s.arg(host.user.trimmed()));
    }
    if (host.webPort == 0)
        refuse(workingFolder, u"la clé adresse_web vaut « %1 » au lieu de 127.0.0.1 ou localhost suivi de « : » et d'un port"_s
                                  .arg(settings.adresse_web));
    if (host.webPort == host.ftpPort)
        refuse(workingFolder, u"les clés port et adresse_web donnent le même port, %1, au serveur FTP et au serveur web"_s.arg(
                                  host.ftpPort));
    return host;
}

bool isProgramsOwnIni(const QString &workingFolder)
{
    const QString path = QDir(workingFolder).filePath(publishing::PublicationIni);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    // Far more than any publication.ini; a huge file is not the program's.
    const QByteArray content = file.read(64 * 1024);
    // As every earlier version wrote it, to the byte.
    static const QRegularExpression earlier(
        u"^\\[publication\\]\r\nhote=127\\.0\\.0\\.1\r\nport=\\d+\r\nutilisateur=tessavo\r\nmot_de_passe=[0-9a-f]{16}\r\n"
        u"adresse_web=127\\.0\\.0\\.1:\\d+\r\ntls=non\r\ndelai=20\r\n$"_s);
    if (earlier.match(QString::fromLatin1(content)).hasMatch())
        return true;
    QSettings settings(path, QSettings::IniFormat);
    return settings.status() == QSettings::NoError
           && settings.value(u"publication/serveur_local"_s).toString().trimmed().compare(u"oui"_s, Qt::CaseInsensitive) == 0;
}

QByteArray freshPublicationIni(int ftpPort, int webPort, const QString &password)
{
    return "[publication]\r\n"
           + workspace::toWindows1252(u"; Écrit par Tessavo pour son serveur de publication local, sur cet ordinateur. "
                                     u"Pour publier vers un autre serveur, remplacez ce fichier par le vôtre, sans la "
                                     u"ligne serveur_local."_s)
           + "\r\nserveur_local=oui\r\nhote=127.0.0.1\r\nport=" + QByteArray::number(ftpPort)
           + "\r\nutilisateur=tessavo\r\nmot_de_passe=" + password.toLatin1() + "\r\nadresse_web=127.0.0.1:"
           + QByteArray::number(webPort) + "\r\ntls=non\r\ndelai=20\r\n";
}

QString randomPassword()
{
    return QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
}

bool writeFreshPublicationIni(const QString &workingFolder, const QByteArray &content)
{
    const QString path = QDir(workingFolder).filePath(publishing::PublicationIni);
    const QByteArray target = QFile::encodeName(path);
    // mkstemp makes the file for its owner alone (0600) before any byte.
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        throw workspace::IoError::cannotWrite(path);
    const bool written = ::fchmod(fd, 0600) == 0 && writeAll(fd, content);
    if (::close(fd) != 0 || !written) {
        ::unlink(temporary.constData());
        throw workspace::IoError::cannotWrite(path);
    }
    return placeWithoutReplacing(temporary, target, path);
}

std::pair<int, int> choosePorts(const std::function<bool(int)> &isFree, const QList<int> &taken)
{
    QList<int> chosen;
    constexpr int count = LastPort - FirstPort + 1;
    const int first = int(QRandomGenerator::global()->bounded(count));
    for (int step = 0; step < count && chosen.size() < 2; ++step) {
        const int port = FirstPort + (first + step) % count;
        if (!taken.contains(port) && isFree(port))
            chosen.append(port);
    }
    if (chosen.size() < 2) {
        const QString why = u"aucun port libre n'a été trouvé entre %1 et %2"_s.arg(FirstPort).arg(LastPort);
        throw publishing::SettingsError(u"Aucun port libre n'a été trouvé entre %1 et %2 pour le serveur de publication local."_s
                                .arg(FirstPort)
                                .arg(LastPort),
                            why);
    }
    return {chosen.at(0), chosen.at(1)};
}

} // namespace localhost
