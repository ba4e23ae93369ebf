#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// The ten arguments the launcher passes to every child program, in order.
struct ChildArgs
{
    int ownPort = 0;
    QString panelName;
    QString address; // local adapter (instruments) or simulator (background)
    QString simPort;
    double scale = 1.0;
    bool bezels = true;
    int monitor = 0;
    bool night = false;
    int instance = 1;
    QString multicastGroup;

    static ChildArgs parse(const QStringList& arguments); // arguments[0] is the program
};

// Where the launcher keeps its panels: $APPDATA (or the desktop's configuration folder) + Brondix/HarvolmPRO.
QString settingsFolder();
QString panelFolder(const QString& panelName);

// A colour as the panel files write it: a colour name such as clNavy, or a $-hex / decimal 0x00BBGGRR value.
QColor colourFromText(const QString& text, const QColor& fallback);
