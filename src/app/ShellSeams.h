#pragma once

#include <QString>

// What start-up, shutdown and restoring ask of the panel store, the instrument list, run control and the
// control listener. The program wires the real subsystems behind it; tests record the calls.
class ShellSeams
{
public:
    virtual ~ShellSeams() = default;

    // Looks a panel folder up and fills the instrument list from it. Returns the panel name found, or empty.
    virtual QString FindPanel(const QString& name, bool report, bool search) = 0;
    virtual void LoadPanelSettings(const QString& name) = 0;
    virtual void RepairInstrumentList() = 0;
    virtual void SaveInstrumentList(const QString& name) = 0;
    virtual void CreateProcessList() = 0;
    virtual void DestroyProcessList() = 0;
    virtual void StartControlListener() = 0;
    virtual void StopControlListener() = 0;
    virtual void StartPanel() = 0;
    virtual void StopPanel() = 0;
};
