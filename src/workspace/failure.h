#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace workspace {

// A failure that ends the running handler and that the general error report
// shows to the teacher, with its French text.
class Failure : public std::exception
{
public:
    explicit Failure(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {
    }

    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace workspace
