// Message processing shared by the modal dialog loop, the application loop and tests.
#ifndef OSTROVA_PLATFORM_MESSAGE_LOOP_H
#define OSTROVA_PLATFORM_MESSAGE_LOOP_H

#include <windows.h>

#include <functional>

namespace ost {

// Offers the message to PreTranslateMessage of the window objects from its target window up
// to the target's top-level window (a dialog's default is the dialog keyboard interface);
// true when one of them has handled it.
bool PreTranslateThreadMessage(MSG& msg);

// Pre-translates, or else translates and dispatches, one message.
void ProcessMessage(MSG& msg);

// Processes this thread's messages until `done` returns true or `timeoutMs` have passed;
// returns done().  For tests and short waits that must keep windows alive.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace ost

#endif  // OSTROVA_PLATFORM_MESSAGE_LOOP_H
