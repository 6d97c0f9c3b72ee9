// "CtrlFile.ini", the per-model key command scripts: the device records, the text parser and the
// link of the model control table's rows to the records of the same name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct CtrlDeviceRecord;

// One key command: the bytes of one command line and which of them are parameter marks (a mark's
// byte holds its number).
struct ControlCommandScript {
  const CtrlDeviceRecord* lpRecord = nullptr;  // the owning record, once a line was parsed
  uint8_t byCount = 0;                         // number of command bytes; 0: no command
  std::vector<uint8_t> lpBytes;                // byCount bytes
  std::vector<uint8_t> marks;                  // per byte: 1 when it is a parameter mark

  bool IsMark(size_t i) const { return i < marks.size() && marks[i]; }
};

inline constexpr int kControlKeyCount = 68;  // key indexes 0-67; key 67 has no section

// One device of the file.
struct CtrlDeviceRecord {
  uint8_t byParam[16] = {};  // "[PARAMETER]" sets 0-9
  ControlCommandScript PowerScript;
  char szName[80] = {};  // upper case, zero-terminated
  std::array<ControlCommandScript, kControlKeyCount> KeyScript;
  uint8_t byDisplay = 0;
};

// The 73 section headers by number; sections 2-68 are the keys 0-66.
inline constexpr std::array<std::string_view, 73> CtrlFileSection = {
    "[DEVICE NUMBER]",
    "[DEVICE NAME]",
    "[CH1]",
    "[CH2]",
    "[CH3]",
    "[CH4]",
    "[CH5]",
    "[CH6]",
    "[CH7]",
    "[CH8]",
    "[CH9]",
    "[CH10]",
    "[CH11]",
    "[CH12]",
    "[CH13]",
    "[CH14]",
    "[CH15]",
    "[CH16]",
    "[UP_PIP]",
    "[UP_QUAD]",
    "[4CUT]",
    "[9CUT]",
    "[16CUT]",
    "[PIP]",
    "[POP]",
    "[58206]",
    "[AUTO]",
    "[ESC]",
    "[VCR]",
    "[LIVE]",
    "[QUAD]",
    "[FREEZE]",
    "[ZOOM_IN]",
    "[ZOOM_OUT]",
    "[FOCUS_IN]",
    "[FOCUS_OUT]",
    "[PLUSE]",
    "[MINUS]",
    "[REMOTE_RECORD]",
    "[REBOOT]",
    "[ESCAPE]",
    "[SEC_ENTER]",
    "[STOP_RECORD]",
    "[RECORDING]",
    "[ZOOM]",
    "[SELECT]",
    "[LOCK]",
    "[SEARCH]",
    "[ENTER]",
    "[STOP]",
    "[RECORD]",
    "[REW]",
    "[FAST]",
    "[PAUSE]",
    "[SLOW]",
    "[PLAY]",
    "[JOYSTICK_LEFT]",
    "[JOYSTICK_UP]",
    "[JOYSTICK_MENU]",
    "[JOYSTICK_DOWN]",
    "[JOYSTICK_RIGHT]",
    "[TURBO]",
    "[PTZ]",
    "[ALARM]",
    "[ZOOM_IN_MAX]",
    "[ZOOM_OUT_MAX]",
    "[DIGITAL_ZOOM]",
    "[SET]",
    "[SEQUENCE]",
    "[PARAMETER]",
    "[POWER]",
    "[EOF]",
    "[DISPLAY]",
};
inline constexpr int kSectionDeviceNumber = 0;
inline constexpr int kSectionDeviceName = 1;
inline constexpr int kSectionFirstKey = 2;
inline constexpr int kSectionLastKey = 68;
inline constexpr int kSectionParameter = 69;
inline constexpr int kSectionPower = 70;
inline constexpr int kSectionEof = 71;
inline constexpr int kSectionDisplay = 72;

// The model names of the model control table's 26 rows, by row.
inline constexpr int kModelRowCount = 26;
inline constexpr std::array<std::string_view, kModelRowCount> ModelRowNames = {
    "CAMERA",
    "1CH DVR",
    "4CH DVR (FULL)",
    "4CH DVR (BASIC)",
    "4CH DMR",
    "9CH DMR",
    "16CH DMR",
    "4CH DQR",
    "PTZ",
    "4CH MEPG2 DVR",
    "4CH NETWORK DVR",
    "PTZ SLAVE",
    "4CH NETWORK DVR (BASIC)",
    "9CH NETWORK DMR",
    "16CH NETWORK DMR",
    "4CH NETWORK MEPG2 DVR",
    "RZ9Q",
    "PTZ SLAVE BASIC",
    "PTZ PELCO",
    "TRV 941 DVR",
    "8CH NETWORK DMR",
    "4CH NETWORK DMR",
    "TRV 943 DVR",
    "TRV 945 DVR",
    "16CH NETWORK DVR",
    "PTZ PELCO D",
};

// Messages of the loader, by string id.
inline constexpr uint32_t kMsgPleaseInputServerCommand = 4051;  // "Please input server command!"
inline constexpr uint32_t kMsgCommandNotSupported =
    4084;  // "Web Server don't support this command!"
inline constexpr uint32_t kMsgOpenCtrlFileFailed = 4094;  // "Open device control file is failed"

// Longest kept line; the rest of a longer line is dropped.
inline constexpr size_t kCtrlFileLineMax = 129;
// Most devices "[DEVICE NUMBER]" may announce; a larger count is refused.
inline constexpr uint32_t kCtrlFileMaxDevices = 256;

// Two characters as a byte: "0"-"9", "A"-"F", "a"-"f" are digits, any other character counts 0.
uint8_t ParseHexPair(char high, char low);

// Reads one line from the front of text into line: bytes 0x20-0x7E upper-cased, every other byte
// dropped, at most kCtrlFileLineMax kept. Returns the bytes consumed, the line feed included.
size_t ReadCtrlFileLine(std::string_view text, std::string& line);

enum class HexCommandParse {
  kComplete,
  kMissingFields,  // fewer byte fields than the count: the rest stay 0
};

// Parses a command line ("X" + two characters per field, the first the count; "X%d" a mark)
// into script, replacing what it held.
HexCommandParse ParseHexCommand(ControlCommandScript& script, std::string_view line);

// What a parse of the whole file gives.
struct CtrlFileContents {
  std::vector<CtrlDeviceRecord> records;
  bool reachedEnd = false;  // the "[EOF]" section's "END" line was read
};

// Parses the text of "CtrlFile.ini"; every problem is reported to message (string id) and the
// line concerned is otherwise ignored. The records are kept in a vector that is never resized
// after "[DEVICE NUMBER]", so the scripts' lpRecord stay valid while contents lives unmoved.
void ParseCtrlFileText(std::string_view text, CtrlFileContents& contents,
                       const std::function<void(uint32_t)>& message);

// For each model row, the first record whose name equals the row's name exactly, or null.
std::array<const CtrlDeviceRecord*, kModelRowCount> MapProtocolsToDevices(
    const std::vector<CtrlDeviceRecord>& records);
