#include "settings/sheet_button.h"

#include "ui/dark_skin.h"

void SheetButton::PreSubclassWindow() {
  ModifyStyle(0, BS_OWNERDRAW);
}

void SheetButton::DrawItem(DRAWITEMSTRUCT* item) {
  ost::SkinButtonState state;
  state.pressed = (item->itemState & ODS_SELECTED) != 0;
  state.disabled = (item->itemState & ODS_DISABLED) != 0;
  state.focused = (item->itemState & ODS_FOCUS) != 0;
  ost::DrawSkinButton(item->hDC, item->rcItem, GetText(), state);
}
