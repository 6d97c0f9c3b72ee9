// The camera-sensor toolbar's skin under "BMP\CMOS\": its background and the off ("_UP") and on
// ("_DOWN") faces of its six view buttons and two flip buttons.
#pragma once

#include <vector>

#include "res/skin/skin_table.h"

void AddCmosSkin(std::vector<SkinBitmap>& out);
