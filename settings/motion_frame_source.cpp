#include "settings/motion_frame_source.h"

#include "app/app_data.h"

namespace {

class AppMotionFrameSource : public MotionFrameSource {
 public:
  void Request() override {
    APP_DATA* a = g_lpApp;
    if (!a) return;
    ::InterlockedExchange(Flag(*a), 0);
    if (a->MotionEditImageSem) ::WaitForSingleObject(a->MotionEditImageSem, 0);
    ::InterlockedExchange(Flag(*a), 1);
  }
  void Cancel() override {
    if (APP_DATA* a = g_lpApp) ::InterlockedExchange(Flag(*a), 0);
  }
  HANDLE Ready() const override { return g_lpApp ? g_lpApp->MotionEditImageSem : nullptr; }
  MotionPicture Take(uint8_t* out, size_t outCapacity) override {
    APP_DATA* a = g_lpApp;
    if (!a || !a->lp_MotionImage) return {};
    return TakeMotionPicture(a->lp_MotionImage, APP_DATA::kImageSlotBytes, a->wMotionImageWidth,
                             a->wMotionImageHeight, out, outCapacity);
  }

 private:
  static volatile LONG* Flag(APP_DATA& a) {
    static_assert(sizeof a.fMotionImageRequest == sizeof(LONG));
    return reinterpret_cast<volatile LONG*>(&a.fMotionImageRequest);
  }
};

}  // namespace

MotionFrameSource& ProgramMotionFrameSource() {
  static AppMotionFrameSource source;
  return source;
}
