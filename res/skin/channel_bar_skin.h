// The channel bar's skin under "BMP\": the "DVR" and input buttons (lit and unlit faces with
// their hover faces) and the two page arrows.
#pragma once

#include <vector>

#include "res/skin/skin_table.h"

void AddChannelBarSkin(std::vector<SkinBitmap>& out);
