// The skinned main window: it opens after login at the layout of the device's family, video
// standard and resolution, creates its main, title, panel and tool buttons from the tables,
// draws every decoded picture at the layout's video rectangle (or over the whole screen), shows
// the status line with the frame and data rates, carries the channel bar and device control's
// keys, and closes the session.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/zev_button.h"
#include "live/live_view_window.h"
#include "res/tables/layout_table.h"
#include "res/tables/model_control_table.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/tooltip.h"

struct PtzPanelChange;

class CPallumDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 102;
  // Hidden texts that mirror the status line and count the drawn frames, for tools that read
  // window texts (tests, accessibility).
  static constexpr int kStatusId = 1100;
  static constexpr int kFrameCountId = 1101;
  // Counts the drawn frames that carried the hot-point marker.
  static constexpr int kMarkedFramesId = 1102;
  static constexpr int kConnectId = 1002;
  static constexpr int kRecordId = 1005;
  static constexpr int kPanelOpenId = 8192;
  static constexpr int kPanelCloseId = 8193;
  static constexpr int kTurboId = 8310;
  static constexpr int kPowerId = 8311;
  static constexpr int kPtzControlId = 8312;
  static constexpr int kRetrId = 8331;
  static constexpr int kActionPresetId = 8356;
  static constexpr int kTitleIds[3] = {8200, 8201, 8202};

  CPallumDlg();
  ~CPallumDlg() override;

  // Replaces the status-line text (nothing in full screen). From another thread the window's
  // thread takes the text over; a text set on the window's thread wins over one still on its
  // way. Returns 1.
  int SetStatusText(const std::string& text);
  std::string StatusText() const;
  // The kernel message thread's code 2 (through the stream pipeline): draws the picture, serves
  // the snapshot and motion-editor requests, updates the overlays and every 2 s the statistics.
  // 1 when done with the picture; 0 without a connected stream (nothing drawn, nothing
  // signalled). Never waits for the window's thread.
  int DrawVideoFrame(const ShownFrame& frame);
  uint32_t DrawnFrames() const { return m_dwDrawnFrames.load(); }
  // What the window installs on the stream pipeline while it exists.
  LiveViewWindow& LiveView() { return m_liveView; }

  int UpdateToolButtons();
  int ChangeItemPositionForDeviceModified();
  // PTZ control left from outside the PTZ dialog (the camera it held is gone): the PTZ button
  // back to its first state, the hot point off. The caller makes a channel unit current and
  // re-applies the layout, which sets the button's tip.
  void ResetPtzButton();
  // Skin-set loaders and their wrappers (the loader under the bitmap lock, then the update).
  int LoadTurboBitmaps(SkinSet set);
  void ReloadTurboBitmaps(SkinSet set);

  bool DestroyWindow() override;

  bool FullScreen() const { return m_bFullScreen.load() != 0; }
  void EnterFullScreen();
  void LeaveFullScreen();

  std::string HUText() const;
  std::string AlarmChannelText() const;

  // Fetches the device's configuration for the settings sheet: "ALL" at once, or block by
  // block on older firmware. 1 when every block arrived, 0 at the first that did not.
  int FetchSystemConfig();

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}      // Enter never ends the main window
  void OnCancel() override {}  // nor does Escape
  void OnTimer(UINT_PTR id) override;
  bool OnCommand(WPARAM wp, LPARAM lp) override;
  void OnPaint() override;
  void OnLButtonDown(UINT flags, POINT point) override;
  void OnLButtonUp(UINT flags, POINT point) override;
  void OnMouseMove(UINT flags, POINT point) override;
  bool PreTranslateMessage(MSG* msg) override;

 private:
  // The window as the stream pipeline sees it: the renderer runs on the kernel message thread;
  // every other call comes from a stream thread and only posts.
  class PipelineView : public LiveViewWindow {
   public:
    explicit PipelineView(CPallumDlg& window) : m_window(window) {}
    int DrawVideoFrame(const ShownFrame& frame) override { return m_window.DrawVideoFrame(frame); }
    void SetCurrentChannel(uint8_t displayChannel) override;
    void SwitchChannel(int channel) override;
    void SetStatusText(const char* text) override { m_window.SetStatusText(text ? text : ""); }
    void PostCmosState(uint8_t state) override;
    void RelayoutChannelBar() override;
    void ChangeItemPositionForDeviceModified() override;
    void ReloadTurboBitmapsNQVGA() override { Post(SkinSet::kNQvga); }
    void ReloadTurboBitmapsNVGA() override { Post(SkinSet::kNVga); }
    void ReloadTurboBitmapsPQVGA() override { Post(SkinSet::kPQvga); }
    void ReloadTurboBitmapsPVGA() override { Post(SkinSet::kPVga); }

   private:
    void Post(SkinSet set);
    CPallumDlg& m_window;
  };

  bool Initialise();
  void ReportFailedStart(const char* why);
  bool LoadBackgroundBitmaps();
  void InitSkinButtons(uint16_t layoutId);
  void CreateButtons(const ModelControlRow* row);
  void ApplyKeyRule(int rule);
  void ShapeWindow(const LayoutRect& rect, int corner, bool centred);
  void ShowPanelButtons(bool open, bool close);
  void OnPanelOpen();
  void OnPanelClose();
  void OnCloseButton();
  void InstallDeviceControlHooks();
  void OnTurbo();
  void OnActionPreset();
  void OnRetrButtonState(int state);
  CZevButton* ToolButton(int id);
  // A tool button's tip; the button's window text carries it too, for tools that read texts.
  void SetToolTip(CZevButton& button, const std::string& text);
  // The first (half 0) or second half of a string pair as a tool button's tip.
  void SetToolTipHalf(CZevButton& button, UINT pairId, int half);
  // Every tool button's tip for the current unit's model; the two-text buttons' by their state.
  void UpdateToolTips();

  // PTZ control, the hot point and PTZ off (ptz_panel.cpp).
  void MapPtzHandlers();
  void OnPtzControl();
  void ApplyPtzChange(const PtzPanelChange& change);
  // The PTZ button (key 60) to state (-1: unchanged).
  void SetPtzButton(int state);
  LRESULT SendPtzHotPoint();
  void OnPtzOff();
  bool Shutdown();

  void OnLogin();

  // The main buttons' commands and the window messages of main_window_actions.cpp.
  void MapActionHandlers();
  void OnRecord();
  void OnSnapshoot();
  void OnResol();
  void OnQuility();
  void OnColorAdjust();
  void OnSystemConfig();
  void CloseSettingsSheet();
  LRESULT OnPostAlarmAudio(WPARAM wParam, LPARAM lParam);
  void OnReconnectRequest();
  static void CALLBACK ReconnectTimerProc(HWND hwnd, UINT msg, UINT_PTR id, DWORD time);
  CZevButton* MainButton(int id);
  void SetMainButtonState(int id, int state);
  void Disconnect();
  LRESULT OnShowStatus(WPARAM wParam, LPARAM lParam);
  void SetButtonState(uint32_t layoutFlag, int state);
  void ClearOverlayTexts(WPARAM which);
  void OnDeviceClockChanged();
  void TakePendingStatus();

  // Renderer helpers (kernel message thread).
  void DrawPicture(HDC dc, const uint8_t* picture, uint16_t width, uint16_t height);
  void UpdateStatistics(bool videoLoss);

  const LayoutRow& Layout() const;
  uint8_t Class() const;
  const ModelControlRow* ModelRow() const;
  bool PanelLessModel() const;

  // Overlays and the status line, shared with the renderer's thread.
  mutable std::mutex m_textLock;
  std::string m_strStatusText;
  std::string m_strPendingStatus;
  bool m_fStatusPending = false;
  std::string m_strHUText;
  std::string m_strAlarmChannelText;

  std::atomic<uint32_t> m_bFullScreen{0};
  RECT m_rcFullScreen{};
  bool m_bToolPanelOpen = false;
  bool m_fClockShown = true;
  bool m_fInitialised = false;
  bool m_fClosed = false;
  DWORD m_dwThreadId = 0;
  std::atomic<uint32_t> m_dwDrawnFrames{0};
  uint32_t m_dwShownCount = UINT32_MAX;
  std::atomic<uint32_t> m_dwMarkedFrames{0};
  uint32_t m_dwShownMarked = UINT32_MAX;

  std::unique_ptr<ost::ToolTip> m_pToolTip;
  ost::Bitmap m_hBackground[4], m_hBackgroundEx[4], m_hStatusBar[4];
  ost::Bitmap m_hOnlineUserIcon, m_hAlarmIcon;
  ost::Font m_statusFont;
  HICON m_hIcon = nullptr;

  CZevButton m_btnTitle[3];
  CZevButton m_btnTool[kToolKeys];
  bool m_fToolLoaded[kToolKeys] = {};
  CZevButton m_btnModel[10];
  CZevButton m_btnPanelOpen, m_btnPanelClose, m_btnPower;
  ost::Static m_statusMirror, m_frameCountMirror, m_markedMirror;
  std::mutex m_csButtonBitmaps;
  std::vector<uint8_t> m_DrawRows;  // renderer only: the picture widened for the screen
  PipelineView m_liveView{*this};
};
