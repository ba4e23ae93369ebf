#include <QApplication>
#include <QTemporaryFile>

#include <gtest/gtest.h>

// Qt's offscreen platform with two screens side by side, so window tests see a real two-monitor desktop.
int main(int argc, char** argv)
{
    QTemporaryFile config(QStringLiteral("screens-XXXXXX.json"));
    if (!config.open())
        return 2;
    config.write(R"({"screens": [
        {"name": "left",  "x": 0,    "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
        {"name": "right", "x": 1920, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}
    ]})");
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
