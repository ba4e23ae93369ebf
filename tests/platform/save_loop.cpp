// Saves one kind of file over and over with the program's own save code, alternating between two versions,
// until it is killed: the torn-save test kills it at random moments and looks at what is on disk. It says
// "saved" once the first save is done, so the kills fall among the saves however long it took to start.
//   save_loop list|ini|archive FOLDER
#include "TornSaveVersions.h"

#include "exchange/PanelArchive.h"
#include "instruments/InstrumentListModel.h"
#include "instruments/InstrumentListStore.h"
#include "platform/LocalFileSystem.h"
#include "platform/LocaleService.h"
#include "platform/ProfileIni.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[2]);
    LocalFileSystem files;
    SystemLocale locale;
    InstrumentListModel list(locale);
    ProfileIni ini;
    PanelArchive archive(files);

    // A save that fails says why, for the test to show.
    try {
        for (int round = 1;; ++round) {
            const int version = round % 2; // the file starts as version 0, so the first save writes version 1
            if (std::strcmp(argv[1], "list") == 0) {
                list.setRows(tornsave::rows(version));
                SaveInstrumentList(files, folder, tornsave::kPanel, list, tornsave::kSettings);
            } else if (std::strcmp(argv[1], "ini") == 0) {
                ini.writeString(tornsave::iniPath(folder), tornsave::kSection, tornsave::kKey,
                                tornsave::value(version));
            } else if (std::strcmp(argv[1], "archive") == 0) {
                archive.CompressDirectory(tornsave::sourceFolder(folder, version), false,
                                          tornsave::archivePath(folder));
            } else {
                return 2;
            }
            if (round == 1) {
                std::puts("saved");
                std::fflush(stdout);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
