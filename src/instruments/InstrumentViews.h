#pragma once

class DialogViews;

// The windows that add or edit an instrument or a 3rd party program.
void registerInstrumentViews(DialogViews& views);
