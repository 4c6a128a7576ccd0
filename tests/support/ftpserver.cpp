#include "ftpserver.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace fakes {

FtpServer::FtpServer()
    : FtpServer(Options())
{
}

FtpServer::FtpServer(const Options &options)
    : m_options(options)
{
    QDir(m_folder.path()).mkpath(u"root"_s);
    QStringList arguments{QStringLiteral(TESSAVO_FTPSERVER_SCRIPT), u"--root"_s, root(), u"--user"_s, u"eleve"_s,
                          u"--password"_s, u"s3cret,pw"_s, u"--perm"_s, options.permissions};
    if (options.tls)
        arguments << u"--cert-dir"_s << m_folder.path();
    if (options.resetData)
        arguments << u"--reset-data"_s;
    m_process.setStandardErrorFile(m_folder.filePath(u"server.log"_s));
    m_process.start(u"/usr/bin/python3"_s, arguments);
    QByteArray line;
    while (!line.contains('\n') && m_process.waitForReadyRead(10000))
        line += m_process.readAllStandardOutput();
    if (line.startsWith("PORT "))
        m_port = line.mid(5).trimmed().toInt();
    if (m_port == 0) {
        QFile log(m_folder.filePath(u"server.log"_s));
        log.open(QIODevice::ReadOnly);
        m_error = u"the FTP server did not start: "_s + QString::fromUtf8(log.readAll());
    }
}

FtpServer::~FtpServer()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

QString FtpServer::root() const
{
    return m_folder.filePath(u"root"_s);
}

QString FtpServer::file(const QString &relative) const
{
    return root() + u'/' + relative;
}

QString FtpServer::certificate() const
{
    return m_options.tls ? m_folder.filePath(u"cert.pem"_s) : QString();
}

publishing::FtpLogin FtpServer::login() const
{
    publishing::FtpLogin login;
    login.host = u"127.0.0.1"_s;
    login.port = m_port;
    login.user = u"eleve"_s;
    login.password = u"s3cret,pw"_s;
    login.tls = m_options.tls;
    login.caFile = certificate();
    login.timeoutSeconds = 5;
    return login;
}

void FtpServer::writePublicationIni(const QString &folder, const QString &webAddress, int delai,
                                    Addresses addresses) const
{
    QFile ini(QDir(folder).filePath(u"publication.ini"_s));
    ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QTextStream out(&ini);
    out << "[publication]\n"
        << "hote=127.0.0.1\n"
        << "port=" << m_port << "\n"
        << "utilisateur=eleve\n"
        << "mot_de_passe=\"s3cret,pw\"\n"
        << "adresse_web=" << webAddress << "\n"
        << "tls=" << (m_options.tls ? "oui" : "non") << "\n"
        << "delai=" << delai << "\n";
    if (m_options.tls)
        out << "certificat=" << certificate() << "\n";
    if (addresses == Addresses::Named)
        out << "adresses=noms\n";
}

} // namespace fakes
