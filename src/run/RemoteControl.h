#pragma once

#include "net/ControlDatagram.h"

#include <QObject>

#include <vector>

class ControlListener;
class LoadedPanel;
class PanelOperations;
class Prompter;
class RunControl;
struct AppSettings;

// What the control records ask for, carried out on the user-interface thread as if the user had asked: stop,
// start, and switching to the panel named after the aircraft now flown. Datagrams wait while a dialog is
// open, so a panel is never stopped or switched under the user's own operation.
class RemoteControl : public QObject
{
    Q_OBJECT

public:
    RemoteControl(Prompter& prompter, const AppSettings& settings, LoadedPanel& loaded, PanelOperations& panels,
                  RunControl& run, ControlListener& listener, QObject* parent = nullptr);

    void handleDatagram(const std::vector<ControlRecord>& records);

private:
    void handleRecord(const ControlRecord& record);
    void switchToAircraftPanel(const QString& aircraft);

    const AppSettings& m_settings;
    LoadedPanel& m_loaded;
    PanelOperations& m_panels;
    RunControl& m_run;
    ControlListener& m_listener;
};
