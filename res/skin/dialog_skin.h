// The small skinned dialogs' skin (the colour dialog's frame, logo, icons and buttons), under
// "BMP\": a dark frame around a light body.
#pragma once

#include <vector>

#include "res/skin/skin_table.h"

void AddDialogSkin(std::vector<SkinBitmap>& out);
