// The LAN device search "SEARCH": lists every device that answers the search, shows the selected
// device's network settings, changes them (APPLY) or resets the device (RESET DEFAULT) after the
// user confirms the device's account, and hands the chosen address and web port to the caller.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/dialog.h"
#include "tools/search_packet.h"

// "Confirm Authority": the device's user name and password, 15 characters each.
class CConfirmAuthorityDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 285;
  static constexpr int kEditUser = 1040;
  static constexpr int kEditPassword = 1043;
  CConfirmAuthorityDlg();
  ~CConfirmAuthorityDlg() override;
  std::string m_strUserName;
  std::string m_strPassword;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  HBRUSH m_hFace = nullptr;
};

// One device that answered, with its settings as texts.
struct SEARCH_DEVICE_ITEM {
  std::string strMac, strIp, strGateway, strDns, strNetMask;
  uint32_t dwPort = 0;
  uint8_t byType = 50;
  int32_t nIndex = 0;
};

class CDeviceSearchDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 158;
  static constexpr int kDeviceList = 1093;
  static constexpr int kSearchAgainButton = 1094;
  static constexpr int kApplyButton = 1095;
  static constexpr int kEditIpAddress = 1096;
  static constexpr int kEditWebPort = 1097;
  static constexpr int kEditNetMask = 1098;
  static constexpr int kEditGateway = 1099;
  static constexpr int kEditDns = 1100;
  static constexpr int kResetDefaultButton = 1101;
  static constexpr int kEditMac = 1041;
  static constexpr UINT_PTR kCaptionTimer = 1000;

  explicit CDeviceSearchDlg(HWND parent);
  ~CDeviceSearchDlg() override;

  // What the caller reads after the modal run.
  int32_t m_bDeviceChosen = 0;
  std::string m_strChosenAddress;
  int32_t m_nWebPort = 0;

  // Detail fields.
  std::string m_strIpAddress, m_strMacAddress, m_strNetMask, m_strGateway, m_strDns;

  // Adds one reply (on the dialog's thread): a new row 0 and a node at the end of the chain.
  void AddDeviceItem(const SEARCH_PACKET& reply);
  const SEARCH_DEVICE_ITEM* FindDeviceItem(int index) const;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(ost::DataExchange& dx) override;
  bool PreTranslateMessage(MSG* msg) override;
  void OnOK() override;
  void OnCancel() override;
  void OnTimer(UINT_PTR id) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  void OnItemChanged();
  void OnSearchAgain();
  void OnApply();
  void OnResetDefault();
  // Selection and authority shared by APPLY and RESET DEFAULT; the node, or null after a message.
  const SEARCH_DEVICE_ITEM* ConfirmSetup(bool readFields);
  // Reads the fields; false after a message when one is refused or the web port is outside
  // 0-9999.
  bool ReadFields();
  // Fields checked as whole addresses (never sent altered); false after a message.
  bool CheckedFields(SetupFields* fields);
  void RunSetup(SetupCommand command, const SetupFields& fields);
  void StartSearch();
  void StopSearch();
  void EnableControls(bool searching);
  LRESULT OnSearchReply(WPARAM, LPARAM);
  LRESULT OnSearchEnded(WPARAM, LPARAM);

  HBRUSH m_hFace = nullptr;
  std::thread m_searchThread;
  std::atomic<bool> m_stopSearch{false};
  std::mutex m_replyLock;
  std::vector<SEARCH_PACKET> m_pendingReplies;  // posted by the search thread
  std::vector<SEARCH_DEVICE_ITEM> m_chain;      // in arrival order
  int32_t m_nSelected = -1;
  std::string m_strUser, m_strPassword;
  uint32_t m_nCaptionStep = 0;
  std::string m_strSearchWord = "Search", m_strStopWord = "Stop_Search";
};
