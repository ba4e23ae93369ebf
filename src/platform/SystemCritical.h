#pragma once

class DesktopPower;

// The keep-awake request: while critical, the system must not fall asleep. The program holds exactly one,
// created before the main window and switched off after the message loop, so a request cannot outlive it.
class TSystemCritical
{
public:
    // Asks nothing of the platform until the first change.
    explicit TSystemCritical(DesktopPower& power);
    ~TSystemCritical();

    TSystemCritical(const TSystemCritical&) = delete;
    TSystemCritical& operator=(const TSystemCritical&) = delete;

    bool IsCritical() const;
    // Only a change reaches the platform: setting the same value again does nothing.
    void SetIsCritical(bool value);

private:
    void UpdateExecutionState(bool critical);

    DesktopPower& m_power;
    bool FIsCritical = false;
};
