// The texts of the message boxes device control shows, by string id.
#pragma once

#include <cstdint>

inline constexpr uint32_t kMsgNoSession = 4034;           // power key without a session
inline constexpr uint32_t kMsgSendCommandTimeout = 4064;  // channel switch failed
inline constexpr uint32_t kMsgSendCommandFailed = 4065;   // RS-485 or slave query failed
inline constexpr uint32_t kMsgNoDeviceProtocol = 4093;    // model row without a CtrlFile.ini record
inline constexpr uint32_t kMsgPtzNumberInvalid = 4095;    // no PTZ unit of the chosen number

// The text of one of the ids above or of the loader's (4051, 4084, 4094); null for others.
const char* ControlMessageText(uint32_t id);
