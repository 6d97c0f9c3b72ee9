// Dialog windows from dialog templates of the program's resources, run modally (DoModal) or
// modelessly (Create).  The dialog window is subclassed by its object, so handlers are mapped
// and overridden as for any Wnd.
#ifndef OSTROVA_PLATFORM_DIALOG_H
#define OSTROVA_PLATFORM_DIALOG_H

#include <windows.h>

#include <atomic>
#include <string>

#include "platform/data_exchange.h"
#include "platform/wnd.h"

namespace ost {

// Every dialog draws its edit boxes flat in the skin's colours: light text on a dark card, a
// one-pixel slate frame that turns teal while the box has the focus.
inline constexpr COLORREF kEditText = RGB(0xE6, 0xEA, 0xEE);
inline constexpr COLORREF kEditReadOnlyText = RGB(0x8A, 0x95, 0xA3);
inline constexpr COLORREF kEditBack = RGB(0x24, 0x29, 0x31);
inline constexpr COLORREF kEditFrame = RGB(0x3A, 0x43, 0x50);
inline constexpr COLORREF kEditFocusFrame = RGB(0x1F, 0xB5, 0xA8);

class Dialog;

// A look a dialog can take over from the system: it sees the dialog's messages before the
// dialog does.  One skin object may serve many dialogs; what it keeps per window it keeps with
// the window.
class DialogSkin {
 public:
  virtual ~DialogSkin() = default;
  // Once the dialog has initialised (after OnInitDialog).
  virtual void Attach(Dialog& dialog) = 0;
  // Handles `msg` in place of the dialog (true, with its result) or leaves it to the dialog.
  virtual bool Filter(Dialog& dialog, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;
};

class Dialog : public Wnd {
 public:
  // `templateId` names a DIALOG resource; `parent` may be null.
  explicit Dialog(UINT templateId, HWND parent = nullptr);
  ~Dialog() override;

  // Creates the dialog, disables the parent, runs the dialog's own message loop (so that
  // PreTranslateMessage sees every message) until EndDialog, destroys the window through
  // DestroyWindow and returns the result.  -1 when the window cannot be created or the loop
  // sees WM_QUIT (which is posted again).
  INT_PTR DoModal();
  // Creates the dialog modelessly; it is shown only if its template has WS_VISIBLE.  Its
  // keyboard interface works in any loop that uses ProcessMessage.  False also when the dialog
  // ended itself while it initialised.
  bool Create();
  // Ends a modal run with `result` (also from OnInitDialog or from another thread), or
  // destroys a modeless dialog (on its own thread only).
  void EndDialog(INT_PTR result);
  INT_PTR GetResult() const { return m_result; }
  // The parent (or owner) the window is created with; set before DoModal or Create.
  void SetParentWindow(HWND parent) { m_parent = parent; }
  bool IsModal() const { return m_modal; }
  // The skin the dialog is drawn in; null (the default) for the system's look.  Set before the
  // window is created.
  void SetSkin(DialogSkin* skin) { m_skin = skin; }
  // The window's default processing of a message (for a skin that changes or follows it).
  LRESULT DefaultFor(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

  // Runs DoDataExchange: save == true reads the controls into the members, false writes the
  // members into the controls.  False when a value failed validation.  While the members are
  // written IsLoading() is true, so that change handlers can leave values alone that the
  // program, not the user, put there.
  bool UpdateData(bool save = true);
  bool IsLoading() const { return m_loading; }
  // The range prompt of the last failed save ("Please enter an integer between ..."), or empty.
  const std::string& LastPrompt() const { return m_lastPrompt; }

  // The dialog keyboard interface (Tab, Enter, Escape, mnemonics).
  bool PreTranslateMessage(MSG* msg) override;

 protected:
  // Default: UpdateData(false); returns true (the dialog manager sets the focus).
  virtual BOOL OnInitDialog();
  // IDOK: UpdateData(true), then EndDialog(IDOK) when it succeeded.
  virtual void OnOK();
  // IDCANCEL (also Escape and WM_CLOSE): EndDialog(IDCANCEL).
  virtual void OnCancel();
  virtual void DoDataExchange(DataExchange& dx);

  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnCommand(WPARAM wp, LPARAM lp) override;
  // Edit boxes (and read-only ones) in the skin's colours; other controls as by default.
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  static INT_PTR CALLBACK InitProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND CreateFromTemplate();
  void RunModalLoop();
  // Gives the dialog's own edit boxes the flat frame.
  void FlattenEdits();

  UINT m_templateId;
  HWND m_parent;
  bool m_modal = false;
  std::atomic<bool> m_endRequested{false};
  INT_PTR m_result = -1;
  bool m_loading = false;
  std::string m_lastPrompt;
  DialogSkin* m_skin = nullptr;
};

}  // namespace ost

#endif  // OSTROVA_PLATFORM_DIALOG_H
