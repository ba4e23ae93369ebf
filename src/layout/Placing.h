#pragma once

#include "PanelLayout.h"

#include <vector>

class IniService;

// Writes only where the window opens (Position: Monitor, X, Y) into its position file, in one replace of the
// file, as the child itself writes them; every other key and line stays as it was.
void writePlace(IniService& ini, const QString& positionFile, const WindowPlace& place);

// The top-left corner for a window moved to `moving`, pulled onto the nearest edge of a monitor or of another
// window when one of its own edges comes within `threshold` device pixels of it (each axis on its own).
QPoint snapped(const QRect& moving, const std::vector<QRect>& targets, int threshold);
