#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the storage boundary. It carries the database layer's own message, in French
// where the message is ours (a required field, a bad path) and as Firebird wrote it otherwise.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message, long sqlCode = 0)
        : std::runtime_error(message.toStdString()), m_message(message), m_sqlCode(sqlCode) {}
    const QString &message() const { return m_message; }
    long sqlCode() const { return m_sqlCode; }

private:
    QString m_message;
    long m_sqlCode;
};
