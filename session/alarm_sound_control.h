// Starting and stopping the alarm sound on behalf of the main window and the kernel mailbox.
// With OST_SOUND_LOG set, each start and each end (with the thread's exit code) is written to
// that file as a line.
#pragma once

// Ends a playing sound (its thread joined), loads the wave file of the settings (or the default
// "alarm.wav"), renews the buffer-done and stop events and starts the playback thread.  false,
// with nothing started, when no sound could be loaded or the thread could not start.
bool StartAlarmSound();

// Loads the wave file again and renews both events without starting the thread (kernel code
// 4).  false when no sound could be loaded.
bool ReloadAlarmSound();

// Sets the stop event and joins the playback thread.
void StopAlarmSound();
