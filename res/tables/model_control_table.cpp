#include "res/tables/model_control_table.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>
#include <string_view>

namespace {

// ---- Per-key defaults ----------------------------------------------------------------------

struct KeyDefault {
  uint16_t command;
  // Normal and highlighted face, and the inactive face when it differs from the normal one,
  // for the VGA layouts and the QVGA layouts (QVGA empty: as VGA).
  const char* vga[3];
  const char* qvga[3];
};

// Keys 16-53 and 62-67 (the channel keys, the arrows and the two-state keys are built below).
const std::map<int, KeyDefault>& KeyDefaults() {
  static const std::map<int, KeyDefault> keys = {
      {16, {8322, {"Second_Col_pip", "Second_Col_pip_over"}, {}}},
      {17, {8321, {"cut4", "cut4_a"}, {}}},
      {18, {8271, {"cut4", "cut4_a"}, {}}},
      {19, {8272, {"cut9", "cut9_a"}, {}}},
      {20, {8273, {"cut16", "cut16_a"}, {}}},
      {21, {8280, {"Second_Col_pip", "Second_Col_pip_over"}, {}}},
      {22, {8281, {"Second_Col_pop", "Second_Col_pop_over"}, {}}},
      {23, {8282, {"Second_Col_58206", "Second_Col_58206_over"}, {}}},
      {24, {8283, {"Second_Col_auto", "Second_Col_auto_over"}, {}}},
      {25, {8319, {"Second_Col_esc", "Second_Col_esc_over"}, {}}},
      {26, {8285, {"Second_Col_vcr", "Second_Col_vcr_over"}, {}}},
      {27, {8286, {"Second_Col_live", "Second_Col_live_over"}, {}}},
      {28, {8287, {"cut4", "cut4_a"}, {}}},
      {29, {8288, {"Second_Col_freeze", "Second_Col_freeze_over"}, {}}},
      {30, {8291, {"2Col_zoom_in", "2Col_zoom_in_a"}, {}}},
      {31, {8292, {"2Col_zoom_out", "2Col_zoom_out_a"}, {}}},
      {32, {8289, {"2Col_focus_in", "2Col_focus_in_a"}, {}}},
      {33, {8290, {"2Col_focus_out", "2Col_focus_out_a"}, {}}},
      {34, {8313, {"2Col_pluse", "2Col_pluse_a"}, {}}},
      {35, {8314, {"2Col_minus", "2Col_minus_a"}, {}}},
      {36, {8323, {"Second_Col_Power_Reset", "Second_Col_Power_Reset_over"}, {}}},
      {37, {8324, {"Second_Col_Reboot", "Second_Col_Reboot_over"}, {}}},
      {38, {8325, {"Second_Col_esc", "Second_Col_esc_over"}, {}}},
      {39, {8326, {"Second_Col_Enter", "Second_Col_Enter_over"}, {}}},
      {40,
       {8327,
        {"VGA_stop_recording", "VGA_stop_recording_over"},
        {"QVGA_stop_recording", "QVGA_stop_recording_over"}}},
      {41,
       {8328, {"VGA_recording", "VGA_recording_over"}, {"QVGA_recording", "QVGA_recording_over"}}},
      {42, {8220, {"VGA_room", "VGA_room_over", "zoom_n_vga"}, {"room", "room_a", "zoom_n_qvga"}}},
      {43,
       {8222,
        {"VGA_select", "VGA_select_over", "select_n_vga"},
        {"select", "select_a", "select_n_qvga"}}},
      {44, {8223, {"VGA_lock", "VGA_lock_over", "lock_n_vga"}, {"lock", "lock_a", "lock_n_qvga"}}},
      {45,
       {8224,
        {"VGA_search", "VGA_search_over", "search_n_vga"},
        {"search", "search_a", "search_n_qvga"}}},
      {46, {8225, {"control_panel_enter", "control_panel_enter_down"}, {}}},
      {47,
       {8226,
        {"VGA_stop", "VGA_stop_over", "stop_n_vga"},
        {"QVGA_stop", "QVGA_stop_a", "stop_n_qvga"}}},
      {48,
       {8227, {"VGA_recording", "VGA_recording_over"}, {"QVGA_recording", "QVGA_recording_over"}}},
      {49,
       {8228, {"VGA_rew", "VGA_rew_over", "rew_n_vga"}, {"QVGA_rew", "QVGA_rew_a", "rew_n_qvga"}}},
      {50,
       {8229,
        {"VGA_fast", "VGA_fast_over", "fast_n_vga"},
        {"QVGA_fast", "QVGA_fast_a", "fast_n_qvga"}}},
      {51,
       {8230,
        {"VGA_pause", "VGA_pause_over", "pause_n_vga"},
        {"QVGA_pause", "QVGA_pause_a", "pause_n_qvga"}}},
      {52,
       {8231,
        {"VGA_slow", "VGA_slow_over", "slow_n_vga"},
        {"QVGA_slow", "QVGA_slow_a", "slow_n_qvga"}}},
      {53,
       {8232,
        {"VGA_play", "VGA_play_over", "play_n_vga"},
        {"QVGA_play", "QVGA_play_a", "play_n_qvga"}}},
      {62, {8350, {"zoom_in_max", "zoom_in_max_a"}, {}}},
      {63, {8351, {"zoom_out_max", "zoom_out_max_a"}, {}}},
      {64, {8353, {"digital_zoom", "digital_zoom_over"}, {}}},
      {65, {8354, {"control_panel_set", "control_panel_set_down"}, {}}},
      {66, {8355, {"sequence", "sequence_over"}, {}}},
      {67, {8356, {"sequence", "sequence_over"}, {}}},
  };
  return keys;
}

struct TwoStateDefault {
  int key;
  uint16_t command;
  const char* faces[4];  // off, off highlighted, on, on highlighted
};
const TwoStateDefault kTwoState[] = {
    {59, 8310, {"tubro_close", "tubro_close_over", "tubro", "tubro_over"}},
    {60, 8312, {"ptz_off", "ptz_off_over", "ptz_on", "ptz_on_over"}},
    {61,
     8331,
     {"alarm_enable_close", "alarm_enable_close_over", "alarm_enable", "alarm_enable_over"}},
};

const char* const kArrowNames[5] = {"LEFT", "UP", "MENU", "DOWN", "RIGHT"};
const char* const kSetPrefix[4] = {"N_VGA", "N_QVGA", "P_VGA", "P_QVGA"};

std::string Bmp(std::string_view name) {
  return "BMP\\" + std::string(name) + ".bmp";
}

// ---- Rectangles: a grid per window size ----------------------------------------------------
//
// Every window: the channel keys (18 x 18) under the picture, left of the panel button (one row
// in the full-size windows, two rows of eight in the quarter-size ones); right of the panel
// button the joystick keys (and, in the full-size windows, the lens keys) in one row ending at
// the turbo key (14 x 14). Every other key of the model is 22 x 22 on one grid in the panel the
// window grows by, in a fixed order by kind, each row centred on the grid, the columns over the
// panel-close button left free. A key's place depends only on the keys its model has, so no
// model shows holes. PAL windows are the NTSC ones moved down (96 and 48 pixels).

constexpr int kChannelSize = 18, kKeySize = 22, kTurboSize = 14, kPitch = 24;

LayoutRect Box(int x, int y, int size) {
  return {x, y, x + size, y + size};
}

struct PanelGrid {
  int x0, columns;
  int rowY[3];
  int rows;
  int closeRow;     // rows from this one leave out the two columns over the close button
  int closeColumn;  // the first of them
};
constexpr PanelGrid kVgaPanel{8, 29, {614, 640, 0}, 2, 1, 14};
constexpr PanelGrid kQvgaPanel{9, 14, {371, 395, 419}, 3, 2, 6};

// The turbo key and the row that ends at it.
constexpr int kVgaTurboX = 649, kVgaTurboY = 578, kVgaBandY = 574;
constexpr int kQvgaTurboX = 340, kQvgaTurboY = 338, kQvgaBandY = 334;

// The keys of the row ending at the turbo key, left to right.
constexpr int kJoystickKeys[] = {54, 55, 56, 57, 58};
constexpr int kLensKeys[] = {30, 31, 32, 33, 62, 63};
// The panel's keys in the order they fill the grid: views, set-up and menu keys, recorder keys,
// transport (stop, play, pause, rewind, forward, slow), then the PTZ mode keys; PTZ control
// last, as multi-channel recorders hide it.
constexpr int kPanelOrder[] = {16, 17, 18, 19, 20, 21, 22, 23, 24, 28, 29, 26, 27, 34,
                               35, 25, 36, 37, 38, 39, 42, 43, 44, 45, 46, 40, 41, 48,
                               47, 53, 51, 49, 50, 52, 61, 64, 65, 66, 67, 60};

// The NTSC rectangles of one model's keys in the full-size (vga) or quarter-size window; keys the
// model lacks keep a rectangle of their size (never shown).
std::array<LayoutRect, kToolKeys> NtscKeyRects(const ModelControlRow& row, bool vga) {
  std::array<LayoutRect, kToolKeys> rects;
  auto present = [&](int key) { return (row.keys[key].wFlags & 0x02) != 0; };
  for (int key = 0; key < 16; ++key) {
    rects[key] = vga ? Box(8 + 20 * key, 568, kChannelSize)
                     : Box(9 + 19 * (key % 8), 328 + 19 * (key / 8), kChannelSize);
  }
  rects[59] =
      vga ? Box(kVgaTurboX, kVgaTurboY, kTurboSize) : Box(kQvgaTurboX, kQvgaTurboY, kTurboSize);
  for (int key = 16; key < kToolKeys; ++key)
    if (key != 59) rects[key] = Box(0, 0, kKeySize);

  // The row at the turbo key, filled from the right.
  int x = (vga ? kVgaTurboX : kQvgaTurboX) - 4 - kKeySize;
  auto placeInBand = [&](const int* first, const int* last) {
    for (const int* k = last; k != first;) {
      if (!present(*--k)) continue;
      rects[*k] = Box(x, vga ? kVgaBandY : kQvgaBandY, kKeySize);
      x -= kPitch;
    }
  };
  placeInBand(std::begin(kJoystickKeys), std::end(kJoystickKeys));
  if (vga) placeInBand(std::begin(kLensKeys), std::end(kLensKeys));

  // The panel grid.
  const PanelGrid& g = vga ? kVgaPanel : kQvgaPanel;
  std::vector<int> keys;
  if (!vga)
    for (int key : kLensKeys)
      if (present(key)) keys.push_back(key);
  for (int key : kPanelOrder)
    if (present(key)) keys.push_back(key);
  // Rows filled in turn, each row's keys centred on the grid's columns (the close button's two
  // columns left free in the rows beside it).
  size_t next = 0;
  for (int r = 0; r < g.rows && next < keys.size(); ++r) {
    const bool gap = r >= g.closeRow;
    const int capacity = g.columns - (gap ? 2 : 0);
    const int n = static_cast<int>(std::min<size_t>(capacity, keys.size() - next));
    int c = (capacity - n) / 2;
    for (int i = 0; i < n; ++i, ++c) {
      if (gap && c == g.closeColumn) c += 2;
      rects[keys[next++]] = Box(g.x0 + kPitch * c, g.rowY[r], kKeySize);
    }
  }
  // Keys beyond the grid keep their unshown place; the table's tests check that none are left.
  return rects;
}

LayoutRect Down(LayoutRect r, int dy) {
  return {r.left, r.top + dy, r.right, r.bottom + dy};
}

// ---- Presence of keys per row ---------------------------------------------------------------

struct RowDef {
  const char* name;
  uint32_t panelFlags;
  const char* flags3;  // enabled, present
  const char* flags7;  // enabled, present, reloaded with every skin set
  const char* other;   // "key:flags" items
};

const RowDef kRows[kModelRows] = {
    {"CAMERA", 2, "", "", ""},
    {"1CH DVR", 0, "", "45-58", "59:0x103"},
    {"4CH DVR (FULL)", 0, "0-3,34-35", "42,44-58", "59:0x103"},
    {"4CH DVR (BASIC)", 0, "0-3,22,34-35", "44-58", "59:0x103"},
    {"4CH DMR", 0, "0-3,18,21", "42,44-58", "59:0x103"},
    {"9CH DMR", 0, "0-8,18-19,21", "42-44,46-58", "59:0x103"},
    {"16CH DMR", 0, "0-15,18-21", "42-44,46-58", "59:0x103"},
    {"4CH DQR", 0, "0-3,24,28", "44-58", "59:0x103"},
    {"PTZ", 0, "0-15,24,30-33,46,62-63", "54-58", "59:0x103"},
    {"4CH MEPG2 DVR", 0, "0-3,34-35", "39,41-42,44-45,47,49-58", "59:0x103"},
    {"4CH NETWORK DVR", 0, "0-3,34-35", "42,44-58", "59:0x103"},
    {"PTZ SLAVE", 0, "0-15,24,30-33,62-63", "46,54-58", "59:0x103,60:0x103"},
    {"4CH NETWORK DVR (BASIC)", 0, "0-3,21-22,28", "44-58", "59:0x103"},
    {"9CH NETWORK DMR", 0, "0-8,18-19,21", "42-44,46-58", "59:0x103"},
    {"16CH NETWORK DMR", 0, "0-15,18-20,34-35", "25,45-60,64-66", ""},
    {"4CH NETWORK MEPG2 DVR", 0, "0-3,34-35", "39,41-42,45,47,49-58",
     "44:0x47,59:0x103,60:0x103,61:0x23"},
    {"RZ9Q", 0, "0-3,34-35", "39,41-42,45,47,49-58", "44:0x47,59:0x103,60:0x103"},
    {"PTZ SLAVE BASIC", 0, "0-15,24,30-33,62-63", "46,54-58,64", "59:0x103,60:0x103"},
    {"PTZ PELCO", 0, "0-15,30-33,62-63", "46,54-58", "24:0x203,59:0x103,60:0x103,67:0x83"},
    {"TRV 941 DVR", 0, "0-15,18-20,34-35", "25,45-61,64-66", ""},
    {"8CH NETWORK DMR", 0, "0-7,18-20,34-35", "25,45-60,64-66", ""},
    {"4CH NETWORK DMR", 0, "0-3,18,34-35", "25,45-58,60,64-66", "59:0x103"},
    {"TRV 943 DVR", 0, "0-7,18-20,34-35", "25,45-61,64-66", ""},
    {"TRV 945 DVR", 0, "0-3,18,34-35", "25,45-58,60-61,64-66", "59:0x103"},
    {"16CH NETWORK DVR", 0, "0-15,18-21", "42-44,46-58", "59:0x103"},
    {"PTZ PELCO D", 0, "0-15,30-33,62-63", "46,54-58", "24:0x203,59:0x103,67:0x83"},
};

// Calls set(key) for every key of a list such as "0-3,34-35".
template <class F>
void ForKeys(std::string_view list, F set) {
  while (!list.empty()) {
    const size_t comma = list.find(',');
    const std::string item(list.substr(0, comma));
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    const size_t dash = item.find('-');
    const int from = std::atoi(item.c_str());
    const int to = dash == std::string::npos ? from : std::atoi(item.c_str() + dash + 1);
    for (int k = from; k <= to && k < kToolKeys; ++k) set(k);
  }
}

bool IsCameraRow(int row) {
  return row == 8 || row == 11 || row == 17 || row == 18 || row == 25;
}

// ---- Building --------------------------------------------------------------------------------

void SetPlainNames(ControlKeyEntry& e, const KeyDefault& d) {
  for (int layout = 0; layout < 4; ++layout) {
    const bool qvga = layout == 1 || layout == 3;
    const char* const* n = qvga && d.qvga[0] ? d.qvga : d.vga;
    e.szBitmap[layout * 3] = Bmp(n[0]);
    e.szBitmap[layout * 3 + 1] = Bmp(n[1]);
    e.szBitmap[layout * 3 + 2] = Bmp(n[2] ? n[2] : n[0]);
  }
}

void SetTwoStateNames(ControlKeyEntry& e, const char* const (&faces)[4]) {
  e.wBitmapStyle = kKeyStyleTwoState;
  for (int half = 0; half < 2; ++half)
    for (int i = 0; i < 4; ++i) e.szBitmap[half * 6 + i] = Bmp(faces[i]);
}

ControlKeyEntry DefaultEntry(int key) {
  ControlKeyEntry e;
  e.dwKeyIndex = static_cast<uint32_t>(key);
  if (key < 16) {
    e.wCommandId = static_cast<uint16_t>(8250 + key);
    const std::string ch = "ch" + std::to_string(key + 1);
    for (int layout = 0; layout < 4; ++layout) {
      e.szBitmap[layout * 3] = Bmp(ch);
      e.szBitmap[layout * 3 + 1] = Bmp(ch + "_a");
      e.szBitmap[layout * 3 + 2] = Bmp(ch);
    }
  } else if (key >= 54 && key <= 58) {
    e.wCommandId = static_cast<uint16_t>(8240 + key - 54);
    for (int layout = 0; layout < 4; ++layout) {
      const std::string base = std::string(kSetPrefix[layout]) + "_" + kArrowNames[key - 54];
      e.szBitmap[layout * 3] = Bmp(base);
      e.szBitmap[layout * 3 + 1] = Bmp(base + "_OVER");
      e.szBitmap[layout * 3 + 2] = Bmp(base);
    }
  } else if (key >= 59 && key <= 61) {
    const TwoStateDefault& d = kTwoState[key - 59];
    e.wCommandId = d.command;
    SetTwoStateNames(e, d.faces);
  } else {
    const KeyDefault& d = KeyDefaults().at(key);
    e.wCommandId = d.command;
    SetPlainNames(e, d);
  }
  e.wTipId = e.wCommandId;
  return e;
}

std::array<ModelControlRow, kModelRows> BuildTable() {
  std::array<ModelControlRow, kModelRows> table;
  for (int r = 0; r < kModelRows; ++r) {
    ModelControlRow& row = table[r];
    const RowDef& def = kRows[r];
    row.szModelName = def.name;
    row.dwPanelFlags = def.panelFlags;
    row.dwRowIndex = static_cast<uint32_t>(r);
    for (int k = 0; k < kToolKeys; ++k) row.keys[k] = DefaultEntry(k);
    ForKeys(def.flags3, [&](int k) { row.keys[k].wFlags = 0x03; });
    ForKeys(def.flags7, [&](int k) { row.keys[k].wFlags = 0x07; });
    std::string_view other = def.other;
    while (!other.empty()) {
      const size_t comma = other.find(',');
      const std::string item(other.substr(0, comma));
      other = comma == std::string_view::npos ? std::string_view() : other.substr(comma + 1);
      const int key = std::atoi(item.c_str());
      row.keys[key].wFlags =
          static_cast<uint16_t>(std::strtoul(item.c_str() + item.find(':') + 1, nullptr, 16));
    }
    if (IsCameraRow(r)) {
      for (int k = 0; k < 16; ++k) row.keys[k].wTipId = static_cast<uint16_t>(8333 + k);
    }
    if (r == 20 || r == 22) {
      ControlKeyEntry& e = row.keys[20];
      e.wCommandId = e.wTipId = 8573;
      SetPlainNames(e, {8573, {"cut8", "cut8_a"}, {}});
    }
    if (r == 18 || r == 25) {
      SetTwoStateNames(row.keys[67], {"ptz_action", "ptz_action", "ptz_preset", "ptz_preset"});
    }
    PlaceToolKeys(row);
  }
  return table;
}

}  // namespace

void PlaceToolKeys(ModelControlRow& row) {
  for (int layout = 0; layout < 4; ++layout) {
    const bool vga = layout == 0 || layout == 2;
    const int down = layout == 2 ? 96 : layout == 3 ? 48 : 0;
    const auto rects = NtscKeyRects(row, vga);
    for (int k = 0; k < kToolKeys; ++k) row.keys[k].rcButton[layout] = Down(rects[k], down);
  }
}

std::array<ModelControlRow, kModelRows>& ModelControlTable() {
  static std::array<ModelControlRow, kModelRows> table = BuildTable();
  return table;
}

ModelControlRow* ModelRowOf(uint32_t row) {
  return row < kModelRows ? &ModelControlTable()[row] : nullptr;
}

std::vector<ToolBitmap> ToolKeyBitmaps() {
  std::vector<ToolBitmap> out;
  std::map<std::string, size_t> seen;
  auto add = [&](const std::string& name, const LayoutRect& r) {
    if (name.empty() || seen.count(name)) return;
    seen[name] = out.size();
    out.push_back({name, r.Width(), r.Height()});
  };
  for (const ModelControlRow& row : ModelControlTable()) {
    for (const ControlKeyEntry& e : row.keys) {
      for (int i = 0; i < 12; ++i) {
        const int layout = e.wBitmapStyle == kKeyStyleTwoState ? (i < 6 ? 0 : 2) : i / 3;
        add(e.szBitmap[i], e.rcButton[layout]);
      }
      for (int set = 0; set < 4; ++set) {
        TurboFaces faces;
        if (!TurboFacesOf(static_cast<SkinSet>(set), static_cast<int>(e.dwKeyIndex), &faces))
          continue;
        add(faces.face, e.rcButton[set]);
        add(faces.hover, e.rcButton[set]);
      }
    }
  }
  return out;
}
