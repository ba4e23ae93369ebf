#pragma once

#include <QChar>
#include <QString>

#include <memory>

class LocaleService
{
public:
    virtual ~LocaleService() = default;
    virtual QChar decimalSeparator() const = 0;
    // Order of list rows: negative, zero or positive, letter case significant.
    virtual int compare(const QString& a, const QString& b) const = 0;
};

// The user's locale. The order follows the Windows word sort: lower case before upper case of the same
// letter, and "-" and "'" ignored except to break ties.
class SystemLocale : public LocaleService
{
public:
    SystemLocale();
    ~SystemLocale() override;
    QChar decimalSeparator() const override;
    int compare(const QString& a, const QString& b) const override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
