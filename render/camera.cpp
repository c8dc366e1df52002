#include "render/camera.h"

#include <cmath>
#include <cstring>

#include "world/gamestate.h"

ViewRect viewRect = {0, 0, 639, 429, 640, 430};
float columnAngle[kMaxViewWidth];
float columnCos[kMaxViewWidth];
float columnDepth[kMaxViewWidth];
int32_t viewFocal = 640;
uint16_t shadeTable[32][kShadeRow];
#if defined(__x86_64__) && defined(__GNUC__)
// Decided while statics are set up, before the features may have been read: read them first.
bool gatherTexels = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}();
#else
bool gatherTexels = false;
#endif

namespace {
// The stereo view switches between three widths every frame (two halves and
// the whole view); the tables of the last few widths are kept so a switch is
// a copy instead of a few thousand atan2 and cos calls.
struct ColumnTables {
  int width, focal;
  float angle[kMaxViewWidth];
  float cosine[kMaxViewWidth];
};
constexpr int kCachedWidths = 4;
ColumnTables g_cache[kCachedWidths];
int g_nextSlot = 0;
}  // namespace

void buildColumnTables(int width, int focal) {
  if (width <= 0) return;
  if (width > kMaxViewWidth) width = kMaxViewWidth;
  if (focal <= 0) focal = width;
  viewFocal = focal;
  ColumnTables* tables = nullptr;
  for (ColumnTables& c : g_cache) {
    if (c.width == width && c.focal == focal) tables = &c;
  }
  if (!tables) {
    tables = &g_cache[g_nextSlot];
    g_nextSlot = (g_nextSlot + 1) % kCachedWidths;
    const int half = width / 2;
    for (int i = 0; i < width; ++i) {
      const double a = std::atan2(static_cast<double>(i - half) * (1.0 / focal), 1.0);
      tables->angle[i] = static_cast<float>(a);
      tables->cosine[i] = static_cast<float>(std::cos(a));
    }
    tables->width = width;
    tables->focal = focal;
  }
  std::memcpy(columnAngle, tables->angle, sizeof(float) * static_cast<size_t>(width));
  std::memcpy(columnCos, tables->cosine, sizeof(float) * static_cast<size_t>(width));
}

Projection projectPoint(float x, float y, float z, float camX, float camY, float heading) {
  const double dx = static_cast<double>(x) - camX;
  const double dy = static_cast<double>(y) - camY;
  const double c = std::cos(-static_cast<double>(heading));
  const double s = std::sin(-static_cast<double>(heading));
  const float depth = static_cast<float>(dx * c - dy * s);
  const float lateral = static_cast<float>(dy * c + dx * s);
  const double focal = viewFocal;
  const double height = viewRect.height;
  Projection p;
  p.screenX = static_cast<float>(halfWidth() - static_cast<double>(lateral) / depth * focal);
  p.screenY = static_cast<float>(viewRect.bottom - (height * z / depth + halfHeight()));
  p.depth = depth;
  return p;
}

int32_t surfaceFocal(int width, int height, bool squeezed) {
  if (squeezed || 3LL * width <= 4LL * height) return width;
  return static_cast<int32_t>(static_cast<int64_t>(height) * 4 / 3);
}

int32_t partFocal(int columns, int width, int focal) {
  if (width <= 0) return columns;
  return static_cast<int32_t>(static_cast<int64_t>(columns) * focal / width);
}

Projection projectPoint(float x, float y, float z, const PlayerState& camera) {
  return projectPoint(x, y, z, camera.x, camera.y, camera.heading);
}

void buildShadeTable() {
  for (int level = 0; level < 32; ++level) {
    for (int c = 0; c < 32768; ++c) {
      int r = (c >> 10) & 31, g = (c >> 5) & 31, b = c & 31;
      r = r > level ? r - level : 0;
      g = g > level ? g - level : 0;
      b = b > level ? b - level : 0;
      shadeTable[level][c] = static_cast<uint16_t>((r << 10) | (g << 5) | b);
    }
  }
}
