// The program's loaded "CtrlFile.ini": read once at start-up, linked to the model control table.
#pragma once

#include <cstdint>

#include "net/ctrl_file.h"

// Reads "CtrlFile.ini" beside the executable. 1 when read, 0 after message 4094 when it cannot be
// opened or read.
int LoadCtrlFile();
// Links each row of the model control table to the loaded record of the same name. Returns 1.
int MapProtocolsToDevices();
// The record linked to a model row; null for a row without one and for rows past the table.
const CtrlDeviceRecord* ModelDeviceRecord(uint8_t modelRow);
// Frees the loaded records and links.
void FreeCtrlDeviceRecords();
