#pragma once
// A failing file write or media-player call ends the running operation and
// the operations that invoked it; the screen's handler reports the message.

#include <QString>
#include <stdexcept>

namespace zelk {

class OperationError : public std::runtime_error
{
public:
    explicit OperationError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace zelk
