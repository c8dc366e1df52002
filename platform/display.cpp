// Choosing the display back end, and the resolutions every back end is asked about.
#include "platform/display.h"

#include <cstdlib>
#include <cstring>

// Width x height in pixels, smallest first; the mode list keeps this order.
// The 16:9 and 16:10 sizes (1280x720, 1280x800, 1920x1080, 1920x1200) show
// square pixels and a wider view; every other shape is drawn as 4:3.
constexpr Resolution kCandidateResolutions[kResolutionCount] = {
    {320, 200},  {320, 240},   {320, 400},   {320, 480},   {400, 300},   {512, 384},  {640, 350},
    {640, 400},  {640, 480},   {800, 600},   {1024, 768},  {1152, 864},  {1280, 720}, {1280, 800},
    {1280, 960}, {1280, 1024}, {1600, 1200}, {1920, 1080}, {1920, 1200},
};
namespace {
// Ascending by width, then height: an entry left out of the count
// would stay 0 x 0 at the end and break the order.
constexpr bool smallestFirst() {
  for (int i = 1; i < kResolutionCount; ++i) {
    const Resolution& a = kCandidateResolutions[i - 1];
    const Resolution& b = kCandidateResolutions[i];
    if (a.width > b.width || (a.width == b.width && a.height >= b.height)) return false;
  }
  return true;
}
static_assert(smallestFirst(), "every candidate resolution given, smallest first");

const DisplayDriver* g_driver = nullptr;
}  // namespace

const DisplayDriver* display() {
  if (!g_driver) {
    const char* choice = std::getenv("QUILL_DISPLAY");
    g_driver =
        (choice && std::strcmp(choice, "headless") == 0) ? headlessDisplayDriver() : sdlDisplayDriver();
  }
  return g_driver;
}

void selectDisplay(const DisplayDriver* driver) { g_driver = driver; }
