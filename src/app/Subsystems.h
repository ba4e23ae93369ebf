#pragma once

#include "SubsystemSeams.h"
#include "exchange/PanelExchange.h"
#include "exchange/SendToMonitor.h"
#include "instruments/InstrumentOperations.h"
#include "layout/LayoutController.h"
#include "net/ControlListener.h"
#include "panels/PanelOperations.h"
#include "run/RemoteControl.h"
#include "run/RunControl.h"

class Session;

// The real subsystems behind the start-up and shutdown calls.
class Subsystems : public SubsystemSeams
{
public:
    explicit Subsystems(Session& session);

    PanelOperations& panels() { return m_panels; }
    RunControl& run() { return m_run; }
    InstrumentOperations& instruments() { return m_instruments; }
    PanelExchange& exchange() { return m_exchange; }
    SendToMonitor& sendTo() { return m_sendTo; }
    ControlListener& listener() { return m_listener; }
    RemoteControl& remote() { return m_remote; }
    LayoutController& layout() { return m_layout; }

    bool OpenPanel(LoadedPanel& panel, const QString& name) override;
    void SaveLoadedPanel(LoadedPanel& panel) override;
    void CreateProcessList() override;
    void DestroyProcessList() override;
    void StartControlListener() override;
    void StopControlListener() override;
    void EndControlDelivery() override { m_listener.endDelivery(); }
    void StartPanel() override;
    void StopPanel() override;
    bool isRunning() const override { return m_run.isRunning(); }

private:
    Session& m_session;
    PanelOperations m_panels;
    RunControl m_run;
    InstrumentOperations m_instruments;
    PanelExchange m_exchange;
    SendToMonitor m_sendTo;
    LayoutController m_layout;
    // Last, so they are gone before anything their reactions use.
    ControlListener m_listener;
    RemoteControl m_remote;
};
