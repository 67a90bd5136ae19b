#pragma once

#include <QString>

#include <exception>

// An error that ends the running command. It travels to the command's
// boundary, where the user sees its text in the error box.
class QuorvelError : public std::exception
{
public:
    explicit QuorvelError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
