// The disc writer's progress function: each call becomes commands of the program's progress
// channel (the settings sheet's progress bar while the sheet is open; dropped otherwise).
#pragma once

// (0, 0): begin and a total of 100; (1, percent): progress; (2, 0): end.
void WriteCDProgressCallback(int type, int value);
