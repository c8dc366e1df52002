// A stand-in for the mode dialog until it exists: a 640x480 15-bit window.
#include "framework/framework.h"

int chooseMode(ModeInfo* out, int32_t* options) {
  if (!out) return 0;
  ModeInfo m = {-1, 640, 480, 15, 1, 0, "windowed", 0, 0};
  // The 640x480 15-bit entry of the list when there is one (it carries the real mode).
  for (int i = 0; i < modeCount(); ++i) {
    const ModeInfo& e = modeAt(i);
    if (e.xRes == 640 && e.yRes == 480 && e.bitsPerPixel == 15) {
      m = e;
      break;
    }
  }
  m.windowStretch = 0;
  *out = m;
  if (options) options[0] = 1;  // start windowed
  return 1;
}
