#pragma once

#include "panels/LoadedPanel.h"

#include <gtest/gtest.h>

// Opens the named panel as Load does (its rows, its settings, its caption); the test fails when it is missing.
inline void loadPanel(LoadedPanel& loaded, const QString& name)
{
    ASSERT_TRUE(loaded.open(name, {})) << "no panel " << name.toStdString();
}
