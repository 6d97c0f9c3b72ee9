// The program's one message box.  Tests redirect it: when the environment variable
// OST_MSGBOX_LOG names a file, the text is appended to that file as one line (a line feed in
// the text written as \n, a carriage return as \r) and no box is shown; the answer is then the
// number in OST_MSGBOX_ANSWER (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7, ...), IDOK when unset.
#ifndef OSTROVA_PLATFORM_MESSAGE_BOX_H
#define OSTROVA_PLATFORM_MESSAGE_BOX_H

#include <windows.h>

// Shows `text` with the buttons and icon of `type` (MB_*); the caption defaults to the
// application's name.  Returns the button chosen (IDOK, IDYES, ...).
int OstMessageBox(const char* text, unsigned type = MB_OK, const char* caption = nullptr);
// As OstMessageBox with the string-table text of `stringId`.
int OstMessageBoxId(unsigned stringId, unsigned type = MB_OK);

#endif  // OSTROVA_PLATFORM_MESSAGE_BOX_H
