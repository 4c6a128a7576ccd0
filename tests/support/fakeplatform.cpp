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
        if (!m_windows.files.isEmpty())
            m_windows.files.last().sent = sent;
    }
    bool cancelRequested() const override { return m_windows.cancel; }

private:
    ProgressWindows &m_windows;
};

} // namespace

std::unique_ptr<platform::Progress> ProgressWindows::open(QWidget *)
{
    return std::make_unique<Progress>(*this);
}

Platform::Platform()
    : m_previous(platform::install({&messages, &fileDialogs, &shell, &clipboard, &display, &webViews, &progress}))
{
}

Platform::~Platform()
{
    platform::install(m_previous);
}

} // namespace fakes
