#include "mainwnd/channel_bar_model.h"

#include "net/device_family.h"

namespace {

ChannelButtonDef ChannelDef(int input) {
  const std::string stem = input == 0 ? "Channel_dvr" : "Channel_" + std::to_string(input);
  return ChannelButtonDef{uint16_t(input == 0 ? 40 : 35),
                          28,
                          kChannelButton,
                          uint16_t(kChannelDvrId + input),
                          {stem + "_Enable.bmp", stem + "_Enable_over.bmp", stem + "_Disable.bmp",
                           stem + "_Disable_over.bmp"},
                          uint16_t(kChannelDvrId + input)};
}

ChannelButtonDef ArrowDef(bool left) {
  const std::string stem = left ? "Channel_Left" : "Channel_Right";
  const uint16_t id = left ? kChannelLeftId : kChannelRightId;
  return ChannelButtonDef{9,
                          16,
                          left ? kChannelLeftArrow : kChannelRightArrow,
                          id,
                          {stem + ".bmp", stem + ".bmp", stem + "_Down.bmp", stem + ".bmp"},
                          id};
}

}  // namespace

std::string ChannelBarTipText(uint16_t id) {
  if (id == kChannelDvrId) return "Channel DVR";
  if (id > kChannelDvrId && id <= kChannelDvrId + 16)
    return "Channel " + std::to_string(id - kChannelDvrId);
  if (id == kChannelLeftId) return "LEFT";
  if (id == kChannelRightId) return "RIGHT";
  return std::string();
}

void ChannelBarModel::Init(std::string_view productId, uint8_t multiChannel,
                           uint8_t& selectedChannel) {
  if (IsRZMSeriesProduct(productId)) return;
  m_Buttons.clear();
  m_fActive = false;
  m_family = ChannelBarFamily::kNone;
  if (IsRZKSeriesProduct(productId) && IsMultiChannelDevice(multiChannel)) {
    int inputs = 4;
    if (productId == "RZ1K") {
      m_family = ChannelBarFamily::kRZ1K;
      inputs = 16;
      m_wStartX = 21, m_wLimitNarrow = 160, m_wLimitWide = 340;
    } else if (productId == "RZ3K") {
      m_family = ChannelBarFamily::kRZ3K;
      inputs = 8;
      m_wStartX = 21, m_wLimitNarrow = 160, m_wLimitWide = 350;
    } else {
      m_family = ChannelBarFamily::kRZ4K;
      m_wStartX = 1, m_wLimitNarrow = 200, m_wLimitWide = 350;
    }
    m_fActive = true;
    if (selectedChannel > inputs) selectedChannel = 0;
    for (int i = 0; i <= inputs; ++i) m_Buttons.push_back(ChannelDef(i));
    m_Buttons.push_back(ArrowDef(true));
    m_Buttons.push_back(ArrowDef(false));
    m_byCurrentChannel = m_byFirstChannel = selectedChannel;
  } else if (IsRZ2KProduct(productId)) {
    m_family = ChannelBarFamily::kRZ2K;
    m_fActive = true;
    if (selectedChannel == 0 || selectedChannel > 2) selectedChannel = 1;
    m_Buttons.push_back(ChannelDef(1));
    m_Buttons.push_back(ChannelDef(2));
    m_byCurrentChannel = selectedChannel;
    m_byFirstChannel = 0;
  }
}

int ChannelBarModel::ButtonState(size_t i) const {
  if (m_family == ChannelBarFamily::kRZ2K) return i + 1 == m_byCurrentChannel ? 0 : 1;
  return i == m_byCurrentChannel ? 0 : 1;
}

std::vector<ChannelBarModel::Placement> ChannelBarModel::Relayout(uint8_t displayMode) const {
  std::vector<Placement> out(m_Buttons.size(), Placement{false, 0, 0, 0, 0});
  if (m_family == ChannelBarFamily::kRZ2K) {
    for (size_t i = 0; i < m_Buttons.size(); ++i)
      out[i] = Placement{true, i == 0 ? 20 : 55, kChannelBarTop, 35, 28};
    return out;
  }
  if (!MultiChannelRecorder()) return out;
  const int limit = Narrow(displayMode) ? m_wLimitNarrow : m_wLimitWide;
  int x = m_wStartX;
  const size_t first = GetPageStart(m_byFirstChannel, displayMode);
  size_t next = first;
  for (size_t i = 0; i < m_Buttons.size(); ++i) {
    const ChannelButtonDef& d = m_Buttons[i];
    if (d.dwKind == kChannelButton) {
      if (i >= first && x < limit) {
        out[i] = Placement{true, x, kChannelBarTop, d.wWidth, d.wHeight};
        x += d.wWidth;
        ++next;
      }
    } else if (d.dwKind == kChannelLeftArrow) {
      out[i] = Placement{first != 0, m_wStartX - 12, kChannelArrowTop, d.wWidth, d.wHeight};
    } else {
      const bool more = next < m_Buttons.size() && m_Buttons[next].dwKind == kChannelButton;
      out[i] = Placement{more, x + 3, kChannelArrowTop, d.wWidth, d.wHeight};
    }
  }
  return out;
}

uint8_t ChannelBarModel::GetPageStart(uint8_t first, uint8_t displayMode) const {
  if (m_family == ChannelBarFamily::kRZ1K) {
    if (Narrow(displayMode)) return uint8_t(first & ~3);
    return first > 8 ? 9 : 0;
  }
  if (m_family == ChannelBarFamily::kRZ3K && Narrow(displayMode)) return uint8_t(first & ~3);
  return 0;
}

uint8_t ChannelBarModel::GetPageSize(uint8_t displayMode) const {
  if (m_family == ChannelBarFamily::kRZ1K) return Narrow(displayMode) ? 4 : 9;
  if (m_family == ChannelBarFamily::kRZ3K || m_family == ChannelBarFamily::kRZ4K)
    return Narrow(displayMode) ? 4 : 0;
  return 0;
}

int ChannelBarModel::GetChannelCount() const {
  switch (m_family) {
    case ChannelBarFamily::kRZ1K:
      return 16;
    case ChannelBarFamily::kRZ3K:
      return 8;
    case ChannelBarFamily::kRZ4K:
      return 4;
    default:
      return 0;
  }
}

bool ChannelBarModel::PrevPage(uint8_t displayMode) {
  const uint8_t a = GetPageStart(m_byFirstChannel, displayMode);
  const uint8_t s = GetPageSize(displayMode);
  if (s == 0 || a < s) return false;
  m_byFirstChannel = uint8_t(a - s);
  return true;
}

bool ChannelBarModel::NextPage(uint8_t displayMode) {
  const uint8_t a = GetPageStart(m_byFirstChannel, displayMode);
  const uint8_t s = GetPageSize(displayMode);
  if (s == 0 || GetChannelCount() < a + s) return false;
  m_byFirstChannel = uint8_t(a + s);
  return true;
}

bool ChannelBarModel::ShouldSwitch(uint8_t channel) const {
  return m_fActive && channel != m_byCurrentChannel &&
         (MultiChannelRecorder() || m_family == ChannelBarFamily::kRZ2K);
}

bool ChannelBarModel::SetCurrentChannel(uint8_t channel, uint8_t& selectedChannel,
                                        std::optional<uint8_t>& groupPosition) {
  groupPosition.reset();
  if (!m_fActive || channel == m_byCurrentChannel) return false;
  selectedChannel = channel;
  m_byCurrentChannel = channel;
  if (m_family == ChannelBarFamily::kRZ2K) {
    if (channel == 1 || channel == 2) groupPosition = uint8_t(channel - 1);
  } else if (MultiChannelRecorder()) {
    groupPosition = channel;
  }
  return true;
}
