#pragma once

#include "Platform.h"

#include <memory>

class QGuiApplication;

// The services of the system the program runs on, owned by the program entry. Each system has its own file
// of this class (PosixSystemServices.cpp, WinSystemServices.cpp), and the build compiles the one that fits.
class SystemServices
{
public:
    // Makes the desktop and power service alone: the keep-awake request on it exists before any window.
    SystemServices();
    ~SystemServices();
    SystemServices(const SystemServices&) = delete;
    SystemServices& operator=(const SystemServices&) = delete;

    DesktopPower& power();
    // Every service, the others made at the first call. The keep-awake request is the caller's to add.
    Platform platform(QGuiApplication& app);

private:
    struct Services;
    std::unique_ptr<Services> d;
};
