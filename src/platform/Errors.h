#pragma once

#include <QString>
#include <stdexcept>

// An error that ends the current operation and is shown to the user by the general error display.
class VarnoltError : public std::runtime_error
{
public:
    explicit VarnoltError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// The INI layer's refusal: the path is the file the write was meant for.
inline VarnoltError unableToWrite(const QString& path)
{
    return VarnoltError(QStringLiteral("Unable to write to %1").arg(path));
}
