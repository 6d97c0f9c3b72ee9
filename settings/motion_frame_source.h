// Where the motion-area editor gets its pictures: the renderer copies the next frame it draws
// into a hand-over buffer when asked and releases a semaphore. One semaphore for the program's
// life; a new request first drains a release left from an earlier one, so it is never replaced
// under the renderer. The program's source is handed to the pages by the sheet.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "settings/motion_mask.h"

class MotionFrameSource {
 public:
  virtual ~MotionFrameSource() = default;
  // Asks for the next frame: clears the request, drains the semaphore, sets the request.
  virtual void Request() = 0;
  // Withdraws a request (the editor closes).
  virtual void Cancel() = 0;
  // Released once a requested frame is in the buffer.
  virtual HANDLE Ready() const = 0;
  // Copies the delivered frame into out (wide pictures halved), bounded by both buffers.
  virtual MotionPicture Take(uint8_t* out, size_t outCapacity) = 0;
};

// A source that never delivers a picture (no renderer to ask).
MotionFrameSource& NoMotionFrames();
