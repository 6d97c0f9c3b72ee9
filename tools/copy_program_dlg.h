// "Copy Program": copies the program with its player, data files, settings and skin bitmaps
// from the source folder into the destination folder, half a second after it opens, and points
// the copy's settings at the destination.
#pragma once

#include <windows.h>

#include <string>

#include "platform/dialog.h"
#include "platform/gdi.h"

class CCopyProgramDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 295;
  static constexpr int kProgressBar = 1354;
  static constexpr int kPercentText = 1355;
  static constexpr UINT_PTR kStartTimer = 4096;

  CCopyProgramDlg(HWND parent, std::string sourcePath, std::string destPath);

  std::string m_strSourcePath;
  std::string m_strDestPath;
  UINT_PTR m_nTimer = 0;
  std::string m_strProgress;
  // Files of the source that could not be copied (reported in one message at the end).
  int m_nFailedFiles = 0;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(ost::DataExchange& dx) override;
  void OnTimer(UINT_PTR id) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  static void CALLBACK CopyTimerProc(HWND hwnd, UINT msg, UINT_PTR id, DWORD time);
  void CopyFiles();
  void ShowProgress(int percent);

  ost::Brush m_backBrush;
};
