#pragma once

#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

// Runs the program with a script of steps. Each step runs on the event loop
// once the step before it has returned or, when that step opened a modal
// screen, inside the modal screen's loop: the script goes on the way a
// teacher would, while the handler that opened the screen waits.
class Script
{
public:
    Script &then(std::function<void()> step);

    // Starts the program on the main student screen and runs its event loop,
    // with what the program is to tell at start. Returns false when the
    // program did not end within the time limit.
    bool runProgram(int timeLimitMs = 20000, const QString &toldAtStart = {});

private:
    void post(std::size_t index);

    std::vector<std::function<void()>> m_steps;
};
