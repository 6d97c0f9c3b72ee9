#include "disc/write_cd_progress.h"

#include "app/progress_channel.h"

void WriteCDProgressCallback(int type, int value) {
  ProgressChannel& c = *g_pProgressChannel;
  switch (type) {
    case 0:
      c.Send(kProgressBegin, 0);
      c.Send(kProgressTotal, 100);
      break;
    case 1:
      c.Send(kProgressDraw, value < 0 ? 0u : static_cast<uint32_t>(value));
      break;
    case 2:
      c.Send(kProgressEnd, 0);
      break;
    default:
      break;
  }
}
