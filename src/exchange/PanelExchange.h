#pragma once

#include <QObject>
#include <QString>

class LoadedPanel;
class Prompter;
struct Folders;
struct Platform;

inline const QString ExportTitle = QStringLiteral("Select File and Folder for Export");
inline const QString ExportFilter = QStringLiteral("Varnolt Export Files (vrx)|*.vrx");
inline const QString ImportTitle = QStringLiteral("Select Varnolt Export File");
inline const QString ImportFilter = QStringLiteral("Varnolt Export Files  (vrx)|*.vrx");
inline const QString ExportExtension = QStringLiteral(".vrx");
inline const QString NothingToExportMessage = QStringLiteral("No Panel or Instruments to export!");

// The panel name an archive file gives on import: its file name without folder and last extension.
QString ImportedPanelName(const QString& archivePath);

// The ribbon's Export and Import: the loaded panel's folder into one archive file, and an archive file into
// a new panel, named after the file, which is then loaded.
class PanelExchange : public QObject
{
    Q_OBJECT

public:
    PanelExchange(const Platform& platform, Prompter& prompter, const Folders& folders, LoadedPanel& loaded,
                  QObject* parent = nullptr)
        : QObject(parent), m_platform(platform), m_prompter(prompter), m_folders(folders), m_loaded(loaded)
    {}

    void aExportExecute();
    // All or nothing: a panel appears, complete and loaded, or the settings folder and the loaded panel
    // stay as they were.
    void aImportExecute();

signals:
    void busyChanged(bool busy);

private:
    // Unpacks the archive into `staging` and gives the panel's own files the new name.
    void unpackRenamed(const QString& archive, const QString& staging, const QString& newName);

    const Platform& m_platform;
    Prompter& m_prompter;
    const Folders& m_folders;
    LoadedPanel& m_loaded;
};
