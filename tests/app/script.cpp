#include "script.h"

#include "app/program.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

Script &Script::then(std::function<void()> step)
{
    m_steps.push_back(std::move(step));
    return *this;
}

void Script::post(std::size_t index)
{
    if (index >= m_steps.size())
        return;
    QTimer::singleShot(0, [this, index] {
        post(index + 1);
        m_steps[index]();
    });
}

bool Script::runProgram(int timeLimitMs, const QString &toldAtStart)
{
    constexpr int kTimedOut = 99;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(kTimedOut); });
    watchdog.start(timeLimitMs);
    post(0);
    return app::runProgram(toldAtStart) != kTimedOut;
}
