#pragma once

#include "app/Session.h"
#include "exchange/PanelExchange.h"
#include "panels/PanelOperations.h"
#include "settings/Folders.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

// One PC as the program wires it for the panel commands: a temporary settings folder, the session over it,
// the ribbon's panel commands and export/import. Fixtures add the panels and files they need.
struct PanelWorld
{
    TestPlatform t;
    ScriptedPrompter prompter;
    Session s{t.platform(), prompter};
    PanelOperations ops{s.platform(), s.prompter(), s.folders, s.settings, s.loaded()};
    PanelExchange exchange{s.platform(), s.prompter(), s.folders, s.loaded()};

    PanelWorld() { s.folders = ResolveFolders(t.env, t.files); }
};
