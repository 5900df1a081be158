#pragma once

#include <QString>
#include <stdexcept>

// A declaration that cannot be computed, checked or written, with the French message the user is shown.
class DeclarationError : public std::runtime_error {
public:
    explicit DeclarationError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// "Annexe I" to "Annexe VII".
QString annexName(int annex);
// A number as the messages show it: French decimal comma, no grouping ("-5,000").
QString shownNumber(double value, int decimals);
