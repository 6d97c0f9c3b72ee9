#include "net/control_message_texts.h"

const char* ControlMessageText(uint32_t id) {
  switch (id) {
    case 4034:
      return "It couldn't connect to device";
    case 4051:
      return "Please input server command!";
    case 4064:
      return "Send command timeout";
    case 4065:
      return "Send command to device is failed !!";
    case 4084:
      return "Web Server don't support this command!";
    case 4093:
      return "It couldn't find this device command protocol";
    case 4094:
      return "Open device control file is failed";
    case 4095:
      return "PTZ number is not valid.";
    default:
      return nullptr;
  }
}
