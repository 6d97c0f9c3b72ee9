// The skinned bitmap button: an owner-drawn push button whose faces are bitmap files loaded at
// run time.  A style word chosen when the faces are loaded decides how the face follows the
// mouse; clicks reach the parent as ordinary button notifications.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/button_outline.h"
#include "platform/controls.h"

class CZevButton : public ost::Button {
 public:
  // Style words: one bit per button.
  static constexpr uint16_t kHover = 0x01;            // mouse-over face while the mouse is over it
  static constexpr uint16_t kPress = 0x02;            // pressed face while held down
  static constexpr uint16_t kFixedThreeState = 0x04;  // flat, focus or selected face by state 1-3
  static constexpr uint16_t kThreeStateCycle = 0x08;  // a click steps flat, focus, selected
  static constexpr uint16_t kStateListClick = 0x10;   // state list stepped by a click
  static constexpr uint16_t kPressHover = 0x20;       // 0x02 and 0x01 together
  static constexpr uint16_t kStateListSet = 0x40;     // state list set by the program
  static constexpr uint16_t kSingleFace = 0x80;       // one fixed face

  CZevButton();
  ~CZevButton() override;

  // Single face: one-entry list, m_wStateCount 0.  1, or 0 with the style unchanged.
  int LoadButtonBitmap(const char* file, uint16_t style);
  // State list: count pairs {normal face, mouse-over face}.  Stops at the first file that fails
  // (0, style unchanged, the rest null).
  int LoadButtonBitmap(uint16_t count, const char* const (*files)[2], uint16_t style);
  // Three faces: flat, focus (mouse over), selected (pressed).
  int LoadButtonBitmap(const char* flat, const char* focus, const char* selected, uint16_t style);

  // -1: the position before the current one, nothing changed.  A position inside the list
  // becomes current, any other keeps it; then the current normal face is painted and 1
  // returned, or -1 when the button holds neither a state list nor a single face.
  int SetState(int position);
  // Carried for windows that want them: the previous state of the list, and the faces of the
  // fixed three-state style (1 flat, 2 focus, 3 selected).
  void StepStateBack();
  void SetFaceState(int state);

  // Carried: clip the window to an outline shape (0 rectangle, 1 diamond, 2 circle,
  // 3 capsule) over the client rectangle, or to a given outline's outer layer.
  void SetRegionShape(int shape);
  void SetRegionFromOutline(const CButtonOutline& outline);

  CButtonOutline m_Outline;
  HBITMAP m_hFlatBitmap = nullptr;
  HBITMAP m_hFocusBitmap = nullptr;
  HBITMAP m_hSelectedBitmap = nullptr;
  int32_t m_bHover = 0;
  uint16_t m_wStyle = 0;
  int32_t m_bUp = 1;
  uint16_t m_wState = 0;
  uint16_t m_wStateCount = 0;
  std::vector<HBITMAP> m_phStateBitmaps;
  std::vector<HBITMAP> m_phStateFocusBitmaps;

 protected:
  void PreSubclassWindow() override;
  void DrawItem(DRAWITEMSTRUCT* item) override;
  void OnMouseMove(UINT flags, POINT point) override;
  void OnLButtonDown(UINT flags, POINT point) override;
  void OnLButtonUp(UINT flags, POINT point) override;
  void OnSetFocus(HWND oldFocus) override;
  void OnKillFocus(HWND newFocus) override;
  LRESULT OnMouseLeave(WPARAM wp, LPARAM lp);

 private:
  void StepThreeState();
  void StepState();
  void TogglePressed();

  bool HoverStyle() const;
  // The normal or mouse-over face of the current state; null when there is none.
  HBITMAP StateFace(bool mouseOver) const;
  // Copies the face to the button's top-left corner through the button's own context.
  void PaintFace(HBITMAP face) const;
  void PaintFace(HBITMAP face, int width, int height) const;
  void ReleaseFaces();
  void ReleaseStateLists();
};
