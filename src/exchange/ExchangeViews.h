#pragma once

class DialogViews;

// The monitor chooser of Send To.
void registerExchangeViews(DialogViews& views);
