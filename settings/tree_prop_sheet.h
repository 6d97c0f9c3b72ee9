// A property sheet whose pages are chosen in a tree on its left: its tab control stays hidden,
// a frame with a caption bar stands over the page area, a title box under the tree names the
// device kind and a progress box beside the buttons shows the progress channel's bar.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/property_page.h"
#include "settings/sheet_layout.h"
#include "settings/sheet_rules.h"

// The page frame's drawing: a caption bar over a message area.
class CPageFrame {
 public:
  virtual ~CPageFrame() = default;
  virtual bool CreateFrameWindow(DWORD style, const RECT& rect, HWND parent, int id) = 0;
  virtual HWND FrameWindow() const = 0;
  virtual void SetCaptionVisible(bool visible);
  virtual void SetCaptionBarHeight(int height);
  virtual void SetCaptionText(const std::string& text);
  virtual void SetMessageText(const std::string& text);
  virtual void SetMessageFormat(UINT flags);
  virtual void PaintFrame(HDC dc);
  virtual RECT MessageArea() const;
  virtual void PaintMessage(HDC dc, const RECT& rect, const std::string& text, UINT flags);
  virtual RECT CaptionArea() const;
  virtual void PaintCaption(HDC dc, const RECT& rect, const std::string& text);

  bool CaptionVisible() const { return m_captionVisible; }
  int CaptionHeight() const { return m_captionHeight; }
  const std::string& CaptionText() const { return m_captionText; }
  const std::string& MessageText() const { return m_messageText; }
  UINT MessageFormat() const { return m_messageFormat; }

 protected:
  RECT ClientRect() const;
  void InvalidateArea(const RECT& area);

 private:
  bool m_captionVisible = false;
  int m_captionHeight = 0;
  std::string m_captionText;
  std::string m_messageText;
  UINT m_messageFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
};

// The frame the sheet uses: a child window "Page Frame" with a gradient caption.
class CPageFrameWnd : public ost::Wnd, public CPageFrame {
 public:
  bool CreateFrameWindow(DWORD style, const RECT& rect, HWND parent, int id) override;
  HWND FrameWindow() const override { return m_hWnd; }
  RECT MessageArea() const override;
  void PaintCaption(HDC dc, const RECT& rect, const std::string& text) override;

 protected:
  void OnPaint() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

class CTreePropSheet : public ost::Dialog {
 public:
  // caption: the sheet's title; parent: the window it is placed beside; initialPage: the page
  // shown first. productId chooses the tree table and the title text.
  CTreePropSheet(std::string caption, HWND parent, int initialPage, std::string productId);
  ~CTreePropSheet() override;

  // Before the window exists. The sheet does not own its pages.
  void AddPage(ost::PropertyPage* page);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  ost::PropertyPage* GetPage(int index) const;
  int GetActiveIndex() const { return m_active; }
  ost::PropertyPage* GetActivePage() const { return GetPage(m_active); }
  // Shows the page (made on first showing); false when the current page refused to be left
  // or the page refused to be shown.
  bool SetActivePage(int index);
  int PageIndexOf(const std::string& caption) const;

  HWND TreeControl() const { return m_hTree; }
  CPageFrame* PageFrame() const { return m_pFrame.get(); }
  const std::string& ProductId() const { return m_productId; }
  int TreeWidth() const { return m_treeWidth; }
  // The screen's pixels per inch / 96, for the boxes; before the window exists.
  void SetScreenScale(float scale) { m_scale = scale; }

  bool PreTranslateMessage(MSG* msg) override;

  // The progress box's state, as the progress commands left it.
  bool ProgressActive() const { return m_progressActive.load(); }
  uint32_t ProgressTotal() const { return m_progressTotal.load(); }
  uint32_t ProgressCurrent() const { return m_progressCurrent.load(); }

 protected:
  BOOL OnInitDialog() override;
  void OnPaint() override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

  // The text shown in the frame when the selected item has no page.
  virtual std::string MakeMessageText(const std::string& caption);
  virtual std::unique_ptr<CPageFrameWnd> NewFrameWindow();

  // A command of the progress channel, on the channel's thread: keeps the values and asks the
  // window to repaint the box.
  void ProgressThread(uint32_t command, uint32_t value);

  // Where the pages go (client coordinates).
  RECT PageRect() const;
  const SheetBoxes& Boxes() const { return m_boxes; }

 private:
  void PlaceBesideParent();
  void BuildPageTree();
  void RefreshPageFrame();
  void SelectTreeItemOf(int page);
  LRESULT OnNotify(NMHDR* header);
  void StepTree(bool forward);
  void DrawTitleBox(HDC dc);
  void DrawProgressBox(HDC dc);

  std::string m_caption;
  HWND m_parentWnd;
  int m_initialPage;
  std::string m_productId;
  std::vector<ost::PropertyPage*> m_pages;
  std::vector<HTREEITEM> m_pageItems;  // per page, null when it has no item
  std::vector<HTREEITEM> m_rowItems;   // per table row of the last build
  int m_active = -1;
  int m_treeWidth = 150;
  float m_scale = 1.0f;
  bool m_selectionGuard = false;
  HWND m_hTree = nullptr;
  HWND m_hTab = nullptr;
  RECT m_pageArea{};
  SheetBoxes m_boxes{};
  std::unique_ptr<CPageFrameWnd> m_pFrame;
  ost::Brush m_back;
  ost::Font m_titleFont;
  std::atomic<bool> m_progressActive{false};
  std::atomic<uint32_t> m_progressTotal{0};
  std::atomic<uint32_t> m_progressCurrent{0};
  bool m_serving = false;
};
