#pragma once

#include <QString>

// What the process learns about itself from the system.
class Environment
{
public:
    virtual ~Environment() = default;
    virtual QString variable(const QString& name) const = 0;
    virtual QString executablePath() const = 0; // native, absolute
    virtual QString currentDirectory() const = 0;
};

class ProcessEnvironment : public Environment
{
public:
    QString variable(const QString& name) const override;
    QString executablePath() const override;
    QString currentDirectory() const override;
};
