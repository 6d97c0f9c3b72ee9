// The login window's skin: its frame pieces, tool, connect and cancel buttons (normal, hover
// and pressed faces), field labels, version digits and progress block, under "BMP\LOGIN\".
#pragma once

#include <vector>

#include "res/skin/skin_table.h"

void AddLoginSkin(std::vector<SkinBitmap>& out);
