#pragma once

class QApplication;

struct ProgramOptions
{
    // How long the splash stays before the main window is shown.
    int splashMilliseconds = 2000;
};

// The whole program run: splash, main window, message loop, shutdown. Returns the exit code.
int runProgram(QApplication& app, const ProgramOptions& options);
