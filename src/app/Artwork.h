#pragma once

#include <QIcon>

// The program's emblem, a small dial, drawn rather than shipped as a file.
QIcon applicationIcon();
