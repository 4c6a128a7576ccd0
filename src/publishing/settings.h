#pragma once

#include "publishing/ftpclient.h"
#include "workspace/failure.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringList>

// The publishing host of the installation, read from publication.ini in the
// working folder each time a connection is opened:
//   [publication]
//   hote=ftp.example.org        (required)
//   port=21                     (21 when missing)
//   utilisateur=classe          (required)
//   mot_de_passe=secret         (required)
//   adresse_web=www.example.org (required: host and port; http:// or https:// may lead)
//   tls=non                     (oui: explicit FTPS, certificate verified)
//   delai=20                    (seconds without an answer before giving up)
//   certificat=                 (optional: PEM file of the authorities to trust)
//   protocole=ftp               (sftp: SSH's file transfer, port 22 when missing)
//   cle_hote=SHA256:...         (sftp: the host keys' fingerprints, as ssh-keygen -lf prints them, comma-separated)
//   cle_privee=                 (sftp, optional: a private key file; the password is then optional)
//   reseau_classe=non           (oui: the program's own host serves the pupils' code folders on the local network too)
namespace publishing {

inline constexpr QLatin1StringView PublicationIni = QLatin1StringView("publication.ini");

// publication.ini cannot be used: missing, unreadable, a key missing or wrong.
// Its French text names the file and the key, never the password. The reason
// alone, and the file, serve whoever tells it another way (the launcher of
// the local host).
class SettingsError : public workspace::Failure
{
public:
    SettingsError(QString message, QString reason, QString file = {})
        : Failure(std::move(message))
        , m_reason(std::move(reason))
        , m_file(std::move(file))
    {
    }

    // "publication.ini ne donne pas le mot de passe du serveur (clé mot_de_passe du groupe [publication])"
    const QString &reason() const { return m_reason; }
    // publication.ini's path; empty when the file is not the cause.
    const QString &file() const { return m_file; }

private:
    QString m_reason;
    QString m_file;
};

struct PublicationSettings
{
    QString host;
    int port = 21;
    QString user;
    QString password;
    QString adresse_web;
    bool tls = false;
    int delai = 20;
    QString certificat;
    Protocol protocole = Protocol::Ftp;
    QStringList cle_hote; // {"SHA256:..."}; empty when the file gives none
    QString cle_privee; // an absolute path; empty when the file gives none
    bool reseau_classe = false;

    // The login of the FTP client, in passive mode.
    FtpLogin login() const;
};

// The root of every address of the web server, from adresse_web, without a
// "/" at its end: a host and port is an http address, and an address written
// with its scheme keeps it, in lower case.
// "www.ecole.fr" -> "http://www.ecole.fr", "HTTPS://www.ecole.fr/" -> "https://www.ecole.fr"
QString webRoot(const QString &adresseWeb);

// Reads workingFolder/publication.ini. A missing file, a required key missing
// or empty (a web address that is a scheme alone too), a host, user, password
// or web address holding a control character
// (a line break would end an FTP command), or a value that is not understood
// raises SettingsError.
PublicationSettings readPublicationSettings(const QString &workingFolder);

// publication.ini's bytes with key=value in [publication]: the line of the
// key replaced where there is one, else a line added after the group's
// header; every other line kept byte for byte, CR LF line ends.
// ("[publication]\r\nhote=x\r\n", "reseau_classe", "oui") -> "[publication]\r\nreseau_classe=oui\r\nhote=x\r\n"
QByteArray withPublicationKey(const QByteArray &ini, const QString &key, const QString &value);

} // namespace publishing
