#pragma once

#include "PanelRecord.h"
#include "instruments/InstrumentListModel.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class PanelFolders;
class Prompter;
struct AppSettings;
struct Folders;
struct Platform;

// How `LoadedPanel::open` finds and prepares a panel.
struct OpenOptions
{
    bool report = true;  // a panel not found is said so in an error box
    bool repair = false; // moved programs are found again and instrument ports folded, before anything shows
};

// A panel read from its files, not yet shown: what `LoadedPanel::commit` puts in place at once.
struct PanelContents
{
    QString folderName; // the name the panel's folder carries
    PanelRecord record;
    std::vector<InstrumentRow> rows;
    QString documentName; // the folder name, unless the caller wants another caption
};

// The one owner of the loaded panel: its record, its instrument rows and the document name the ribbon shows.
// They change together or not at all: a panel is read into locals first and committed in one step, so a
// failure on the way leaves the previous panel exactly as it was.
class LoadedPanel : public QObject
{
    Q_OBJECT

public:
    LoadedPanel(const Platform& platform, const Folders& folders, const PanelFolders& panels,
                const AppSettings& settings, Prompter& prompter, QObject* parent = nullptr);

    // The panels it may load.
    const PanelFolders& panels() const { return m_panels; }

    PanelRecord& record() { return m_record; }
    const PanelRecord& record() const { return m_record; }
    const QString& name() const { return m_record.Name; }
    // A panel is loaded while its record has a name: Start, Edit, Copy and Send To need one.
    bool isLoaded() const { return !m_record.Name.isEmpty(); }
    InstrumentListModel& instruments() { return m_instruments; }
    const InstrumentListModel& instruments() const { return m_instruments; }

    const QString& documentName() const { return m_documentName; }
    void setDocumentName(const QString& name);

    // Finds the panel and reads its rows and settings; changes nothing. Nothing when it was not found; an
    // unreadable list or settings file throws.
    std::optional<PanelContents> read(const QString& name, const OpenOptions& options) const;
    // Puts a panel that was read in place of the loaded one, with one `changed`.
    void commit(PanelContents contents);
    // read + commit. False when the panel was not found: then nothing changed either.
    bool open(const QString& name, const OpenOptions& options);
    // Opens the named panel and returns its name; one not found is reported (as the options say) and leaves
    // no panel loaded, returning empty. A panel that cannot be read leaves the previous one loaded.
    QString openOrForget(const QString& name, const OpenOptions& options);

    // Reads the loaded panel's settings file again, after the user changed it; all of it or, failing, none.
    void reloadSettings();
    // The rows go to the panel's instrument list file; nothing without a panel.
    void save();
    // The save point when the user leaves the panel.
    void leave() { save(); }
    // No panel any more; the rows stay on show, as the user had them.
    void forget();
    // No panel and no rows.
    void clear();

    // The panel to open at the next start: the loaded one or, while none is loaded, the start-up panel that
    // was there but could not be read, so that once its files are mended it opens again. Whatever the user
    // loads, imports, creates or unloads next takes its place.
    QString lastUsedName() const { return isLoaded() ? name() : m_unreadStartupPanel; }
    void keepUnreadStartupPanel(const QString& name);

signals:
    void changed();
    void documentNameChanged(const QString& name);

private:
    const Platform& m_platform;
    const Folders& m_folders;
    const PanelFolders& m_panels;
    const AppSettings& m_settings;
    Prompter& m_prompter;
    PanelRecord m_record;
    InstrumentListModel m_instruments;
    QString m_documentName;
    QString m_unreadStartupPanel;
};
