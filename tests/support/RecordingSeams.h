#pragma once

#include "app/SubsystemSeams.h"

#include <QSet>
#include <QStringList>

// Records the calls start-up and shutdown make, in order, as "Call(arg)" texts.
class RecordingSeams : public SubsystemSeams
{
public:
    QStringList calls;
    QSet<QString> existingPanels;
    QSet<QString> unreadablePanels; // there, but their list cannot be read: opening them throws
    bool failSave = false;
    bool running = false; // what Start and Stop leave; set by a test to stand for a panel running

    // A panel of `existingPanels` opens with no rows and default settings.
    bool OpenPanel(LoadedPanel& panel, const QString& name) override;
    void SaveLoadedPanel(LoadedPanel& panel) override;
    void CreateProcessList() override { calls << QStringLiteral("CreateProcessList"); }
    void DestroyProcessList() override { calls << QStringLiteral("DestroyProcessList"); }
    void StartControlListener() override { calls << QStringLiteral("StartControlListener"); }
    void StopControlListener() override { calls << QStringLiteral("StopControlListener"); }
    void EndControlDelivery() override { calls << QStringLiteral("EndControlDelivery"); }
    void StartPanel() override
    {
        calls << QStringLiteral("StartPanel");
        running = true;
    }
    void StopPanel() override
    {
        calls << QStringLiteral("StopPanel");
        running = false;
    }
    bool isRunning() const override { return running; }
};
