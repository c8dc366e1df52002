// Choosing the display back end, and the resolutions every back end is asked about.
#include "platform/display.h"

#include <cstdlib>
#include <cstring>

// Width x height in pixels, smallest first; the mode list keeps this order.
const Resolution kCandidateResolutions[kResolutionCount] = {
    {320, 200}, {320, 240}, {320, 400},  {320, 480},  {400, 300},  {512, 384},   {640, 350},   {640, 400},
    {640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 960}, {1280, 1024}, {1600, 1200},
};
static_assert(sizeof(kCandidateResolutions) / sizeof(kCandidateResolutions[0]) == 15, "fifteen candidates");

namespace {
const DisplayDriver* g_driver = nullptr;
}

const DisplayDriver* display() {
  if (!g_driver) {
    const char* choice = std::getenv("QUILL_DISPLAY");
    g_driver =
        (choice && std::strcmp(choice, "headless") == 0) ? headlessDisplayDriver() : sdlDisplayDriver();
  }
  return g_driver;
}

void selectDisplay(const DisplayDriver* driver) { g_driver = driver; }
