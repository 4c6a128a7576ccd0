#include "curlftpclient.h"

#include "publishing/changedfiles.h"
#include "publishing/transport.h"
#include "workspace/ioerror.h"

#include <QFile>
#include <QScopeGuard>
#include <QUrl>

#include <algorithm>

#include <curl/curl.h>

using namespace Qt::StringLiterals;

// Off unless QT_LOGGING_RULES turns it on ("tessavo.*=true").
Q_LOGGING_CATEGORY(lcFtp, "tessavo.ftp", QtWarningMsg)

namespace platform {

using publishing::FtpClient;
using publishing::FtpError;
using publishing::FtpLogin;

namespace {

// Logs what went over the control connection, commands and replies only,
// line by line, the password hidden; keeps the last reply for the failure
// texts. libcurl's own remarks stay out: scripts read this log.
int onDebug(CURL *, curl_infotype type, char *data, size_t size, void *lastReply)
{
    if (type != CURLINFO_HEADER_IN && type != CURLINFO_HEADER_OUT)
        return 0;
    const QByteArray chunk(data, qsizetype(size));
    // The whole command, whatever it holds after the word: no part of the
    // password is ever logged.
    if (type == CURLINFO_HEADER_OUT && chunk.startsWith("PASS ")) {
        qCInfo(lcFtp).noquote() << u"> PASS ****"_s;
        return 0;
    }
    const QList<QByteArray> lines = chunk.split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (type == CURLINFO_HEADER_OUT) {
            qCInfo(lcFtp).noquote() << u"> "_s + QString::fromUtf8(line);
        } else if (type == CURLINFO_HEADER_IN) {
            qCInfo(lcFtp).noquote() << u"< "_s + QString::fromUtf8(line);
            if (line.size() >= 4 && line[3] == ' ')
                *static_cast<QByteArray *>(lastReply) = line;
        }
    }
    return 0;
}

size_t readFromFile(char *buffer, size_t size, size_t count, void *file)
{
    const qint64 read = static_cast<QFile *>(file)->read(buffer, qint64(size * count));
    return read < 0 ? CURL_READFUNC_ABORT : size_t(read);
}

// Tells the client's progress function how far the upload has gone.
int onTransfer(void *progress, curl_off_t, curl_off_t, curl_off_t total, curl_off_t sent)
{
    (*static_cast<FtpClient::Progress *>(progress))(qint64(sent), qint64(total));
    return 0;
}

// Has the progress function told of the next request, or of none.
void followProgress(CURL *curl, FtpClient::Progress *progress)
{
    if (progress && *progress) {
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onTransfer);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, progress);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    } else {
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 1L);
    }
}

size_t discard(char *, size_t size, size_t count, void *)
{
    return size * count;
}

size_t collect(char *data, size_t size, size_t count, void *bytes)
{
    static_cast<QByteArray *>(bytes)->append(data, qsizetype(size * count));
    return size * count;
}

bool holdsControlCharacter(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.category() == QChar::Other_Control; });
}

// A remote path is sent as it is: a control character (CR, LF) would end the
// command and start another, so such a path is never sent.
void refuseControlCharacters(const QString &path)
{
    if (holdsControlCharacter(path))
        throw FtpError(u"Le chemin distant « %1 » contient un caractère de contrôle : il n'est pas envoyé."_s.arg(path));
}

// The same for the login, whose text is not quoted: it may be the password.
void refuseControlCharacters(const FtpLogin &login)
{
    if (holdsControlCharacter(login.host) || holdsControlCharacter(login.user) || holdsControlCharacter(login.password))
        throw FtpError(u"Connexion au serveur de publication impossible : l'hôte, l'utilisateur ou le mot de passe "
                       u"contient un caractère de contrôle (un saut de ligne, par exemple). Rien n'est envoyé."_s);
}

// The host key that an SFTP host must show, and the one it showed.
struct HostKeyCheck
{
    QStringList pinned; // {"SHA256:..."}; empty: every key is refused
    QString shown;
    QString type;   // "ED25519"
};

// libcurl asks before logging in: a key other than the pinned one, or any
// key when none is pinned, ends the connection. Nothing is ever learnt
// silently.
int onHostKey(void *check, int type, const char *key, size_t length)
{
    auto *hostKey = static_cast<HostKeyCheck *>(check);
    hostKey->shown = publishing::hostKeyFingerprint(QByteArray(key, qsizetype(length)));
    hostKey->type = publishing::hostKeyType(type);
    qCInfo(lcFtp).noquote() << u"< clé d'hôte %1 (%2)"_s.arg(hostKey->shown, hostKey->type);
    return publishing::sameHostKey(hostKey->shown, hostKey->pinned) ? CURLKHMATCH_OK : CURLKHMATCH_MISMATCH;
}

// The program's own local host shows in its greeting that it is the one
// expected, before libcurl sends the login: a greeting that does not stops
// the connection there.
struct OwnHostCheck
{
    CURL *curl = nullptr;
    const FtpLogin *login = nullptr;
    bool greeted = false;
    QString refused;
};

size_t onReply(char *data, size_t size, size_t count, void *check)
{
    auto *own = static_cast<OwnHostCheck *>(check);
    const QByteArray line(data, qsizetype(size * count));
    // The greeting's last line: "220 " after any "220-" lines.
    if (own->greeted || !line.startsWith("220 "))
        return size * count;
    own->greeted = true;
    char *address = nullptr;
    long port = 0;
    curl_easy_getinfo(own->curl, CURLINFO_LOCAL_IP, &address);
    curl_easy_getinfo(own->curl, CURLINFO_LOCAL_PORT, &port);
    own->refused = own->login->ownHostGreeting(line, QString::fromLatin1(address), int(port));
    return own->refused.isEmpty() ? size * count : 0;
}

} // namespace

struct CurlFtpClient::Handle
{
    CURL *curl = curl_easy_init();
    // Holds the connection between transfers.
    CURLM *multi = curl_multi_init();
    QByteArray base;      // "ftp://host:port/"
    QByteArray lastReply; // the last reply line: "550 No such file or directory."
    char error[CURL_ERROR_SIZE] = {};
    bool loggedIn = false;
    bool noMlsd = false;  // the host answered MLSD as a command it does not know
    CURLcode lastResult = CURLE_OK;
    QStringList folders;  // FTP: the changeDir() calls since the login, in order
    // SFTP: the login folder and the current folder, whole paths ending
    // with "/", and the host key.
    QString loginFolder;
    QString currentFolder;
    HostKeyCheck hostKey;
    OwnHostCheck ownHost;

    ~Handle()
    {
        curl_multi_remove_handle(multi, curl);
        curl_easy_cleanup(curl);
        curl_multi_cleanup(multi); // sends QUIT on an open connection
    }

    // One transfer. The handle stays in the multi afterwards, so that the
    // connection can still be asked about.
    CURLcode run()
    {
        curl_multi_remove_handle(multi, curl);
        if (curl_multi_add_handle(multi, curl) != CURLM_OK)
            return CURLE_FAILED_INIT;
        int running = 1;
        while (running) {
            if (curl_multi_perform(multi, &running) != CURLM_OK)
                return CURLE_FAILED_INIT;
            // libcurl 7.88 may wait a whole second before the passive data
            // connection it has just opened, at each file; a short wait
            // keeps it moving without waking more than needed.
            if (running)
                curl_multi_poll(multi, nullptr, 0, 10, nullptr);
        }
        CURLcode result = CURLE_OK;
        int left = 0;
        while (CURLMsg *message = curl_multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == curl)
                result = message->data.result;
        }
        return result;
    }
};

CurlFtpClient::CurlFtpClient() = default;

CurlFtpClient::~CurlFtpClient() = default;

bool CurlFtpClient::connected() const
{
    if (!m_handle || !m_handle->loggedIn)
        return false;
    curl_socket_t socket = CURL_SOCKET_BAD;
    curl_easy_getinfo(m_handle->curl, CURLINFO_ACTIVESOCKET, &socket);
    return socket != CURL_SOCKET_BAD;
}

void CurlFtpClient::disconnect()
{
    m_handle.reset();
}

void CurlFtpClient::connect(const FtpLogin &login)
{
    disconnect();
    refuseControlCharacters(login);
    m_login = login;
    m_handle = std::make_unique<Handle>();
    CURL *curl = m_handle->curl;
    const QString host = login.host.contains(u':') ? u'[' + login.host + u']' : login.host;
    m_handle->base = QByteArray(sftp() ? "sftp://" : "ftp://") + QUrl::toPercentEncoding(host, "[]:") + ':'
                     + QByteArray::number(login.port) + '/';
    const QByteArray user = login.user.toUtf8();
    const QByteArray password = login.password.toUtf8();
    const QByteArray caFile = login.caFile.toLocal8Bit();
    const long seconds = std::max(1, login.timeoutSeconds);

    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, m_handle->error);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, onDebug);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &m_handle->lastReply);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 1L);
    curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_IPRESOLVE, CURL_IPRESOLVE_V4);
    // "../" reaches the server as typed, and no CWD of libcurl's own moves
    // the current remote folder: only changeDir() does.
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
    if (!login.passive)
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");
    if (login.tls) {
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
        curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS));
        // Servers that require each data connection to resume the TLS session
        // of the control connection (vsftpd's default) refuse the second file
        // with "522 session reuse required" when TLS 1.3 is spoken: libcurl
        // then resumes the session of the previous data connection instead.
        curl_easy_setopt(curl, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2) | long(CURL_SSLVERSION_MAX_TLSv1_2));
        if (!caFile.isEmpty())
            curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.constData());
    }
    // A host that accepts the connection and never answers gives up too.
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, seconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, seconds);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    const QByteArray ownHostSource = login.ownHostSource.toLatin1();
    if (login.ownHostGreeting && !sftp()) {
        m_handle->ownHost = {curl, &m_login, false, {}};
        curl_easy_setopt(curl, CURLOPT_INTERFACE, ownHostSource.constData());
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onReply);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, &m_handle->ownHost);
    }
    if (sftp()) {
        connectSftp();
        return;
    }

    // Logging in is a request without a transfer on the login folder.
    curl_easy_setopt(curl, CURLOPT_URL, m_handle->base.constData());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    // A slow host is waited for with the progress function told too.
    followProgress(curl, &m_progress);
    // A login that fails leaves no half-open connection behind.
    auto dropOnFailure = qScopeGuard([this] { disconnect(); });
    perform(QString());
    dropOnFailure.dismiss();
    followProgress(curl, nullptr);
    m_handle->loggedIn = true;
}

void CurlFtpClient::requireConnection() const
{
    if (!connected())
        throw FtpError::notConnected();
}

long CurlFtpClient::command(const QByteArray &line)
{
    requireConnection();
    CURL *curl = m_handle->curl;
    // "*": a refusal is a reply like any other, and keeps the connection.
    curl_slist *quote = curl_slist_append(nullptr, "*" + line);
    curl_easy_setopt(curl, CURLOPT_URL, m_handle->base.constData());
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_QUOTE, quote);
    const auto forgetQuote = qScopeGuard([curl, quote] {
        curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
        curl_slist_free_all(quote);
    });
    m_handle->lastReply.clear();
    perform(QString());
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

bool CurlFtpClient::perform(const QString &failureText)
{
    m_handle->error[0] = '\0';
    const CURLcode result = m_handle->run();
    m_handle->lastResult = result;
    if (result == CURLE_OK)
        return true;
    raise(int(result), failureText);
}

void CurlFtpClient::raise(int code, const QString &failureText)
{
    const auto result = CURLcode(code);
    const QString host = u"%1:%2"_s.arg(m_login.host).arg(m_login.port);
    const QString reply = QString::fromUtf8(m_handle->lastReply);
    QString detail = QString::fromUtf8(m_handle->error);
    if (detail.isEmpty())
        detail = QString::fromUtf8(curl_easy_strerror(result));
    QString text;
    // "421 Too many connections": the server said why it closes, which libcurl
    // reports as a time-out.
    if (reply.startsWith(u"421"_s))
        text = u"Le serveur de publication %1 a fermé la connexion (réponse du serveur : %2)."_s.arg(host, reply);
    else switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
        text = u"Le serveur de publication « %1 » est introuvable (clé hote de publication.ini)."_s.arg(m_login.host);
        break;
    case CURLE_COULDNT_CONNECT:
        text = u"Impossible de joindre le serveur de publication %1 : il ne répond pas ou refuse la connexion."_s.arg(host);
        break;
    case CURLE_LOGIN_DENIED:
        text = u"Le serveur de publication %1 a refusé l'utilisateur « %2 » ou son mot de passe (publication.ini)."_s
                   .arg(host, m_login.user);
        break;
    case CURLE_OPERATION_TIMEDOUT:
        text = u"Le serveur de publication %1 n'a pas répondu dans le délai de %2."_s.arg(
            host, m_login.timeoutSeconds == 1 ? u"1 seconde"_s : u"%1 secondes"_s.arg(m_login.timeoutSeconds));
        break;
    case CURLE_USE_SSL_FAILED:
        text = u"Le serveur de publication %1 n'accepte pas la connexion chiffrée (tls = oui dans publication.ini)."_s.arg(host);
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
        text = u"La connexion chiffrée au serveur de publication %1 a échoué : son certificat n'a pas pu être vérifié (%2)."_s
                   .arg(host, detail);
        break;
    // The TLS handshake broke off (a reset, a protocol refused): once logged
    // in, that is a data connection, whose certificate is not in question.
    case CURLE_SSL_CONNECT_ERROR:
        if (m_handle->loggedIn)
            text = (failureText.isEmpty() ? u"La communication avec le serveur de publication %1 a échoué"_s.arg(host)
                                          : failureText)
                   + u" : la connexion de données chiffrée a été coupée ou refusée avant l'envoi ("_s + detail + u')';
        else
            text = u"La connexion chiffrée au serveur de publication %1 a échoué : l'échange qui l'établit a été "
                   u"interrompu (%2)."_s.arg(host, detail);
        break;
    default:
        if (failureText.isEmpty())
            text = u"La communication avec le serveur de publication %1 a échoué : %2."_s.arg(host, detail);
        // The data connection reset or dropped: its cause, not the last
        // reply of the control connection.
        else if ((result == CURLE_SEND_ERROR || result == CURLE_RECV_ERROR) && !reply.startsWith(u'1'))
            text = failureText + u" : la connexion de données a été coupée ("_s + detail + u')';
        // A data connection reset as it opened leaves libcurl's exchange with
        // the server out of step (it tries PASV after EPSV).
        else if (result == CURLE_FTP_WEIRD_PASV_REPLY || result == CURLE_FTP_WEIRD_227_FORMAT
                 || result == CURLE_FTP_CANT_GET_HOST || result == CURLE_FTP_ACCEPT_FAILED
                 || result == CURLE_FTP_ACCEPT_TIMEOUT || result == CURLE_FTP_PORT_FAILED)
            text = failureText + u" : la connexion de données n'a pas pu être ouverte ("_s + detail + u')';
        // "150 Ok to send data." was the last word: the server cut the
        // transfer without saying why (a full disk, a crash, a lost network).
        else if (reply.startsWith(u'1'))
            text = failureText + u" : le serveur a coupé la connexion pendant l'envoi ("_s + detail + u')';
        else if (reply.isEmpty())
            text = failureText + u" ("_s + detail + u')';
        else
            text = failureText + u" (réponse du serveur : "_s + reply + u')';
    }
    if (const QString sftpText = sftpFailureText(result, failureText); !sftpText.isEmpty())
        text = sftpText;
    if (!m_handle->ownHost.refused.isEmpty())
        text = m_handle->ownHost.refused;
    if (!connected() && m_handle)
        m_handle->loggedIn = false;
    throw FtpError(text);
}

void CurlFtpClient::changeDir(const QString &remotePath)
{
    refuseControlCharacters(remotePath);
    if (sftp())
        return changeDirSftp(remotePath);
    const long code = command("CWD " + remotePath.toUtf8());
    if (code / 100 != 2)
        throw FtpError(u"Le dossier distant « %1 » n'existe pas ou ne peut pas être ouvert (réponse du serveur : %2)."_s.arg(
            remotePath, QString::fromUtf8(m_handle->lastReply)));
    m_handle->folders.append(remotePath);
}

void CurlFtpClient::makeDir(const QString &remotePath)
{
    refuseControlCharacters(remotePath);
    if (sftp())
        return makeDirSftp(remotePath);
    const long code = command("MKD " + remotePath.toUtf8());
    if (code / 100 != 2)
        throw FtpError(u"Le serveur de publication n'a pas pu créer le dossier « %1 » (réponse du serveur : %2)."_s.arg(
            remotePath, QString::fromUtf8(m_handle->lastReply)));
}

void CurlFtpClient::put(const QString &localPath, const QString &remotePath)
{
    refuseControlCharacters(remotePath);
    requireConnection();
    const auto once = [&] {
        QFile file(localPath);
        if (!file.open(QIODevice::ReadOnly))
            throw workspace::IoError::cannotRead(localPath);
        CURL *curl = m_handle->curl;
        const QByteArray url = m_handle->base + QUrl::toPercentEncoding(sftp() ? sftpTarget(remotePath) : remotePath, "/");
        curl_easy_setopt(curl, CURLOPT_URL, url.constData());
        curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, readFromFile);
        curl_easy_setopt(curl, CURLOPT_READDATA, &file);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
        followProgress(curl, &m_progress);
        m_handle->lastReply.clear();
        // The next request is no upload, and the file closes with this call.
        const auto restore = qScopeGuard([curl] {
            curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
            curl_easy_setopt(curl, CURLOPT_READDATA, nullptr);
            followProgress(curl, nullptr);
        });
        // SFTP says nothing of its own in the log: the file is named here.
        if (sftp())
            qCInfo(lcFtp).noquote() << u"> put /"_s + sftpTarget(remotePath);
        perform(u"L'envoi de « %1 » vers « %2 » a échoué"_s.arg(localPath, remotePath));
        if (sftp())
            qCInfo(lcFtp).noquote() << u"< ok"_s;
    };
    try {
        once();
    } catch (const FtpError &) {
        // A passive data connection that could not be made (another program
        // took the port, or it closed): once more. libcurl may have closed
        // the connection: it is opened again, in the same remote folder.
        const CURLcode result = m_handle ? m_handle->lastResult : CURLE_OK;
        if (sftp() || (result != CURLE_COULDNT_CONNECT && result != CURLE_FTP_CANT_GET_HOST && result != CURLE_FTP_ACCEPT_FAILED))
            throw;
        qCInfo(lcFtp).noquote() << u"* connexion de données impossible : nouvel essai"_s;
        if (!connected()) {
            const QStringList folders = m_handle->folders;
            connect(FtpLogin(m_login));
            for (const QString &folder : folders)
                changeDir(folder);
        }
        once();
    }
}

std::optional<QByteArray> CurlFtpClient::listing(const QByteArray &verb, const QString &folder, long &refusedCode)
{
    CURL *curl = m_handle->curl;
    const QString path = sftp() ? publishing::sftpPath(m_handle->loginFolder, m_handle->currentFolder, folder) : folder;
    const QByteArray url = m_handle->base + QUrl::toPercentEncoding(sftp() ? path.mid(1) : path, "/");
    QByteArray bytes;
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 0L);
    if (!verb.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, verb.constData());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &bytes);
    const auto restore = qScopeGuard([curl] {
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, nullptr);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, nullptr);
    });
    m_handle->lastReply.clear();
    m_handle->error[0] = '\0';
    if (sftp())
        qCInfo(lcFtp).noquote() << u"> ls "_s + path;
    const CURLcode result = m_handle->run();
    if (result == CURLE_OK) {
        if (sftp())
            qCInfo(lcFtp).noquote() << u"< ok"_s;
        return bytes;
    }
    // A refusal keeps the connection: a folder that is not there, or a
    // command the host does not know.
    if (connected()) {
        if (sftp())
            qCInfo(lcFtp).noquote() << u"< "_s + QString::fromUtf8(m_handle->error);
        refusedCode = m_handle->lastReply.left(3).toLong();
        return std::nullopt;
    }
    raise(int(result), u"La liste du dossier distant « %1 » n'a pas pu être lue"_s.arg(folder));
}

std::optional<QList<publishing::RemoteFile>> CurlFtpClient::list(const QString &remoteFolder)
{
    refuseControlCharacters(remoteFolder);
    requireConnection();
    const QString folder = remoteFolder.endsWith(u'/') ? remoteFolder : remoteFolder + u'/';
    long refused = 0;
    if (sftp())
        return publishing::parseList(listing({}, folder, refused).value_or(QByteArray()));
    if (!m_handle->noMlsd) {
        if (const std::optional<QByteArray> bytes = listing("MLSD", folder, refused))
            return publishing::parseMlsd(*bytes);
        // 500 to 504: the command is not known; anything else is about the folder.
        if (refused < 500 || refused > 504)
            return QList<publishing::RemoteFile>();
        m_handle->noMlsd = true;
    }
    return publishing::parseList(listing("LIST", folder, refused).value_or(QByteArray()));
}

std::optional<QList<publishing::RemoteEntry>> CurlFtpClient::entries(const QString &remoteFolder)
{
    refuseControlCharacters(remoteFolder);
    requireConnection();
    const QString folder = remoteFolder.endsWith(u'/') ? remoteFolder : remoteFolder + u'/';
    long refused = 0;
    if (sftp())
        return publishing::parseEntries(listing({}, folder, refused).value_or(QByteArray()));
    // "LIST -a" shows hidden files too where the host knows the option
    // (vsftpd); a host that takes "-a" for a name refuses it and is asked
    // plainly (pyftpdlib, which shows them anyway).
    if (const std::optional<QByteArray> bytes = listing("LIST -a", folder, refused))
        return publishing::parseEntries(*bytes);
    return publishing::parseEntries(listing("LIST", folder, refused).value_or(QByteArray()));
}

void CurlFtpClient::deleteFile(const QString &remotePath)
{
    refuseControlCharacters(remotePath);
    const QString refused = u"Le serveur de publication n'a pas pu retirer le fichier « %1 »"_s.arg(remotePath);
    if (sftp())
        return sftpCommand("rm", remotePath, refused);
    if (command("DELE " + remotePath.toUtf8()) / 100 != 2)
        throw FtpError(refused + u" (réponse du serveur : %1)."_s.arg(QString::fromUtf8(m_handle->lastReply)));
}

void CurlFtpClient::removeDir(const QString &remotePath)
{
    refuseControlCharacters(remotePath);
    const QString refused = u"Le serveur de publication n'a pas pu retirer le dossier « %1 »"_s.arg(remotePath);
    if (sftp())
        return sftpCommand("rmdir", remotePath, refused);
    if (command("RMD " + remotePath.toUtf8()) / 100 != 2)
        throw FtpError(refused + u" (réponse du serveur : %1)."_s.arg(QString::fromUtf8(m_handle->lastReply)));
}

void CurlFtpClient::setProgress(Progress progress)
{
    m_progress = std::move(progress);
}

bool CurlFtpClient::sftp() const
{
    return m_login.protocol == publishing::Protocol::Sftp;
}

QString CurlFtpClient::sftpTarget(const QString &remotePath) const
{
    return publishing::sftpPath(m_handle->loginFolder, m_handle->currentFolder, remotePath).mid(1);
}

void CurlFtpClient::connectSftp()
{
    CURL *curl = m_handle->curl;
    m_handle->hostKey.pinned = m_login.hostKeys;
    curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYFUNCTION, onHostKey);
    curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYDATA, &m_handle->hostKey);
    // No key file of the account running Tessavo is tried behind its back.
    long methods = CURLSSH_AUTH_PASSWORD;
    if (!m_login.privateKey.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, QFile::encodeName(m_login.privateKey).constData());
        methods = CURLSSH_AUTH_PUBLICKEY | (m_login.password.isEmpty() ? 0 : CURLSSH_AUTH_PASSWORD);
    }
    curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, methods);
    // Published files and folders are read by the web server.
    curl_easy_setopt(curl, CURLOPT_NEW_FILE_PERMS, 0644L);
    curl_easy_setopt(curl, CURLOPT_NEW_DIRECTORY_PERMS, 0755L);

    // Logging in asks for the login folder, in which every path is kept.
    const QByteArray url = m_handle->base + "~/";
    curl_slist *quote = curl_slist_append(nullptr, "pwd");
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_QUOTE, quote);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    const auto forgetQuote = qScopeGuard([curl, quote] {
        curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
        curl_slist_free_all(quote);
    });
    followProgress(curl, &m_progress);
    auto dropOnFailure = qScopeGuard([this] { disconnect(); });
    perform(QString());
    const QString loginFolder = publishing::sftpLoginFolder(m_handle->lastReply);
    if (loginFolder.isEmpty())
        throw FtpError(u"Le serveur de publication %1:%2 n'a pas donné son dossier de connexion (SFTP)."_s.arg(m_login.host)
                           .arg(m_login.port));
    dropOnFailure.dismiss();
    followProgress(curl, nullptr);
    m_handle->loginFolder = loginFolder;
    m_handle->currentFolder = loginFolder;
    m_handle->loggedIn = true;
}

void CurlFtpClient::performSftp(const QString &refusedText)
{
    m_handle->error[0] = '\0';
    const CURLcode result = m_handle->run();
    m_handle->lastResult = result;
    if (result == CURLE_OK) {
        qCInfo(lcFtp).noquote() << u"< ok"_s;
        return;
    }
    const QString reason = QString::fromUtf8(m_handle->error);
    // libcurl keeps the connection when the host only refused.
    if (connected()) {
        qCInfo(lcFtp).noquote() << u"< "_s + reason;
        throw FtpError(refusedText + u" (réponse du serveur : "_s + reason + u")."_s);
    }
    raise(int(result), QString());
}

void CurlFtpClient::changeDirSftp(const QString &remotePath)
{
    requireConnection();
    const QString folder = publishing::sftpPath(m_handle->loginFolder, m_handle->currentFolder,
                                                remotePath.endsWith(u'/') ? remotePath : remotePath + u'/');
    qCInfo(lcFtp).noquote() << u"> cd "_s + folder;
    // Listing the folder is what tells that it can be entered.
    CURL *curl = m_handle->curl;
    const QByteArray url = m_handle->base + QUrl::toPercentEncoding(folder.mid(1), "/");
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);
    const auto restore = qScopeGuard([curl] { curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 0L); });
    performSftp(u"Le dossier distant « %1 » n'existe pas ou ne peut pas être ouvert"_s.arg(remotePath));
    m_handle->currentFolder = folder;
}

void CurlFtpClient::makeDirSftp(const QString &remotePath)
{
    sftpCommand("mkdir", remotePath, u"Le serveur de publication n'a pas pu créer le dossier « %1 »"_s.arg(remotePath));
}

void CurlFtpClient::sftpCommand(const QByteArray &verb, const QString &remotePath, const QString &refusedText)
{
    requireConnection();
    const QString path = publishing::sftpPath(m_handle->loginFolder, m_handle->currentFolder, remotePath);
    qCInfo(lcFtp).noquote() << u"> "_s + QString::fromLatin1(verb) + u' ' + path;
    CURL *curl = m_handle->curl;
    curl_slist *quote = curl_slist_append(nullptr, verb + ' ' + publishing::sftpArgument(path));
    curl_easy_setopt(curl, CURLOPT_URL, (m_handle->base + "~/").constData());
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_QUOTE, quote);
    const auto forgetQuote = qScopeGuard([curl, quote] {
        curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
        curl_slist_free_all(quote);
    });
    performSftp(refusedText);
}

QString CurlFtpClient::sftpFailureText(int code, const QString &failureText) const
{
    if (!sftp())
        return {};
    const auto result = CURLcode(code);
    const QString host = u"%1:%2"_s.arg(m_login.host).arg(m_login.port);
    const HostKeyCheck &key = m_handle->hostKey;
    if (result == CURLE_PEER_FAILED_VERIFICATION && !key.shown.isEmpty() && key.pinned.isEmpty())
        return u"Le serveur de publication %1 (SFTP) présente la clé d'hôte %2 (%3), mais publication.ini ne donne "
               u"aucune clé à attendre : rien n'a été envoyé. Vérifiez auprès de l'hébergeur que c'est bien la clé de "
               u"son serveur, puis recopiez-la dans publication.ini : cle_hote=%2"_s.arg(host, key.shown, key.type);
    if (result == CURLE_PEER_FAILED_VERIFICATION && !key.shown.isEmpty())
        return u"Le serveur de publication %1 (SFTP) présente la clé d'hôte %2 (%3), %4 (cle_hote=%5) : rien n'a été "
               u"envoyé. Un autre serveur se fait peut-être passer pour lui. Vérifiez la clé auprès de l'hébergeur ; si "
               u"le serveur a vraiment changé de clé, recopiez la nouvelle dans publication.ini : cle_hote=%2"_s.arg(
                   host, key.shown, key.type,
                   key.pinned.size() == 1 ? u"et non celle que publication.ini attend"_s
                                          : u"et aucune de celles que publication.ini attend"_s,
                   key.pinned.join(u", "_s));
    if (result == CURLE_PEER_FAILED_VERIFICATION)
        return u"Le serveur de publication %1 (SFTP) n'a pas montré de clé d'hôte qui puisse être vérifiée : rien n'a "
               u"été envoyé (%2)."_s.arg(host, QString::fromUtf8(m_handle->error));
    if (result == CURLE_LOGIN_DENIED && !m_login.privateKey.isEmpty())
        return u"Le serveur de publication %1 a refusé l'utilisateur « %2 » avec la clé privée « %3 » (publication.ini) : "
               u"la clé doit être autorisée pour ce compte sur le serveur, et sans phrase de passe."_s
            .arg(host, m_login.user, m_login.privateKey);
    // The host gone in the middle of a file: the connection is lost.
    if (!failureText.isEmpty() && (result == CURLE_SSH || result == CURLE_SEND_ERROR || result == CURLE_RECV_ERROR))
        return failureText + u" : le serveur a coupé la connexion pendant l'envoi ("_s + QString::fromUtf8(m_handle->error)
               + u')';
    return {};
}

std::unique_ptr<FtpClient> CurlFtpClients::create()
{
    return std::make_unique<CurlFtpClient>();
}

} // namespace platform
