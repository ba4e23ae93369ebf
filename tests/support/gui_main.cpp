#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Set here, not only by the runner: test discovery runs this binary at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
