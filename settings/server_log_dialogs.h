// The device log dialogs: the DVR's and the video server's lists of log entries with their
// event filters (the second also clears the device's log), and the carried log-list dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>

#include "pagerules/server_log.h"
#include "platform/dialog.h"
#include "platform/property_page.h"

class DeviceSession;
class SheetProgram;

class DeviceSession;

// The list and filters both dialogs share.
class ServerLogListBase : public ost::Dialog {
 public:
  static constexpr int kList = 1435;
  ServerLogListBase(UINT templateId, ServerLogKind kind);

  std::span<const uint8_t> plogList;
  uint32_t m_nCount = 0;
  uint32_t m_dwFilterMask;

 protected:
  BOOL OnInitDialog() override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;
  void ListEntries();

  ServerLogKind m_kind;
  ost::ListView m_list;

 private:
  ost::Brush m_back;
};

class CServerLogDlg : public ServerLogListBase {
 public:
  CServerLogDlg();
};

class CVSServerLogDlg : public ServerLogListBase {
 public:
  static constexpr int kClear = 1068, kExit = 1069;
  // program: where the clear's cookie comes from (none without one).
  explicit CVSServerLogDlg(DeviceSession* session, const SheetProgram* program = nullptr);

 private:
  void OnClear();
  DeviceSession* m_session;
  const SheetProgram* m_program;
};

// Carried: nothing opens it.
class CServerLogListDlg : public ost::Dialog {
 public:
  CServerLogListDlg();
};

// Runs the family's dialog over the fetched entries.
void RunServerLogDialog(ServerLogKind kind, std::span<const uint8_t> entries, uint32_t count,
                        DeviceSession* session, const SheetProgram* program,
                        const std::function<INT_PTR(ost::Dialog&)>& runModal);
