#include "mainwnd/device_control.h"

#include <array>
#include <utility>

#include "net/device_family.h"
#include "net/control_message_texts.h"
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/key_value_reply.h"
#include "mainwnd/main_window_rules.h"
#include "mainwnd/ptz_packets.h"

namespace {

constexpr uint16_t kRs485TimeoutSeconds = 20;
constexpr uint16_t kCommandTimeoutSeconds = 15;
constexpr uint32_t kSlaveReplyCapacity = 1024;
constexpr uint32_t kSlaveBaudRate = 2400;

// "/PTZReset.cgi" with the session's cookie.
std::string SlaveListQuery(const DeviceControlState& s) {
  CGIParamList query(kCgiPTZReset);
  if (!s.cookie.empty()) query.AddParam("Cookie", s.cookie);
  return query.m_strQuery;
}

// Command ids whose key is one of a contiguous run: {first id, first key, count}.
struct KeyRun {
  uint16_t id;
  uint8_t key;
  uint8_t count;
};
constexpr std::array<KeyRun, 20> kKeyRuns = {{
    {8250, 0, 16},   // CH1-CH16
    {8322, 16, 1},   // UP_PIP
    {8321, 17, 1},   // UP_QUAD
    {8271, 18, 3},   // 4CUT, 9CUT, 16CUT
    {8573, 20, 1},   // 8 CUT sends the 16CUT key
    {8280, 21, 4},   // PIP, POP, 58206, AUTO
    {8285, 26, 4},   // VCR, LIVE, QUAD, FREEZE
    {8291, 30, 2},   // ZOOM_IN, ZOOM_OUT
    {8289, 32, 1},   // FOCUS_IN
    {8290, 33, 1},   // FOCUS_OUT
    {8313, 34, 2},   // PLUSE, MINUS
    {8323, 36, 6},   // REMOTE_RECORD ... RECORDING
    {8220, 42, 1},   // ZOOM
    {8222, 43, 11},  // SELECT ... PLAY
    {8240, 54, 5},   // joystick LEFT, UP, MENU, DOWN, RIGHT
    {8350, 62, 2},   // ZOOM_IN_MAX, ZOOM_OUT_MAX
    {8353, 64, 3},   // DIGITAL_ZOOM, SET, SEQUENCE
    {0, 0, 0},      {0, 0, 0}, {0, 0, 0},
}};

bool TurboKey(uint8_t key) {
  return (key >= 30 && key <= 33) || key == 54 || key == 55 || key == 57 || key == 58;
}

// The next value of key at or after pos; pos moves past it.
std::optional<int32_t> NextValue(const KeyValueReply& reply, std::string_view key, size_t& pos) {
  const auto item = reply.Find(key, 1, pos);
  if (!item) return std::nullopt;
  pos = item->terminator;
  return ReplyDecimal(item->value.substr(0, KeyValueReply::kMaxValueLength));
}

}  // namespace

PanelToggle TurboToggled(bool wasOn) {
  return wasOn ? PanelToggle{false, 0, 1} : PanelToggle{true, 1, 0};
}

PanelToggle ActionPresetToggled(bool wasPreset) {
  return wasPreset ? PanelToggle{false, 0, 0} : PanelToggle{true, 1, 1};
}

ToolCommand ToolCommandOf(uint16_t id) {
  switch (id) {
    case 8200:
      return {ToolCommandKind::kMinimise};
    case 8201:
      return {ToolCommandKind::kFullScreen};
    case 8202:
      return {ToolCommandKind::kClose};
    case 8319:
      return {ToolCommandKind::kPlaybackSearch};
    case kChannelLeftId:
      return {ToolCommandKind::kPrevPage};
    case kChannelRightId:
      return {ToolCommandKind::kNextPage};
    case 8310:
    case 8311:
    case 8312:
    case 8331:
    case 8356:
      return {ToolCommandKind::kPanel};
    default:
      break;
  }
  if (id >= kChannelDvrId && id <= kChannelDvrId + 16)
    return {ToolCommandKind::kChannel, uint8_t(id - kChannelDvrId)};
  for (const KeyRun& r : kKeyRuns) {
    if (r.count && id >= r.id && id < r.id + r.count) {
      const uint8_t key = uint8_t(r.key + (id - r.id));
      return {ToolCommandKind::kKey, key, TurboKey(key)};
    }
  }
  return {};
}

bool MenuKeyAllowed(uint8_t accessClass, std::string_view productId) {
  return accessClass == 0 || accessClass == 1 || !IsRZKSeriesProduct(productId);
}

uint16_t DefaultKeyFlags(uint8_t modelRow, uint8_t key) {
  return ((modelRow == 18 || modelRow == 25) && key == 24) ? 0x0203 : 0x0003;
}

std::vector<SlaveUnit> ParseSlaveList(std::string_view text) {
  const KeyValueReply reply(text);
  std::vector<SlaveUnit> out;
  const auto count = reply.Number("SLAVENUM", 1);
  if (!count || *count <= 0) return out;
  const int n = *count > C_ControlD::kMaxEntries ? C_ControlD::kMaxEntries : *count;
  size_t pos = 0;
  uint8_t address = 0, row = 0;
  for (int i = 0; i < n; ++i) {
    if (auto v = NextValue(reply, "SID", pos)) address = uint8_t(*v);
    if (auto v = NextValue(reply, "STYPE", pos)) row = *v == 1 ? 11 : uint8_t(*v);
    if (auto v = NextValue(reply, "SPROTOCOL", pos); v && row == 11 && *v == 1) row = 18;
    out.push_back({address, row});
  }
  return out;
}

bool DeviceControl::OnCommand(uint16_t id) {
  const ToolCommand c = ToolCommandOf(id);
  switch (c.kind) {
    case ToolCommandKind::kNone:
    case ToolCommandKind::kPanel:
      return false;
    case ToolCommandKind::kMinimise:
      m_port.Minimise();
      return true;
    case ToolCommandKind::kFullScreen:
      m_port.EnterFullScreen();
      return true;
    case ToolCommandKind::kClose:
      m_port.CloseMainWindow();
      return true;
    case ToolCommandKind::kChannel:
      OnChannel(c.value);
      return true;
    case ToolCommandKind::kPrevPage:
      PrevPage();
      return true;
    case ToolCommandKind::kNextPage:
      NextPage();
      return true;
    case ToolCommandKind::kPlaybackSearch:
      m_port.OpenPlaybackSearch();
      return true;
    case ToolCommandKind::kKey: {
      const DeviceControlState s = m_port.State();
      if (c.value == kMenuKey && !MenuKeyAllowed(s.byAccessClass, s.productId)) return true;
      SendControlKey(c.turbo && s.fTurboOn ? 1 : 0, c.value);
      return true;
    }
  }
  return false;
}

void DeviceControl::OnChannel(uint8_t channel) {
  const DeviceControlState s = m_port.State();
  const bool refreshed = IsRZKSeriesProduct(s.productId) &&
                         IsMultiChannelDevice(s.byMultiChannel) && RefreshSlaveList() == 1;
  // The refresh leaves the recorder current; the camera on screen stays the one keys go to.
  if (refreshed && m_list.MakeCurrent(CDS_CHANNEL, m_bar.CurrentChannel()) == 0)
    m_port.ApplyLayout();
  SwitchChannel(channel);
}

void DeviceControl::SendControlKey(int turbo, uint16_t key) {
  if (key >= kControlKeyCount) return;
  const uint8_t row = m_list.GetCurrentModelIndex();
  const CtrlDeviceRecord* record = m_port.RecordOfModelRow(row);
  if (!record) {
    m_port.ShowMessage(kMsgNoDeviceProtocol);
    return;
  }
  const uint8_t repeat = turbo ? m_port.State().byTurboStep : 1;
  SendRs485Command(record->KeyScript[key], repeat, m_port.KeyFlags(row, uint8_t(key)));
}

int DeviceControl::SendRs485Command(const ControlCommandScript& script, uint8_t repeat,
                                    uint16_t keyFlags) {
  const DeviceControlState s = m_port.State();
  Rs485MarkValues marks;
  marks.byLevelCode = LevelCodeOfAccessClass(s.byAccessClass);
  marks.byLastChannelAddress = m_list.GetLastChannelAddress();
  marks.byLastPtzAddress = m_list.GetLastPtzAddress();
  marks.fRzkWithoutMultiChannel =
      IsRZKSeriesProduct(s.productId) && !IsMultiChannelDevice(s.byMultiChannel);
  marks.fPresetMode = s.fPresetMode;
  Rs485Body body = BuildRs485Body(script, repeat, marks);
  if (body.outcome != Rs485BodyOutcome::kOk) {
    m_port.ShowMessage(kMsgCommandNotSupported);
    return 0;
  }
  Rs485Addressing a = CurrentAddressing(s);
  a.wKeyFlags = keyFlags;
  CGIParamList query(kCgiRS485Cmd);
  BuildRs485Query(query, a);
  const DeviceReply r =
      m_port.Send({kCgiRS485Cmd, query.m_strQuery, std::move(body.bytes), 0, kRs485TimeoutSeconds});
  if (!r.ok) {
    m_port.ShowMessage(kMsgSendCommandFailed);
    return 0;
  }
  return 1;
}

int DeviceControl::RefreshSlaveList() {
  const DeviceControlState s = m_port.State();
  if (!IsRZKSeriesProduct(s.productId) || !IsMultiChannelDevice(s.byMultiChannel)) return 1;
  const std::optional<std::vector<SlaveUnit>> slaves = RequestSlaveList(s);
  if (!slaves) return 0;
  const uint8_t recorderRow = m_list.GetNthKind2ModelIndex(0);
  m_list.Clear();
  m_list.Add(0, 0, recorderRow, CDS_CHANNEL);
  for (const SlaveUnit& u : *slaves)
    m_list.Add(kSlaveBaudRate, u.byAddress, u.byModelRow, CDS_CHANNEL);
  return 1;
}

int DeviceControl::SwitchChannel(uint8_t channel) {
  if (!m_bar.ShouldSwitch(channel)) return 1;
  const DeviceControlState s = m_port.State();
  CGIParamList query(kCgiSetChannel);
  if (!s.cookie.empty()) query.AddParam("Cookie", s.cookie);
  query.AddParamInt("CH", channel);
  if (!m_port.Send({kCgiSetChannel, query.m_strQuery, {}, 0, kCommandTimeoutSeconds}).ok)
    m_port.ShowMessage(kMsgSendCommandTimeout);
  return 1;
}

int DeviceControl::SetCurrentChannel(uint8_t channel) {
  std::optional<uint8_t> position;
  if (!m_bar.SetCurrentChannel(channel, m_selectedChannel, position)) return 1;
  m_port.SetChannelButtonStates();
  if (position) m_list.MakeCurrent(CDS_CHANNEL, *position);
  m_port.ApplyLayout();
  return 1;
}

int DeviceControl::PrevPage() {
  if (m_bar.PrevPage(m_port.State().byDisplayMode)) m_port.PlaceChannelButtons();
  return 1;
}

int DeviceControl::NextPage() {
  if (m_bar.NextPage(m_port.State().byDisplayMode)) m_port.PlaceChannelButtons();
  return 1;
}

int DeviceControl::OnRetr() {
  const DeviceControlState s = m_port.State();
  CGIParamList query(kCgiSetRetr);
  if (!s.cookie.empty()) query.AddParam("Cookie", s.cookie);
  query.AddParam("SET", m_list.GetRETRState() ? "0" : "1");
  if (!m_port.Send({kCgiSetRetr, query.m_strQuery, {}, 0, kCommandTimeoutSeconds}).ok) {
    m_port.ShowMessage(kMsgSendCommandFailed);
    return 0;
  }
  return 1;
}

int DeviceControl::OnPower() {
  if (!m_port.State().fSessionActive) {
    m_port.ShowMessage(kMsgNoSession);
    return 0;
  }
  const CtrlDeviceRecord* record = m_port.RecordOfModelRow(m_list.GetCurrentModelIndex());
  if (!record) {
    m_port.ShowMessage(kMsgNoDeviceProtocol);
    return 0;
  }
  return SendRs485Command(record->PowerScript, 1, 0);
}

bool DeviceControl::PreparePtzControl() {
  const DeviceControlState s = m_port.State();
  // The MENU key's gate: a GUEST or NORMAL USER does not drive an RZ1K/RZ3K/RZ4K recorder's bus.
  if (!MenuKeyAllowed(s.byAccessClass, s.productId)) return false;
  if (!IsRZKSeriesProduct(s.productId)) return true;
  const std::optional<std::vector<SlaveUnit>> slaves = RequestSlaveList(s);
  if (!slaves) return false;
  for (size_t i = 0; i < slaves->size(); ++i)
    m_list.SetNthKind4Device(uint8_t(i), (*slaves)[i].byModelRow, (*slaves)[i].byAddress);
  return true;
}

PtzPanelChange DeviceControl::FinishPtzControl(PtzDialogResult result, int number) {
  const DeviceControlState s = m_port.State();
  const bool fromChannel = m_list.IsCurrentChannelDevice() != 0;
  PtzPanelChange change;
  if (result == PtzDialogResult::kCancel) {
    change.buttonState = fromChannel ? 0 : 1;
    if (IsRZKSeriesProduct(s.productId) &&
        !m_port.Send({kCgiPTZReset, SlaveListQuery(s), {}, 0, kCommandTimeoutSeconds}).ok)
      m_port.ShowMessage(kMsgSendCommandFailed);
    return change;
  }
  const bool select = fromChannel || result == PtzDialogResult::kOk;
  const bool leave = !fromChannel && result == PtzDialogResult::kEsc;
  if (!select && !leave) return change;

  std::vector<uint8_t> body;
  uint8_t row = 0;
  if (select) {
    const std::optional<std::vector<uint8_t>> selectBody = PtzSelectBody(number);
    row = selectBody ? m_list.GetNthKind4ModelIndex(uint8_t(number - 1)) : 0;
    if (!selectBody || row == 0) {
      m_port.ShowMessage(kMsgPtzNumberInvalid);
      return change;
    }
    body = *selectBody;
  } else {
    body = PtzLeaveBody();
  }
  CGIParamList query(kCgiRS485Cmd);
  query.AddParam("Control", "RZ1K");
  query.AddParam("MASTER", "1");
  if (!s.cookie.empty()) query.AddParam("Cookie", s.cookie);
  // The unit, button and tip change only once the device took the request: keys must not go
  // to a camera the device did not select.
  if (!m_port.Send({kCgiRS485Cmd, query.m_strQuery, std::move(body), 0, kCommandTimeoutSeconds})
           .ok) {
    m_port.ShowMessage(kMsgSendCommandFailed);
    return change;
  }
  if (select) {
    m_list.MakeCurrent(CDS_PTZ, uint8_t(number - 1));
    change.buttonState = 1;
    change.hotPointMode = HotPointModeOf(row, s.productId, s.firmware, s.dwCapabilityMask);
  } else {
    m_list.MakeCurrent(CDS_CHANNEL, 0);
    change.buttonState = 0;
    change.hotPointOff = true;
  }
  change.applyLayout = true;
  return change;
}

int DeviceControl::SendHotPoint(uint8_t cell) {
  const DeviceControlState s = m_port.State();
  const std::vector<uint8_t> body =
      HotPointPacket(m_list.GetCurrentModelIndex(), m_list.GetCurrentAddress(),
                     LevelCodeOfAccessClass(s.byAccessClass), cell);
  Rs485Addressing a = CurrentAddressing(s);
  a.fRow25Pelco = false;
  CGIParamList query(kCgiRS485Cmd);
  BuildRs485Query(query, a);
  if (!m_port.Send({kCgiRS485Cmd, query.m_strQuery, body, 0, kCommandTimeoutSeconds}).ok) {
    m_port.ShowMessage(kMsgSendCommandFailed);
    return 0;
  }
  return 1;
}

Rs485Addressing DeviceControl::CurrentAddressing(const DeviceControlState& s) const {
  Rs485Addressing a;
  a.productId = s.productId;
  a.byMultiChannel = s.byMultiChannel;
  a.fCurrentInChannelGroup = m_list.IsCurrentChannelDevice() != 0;
  a.byPosition = m_list.GetCurrentChannelIndex();
  a.byCurrentModelRow = m_list.GetCurrentModelIndex();
  a.byLastChannelModelRow = m_list.GetLastChannelModelIndex();
  a.cookie = s.cookie;
  return a;
}

std::optional<std::vector<SlaveUnit>> DeviceControl::RequestSlaveList(const DeviceControlState& s) {
  const DeviceReply r = m_port.Send(
      {kCgiPTZReset, SlaveListQuery(s), {}, kSlaveReplyCapacity, kCommandTimeoutSeconds});
  if (!r.ok) {
    m_port.ShowMessage(kMsgSendCommandFailed);
    return std::nullopt;
  }
  return ParseSlaveList(r.body);
}
