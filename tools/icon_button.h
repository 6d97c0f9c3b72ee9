// An owner-drawn push button with an icon or a bitmap (transparent colour, optional resting
// image or a grey or darker copy), the window text as caption, a flat look that frames the
// button only under the mouse, state colours, and one click action: check-box toggling, a popup
// menu or a shell link.  It can also paint its parent's pixels under it as its background.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/controls.h"
#include "platform/tooltip.h"
#include "tools/icon_button_math.h"

class CIconButton : public ost::Button {
 public:
  // Second-image requests.
  static constexpr intptr_t kGreyCopy = -2;
  static constexpr intptr_t kDarkerCopy = -3;
  // Results of the setting operations.
  enum : int {
    kDone = 0,
    kNoResource = 1,
    kNoMask = 2,
    kBadColourIndex = 3,
    kBadAlignment = 4,
    kBadShade = 5,
    kBadShiftStyle = 6
  };

  CIconButton();
  ~CIconButton() override;

  // Images; the button owns every handle it is given.
  int AssignIcons(HICON active, intptr_t resting = 0);
  int AssignIconFiles(const char* activePath, const char* restingPath);
  int AssignBitmaps(HBITMAP active, COLORREF transparent, intptr_t resting = 0,
                    COLORREF restingTransparent = 0);
  int AssignBitmapFiles(const char* activePath, COLORREF transparent, intptr_t request = 0,
                        const char* restingPath = nullptr, COLORREF restingTransparent = 0);
  void FreeImages(bool destroy);
  void FitToImage();

  int SetFlatLook(bool on, bool repaint);
  int SetFlatFrame(bool on, bool repaint);
  int SetFlatFocusRect(bool on, bool repaint);
  int SetImageAlignment(int alignment, bool repaint);
  int SetPressedShift(int style, bool repaint);
  void SetCaptionFont(int tenthsOfPoint, const char* face);
  int ResetColours(bool repaint);
  int SetStateColour(int index, COLORREF colour, bool repaint);
  int GetStateColour(int index, COLORREF& colour) const;
  int ShiftStateColour(int index, int shade, bool repaint);
  int SetChecked(int state, bool repaint);
  int IsChecked() const { return m_nCheck; }
  bool IsDefaultButton() const { return m_fDefault; }
  bool IsCheckBoxMode() const { return m_fCheckBox; }
  bool IsHovered() const { return m_fHover; }
  int SetTrackAlways(bool on);
  void EnableTransparency(bool repaint);
  int CaptureBackground(HDC dc);
  int AssignCursor(HCURSOR cursor);
  void SetHintText(const char* text, bool activate);
  int AttachMenu(HMENU menu, HWND owner, bool repaint);
  int SetMenuNotify(HWND window, UINT message, LPARAM parameter);
  int SetLinkTarget(const char* text);
  const char* LinkTarget() const { return m_szLink; }
  // Where the image was last drawn, in client coordinates.
  RECT LastImageRect() const { return m_rcLastImage; }

  // The click action (check state, menu, link); also run for a click from the keyboard.
  void OnClicked();

 protected:
  void PreSubclassWindow() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void DrawItem(DRAWITEMSTRUCT* item) override;

 private:
  struct IconRecord {
    HICON icon = nullptr;
    int width = 0, height = 0;
  };
  struct BitmapRecord {
    HBITMAP bitmap = nullptr;
    int width = 0, height = 0;
    HBITMAP mask = nullptr;
    COLORREF transparent = 0;
  };

  void Repaint(bool repaint);
  void CancelHover();
  void DrawBackground(HDC dc, RECT& rect);
  void DrawFrame(HDC dc, const RECT& rect);
  void DrawImage(HDC dc, bool hasCaption, const RECT& item, RECT& caption);
  void DrawCaption(HDC dc, const std::string& text, RECT caption);
  void PaintSavedBackground(HDC dc);
  void DropSavedBackground();
  int WhichImage() const;

  int m_nMarginX = 3, m_nMarginY = 3;
  int m_nShiftX = 1, m_nShiftY = 1;
  HFONT m_hCaptionFont = nullptr;
  bool m_fFlat = true;
  bool m_fHover = false;
  bool m_fTransparent = false;
  bool m_fPressed = false, m_fFocused = false, m_fDisabled = false;
  bool m_fDefault = false, m_fCheckBox = false;
  uint8_t m_byAlignment = 0;
  bool m_fFlatFrame = true, m_fFlatFocusRect = false;
  COLORREF m_crColours[6]{};
  HWND m_hMenuOwner = nullptr;
  bool m_fMenuShown = false;
  HMENU m_hMenu = nullptr;
  HCURSOR m_hCursor = nullptr;
  ost::ToolTip m_hint;
  bool m_fHintTool = false;
  HDC m_hSavedDc = nullptr;
  HBITMAP m_hSavedBitmap = nullptr;
  HGDIOBJ m_hSavedPrevious = nullptr;
  bool m_fTrackAlways = true;
  int m_nCheck = 0;
  int m_nType = 0x1F;
  char m_szLink[260] = {};
  IconRecord m_icons[2];
  BitmapRecord m_bitmaps[2];
  HWND m_hNotifyWnd = nullptr;
  UINT m_uNotifyMsg = 0;
  LPARAM m_lNotifyParam = 0;
  RECT m_rcLastImage{};
};
