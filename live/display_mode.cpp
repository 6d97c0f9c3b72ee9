#include "live/display_mode.h"

#include "net/device_family.h"

namespace {

enum class Family { kOther, kVideoServer, kRZ8P, kRecorder };

// First match wins: RZ2K and the RZ5M/RZ6M/RZ7M family, then RZ8P, then RZ1K/RZ3K/RZ4K.
Family FamilyOf(const std::string& productId) {
  if (IsRZ2KProduct(productId) || IsRZMSeriesProduct(productId)) return Family::kVideoServer;
  if (IsRZ8PProduct(productId)) return Family::kRZ8P;
  if (IsRZKSeriesProduct(productId)) return Family::kRecorder;
  return Family::kOther;
}

struct Choice {
  bool found;
  uint16_t layout;
  uint8_t mode;
  bool keepLayout;
};

// Start-up choice; resolution 2 is the small picture, 1 half width, anything else full width.
Choice ChoiceByFamily(Family family, uint8_t standard, int32_t resolution) {
  uint16_t base = 0;
  switch (family) {
    case Family::kRecorder:
      base = 0;
      break;
    case Family::kVideoServer:
      base = 6;
      break;
    case Family::kRZ8P:
      base = 12;
      break;
    case Family::kOther:
      return {false, 0, 0, false};
  }
  bool pal = false;
  if (family != Family::kRZ8P) {
    if (standard > 1) return {false, 0, 0, false};
    pal = standard == 1;
  }
  const uint16_t fullLayout = static_cast<uint16_t>(base + (pal ? 2 : 0));
  if (resolution == 2)
    return {true, static_cast<uint16_t>(fullLayout + 1),
            pal ? kDisplayModePalSmall : kDisplayModeNtscSmall, false};
  if (resolution == 1)
    return {true, static_cast<uint16_t>(fullLayout + 1),
            pal ? kDisplayModePalQvga : kDisplayModeNtscQvga, false};
  return {true, fullLayout, pal ? kDisplayModePalVga : kDisplayModeNtscVga, false};
}

// Per-frame choice from the picture size; sizes not listed change nothing.
Choice ChoiceBySize(Family family, uint16_t w, uint16_t h) {
  switch (family) {
    case Family::kRecorder:
      if (w == 320) return h == 228 ? Choice{true, 1, 1, false} : Choice{true, 3, 3, false};
      if (w == 640) return h == 228 ? Choice{true, 0, 0, false} : Choice{true, 2, 2, false};
      break;
    case Family::kVideoServer:
      if (w == 352) return h == 240 ? Choice{true, 7, 1, false} : Choice{true, 9, 3, false};
      if (w == 704) return h == 240 ? Choice{true, 6, 0, false} : Choice{true, 8, 2, false};
      break;
    case Family::kRZ8P:
      if (w == 320 && h == 240) return {true, 13, 1, false};
      if (w == 640 && h == 480) return {true, 12, 0, false};
      if (w == 160 && h == 120) return {true, 0, 4, true};
      break;
    case Family::kOther:
      break;
  }
  return {false, 0, 0, false};
}

}  // namespace

int CDisplayMode::SelectByFamily() {
  if (!IsBound()) return 1;
  const Choice c = ChoiceByFamily(FamilyOf(*m_Binding.productId), *m_Binding.videoStandard,
                                  *m_Binding.imageResolution);
  if (c.found) {
    *m_Binding.layoutId = c.layout;
    *m_Binding.displayMode = c.mode;
    *m_Binding.appliedDisplayMode = c.mode;
  }
  return 1;
}

int CDisplayMode::SetImageSize(uint16_t width, uint16_t height) {
  w_Width = width;
  w_Height = height;
  if (!IsBound()) return 1;
  const Family family = FamilyOf(*m_Binding.productId);
  const Choice c = ChoiceBySize(family, width, height);
  if (c.found) *m_Binding.displayMode = c.mode;
  const uint8_t mode = *m_Binding.displayMode;
  if (mode == *m_Binding.appliedDisplayMode || !c.found) return 1;
  if (!c.keepLayout) *m_Binding.layoutId = c.layout;
  *m_Binding.appliedDisplayMode = mode;
  DisplayModeObserver* o = m_Binding.observer;
  if (!o) return 1;
  if (family == Family::kRecorder) o->RelayoutChannelBar();
  o->ChangeItemPositionForDeviceModified();
  // The turbo-panel bitmaps of the mode; the small-picture modes have none.
  static constexpr struct {
    uint8_t mode;
    void (DisplayModeObserver::*reload)();
  } kReloads[] = {{kDisplayModeNtscQvga, &DisplayModeObserver::ReloadTurboBitmapsNQVGA},
                  {kDisplayModeNtscVga, &DisplayModeObserver::ReloadTurboBitmapsNVGA},
                  {kDisplayModePalQvga, &DisplayModeObserver::ReloadTurboBitmapsPQVGA},
                  {kDisplayModePalVga, &DisplayModeObserver::ReloadTurboBitmapsPVGA}};
  for (const auto& r : kReloads)
    if (r.mode == mode) (o->*r.reload)();
  return 1;
}

uint8_t CDisplayMode::GetMode() const {
  return IsBound() ? *m_Binding.displayMode : 0;
}
