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

Platform::Platform()
    : m_previous(platform::install({&messages, &fileDialogs, &shell, &clipboard, &display, &webViews}))
{
}

Platform::~Platform()
{
    platform::install(m_previous);
}

} // namespace fakes
