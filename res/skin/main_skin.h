// The main window's skin: backgrounds per layout class (panel closed and open), status bars,
// indicator icons, title, power, panel and main buttons, and every tool-key face, each at the
// size of the rectangle the window gives it.
#pragma once

#include <vector>

#include "res/skin/skin_table.h"

void AddMainWindowSkin(std::vector<SkinBitmap>& out);
