// The program's side of what the settings pages read from and tell it (the login's cookie, the
// client settings, the device title, the live picture), answered from the application data.
#pragma once

#include "settings/sheet_context.h"

SheetProgram& ProgramSheetLink();
