#include "settings/motion_frame_source.h"

namespace {

class NoFrames : public MotionFrameSource {
 public:
  void Request() override {}
  void Cancel() override {}
  HANDLE Ready() const override { return nullptr; }
  MotionPicture Take(uint8_t* out, size_t outCapacity) override {
    (void)out;
    (void)outCapacity;
    return {};
  }
};

}  // namespace

MotionFrameSource& NoMotionFrames() {
  static NoFrames source;
  return source;
}
