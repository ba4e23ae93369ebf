#pragma once

#include "InstrumentListFile.h"

#include <QString>

class FileSystem;
class InstrumentCatalogue;
class InstrumentListModel;
class Prompter;

// The save points, the load and the repair pass of the loaded panel's instrument list. Every failure is
// thrown as a VarnoltError for the general error display.

// Writes the named panel's list from `list`; nothing happens for an empty name. The old file stays as it was
// when the write fails.
void SaveInstrumentList(FileSystem& files, const QString& iniPath, const QString& panelName,
                        const InstrumentListModel& list, const InstrumentLineSettings& settings);
// Empties the list and fills it from the named panel's file. On a line with fewer than eight fields the
// rows before it stay and the error names the file and the line.
void ReadInstrumentList(const FileSystem& files, const QString& iniPath, const QString& panelName,
                        InstrumentListModel& list);
// After a load: finds programs that moved to another set, reports the missing ones and folds the
// instrument ports above 47000 and below 47100 to 47000. Rows change in memory only.
void RepairInstrumentList(const FileSystem& files, const InstrumentCatalogue& catalogue, const QString& appPath,
                          InstrumentListModel& list, Prompter& prompter);
