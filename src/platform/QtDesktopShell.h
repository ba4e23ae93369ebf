#pragma once

#include "DesktopShell.h"

class QtDesktopShell : public DesktopShell
{
public:
    void openDocument(const QString& nativePath) override;
    void openAddress(const QString& url) override;
};
