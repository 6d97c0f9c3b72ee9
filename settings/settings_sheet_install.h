// Installs the settings sheet in the main window: the factory that gathers what the sheet
// works on from the application data and opens it, and what an apply changes in the program
// (client settings, the control-device list).
#pragma once

#include "settings/my_system_dialog.h"

// What the sheet is given from the program's application data.
SheetStart SheetStartFromProgram(const SettingsSheetStart& client);
