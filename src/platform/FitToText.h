#pragma once

class QWidget;

// The dialogs are laid out in pixels for an 8-point Tahoma; where the font that stands in for it runs wider,
// the window, its frames and its controls all grow by the widest overflow so no caption is cut.
void widenToFitText(QWidget* dialog);
