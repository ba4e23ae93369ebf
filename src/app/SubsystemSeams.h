#pragma once

#include <QString>

class LoadedPanel;

// What start-up, shutdown and restoring ask of the panel store, the instrument list, run control and the
// control listener. The program wires the real subsystems behind it; tests record the calls.
class SubsystemSeams
{
public:
    virtual ~SubsystemSeams() = default;

    // Opens the start-up panel into `panel`, repaired, reporting one that is missing. False when not found.
    virtual bool OpenPanel(LoadedPanel& panel, const QString& name) = 0;
    // The loaded panel's rows go to its list file.
    virtual void SaveLoadedPanel(LoadedPanel& panel) = 0;
    virtual void CreateProcessList() = 0;
    virtual void DestroyProcessList() = 0;
    virtual void StartControlListener() = 0;
    virtual void StopControlListener() = 0;
    // A close was asked for: no control record is handled from now on.
    virtual void EndControlDelivery() = 0;
    virtual void StartPanel() = 0;
    virtual void StopPanel() = 0;
    virtual bool isRunning() const = 0;
};
