#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

// Qt's offscreen platform with two screens side by side, so window tests see a real two-monitor desktop.
// --scale-factor=N scales it, where the runner cannot hand QT_SCALE_FACTOR on (Wine drops QT_ variables).
int main(int argc, char** argv)
{
    constexpr const char* scaleOption = "--scale-factor=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], scaleOption, std::strlen(scaleOption)) == 0)
            qputenv("QT_SCALE_FACTOR", argv[i] + std::strlen(scaleOption));
    }
    // A relative path: the platform's arguments are separated by ":", which a Windows drive letter holds.
    QTemporaryDir folder(QStringLiteral("screens-XXXXXX"));
    QFile config(QDir::current().relativeFilePath(folder.filePath(QStringLiteral("screens.json"))));
    if (!folder.isValid() || !config.open(QIODevice::WriteOnly))
        return 2;
    config.write(R"({"screens": [
        {"name": "left",  "x": 0,    "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
        {"name": "right", "x": 1920, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}
    ]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
