#include "InstrumentListStore.h"

#include "InstrumentCatalogue.h"
#include "InstrumentListModel.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "settings/PanelFolder.h"

#include <optional>

namespace {

// Strictly decimal: a port in another notation is left for the user to see, not folded.
std::optional<int> decimalPort(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return std::nullopt;
    return value;
}

} // namespace

void SaveInstrumentList(FileSystem& files, const QString& iniPath, const QString& panelName,
                        const InstrumentListModel& list, const InstrumentLineSettings& settings)
{
    if (panelName.isEmpty())
        return;
    const PanelFolder panel(iniPath, panelName);
    const QString folder = panel.path();
    const QString file = panel.listFile();
    if (!files.folderExists(folder) && !files.createFolder(folder) && !files.folderExists(folder))
        throw VarnoltError(QStringLiteral("Cannot create file \"%1\". The folder \"%2\" cannot be created")
                               .arg(nativePath(file), nativePath(folder)));
    QString reason;
    if (!files.writeFile(file, formatInstrumentList(list.rows(), settings), &reason))
        throw VarnoltError(QStringLiteral("Cannot create file \"%1\". %2").arg(nativePath(file), reason));
}

void ReadInstrumentList(const FileSystem& files, const QString& iniPath, const QString& panelName,
                        InstrumentListModel& list)
{
    list.clear();
    const QString file = PanelFolder(iniPath, panelName).listFile();
    QByteArray bytes;
    QString reason;
    if (!files.readFile(file, bytes, &reason))
        throw VarnoltError(QStringLiteral("Cannot open file \"%1\". %2").arg(nativePath(file), reason));
    ParsedInstrumentList parsed = parseInstrumentList(bytes);
    list.setRows(std::move(parsed.rows));
    if (parsed.badLine)
        throw VarnoltError(QStringLiteral("Line %1 of \"%2\" does not hold the eight fields of an instrument")
                               .arg(*parsed.badLine)
                               .arg(nativePath(file)));
}

void RepairInstrumentList(const FileSystem& files, const InstrumentCatalogue& catalogue, const QString& appPath,
                          InstrumentListModel& list, Prompter& prompter)
{
    for (int i = 0; i < list.count(); ++i) {
        const InstrumentRow& row = list.at(i);
        if (row.isApplication())
            continue;
        const QString pathName = row.field(InstrumentRow::PathName);
        if (!files.fileExists(appPath + pathName)) {
            if (const auto found = catalogue.findProgram(storedFileName(pathName)))
                list.setField(i, InstrumentRow::PathName, *found);
            else
                prompter.message(MessageKind::Error, QStringLiteral("Missing instrument file for ") + row.Name +
                                                         QStringLiteral("\n\rDid you install all instument add-ons?"));
            // The message box runs events; whatever they did to the list, go on from where it stands.
            if (i >= list.count())
                break;
        }
        const auto port = decimalPort(list.at(i).field(InstrumentRow::PortNo));
        if (port && *port > 47000 && *port < 47100)
            list.setField(i, InstrumentRow::PortNo, QStringLiteral("47000"));
    }
}
