#include "fakeplatform.h"

namespace fakes {

namespace {

std::optional<QString> nextAnswer(std::deque<std::optional<QString>> &answers)
{
    if (answers.empty() || !answers.front()) {
        if (!answers.empty())
            answers.pop_front();
        return std::nullopt;
    }
    const QString answer = *answers.front();
    answers.pop_front();
    return answer;
}

} // namespace

void MessageBoxes::showMessage(QWidget *, const QString &text)
{
    shown.append(text);
    if (onShow)
        onShow(text);
}

bool MessageBoxes::showMessageWithCheckBox(QWidget *parent, const QString &text, const QString &checkBox)
{
    checkBoxes.append(checkBox);
    showMessage(parent, text);
    return check;
}

int MessageBoxes::ask(QWidget *parent, const QString &text, const QStringList &choices)
{
    showMessage(parent, text);
    return answers.isEmpty() ? int(choices.size()) - 1 : answers.takeFirst();
}

std::optional<QString> FileDialogs::openFile(QWidget *, const platform::FileDialogRequest &request)
{
    openRequests.append(request);
    return nextAnswer(openAnswers);
}

std::optional<QString> FileDialogs::saveFile(QWidget *, const platform::FileDialogRequest &request)
{
    saveRequests.append(request);
    return nextAnswer(saveAnswers);
}

platform::WebView *WebViews::create(QWidget *parent)
{
    auto *view = new WebView(parent);
    created.append(view);
    return view;
}

namespace {

class Progress : public platform::Progress
{
public:
    explicit Progress(ProgressWindows &windows)
        : m_windows(windows)
    {
        ++m_windows.opened;
        ++m_windows.openNow;
    }
    ~Progress() override { --m_windows.openNow; }

    void fileStarted(int index, int count, const QString &name, qint64 size) override
    {
        m_windows.files.append({index, count, name, size, 0});
        if (m_windows.onFile)
            m_windows.onFile(m_windows.files.last());
    }

    void bytesSent(qint64 sent, qint64) override
    {
        if (m_windows.files.isEmpty())
            ++m_windows.waits;
        else
            m_windows.files.last().sent = sent;
    }
    bool cancelRequested() const override { return m_windows.cancel; }
    void unchangedFiles(int count) override { m_windows.unchanged = count; }

private:
    ProgressWindows &m_windows;
};

} // namespace

std::unique_ptr<platform::Progress> ProgressWindows::open(QWidget *)
{
    return std::make_unique<Progress>(*this);
}

namespace {

class FtpClient : public publishing::FtpClient
{
public:
    explicit FtpClient(FtpClients &clients)
        : m_clients(clients)
        , m_real(clients.real ? clients.real->create() : nullptr)
    {
    }

    bool connected() const override { return m_real ? m_real->connected() : m_connected; }

    void disconnect() override
    {
        if (!connected())
            return;
        m_clients.log.append(QStringLiteral("disconnect"));
        if (m_real)
            m_real->disconnect();
        m_connected = false;
    }

    void connect(const publishing::FtpLogin &login) override
    {
        run(QStringLiteral("connect %1:%2 %3").arg(login.host).arg(login.port).arg(login.user),
            [&] { m_real->connect(login); });
        m_connected = true;
    }

    void changeDir(const QString &path) override
    {
        requireConnection();
        run(QStringLiteral("CWD ") + path, [&] { m_real->changeDir(path); });
    }

    void makeDir(const QString &path) override
    {
        requireConnection();
        run(QStringLiteral("MKD ") + path, [&] { m_real->makeDir(path); });
    }

    void put(const QString &localPath, const QString &remotePath) override
    {
        requireConnection();
        run(QStringLiteral("STOR %1 -> %2").arg(localPath, remotePath), [&] { m_real->put(localPath, remotePath); });
    }

    // Lists through the real client; a scripted one cannot list. Not logged:
    // the log tells what was sent.
    std::optional<QList<publishing::RemoteFile>> list(const QString &path) override
    {
        requireConnection();
        if (m_real)
            return m_real->list(path);
        return std::nullopt;
    }

    std::optional<QList<publishing::RemoteEntry>> entries(const QString &path) override
    {
        requireConnection();
        if (m_real)
            return m_real->entries(path);
        return std::nullopt;
    }

    void deleteFile(const QString &path) override
    {
        requireConnection();
        run(QStringLiteral("DELE ") + path, [&] { m_real->deleteFile(path); });
    }

    void removeDir(const QString &path) override
    {
        requireConnection();
        run(QStringLiteral("RMD ") + path, [&] { m_real->removeDir(path); });
    }

    void setProgress(Progress progress) override
    {
        if (m_real)
            m_real->setProgress(std::move(progress));
    }

private:
    void requireConnection() const
    {
        if (!m_real && !m_connected)
            throw publishing::FtpError(QStringLiteral("Pas de connexion au serveur de publication."));
    }

    void run(const QString &operation, const std::function<void()> &onReal)
    {
        m_clients.log.append(operation);
        if (m_clients.fail) {
            if (const std::optional<QString> text = m_clients.fail(operation))
                throw publishing::FtpError(*text);
        }
        if (m_real)
            onReal();
    }

    FtpClients &m_clients;
    std::unique_ptr<publishing::FtpClient> m_real;
    bool m_connected = false;
};

} // namespace

std::unique_ptr<publishing::FtpClient> FtpClients::create()
{
    ++created;
    return std::make_unique<FtpClient>(*this);
}

Platform::Platform()
    : m_previous(platform::install({&messages, &fileDialogs, &shell, &clipboard, &display, &webViews, &progress, &ftp}))
{
}

Platform::~Platform()
{
    platform::install(m_previous);
}

} // namespace fakes
