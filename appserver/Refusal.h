#pragma once

#include <QString>

#include <stdexcept>

// A business rule said no: the call ends with a checked failure
// {"ok":false,"message":...} carrying this text for the operator, and
// whatever the call had written is rolled back.
class Refusal final : public std::runtime_error {
public:
    explicit Refusal(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    QString message() const { return m_message; }

private:
    QString m_message;
};
