// The program's dark dialog skin, shared by every dialog it draws itself: body, labels, push
// buttons, sliders and title bar in the main window's colours.
#pragma once

#include <windows.h>

#include <string>

#include "platform/dialog.h"

namespace ost {

// The skin's colours (the main window's and the settings sheet's).
namespace skin {
inline constexpr COLORREF kBody = RGB(0x1E, 0x22, 0x28);
inline constexpr COLORREF kTitleBar = RGB(0x17, 0x1A, 0x1F);
inline constexpr COLORREF kCard = RGB(0x24, 0x29, 0x31);
inline constexpr COLORREF kBorder = RGB(0x3A, 0x43, 0x50);
inline constexpr COLORREF kDivider = RGB(0x2C, 0x33, 0x3C);
inline constexpr COLORREF kText = RGB(0xE6, 0xEA, 0xEE);
inline constexpr COLORREF kMutedText = RGB(0x8A, 0x95, 0xA3);
inline constexpr COLORREF kAccent = RGB(0x1F, 0xB5, 0xA8);
inline constexpr COLORREF kAccentLight = RGB(0x5E, 0xD3, 0xC8);
inline constexpr COLORREF kAccentDark = RGB(0x14, 0x87, 0x7D);
inline constexpr COLORREF kDanger = RGB(0xE0, 0x62, 0x6E);
inline constexpr COLORREF kFace = RGB(0x2A, 0x30, 0x39);
inline constexpr COLORREF kFaceEdge = RGB(0x3B, 0x43, 0x4E);
inline constexpr COLORREF kFaceHover = RGB(0x36, 0x3E, 0x49);
inline constexpr COLORREF kFacePressed = RGB(0x17, 0x7F, 0x76);
inline constexpr COLORREF kInk = RGB(0x0F, 0x14, 0x17);
}  // namespace skin

// The skin for a dialog: SetSkin(&DarkDialogSkin()) before the dialog is created.  It paints
// the body and the labels, draws the dialog's push buttons itself (ids and texts unchanged),
// draws sliders through their custom-draw notices and, where the dialog has a title bar, paints
// the bar and its close box.
DialogSkin& DarkDialogSkin();

// How a push button face is drawn.
struct SkinButtonState {
  bool pressed = false;
  bool hot = false;
  bool focused = false;
  bool disabled = false;
  bool primary = false;  // the dialog's default button
};
// One push button face in the skin, its text centred.
void DrawSkinButton(HDC dc, const RECT& rect, const std::string& text,
                    const SkinButtonState& state);

// A slider's custom-draw notice answered in the skin's colours (its result for the notice).
LRESULT DrawSkinSlider(NMHDR* header);

// A tool tip in the skin's colours.
void SkinToolTip(HWND tip);

}  // namespace ost
