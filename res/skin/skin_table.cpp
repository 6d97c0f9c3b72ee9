#include "res/skin/skin_table.h"

#include <algorithm>

#include "res/skin/dialog_skin.h"
#include "res/skin/channel_bar_skin.h"
#include "res/skin/cmos_skin.h"
#include "res/skin/login_skin.h"
#include "res/skin/main_skin.h"

std::vector<SkinBitmap> SkinBitmaps() {
  std::vector<SkinBitmap> all;
  AddLoginSkin(all);
  AddDialogSkin(all);
  AddChannelBarSkin(all);
  AddCmosSkin(all);
  AddMainWindowSkin(all);
  return all;
}

std::string SkinFilePath(const std::string& name) {
  std::string path = name;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}
