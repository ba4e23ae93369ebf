#pragma once

#include "app/ShellSeams.h"

#include <QSet>
#include <QStringList>

// Records the calls start-up and shutdown make, in order, as "Call(arg)" texts.
class RecordingSeams : public ShellSeams
{
public:
    QStringList calls;
    QSet<QString> existingPanels;
    bool failSave = false;

    QString FindPanel(const QString& name, bool report, bool search) override
    {
        calls << QStringLiteral("FindPanel(%1,%2,%3)").arg(name).arg(report).arg(search);
        return existingPanels.contains(name) ? name : QString();
    }
    void LoadPanelSettings(const QString& name) override { calls << QStringLiteral("LoadPanelSettings(%1)").arg(name); }
    void RepairInstrumentList() override { calls << QStringLiteral("RepairInstrumentList"); }
    void SaveInstrumentList(const QString& name) override;
    void CreateProcessList() override { calls << QStringLiteral("CreateProcessList"); }
    void DestroyProcessList() override { calls << QStringLiteral("DestroyProcessList"); }
    void StartControlListener() override { calls << QStringLiteral("StartControlListener"); }
    void StopControlListener() override { calls << QStringLiteral("StopControlListener"); }
    void StartPanel() override { calls << QStringLiteral("StartPanel"); }
    void StopPanel() override { calls << QStringLiteral("StopPanel"); }
};
