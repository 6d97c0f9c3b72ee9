// The "Select PTZ device" dialog of PTZ control: asks for the number of the camera to control,
// or goes back to the control centre ("ESC", result 20).  It sends nothing itself.
#pragma once

#include <windows.h>

#include <memory>

#include "mainwnd/select_ptz.h"
#include "platform/dialog.h"
#include "platform/tooltip.h"

class CSelectPTZDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 290;
  static constexpr int kNumberEdit = 1040, kEscButton = 1068;
  static constexpr int kSelectLabel = 1334, kPtzLabel = 1335;

  // list: the control-device list whose current unit the dialog starts from; scale: the screen's
  // pixels per inch divided by 96.
  CSelectPTZDlg(HWND parent, const C_ControlD& list, float scale);
  ~CSelectPTZDlg() override;

  int m_nSelectNo = 0;
  HWND m_hEscButton = nullptr;

  bool PreTranslateMessage(MSG* msg) override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  // Grows the dialog to hold CANCEL at its pixel place.
  void FitAround(const PixelRect& cancel);
  // OK takes CANCEL's size and row.
  void MatchOk(const PixelRect& cancel);

  const C_ControlD& m_list;
  float m_scale;
  std::unique_ptr<ost::ToolTip> m_pToolTip;
};
