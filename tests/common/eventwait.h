#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <functional>

// Runs the event loop until done() or the limit: the web engine answers
// loads, scripts and prints through events. Whether done() came true.
inline bool waitFor(const std::function<bool()> &done, int limitMs = 30000)
{
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(20);
    for (int waited = 0; !done() && waited < limitMs; waited += 20)
        loop.exec();
    return done();
}
