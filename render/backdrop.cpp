// The sky and floor pictures, resampled once into bands as wide as the view
// and copied row by row each frame, and the star field at wall-top height.
#include "render/backdrop.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "framework/surface.h"
#include "render/camera.h"
#include "world/gamestate.h"
#include "world/image16.h"

namespace {

constexpr int kMaxBandRows = kMaxViewHeight / 2;
// Pixels of one band: the widest view times half the tallest, rows of bandWidth.
constexpr int kBandPixels = kMaxViewWidth * kMaxBandRows;
static_assert(kBandPixels == 1920 * 600, "room for a 1920 x 1200 view");

uint16_t floorBand[kBandPixels];
uint16_t skyBand[kBandPixels];
int bandWidth = 0;  // the view width and half height the bands were built for
int bandRows = 0;

constexpr uint16_t kStarColour = 0x7FE0;
constexpr int kStarColumns = 20;  // gx = 0, 2, ..., 38
constexpr int kStarRows = 20;     // gy = 0 .. 19

}  // namespace

void buildBackdrop() {
  const int rows = halfHeight();
  if (rows <= 0) return;
  int width = viewRect.width;
  if (width <= 0) return;
  if (width > kMaxViewWidth) width = kMaxViewWidth;
  const int bandRowsNow = rows < kMaxBandRows ? rows : kMaxBandRows;

  const int srcW = BackdropPicture::width;
  const int srcH = BackdropPicture::height;
  // The pictures are painted for a view one focal length wide; a wider view
  // has them centred, and its extra columns see them mirrored at their edges.
  const int focal = viewFocal > 0 ? viewFocal : viewRect.width;
  const int margin = (viewRect.width - focal) / 2;
  for (int i = 0; i < bandRowsNow; ++i) {
    int srcRow = static_cast<int>(static_cast<double>(i) / rows * srcH);
    if (srcRow > srcH - 1) srcRow = srcH - 1;
    const uint16_t* floorSrc = floorPicture.pixels + srcRow * srcW;
    const uint16_t* skySrc = skyPicture.pixels + srcRow * srcW;
    uint16_t* floorDst = floorBand + i * width;
    uint16_t* skyDst = skyBand + i * width;
    for (int j = 0; j < width; ++j) {
      int srcCol = static_cast<int>(std::floor(static_cast<double>(j - margin) / focal * srcW));
      if (srcCol < 0) srcCol = -1 - srcCol;
      if (srcCol > srcW - 1) srcCol = 2 * srcW - 1 - srcCol;
      if (srcCol < 0) srcCol = 0;
      floorDst[j] = floorSrc[srcCol];
      skyDst[j] = skySrc[srcCol];
    }
  }
  bandWidth = width;
  bandRows = bandRowsNow;
}

void drawBackdrop(Surface* surface) {
  if (!surface) return;
  // A strip of height / 20 rows each side of the horizon stays uncovered.
  int rows = halfHeight() - viewRect.height / 20;
  if (rows > bandRows) rows = bandRows;  // the view grew since the bands were built
  if (rows <= 0) return;

  // Columns left .. right that lie on the surface and inside the bands.
  int first = viewRect.left < 0 ? -viewRect.left : 0;
  int last = viewRect.width < bandWidth ? viewRect.width : bandWidth;
  if (viewRect.left + last > surface->width) last = surface->width - viewRect.left;
  if (last <= first) return;
  const size_t bytes = static_cast<size_t>(last - first) * 2;
  const int x0 = viewRect.left + first;

  beginDirectAccess();
  for (int i = 0; i < rows; ++i) {
    const int floorRow = viewRect.bottom - i;
    const int skyRow = viewRect.top + i;
    if (floorRow >= 0 && floorRow < surface->height)
      std::memcpy(pixelRow(surface, floorRow) + x0, floorBand + i * bandWidth + first, bytes);
    if (skyRow >= 0 && skyRow < surface->height)
      std::memcpy(pixelRow(surface, skyRow) + x0, skyBand + i * bandWidth + first, bytes);
  }
  endDirectAccess();
}

void drawStars(const PlayerState& player, Surface* surface) {
  setColor(kStarColour);
  // projectPoint's arithmetic step for step, with the heading's cosine and
  // sine taken once for all 400 points instead of once per point.
  const double c = std::cos(-static_cast<double>(player.heading));
  const double s = std::sin(-static_cast<double>(player.heading));
  const double focal = viewFocal;
  const double height = viewRect.height;
  const int half = halfWidth();
  const int halfH = halfHeight();
  for (int col = 0; col < kStarColumns; ++col) {
    const int gx = 2 * col;
    for (int gy = 0; gy < kStarRows; ++gy) {
      const float px = static_cast<float>(gx + gy % 2) + 0.5f;
      const float py = static_cast<float>(gy) + 0.5f;
      const double dx = static_cast<double>(px) - player.x;
      const double dy = static_cast<double>(py) - player.y;
      const float depth = static_cast<float>(dx * c - dy * s);
      if (!(depth > 0.0f)) continue;  // behind the camera
      const float lateral = static_cast<float>(dy * c + dx * s);
      const float screenX = static_cast<float>(half - static_cast<double>(lateral) / depth * focal);
      const float screenY = static_cast<float>(viewRect.bottom - (height * 0.5 / depth + halfH));
      const double fx = static_cast<double>(viewRect.left) + screenX;
      const double fy = screenY;
      if (!(fx > -1e9 && fx < 1e9 && fy > -1e9 && fy < 1e9)) continue;
      const int x = static_cast<int>(fx);
      const int y = static_cast<int>(fy);
      if (x < viewRect.left || x > viewRect.right || y < viewRect.top || y > viewRect.bottom) continue;
      putPixel(x, y);
      if (depth <= 3.0f) {  // near: a plus of five pixels
        putPixel(x - 1, y);
        putPixel(x + 1, y);
        putPixel(x, y + 1);
        putPixel(x, y - 1);
      }
      if (depth <= 1.5f) {  // nearer still: a diamond of eleven
        putPixel(x + 1, y + 1);
        putPixel(x + 1, y - 1);
        putPixel(x - 1, y + 1);
        putPixel(x - 1, y - 1);
        putPixel(x + 2, y);
        putPixel(x - 2, y);
      }
    }
  }
}
