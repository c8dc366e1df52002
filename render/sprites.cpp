// Camera-facing pictures: the guards (one of 16 views), the items, the shape
// marks floating over them and the meadow at the open exit, scaled and darkened
// with distance and cut off column by column where a wall stands nearer.
#include <cmath>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "framework/surface.h"
#include "guards/guards.h"
#include "render/camera.h"
#include "render/objects.h"
#include "world/angles.h"
#include "world/gamestate.h"
#include "world/image16.h"

namespace {

constexpr double kDegreesToRadians = 0.017453292222222222;
constexpr double kPicturesPerRadian = 2.5464791329085763;  // 16 pictures over a full turn
constexpr int kGuardPictures = 16;
constexpr float kNearest = 0.3f;         // nearer figures are not drawn
constexpr float kFarthestLevel = 31.0f;  // 2 * depth beyond this is out of range

// Where a picture sits around its projected anchor; sizes in view heights per
// unit of depth (H / D), given as fractions so the arithmetic stays H / (n D).
struct SpriteShape {
  int leftDivisor;  // X0 = left + sx - H / (leftDivisor D)
  int widthFactor;  // X1 = X0 + widthFactor H / (widthDivisor D)
  int widthDivisor;
  int heightDivisor;  // Y1 = sy + H / (heightDivisor D)
  bool flipped;       // picture row 0 at the bottom: the picture stands on the floor
  double lift;        // wall heights a flipped picture floats above the floor
};
// A guard is as tall as a wall and half as wide, drawn top-down.
constexpr SpriteShape kGuardShape = {4, 1, 2, 1, false, 0.0};
// An item is a third of a wall high and as wide as high.
constexpr SpriteShape kItemShape = {6, 1, 3, 3, true, 0.0};
// The meadow is one wall high and twice as wide.
constexpr SpriteShape kExitShape = {1, 2, 1, 1, true, 0.0};
// A shape mark is a quarter of a wall across and floats a twelfth of a wall
// over the guard's hat, or over the tips of the item's crystals, which reach
// three quarters up its picture.
constexpr SpriteShape kGuardMarkShape = {8, 1, 4, 4, true, 1.0 + 1.0 / 12};
constexpr SpriteShape kItemMarkShape = {8, 1, 4, 4, true, 1.0 / 4 + 1.0 / 24};

struct Picture {
  const uint16_t* pixels;
  int width, height;
};

int clampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// One sprite's drawing, planned: the picture row of each drawn row and the
// picture column of each column from `first` on (-1 where a wall stands
// nearer). The surface is written row by row, so that eight neighbouring
// pixels can go in one store; each pixel is written at most once, so the
// order does not change the picture.
struct SpriteRows {
  int rowOffset[kMaxViewHeight + 2];  // picture row x width, per drawn row
  alignas(32) int32_t column[kMaxViewWidth];
  int rows, columns;
  uint16_t* firstOut;  // the first drawn row at column `first`
  long rowStride;      // pixels from one drawn row to the next
};
SpriteRows plan;

void drawSpritePixels(const Picture& pic, const uint16_t* shadeRow, int r, int from) {
  uint16_t* out = plan.firstOut + r * plan.rowStride;
  const uint16_t* texels = pic.pixels + plan.rowOffset[r];
  for (int x = from; x < plan.columns; ++x) {
    if (plan.column[x] < 0) continue;
    const uint16_t c = texels[plan.column[x]];
    if (c != 0) out[x] = shadeRow[c & 0x7FFF];
  }
}

#if defined(__x86_64__) && defined(__GNUC__)
// Eight columns at a time: the texels gathered as aligned pairs of 16-bit
// values (the picture's width is even, so a texel's place in its pair follows
// from its column), their shades gathered from the padded rows, and the
// pixels that are neither transparent nor behind a wall blended into the
// eight on the surface.
__attribute__((target("avx2"))) void drawSpriteRowsAvx2(const Picture& pic, int level) {
  const __m256i zero = _mm256_setzero_si256();
  const int wide = plan.columns & ~7;
  // Per column: its pair of texels in a picture row, the shift that takes
  // its texel down, and whether a wall hides it.
  alignas(32) static int32_t pairOf[kMaxViewWidth], shiftOf[kMaxViewWidth], hidden[kMaxViewWidth];
  for (int x = 0; x < wide; x += 8) {
    const __m256i column = _mm256_load_si256(reinterpret_cast<const __m256i*>(&plan.column[x]));
    const __m256i at = _mm256_max_epi32(column, zero);
    _mm256_store_si256(reinterpret_cast<__m256i*>(&pairOf[x]), _mm256_srli_epi32(at, 1));
    _mm256_store_si256(reinterpret_cast<__m256i*>(&shiftOf[x]),
                       _mm256_slli_epi32(_mm256_and_si256(at, _mm256_set1_epi32(1)), 4));
    _mm256_store_si256(reinterpret_cast<__m256i*>(&hidden[x]), _mm256_cmpgt_epi32(zero, column));
  }
  const __m256i toHalves = _mm256_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, -1, -1, -1, -1, -1, -1, -1, -1, 0, 1, 4,
                                            5, 8, 9, 12, 13, -1, -1, -1, -1, -1, -1, -1, -1);
  const __m256i levelBase = _mm256_set1_epi32(level * kShadeRow);
  const int* texelPairs = reinterpret_cast<const int*>(pic.pixels);
  const int* shades = reinterpret_cast<const int*>(&shadeTable[0][0]);
  for (int r = 0; r < plan.rows; ++r) {
    uint16_t* out = plan.firstOut + r * plan.rowStride;
    const __m256i rowPair = _mm256_set1_epi32(plan.rowOffset[r] / 2);
    for (int x = 0; x < wide; x += 8) {
      const __m256i pair =
          _mm256_add_epi32(rowPair, _mm256_load_si256(reinterpret_cast<const __m256i*>(&pairOf[x])));
      const __m256i texel = _mm256_and_si256(
          _mm256_srlv_epi32(_mm256_i32gather_epi32(texelPairs, pair, 4),
                            _mm256_load_si256(reinterpret_cast<const __m256i*>(&shiftOf[x]))),
          _mm256_set1_epi32(0xFFFF));
      const __m256i keep = _mm256_or_si256(_mm256_load_si256(reinterpret_cast<const __m256i*>(&hidden[x])),
                                           _mm256_cmpeq_epi32(texel, zero));
      const __m256i shadeIndex =
          _mm256_add_epi32(_mm256_and_si256(texel, _mm256_set1_epi32(0x7FFF)), levelBase);
      const __m256i shade = _mm256_i32gather_epi32(shades, shadeIndex, 2);
      const __m128i colour16 =
          _mm256_castsi256_si128(_mm256_permute4x64_epi64(_mm256_shuffle_epi8(shade, toHalves), 0x08));
      const __m128i keep16 =
          _mm256_castsi256_si128(_mm256_permute4x64_epi64(_mm256_shuffle_epi8(keep, toHalves), 0x08));
      __m128i* where = reinterpret_cast<__m128i*>(out + x);
      _mm_storeu_si128(where, _mm_blendv_epi8(colour16, _mm_loadu_si128(where), keep16));
    }
    if (wide < plan.columns) drawSpritePixels(pic, &shadeTable[level][0], r, wide);
  }
}
#endif

// The waypoint a guard stands on; an index outside the table reads its nearest end.
int standingIndex(const Guard& g) { return clampInt(g.currentWaypoint, 0, kWaypointCount - 1); }

// Draws one picture whose anchor (ax, ay) projects at the height of the wall tops.
void drawSprite(const Picture& pic, const SpriteShape& shape, float ax, float ay, const PlayerState& cam,
                Surface* surface) {
  if (!surface) return;
  const ViewRect& v = viewRect;
  const Projection p = projectPoint(ax, ay, 0.5f, cam);
  const float D = p.depth;
  const double H = v.height;
  const float X0 = static_cast<float>(v.left + static_cast<double>(p.screenX) -
                                      H / (shape.leftDivisor * static_cast<double>(D)));
  const float X1 =
      static_cast<float>(X0 + shape.widthFactor * H / (shape.widthDivisor * static_cast<double>(D)));
  // Lifting a flipped picture moves its mirrored top edge down the view.
  float Y0 = shape.lift == 0.0 ? p.screenY : static_cast<float>(p.screenY + shape.lift * H / D);
  float Y1 = static_cast<float>(Y0 + H / (shape.heightDivisor * static_cast<double>(D)));
  // A mark stays whole in the view: near its figure it comes down over the
  // figure's head rather than float out of sight.
  const float topEdge = static_cast<float>(v.bottom - v.top);
  if (shape.lift != 0.0 && Y1 > topEdge) Y0 -= Y1 - topEdge, Y1 = topEdge;
  if (X0 > v.right || X1 < v.left || !(D >= kNearest)) return;  // NaN depths fail too
  if (!std::isfinite(X0) || !std::isfinite(X1) || !std::isfinite(Y0) || !std::isfinite(Y1)) return;

  const float cX0 = X0 < v.left ? static_cast<float>(v.left) : X0;
  const float cX1 = X1 > v.right ? static_cast<float>(v.right) : X1;
  const float cY0 = Y0 < v.top ? static_cast<float>(v.top) : Y0;
  const float cY1 = Y1 > v.bottom ? static_cast<float>(v.bottom) : Y1;

  beginDirectAccess();
  if (2.0f * D <= kFarthestLevel) {
    const int W = pic.width, R = pic.height;
    const double baseX = std::trunc(static_cast<double>(X0));
    const double spanX = static_cast<double>(X1) - X0;
    const float rowStep = static_cast<float>(R / (static_cast<double>(Y1) - Y0));
    const int level = static_cast<int>(2.0f * D);

    // Rows: j runs from trunc(cY0) while j < cY1 - 1, so there are
    // ceil(cY1 - 1) - j0 of them; a span that misses the view has none.
    const double rowEnd = static_cast<double>(cY1) - 1.0;
    int j0 = 0, rows = 0;
    if (cY0 < rowEnd) {
      j0 = static_cast<int>(cY0);
      rows = static_cast<int>(std::ceil(rowEnd)) - j0;
    }
    const int firstRow = rows == 0 ? 0 : (shape.flipped ? static_cast<int>(v.bottom - cY0) : j0);
    const int rowDir = shape.flipped ? -1 : 1;
    // Rows that may be written: the view, and never outside the surface.
    const int rowLo = v.top > 0 ? v.top : 0;
    const int rowHi = v.bottom < surface->height - 1 ? v.bottom : surface->height - 1;
    // Steps k whose surface row firstRow + rowDir * k lies within [rowLo, rowHi].
    int kLo, kHi;
    if (rowDir > 0) {
      kLo = rowLo - firstRow;
      kHi = rowHi - firstRow;
    } else {
      kLo = firstRow - rowHi;
      kHi = firstRow - rowLo;
    }
    if (kLo < 0) kLo = 0;
    if (kHi > rows - 1) kHi = rows - 1;

    // The picture row of every drawn row is the same in each column: walk the
    // float steps once per sprite and keep the rows' offsets into the picture.
    if (kHi - kLo + 1 > kMaxViewHeight + 2) kHi = kLo + kMaxViewHeight + 1;
    {
      float texRow = static_cast<float>((static_cast<double>(cY0) - Y0) * rowStep);
      for (int k = 0; k < kLo; ++k) texRow += rowStep;
      for (int k = kLo; k <= kHi; ++k) {
        // texRow only grows; the float steps may carry it to R at the lower edge.
        plan.rowOffset[k - kLo] = clampInt(static_cast<int>(texRow), 0, R - 1) * W;
        texRow += rowStep;
      }
    }
    plan.rows = kHi - kLo + 1;

    const int colHi =
        surface->width - 1 < v.left + kMaxViewWidth - 1 ? surface->width - 1 : v.left + kMaxViewWidth - 1;
    int first = -1;
    plan.columns = 0;
    for (int xi = static_cast<int>(cX0); plan.rows > 0 && xi <= cX1; ++xi) {
      if (xi < 0 || xi < v.left) continue;
      if (xi > colHi) break;
      if (first < 0) first = xi;
      plan.columns = xi - first + 1;
      plan.column[xi - first] = -1;
      if (!(D < columnDepth[xi - v.left])) continue;  // the wall is as near or nearer
      double u = (xi - baseX) * W / spanX;
      u = u < 0 ? 0 : (u > W - 1 ? W - 1 : u);  // never a column outside the picture
      plan.column[xi - first] = static_cast<int>(u);
    }
    if (plan.columns > 0) {
      plan.firstOut = pixelRow(surface, firstRow + rowDir * kLo) + first;
      plan.rowStride = rowDir * static_cast<long>(surface->bytesPerLine / 2);
#if defined(__x86_64__) && defined(__GNUC__)
      if (gatherTexels && W % 2 == 0 && reinterpret_cast<uintptr_t>(pic.pixels) % 4 == 0) {
        drawSpriteRowsAvx2(pic, level);
      } else
#endif
      {
        for (int r = 0; r < plan.rows; ++r) drawSpritePixels(pic, shadeTable[level], r, 0);
      }
    }
  }
  endDirectAccess();
}

}  // namespace

int guardPictureIndex(float facingDegrees, float gx, float gy, float camX, float camY) {
  double rel = facingDegrees * kDegreesToRadians -
               std::atan2(static_cast<double>(gy) - camY, static_cast<double>(gx) - camX) + kHalfTurn;
  if (!std::isfinite(rel)) return 0;
  // A facing of thousands of degrees would take the wrap loops ages; fold it first.
  if (std::fabs(rel) > 1.0e4) rel = std::fmod(rel, static_cast<double>(kFullTurn));
  while (rel < 0) rel += kFullTurn;
  while (rel > kTurnBound) rel -= kFullTurn;
  const int frame = static_cast<int>(0.5 + rel * kPicturesPerRadian);
  return frame >= kGuardPictures ? 0 : frame;
}

void drawGuardFigure(const PlayerState& player, const MazeFloor&, int slot, Surface* surface) {
  if (slot < 0 || slot > 3) return;
  const Guard& g = guards[slot];
  if (g.active != 1 || g.present != 1) return;
  const int w = standingIndex(g);
  const float gx = g.waypoints[w].x, gy = g.waypoints[w].y;
  const int frame = guardPictureIndex(g.facing[w], gx, gy, player.x, player.y);
  const SpritePicture& s = figureSprites[slot][frame];
  drawSprite({s.pixels, s.width, s.height}, kGuardShape, gx, gy, player, surface);
  if (showShapes != 1 || slot == kWhiteGuard) return;
  const MarkPicture& mark = shapeMarks[guardItem(slot)];
  drawSprite({mark.pixels, mark.width, mark.height}, kGuardMarkShape, gx, gy, player, surface);
}

void drawKeyItem(const PlayerState& player, const MazeFloor&, const KeyItem& item, Surface* surface) {
  if (item.active != 1) return;
  drawSprite({item.picture.pixels, item.picture.width, item.picture.height}, kItemShape, item.x, item.y,
             player, surface);
  if (showShapes != 1) return;
  for (int k = 0; k < kItemCount; ++k) {
    if (&item != &keyItems[k]) continue;
    const MarkPicture& mark = shapeMarks[k];
    drawSprite({mark.pixels, mark.width, mark.height}, kItemMarkShape, item.x, item.y, player, surface);
  }
}

void drawExitPicture(const PlayerState& player, const MazeFloor&, int exitX, int exitY, Surface* surface) {
  if (exitOpen == 0) return;
  drawSprite({meadowPicture.pixels, meadowPicture.width, meadowPicture.height}, kExitShape,
             static_cast<float>(exitX + 0.5), static_cast<float>(exitY + 0.5), player, surface);
}
