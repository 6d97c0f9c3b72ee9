// 8-bit text helpers: the string table and printf-style formatting.
#ifndef OSTROVA_PLATFORM_STRINGS_H
#define OSTROVA_PLATFORM_STRINGS_H

#include <windows.h>

#include <cstdarg>
#include <string>

namespace ost {

// The module whose resources (strings, dialog templates) are used: the executable unless set.
HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);

// The string-table text of `id`; empty when there is none.
std::string LoadResString(UINT id);
// As LoadResString; false when the string table has no such text.
bool TryLoadResString(UINT id, std::string& text);

// printf-style formatting into a string of any length.
std::string Format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
std::string FormatV(const char* format, va_list args) __attribute__((format(gnu_printf, 1, 0)));

}  // namespace ost

#endif  // OSTROVA_PLATFORM_STRINGS_H
