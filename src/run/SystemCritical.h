#pragma once

#include <mutex>

class DesktopPower;

// The keep-awake request: while critical, the system must not fall asleep. The program holds exactly one,
// created before the main window and switched off after the message loop, so a request cannot outlive it.
class TSystemCritical
{
public:
    // Asks nothing of the platform until the first change.
    explicit TSystemCritical(DesktopPower& power);
    virtual ~TSystemCritical();

    TSystemCritical(const TSystemCritical&) = delete;
    TSystemCritical& operator=(const TSystemCritical&) = delete;

    bool IsCritical() const;
    // Only a change reaches the platform: setting the same value again does nothing.
    void SetIsCritical(bool value);

protected:
    virtual void UpdateExecutionState(bool critical);

private:
    DesktopPower& m_power;
    // Start and Stop may come from the listener thread as well as the window's.
    // Recursive: an override of UpdateExecutionState may read IsCritical.
    mutable std::recursive_mutex m_mutex;
    bool FIsCritical = false;
};
