#include "game/screenshot.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "framework/surface.h"
#include "world/pngfile.h"

int saveScreenshot() {
  const Surface* s = currentSurface();
  if (!s) return -1;
  const char* dir = std::getenv("QUILL_SCREENSHOT_DIR");
  if (!dir || !*dir) dir = ".";
  char name[4096];
  for (int n = 1; n < 1000; ++n) {
    if (std::snprintf(name, sizeof name, "%s/quillmoor-%03d.png", dir, n) >= static_cast<int>(sizeof name)) {
      std::fprintf(stderr, "quillmoor: the screenshot folder's name is too long\n");
      return -1;
    }
    struct stat st;
    if (stat(name, &st) == 0) continue;
    char error[128];
    // Between frames the back buffer still holds the picture just shown.
    if (!writePng555(name, pixelRow(s, 0), s->width, s->height, s->bytesPerLine / 2, false, error)) {
      std::fprintf(stderr, "quillmoor: screenshot %s: %s\n", name, error);
      return -1;
    }
    std::fprintf(stderr, "quillmoor: saved %s\n", name);
    return n;
  }
  std::fprintf(stderr, "quillmoor: no free screenshot name left\n");
  return -1;
}
