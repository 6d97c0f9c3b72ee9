// Windows Sockets before the dialog header brings in windows.h.
#include <winsock2.h>

#include "tools/device_search_dlg.h"

#include <commctrl.h>

#include <cstdio>

#include "app/app_data.h"
#include "net/local_ip.h"
#include "platform/message_box.h"
#include "tools/search_exchange.h"
#include "tools/tool_colours.h"
#include "tools/tools_messages.h"

namespace {

constexpr UINT WM_SEARCHREPLY = WM_UPGRADESHOWBAR + 2;
constexpr UINT WM_SEARCHENDED = WM_UPGRADESHOWBAR + 3;
constexpr UINT WM_SEARCHSENDFAILED = WM_UPGRADESHOWBAR + 4;

constexpr unsigned kMsgApplyFailed = 4004, kMsgApplyDone = 4005, kMsgBindFailed = 4006,
                   kMsgConnectError = 4014, kMsgNoIndexItem = 4031, kMsgNoItemData = 4035,
                   kMsgCannotModify = 4036, kMsgSelectItem = 4044, kMsgPasswordWrong = 4049,
                   kMsgReceiveError = 4059, kMsgSendTimeout = 4064, kMsgNotChanged = 4067,
                   kMsgUserWrong = 4080;
constexpr const char* kSendBroadcastWrong = "SendBroadCast is wrong";
constexpr const char* kAddressCheck = "Please enter an address of four numbers from 0 to 255.";
constexpr const char* kPortCheck = "Please enter a web port from 0 to 9999.";

constexpr int kFieldIds[] = {CDeviceSearchDlg::kEditIpAddress, CDeviceSearchDlg::kEditMac,
                             CDeviceSearchDlg::kEditNetMask,   CDeviceSearchDlg::kEditGateway,
                             CDeviceSearchDlg::kEditDns,       CDeviceSearchDlg::kEditWebPort};

std::string LoadText(UINT id, const char* fallback) {
  char text[256];
  const int n = ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
  return n > 0 ? std::string(text, static_cast<size_t>(n)) : fallback;
}

void SetColumnText(HWND list, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

CConfirmAuthorityDlg::CConfirmAuthorityDlg()
    : ost::Dialog(kTemplateId, nullptr), m_hFace(::CreateSolidBrush(kToolFace)) {}

CConfirmAuthorityDlg::~CConfirmAuthorityDlg() {
  ::DeleteObject(m_hFace);
}

HBRUSH CConfirmAuthorityDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (HBRUSH face = ToolDialogColours(dc, control, type, m_hFace)) return face;
  return ost::Dialog::OnCtlColor(dc, control, type);
}

HBRUSH CDeviceSearchDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (HBRUSH face = ToolDialogColours(dc, control, type, m_hFace)) return face;
  return ost::Dialog::OnCtlColor(dc, control, type);
}

void CConfirmAuthorityDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kEditUser, m_strUserName, 15);
  dx.Text(kEditPassword, m_strPassword, 15);
}

CDeviceSearchDlg::CDeviceSearchDlg(HWND parent)
    : ost::Dialog(kTemplateId, parent), m_hFace(::CreateSolidBrush(kToolFace)) {
  MapCommand(kSearchAgainButton, &CDeviceSearchDlg::OnSearchAgain);
  MapCommand(kApplyButton, &CDeviceSearchDlg::OnApply);
  MapCommand(kResetDefaultButton, &CDeviceSearchDlg::OnResetDefault);
  MapMessage(WM_NOTIFY, [this](WPARAM, LPARAM lp) -> LRESULT {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->idFrom == kDeviceList && header->code == LVN_ITEMCHANGED) OnItemChanged();
    return 0;
  });
  MapMessage(WM_SEARCHREPLY, &CDeviceSearchDlg::OnSearchReply);
  MapMessage(WM_SEARCHENDED, &CDeviceSearchDlg::OnSearchEnded);
  MapMessage(WM_SEARCHSENDFAILED, [](WPARAM, LPARAM) -> LRESULT {
    OstMessageBox(kSendBroadcastWrong);
    return 0;
  });
  const std::string words = LoadText(3028, "Search\nStop_Search");
  const size_t split = words.find_first_of(" \r\n\t");
  if (split != std::string::npos) {
    m_strSearchWord = words.substr(0, split);
    m_strStopWord = words.substr(words.find_first_not_of(" \r\n\t", split));
  }
}

CDeviceSearchDlg::~CDeviceSearchDlg() {
  StopSearch();
  ::DeleteObject(m_hFace);
}

BOOL CDeviceSearchDlg::OnInitDialog() {
  char local[64];
  GetLocalIpString(local, sizeof local);
  g_strLocalIPAddress = local;
  ost::Dialog::OnInitDialog();
  HWND list = GetDlgItem(kDeviceList);
  ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  ::SendMessageA(list, LVM_SETBKCOLOR, 0, ost::kEditBack);
  ::SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, ost::kEditBack);
  ::SendMessageA(list, LVM_SETTEXTCOLOR, 0, ost::kEditText);
  const struct {
    UINT id;
    const char* text;
    int width;
  } columns[] = {{3022, "IP", 120},
                 {3023, "MAC", 130},
                 {3024, "PORT", 60},
                 {3025, "DEVICE", 100},
                 {3026, "PRE USED", 90}};
  for (int i = 0; i < 5; ++i) {
    const std::string heading = LoadText(columns[i].id, columns[i].text);
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.fmt = LVCFMT_LEFT;
    c.cx = columns[i].width;
    c.pszText = const_cast<char*>(heading.c_str());
    ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c));
  }
  StartSearch();
  return TRUE;
}

void CDeviceSearchDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kEditMac, m_strMacAddress, 18);
  dx.Text(kEditIpAddress, m_strIpAddress, 16);
  dx.Text(kEditWebPort, m_nWebPort);
  dx.Text(kEditNetMask, m_strNetMask, 16);
  dx.Text(kEditGateway, m_strGateway, 16);
  dx.Text(kEditDns, m_strDns, 16);
}

bool CDeviceSearchDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return true;
  return ost::Dialog::PreTranslateMessage(msg);
}

void CDeviceSearchDlg::OnCancel() {}

void CDeviceSearchDlg::OnTimer(UINT_PTR id) {
  if (id != kCaptionTimer) return;
  static constexpr const char* kDots[] = {" .", " ..", " ...", " ...."};
  const std::string caption = " " + m_strSearchWord + kDots[m_nCaptionStep % 4];
  ::SetWindowTextA(m_hWnd, caption.c_str());
  ++m_nCaptionStep;
}

void CDeviceSearchDlg::EnableControls(bool searching) {
  for (int id : {kDeviceList, kSearchAgainButton, kApplyButton, IDOK, kResetDefaultButton})
    ::EnableWindow(GetDlgItem(id), !searching);
  if (searching)
    for (int id : kFieldIds) ::EnableWindow(GetDlgItem(id), FALSE);
}

void CDeviceSearchDlg::StartSearch() {
  EnableControls(true);
  ::SetTimer(m_hWnd, kCaptionTimer, 300, nullptr);
  StopSearch();
  m_stopSearch = false;
  const std::string own = g_strLocalIPAddress;
  HWND dialog = m_hWnd;
  try {
    m_searchThread = std::thread([this, own, dialog] {
      SearchCallbacks callbacks;
      callbacks.reply = [&](const SEARCH_PACKET& p) {
        {
          std::lock_guard<std::mutex> lock(m_replyLock);
          m_pendingReplies.push_back(p);
        }
        ::PostMessageA(dialog, WM_SEARCHREPLY, 0, 0);
      };
      callbacks.sendFailed = [dialog] { ::PostMessageA(dialog, WM_SEARCHSENDFAILED, 0, 0); };
      const SearchEnd end = RunSearch(own, callbacks, m_stopSearch);
      if (end != SearchEnd::kStopped)
        ::PostMessageA(dialog, WM_SEARCHENDED, static_cast<WPARAM>(end), 0);
    });
  } catch (const std::system_error&) {
    ::PostMessageA(m_hWnd, WM_SEARCHENDED, static_cast<WPARAM>(SearchEnd::kNoSocket), 0);
  }
}

void CDeviceSearchDlg::StopSearch() {
  m_stopSearch = true;
  if (m_searchThread.joinable()) m_searchThread.join();
  std::lock_guard<std::mutex> lock(m_replyLock);
  m_pendingReplies.clear();
}

LRESULT CDeviceSearchDlg::OnSearchReply(WPARAM, LPARAM) {
  std::vector<SEARCH_PACKET> replies;
  {
    std::lock_guard<std::mutex> lock(m_replyLock);
    replies.swap(m_pendingReplies);
  }
  for (const SEARCH_PACKET& p : replies) AddDeviceItem(p);
  return 0;
}

LRESULT CDeviceSearchDlg::OnSearchEnded(WPARAM wp, LPARAM) {
  if (m_searchThread.joinable()) m_searchThread.join();
  OnSearchReply(0, 0);
  ::KillTimer(m_hWnd, kCaptionTimer);
  ::SetWindowTextA(m_hWnd, m_strStopWord.c_str());
  if (static_cast<SearchEnd>(wp) == SearchEnd::kBindFailed) {
    ::EnableWindow(GetDlgItem(IDOK), TRUE);
    OstMessageBoxId(kMsgBindFailed);
    return 0;
  }
  EnableControls(false);
  return 0;
}

void CDeviceSearchDlg::AddDeviceItem(const SEARCH_PACKET& reply) {
  const SearchReplyTexts t = SearchReplyToTexts(reply);
  HWND list = GetDlgItem(kDeviceList);
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = 0;
  item.pszText = const_cast<char*>(t.ip.c_str());
  const int row =
      static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  SetColumnText(list, row, 1, t.mac);
  SetColumnText(list, row, 2, std::to_string(t.port));
  SetColumnText(list, row, 3, DeviceTypeText(reply.byTypeOrResult));
  const CSettingINI& s = g_lpApp->m_Settings;
  if (reply.byMac[4] == s.m_wLastMac1 && reply.byMac[5] == s.m_wLastMac2)
    SetColumnText(list, row, 4, "PREVIOUS");
  SEARCH_DEVICE_ITEM node;
  node.strMac = t.mac;
  node.strIp = t.ip;
  node.strGateway = t.gateway;
  node.strDns = t.dns;
  node.strNetMask = t.netMask;
  node.dwPort = t.port;
  node.byType = t.type;
  node.nIndex = static_cast<int32_t>(m_chain.size());
  m_chain.push_back(node);
}

const SEARCH_DEVICE_ITEM* CDeviceSearchDlg::FindDeviceItem(int index) const {
  for (const SEARCH_DEVICE_ITEM& node : m_chain)
    if (node.nIndex == index) return &node;
  return nullptr;
}

void CDeviceSearchDlg::OnItemChanged() {
  HWND list = GetDlgItem(kDeviceList);
  const int row = static_cast<int>(
      ::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0) return;
  m_nSelected = static_cast<int32_t>(m_chain.size()) - row - 1;
  const SEARCH_DEVICE_ITEM* node = FindDeviceItem(m_nSelected);
  if (!node) {
    OstMessageBoxId(kMsgNoIndexItem);
    return;
  }
  ::SetDlgItemTextA(m_hWnd, kEditIpAddress, node->strIp.c_str());
  ::SetDlgItemTextA(m_hWnd, kEditMac, node->strMac.c_str());
  ::SetDlgItemTextA(m_hWnd, kEditWebPort, std::to_string(node->dwPort).c_str());
  ::SetDlgItemTextA(m_hWnd, kEditGateway, node->strGateway.c_str());
  ::SetDlgItemTextA(m_hWnd, kEditDns, node->strDns.c_str());
  ::SetDlgItemTextA(m_hWnd, kEditNetMask, node->strNetMask.c_str());
  for (int id : kFieldIds) ::EnableWindow(GetDlgItem(id), TRUE);
  ReadFields();
}

bool CDeviceSearchDlg::ReadFields() {
  if (!UpdateData(true)) return false;
  if (m_nWebPort >= 0 && m_nWebPort <= 9999) return true;
  OstMessageBox(kPortCheck);
  ::SetFocus(GetDlgItem(kEditWebPort));
  return false;
}

void CDeviceSearchDlg::OnSearchAgain() {
  ::SendMessageA(GetDlgItem(kDeviceList), LVM_DELETEALLITEMS, 0, 0);
  StopSearch();
  m_chain.clear();
  m_nCaptionStep = 0;
  m_nSelected = -1;
  StartSearch();
}

const SEARCH_DEVICE_ITEM* CDeviceSearchDlg::ConfirmSetup(bool readFields) {
  if (m_nSelected < 0) {
    OstMessageBoxId(kMsgSelectItem);
    return nullptr;
  }
  if (readFields && !ReadFields()) return nullptr;
  const SEARCH_DEVICE_ITEM* node = FindDeviceItem(m_nSelected);
  if (!node) {
    OstMessageBoxId(kMsgNoItemData);
    return nullptr;
  }
  if (!DeviceTypeAllowsSetup(node->byType)) {
    OstMessageBoxId(kMsgCannotModify);
    return nullptr;
  }
  CConfirmAuthorityDlg authority;
  if (authority.DoModal() != IDOK) return nullptr;
  m_strUser = authority.m_strUserName;
  m_strPassword = authority.m_strPassword;
  if (m_strUser.empty() || m_strUser.size() > 15) {
    OstMessageBoxId(kMsgUserWrong);
    return nullptr;
  }
  if (m_strPassword.empty() || m_strPassword.size() > 15) {
    OstMessageBoxId(kMsgPasswordWrong);
    return nullptr;
  }
  return node;
}

bool CDeviceSearchDlg::CheckedFields(SetupFields* f) {
  const auto mac = ParseMacText(m_strMacAddress);
  const auto ip = ParseStrictAddress(m_strIpAddress);
  const auto mask = ParseStrictAddress(m_strNetMask);
  const auto gateway = ParseStrictAddress(m_strGateway);
  const auto dns = ParseStrictAddress(m_strDns);
  const int failedField = !ip        ? kEditIpAddress
                          : !mask    ? kEditNetMask
                          : !gateway ? kEditGateway
                          : !dns     ? kEditDns
                                     : 0;
  if (failedField != 0 || !mac) {
    OstMessageBox(kAddressCheck);
    if (failedField != 0) ::SetFocus(GetDlgItem(failedField));
    return false;
  }
  f->mac = *mac;
  f->ip = *ip;
  f->netMask = *mask;
  f->gateway = *gateway;
  f->dns = *dns;
  f->user = m_strUser;
  f->password = m_strPassword;
  f->port = static_cast<uint16_t>(m_nWebPort & 0xFFFF);
  return true;
}

void CDeviceSearchDlg::RunSetup(SetupCommand command, const SetupFields& fields) {
  SEARCH_PACKET reply;
  const DWORD wait = command == SetupCommand::kSetIp ? 12000 : 7000;
  const HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  const SetupEnd end = RunSetupExchange(MakeSetupRequest(command, fields), g_strLocalIPAddress,
                                        wait, &reply, [] { OstMessageBox(kSendBroadcastWrong); });
  ::SetCursor(previous);
  if (end != SetupEnd::kNoSocket) m_strChosenAddress = m_strIpAddress;
  switch (end) {
    case SetupEnd::kReply:
      OstMessageBoxId(static_cast<unsigned>(SetupResultMessageId(command, reply.byTypeOrResult)));
      break;
    case SetupEnd::kNoSocket:
    case SetupEnd::kBindFailed:
      OstMessageBoxId(kMsgConnectError);
      break;
    case SetupEnd::kTimeout:
      OstMessageBoxId(kMsgSendTimeout);
      break;
    case SetupEnd::kReceiveFailed:
      OstMessageBoxId(kMsgReceiveError);
      break;
  }
}

void CDeviceSearchDlg::OnApply() {
  const SEARCH_DEVICE_ITEM* node = ConfirmSetup(true);
  if (!node) return;
  if (m_strIpAddress == node->strIp && m_strMacAddress == node->strMac &&
      m_strGateway == node->strGateway && m_strDns == node->strDns &&
      m_strNetMask == node->strNetMask && static_cast<uint32_t>(m_nWebPort) == node->dwPort) {
    OstMessageBoxId(kMsgNotChanged);
    return;
  }
  SetupFields fields;
  if (!CheckedFields(&fields)) return;
  m_bDeviceChosen = 1;
  RunSetup(SetupCommand::kSetIp, fields);
}

void CDeviceSearchDlg::OnResetDefault() {
  if (!ConfirmSetup(false)) return;
  SetupFields fields;
  if (!CheckedFields(&fields)) return;
  m_bDeviceChosen = 1;
  RunSetup(SetupCommand::kReset, fields);
}

void CDeviceSearchDlg::OnOK() {
  if (!ReadFields()) return;
  StopSearch();
  EndDialog(IDOK);
  if (!FindDeviceItem(m_nSelected)) return;
  m_strChosenAddress = m_strIpAddress;
  m_bDeviceChosen = 1;
}
