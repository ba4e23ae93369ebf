#pragma once

class DialogViews;

// The panel setup and panel chooser windows.
void registerPanelViews(DialogViews& views);
