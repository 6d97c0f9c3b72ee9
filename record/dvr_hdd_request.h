// The device's disk list over the program's session ("/GetDvrHDD.cgi" with the session's cookie).
#pragma once

#include <string>

#include "record/network_backup.h"

class DeviceSession;

// Asks the device for its disks; false when there is no session, the request failed or the
// reply was shorter than the disk set and its flag.
bool RequestDvrHdd(DeviceSession* session, const std::string& cookie, DvrHddReply& out);
