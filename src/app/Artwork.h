#pragma once

#include <QFont>
#include <QIcon>

// The program's emblem, a small dial, drawn rather than shipped as a file.
QIcon applicationIcon();

// Tahoma 8, the font every window is laid out for.
QFont interfaceFont();
