// The display mode and the main window's layout id: chosen from the device family, the video
// standard and the "Image Resolution" setting when the main window opens, then followed frame
// by frame from the size of the decoded picture, re-laying out the window when the mode
// changes.
#pragma once

#include <cstdint>
#include <string>

// Display modes (skin sets).
inline constexpr uint8_t kDisplayModeNtscVga = 0;
inline constexpr uint8_t kDisplayModeNtscQvga = 1;
inline constexpr uint8_t kDisplayModePalVga = 2;
inline constexpr uint8_t kDisplayModePalQvga = 3;
inline constexpr uint8_t kDisplayModeNtscSmall = 4;
inline constexpr uint8_t kDisplayModePalSmall = 5;

// The main window's side of a mode change.
class DisplayModeObserver {
 public:
  virtual ~DisplayModeObserver() = default;
  virtual void RelayoutChannelBar() = 0;
  virtual void ChangeItemPositionForDeviceModified() = 0;
  virtual void ReloadTurboBitmapsNQVGA() = 0;
  virtual void ReloadTurboBitmapsNVGA() = 0;
  virtual void ReloadTurboBitmapsPQVGA() = 0;
  virtual void ReloadTurboBitmapsPVGA() = 0;
};

// Where the inputs and results live (the application data) and who re-lays out the window.
struct DisplayModeBinding {
  const std::string* productId;
  const uint8_t* videoStandard;    // 0 NTSC, 1 PAL
  const int32_t* imageResolution;  // setting "Image Resolution"
  uint8_t* displayMode;            // the mode the picture calls for
  uint8_t* appliedDisplayMode;     // the mode the window is laid out for
  uint16_t* layoutId;
  DisplayModeObserver* observer;  // may be null
};

class CDisplayMode {
 public:
  // Until bound, every operation changes nothing.
  void Bind(const DisplayModeBinding& binding) { m_Binding = binding; }
  bool IsBound() const { return m_Binding.displayMode != nullptr; }

  // Mode and layout from family, standard and resolution; both mode bytes alike. Returns 1.
  int SelectByFamily();
  // Stores the size and follows it (compose thread, every frame). Returns 1.
  int SetImageSize(uint16_t width, uint16_t height);
  uint8_t GetMode() const;

  uint16_t w_Width = 0;
  uint16_t w_Height = 0;

 private:
  DisplayModeBinding m_Binding{};
};
