#pragma once

#include "platform/DialogViews.h"

// The views of every dialog of the program, for the prompter that shows them.
DialogViews programViews();
