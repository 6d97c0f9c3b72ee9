// The Detection page's edit dialog: one channel's motion switch, LS/SS/TS/RE and alarm-input
// type, and the motion-area editor, a 16 x 12 grid over the channel's live picture whose cells
// a click or a drag toggles. "Setup" grows the dialog over the picture and starts the redraw,
// which takes one frame after another from the renderer.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

#include "platform/dialog.h"
#include "settings/dvr_channel_rows.h"
#include "settings/motion_frame_source.h"
#include "settings/motion_mask.h"

class CDetectionEditDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 324;
  static constexpr int kNumber = 1413, kDetect = 1416, kSetup = 1068, kLS = 1417, kSS = 1418,
                       kTS = 1419, kRE = 1420, kAlarm = 1421, kSelectAll = 1423, kClearAll = 1424;

  struct Start {
    int rowNumber = 1;                // shown "%2d"
    DetectionEdit values;             // the row as the page holds it
    bool normallyOpenClosed = false;  // device mask bit 0x80: "N.O."/"N.C." texts
    uint8_t videoMode = 0;            // 0: 525 lines (view 228 pixels high), else 276
    float scale = 1.0f;               // screen pixels per inch / 96
  };

  CDetectionEditDlg(HWND parent, const Start& start, MotionFrameSource& source);
  ~CDetectionEditDlg() override;

  // After IDOK: the values to store (the area always).
  const DetectionEdit& Result() const { return m_values; }
  const MotionMaskEditor& Editor() const { return m_editor; }
  bool ImageReady() const { return m_bImageReady; }
  // The picture's place in the dialog (client pixels).
  RECT ViewRect() const;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnPaint() override;
  void OnLButtonDown(UINT flags, POINT point) override;
  void OnLButtonUp(UINT flags, POINT point) override;
  void OnMouseMove(UINT flags, POINT point) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnSetup();
  // The editor's view of the picture last taken.
  void SyncEditorView();
  void FilterNumber(int id, int hi);
  void StopRedraw();
  void RedrawLoop();
  static DWORD WINAPI RedrawThread(void* self);

  Start m_start;
  MotionFrameSource& m_source;
  DetectionEdit m_values;
  MotionMaskEditor m_editor;
  bool m_bSetup = false;
  bool m_bLoading = false;
  int m_wViewX = 0, m_wViewY = 0, m_wViewWidth = kMotionViewWidth, m_wViewHeight = 228;

  // The picture the redraw thread last took, and its size; guarded by m_imageLock.
  std::mutex m_imageLock;
  std::vector<uint8_t> m_image;
  MotionPicture m_picture;
  std::vector<uint8_t> m_work;  // the painted copy (window thread only)
  volatile bool m_bImageReady = false;

  HANDLE m_hRedrawEvent = nullptr;
  HANDLE m_hRedrawStopEvent = nullptr;
  HANDLE m_hRedrawThread = nullptr;
};
