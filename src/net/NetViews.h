#pragma once

class DialogViews;

// The network configuration window and the adapter chooser.
void registerNetViews(DialogViews& views);
