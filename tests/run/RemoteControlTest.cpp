// Control records that wait together are handled with the aircraft records a later one supersedes left out.
// Each sequence runs in two programs with the same panels: one handles every record in order, the other gets
// them all at once; their panels, captions, children and files must end the same.
#include "app/Session.h"
#include "app/Subsystems.h"
#include "instruments/InstrumentListStore.h"
#include "support/LoadPanel.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QDirIterator>

#include <gtest/gtest.h>

#include <map>

namespace {

struct Program
{
    TestPlatform t;
    ScriptedProcesses children;
    ScriptedPrompter prompter;
    Session s{t.platform(children), prompter};
    Subsystems services{s};

    Program()
    {
        s.folders = ResolveFolders(t.env, t.files);
        services.CreateProcessList();
        for (const char* name : {"Cockpit", "Warthog A-10C", "Hornet FA-18C_hornet", "Viper F-16C_50"})
            makePanel(name);
        // No instrument list: reading it fails, and the record's datagram ends there.
        TestPlatform::writeBytes(t.panelFolder("Broken MiG-29") + "/Broken MiG-29.ini", "[Config]\r\n");
        s.settings.ListenPort = QStringLiteral("0");
        services.StartControlListener();
    }

    // One gauge named after the panel, so the rows show whose they are.
    void makePanel(const QString& name)
    {
        InstrumentRow row;
        row.Name = name;
        row.field(InstrumentRow::PortNo) = QStringLiteral("47000");
        row.field(InstrumentRow::PathName) = QStringLiteral("Instruments_Standard\\P@Airspeed.exe");
        InstrumentListModel model(t.locale);
        model.setRows({row});
        SaveInstrumentList(t.files, s.folders.IniPath, name, model,
                           {s.settings.FlightSimIPAddress, s.settings.FlightSimPort});
    }

    int starts() const { return int(children.launched.filter(QStringLiteral("PanelBackGround.exe")).size()); }

    // Everything the records may have changed, by what it is: the panel, its running state, caption and rows,
    // the children still running and every file of the settings folder.
    std::map<std::string, std::string> endState() const
    {
        std::map<std::string, std::string> out;
        out["panel"] = s.loaded().name().toStdString();
        out["running"] = services.isRunning() ? "yes" : "no";
        out["caption"] = s.loaded().documentName().toStdString();
        for (const InstrumentRow& row : s.loaded().instruments().rows())
            out["rows"] += row.Name.toStdString() + ";";
        for (qsizetype i = 0; i < children.launched.size(); ++i) {
            if (std::find(children.terminated.begin(), children.terminated.end(), 1001 + i) ==
                children.terminated.end())
                out["children"] +=
                    QString(children.launched[i]).replace(QDir::toNativeSeparators(t.root()), "<root>").toStdString() +
                    "\n";
        }
        QDirIterator it(t.settingsFolder(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            out["file " + path.mid(t.settingsFolder().size()).toStdString()] =
                TestPlatform::readBytes(path).toStdString();
        }
        return out;
    }
};

QList<QByteArray> alternating(int count, const QByteArray& first, const QByteArray& second)
{
    QList<QByteArray> out;
    for (int i = 0; i < count; ++i)
        out << "PNL:" + (i % 2 ? second : first);
    return out;
}

struct Case
{
    const char* name;
    const char* loaded;
    bool running, switching, autoStart;
    QList<QByteArray> datagrams;
    int maxStarts = -1;       // at most this many panel starts when the records wait together; -1: any
    bool unsavedEdit = false; // the loaded panel has a row more than its file
};

const Case kCases[] = {
    {"a storm of two aircraft ending on the other panel's", "Warthog A-10C", true, true, false,
     alternating(16, "A-10C", "FA-18C_hornet"), 1},
    {"a storm ending on the running panel's own aircraft", "Warthog A-10C", true, true, false,
     alternating(15, "A-10C", "FA-18C_hornet"), 2},
    {"the same storm over unsaved edits", "Warthog A-10C", true, true, false, alternating(15, "FA-18C_hornet", "A-10C"),
     2, true},
    {"alternating records in one datagram",
     "Warthog A-10C",
     true,
     true,
     false,
     {alternating(64, "FA-18C_hornet", "A-10C").join('|')},
     2},
    {"an aircraft covered by the panel the one before switched to",
     "Cockpit",
     true,
     true,
     false,
     {"PNL:F-16C_50", "PNL:F-16C"}},
    {"Stop and Start between aircraft",
     "Warthog A-10C",
     true,
     true,
     false,
     {"PNL:FA-18C_hornet", "PNL:A-10C|PNL:Stop", "PNL:F-16C_50", "PNL:FA-18C_hornet|PNL:Start", "PNL:A-10C",
      "PNL:FA-18C_hornet|PNL:Stop|PNL:Start|PNL:F-16C_50|PNL:A-10C"}},
    {"idle, with AutoStart",
     "Cockpit",
     false,
     true,
     true,
     {"PNL:A-10C|PNL:FA-18C_hornet", "PNL:Cockpit", "PNL:F-16C_50|PNL:A-10C"}},
    {"idle, the loaded panel's own aircraft",
     "Warthog A-10C",
     false,
     true,
     true,
     {"PNL:A-10C", "PNL:FA-18C_hornet", "PNL:A-10C", "PNL:Stop", "PNL:A-10C"}},
    {"idle without AutoStart: captions only",
     "Cockpit",
     false,
     true,
     false,
     {"PNL:A-10C", "PNL:FA-18C_hornet", "PNL:Start", "PNL:F-16C_50", "PNL:A-10C"}},
    {"switching off",
     "Warthog A-10C",
     true,
     false,
     true,
     {"PNL:FA-18C_hornet", "PNL:Stop", "PNL:Start", "PNL:F-16C_50"}},
    {"empty names and aircraft without a panel",
     "Warthog A-10C",
     true,
     true,
     false,
     {"PNL: ", "PNL:Su-27", "PNL:FA-18C_hornet", "PNL:Su-27", "PNL:"},
     -1,
     true},
    {"an unreadable panel ends its datagram",
     "Warthog A-10C",
     true,
     true,
     false,
     {"PNL:FA-18C_hornet|PNL:MiG-29|PNL:Stop", "PNL:F-16C_50", "PNL:MiG-29", "PNL:A-10C"}},
};

} // namespace

TEST(RemoteControl, RecordsWaitingTogetherEndAsRecordsHandledInOrder)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Program inOrder, together;
        inOrder.services.remote().setLookahead(1);
        int startsBefore = 0;
        for (Program* p : {&inOrder, &together}) {
            loadPanel(p->s.loaded(), QString::fromLatin1(c.loaded));
            if (c.unsavedEdit) {
                std::vector<InstrumentRow> rows = p->s.loaded().instruments().rows();
                rows.push_back(rows.front());
                rows.back().Name = QStringLiteral("Edited");
                p->s.loaded().instruments().setRows(rows);
            }
            p->s.settings.PanelSwitching = c.switching;
            p->s.settings.AutoStart = c.autoStart;
            if (c.running)
                p->services.StartPanel();
            startsBefore = p->starts();
        }

        for (const QByteArray& datagram : c.datagrams)
            inOrder.services.remote().handleDatagram(ParseControlDatagram(datagram));
        for (const QByteArray& datagram : c.datagrams)
            together.services.listener().addPending(ParseControlDatagram(datagram));
        together.services.remote().handleWaiting();

        EXPECT_EQ(together.endState(), inOrder.endState());
        if (c.maxStarts >= 0) {
            EXPECT_LE(together.starts() - startsBefore, c.maxStarts) << "superseded switches were not left out";
        }
        EXPECT_TRUE(together.prompter.messages.empty());
    }
}
