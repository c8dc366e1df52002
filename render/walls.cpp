// The wall ray caster: one ray per view column walks the grid line by line
// until it meets a wall edge, leaves the grid or runs out of range.
#include "render/walls.h"

#include <cmath>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "framework/surface.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "world/angles.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

namespace {

constexpr double kWallRange = 31.0;  // twice the farthest wall distance that is drawn (15.5 units)
constexpr float kDotRange = 31.0f;   // floor points end open rays here
constexpr uint16_t kFlatWallColour = 0x4946;
constexpr uint16_t kFloorDotColour = 0x1CE7;
constexpr int kTexWidth = BrickPicture::width;
constexpr int kTexHeight = BrickPicture::height;
// A wall at distance 0 would be infinitely tall; this keeps the slice
// arithmetic inside int while still covering any view.
constexpr int kTallestSlice = 1 << 28;

// Everything one castWalls call shares between its columns.
struct Pass {
  Surface* surface;
  int left, top, right, bottom;
  int height, halfHeight;
  int rowLo, rowHi;  // the view's rows that lie on the surface
  const uint16_t* texture;
  bool rayDone;
};

// The surface's own clipping, as putPixel applies it, for a pixel of `pass`'s surface.
inline void plot(const Pass& pass, int x, int y, uint16_t colour) {
  const Surface* s = pass.surface;
  const Rect& c = s->activeClip;
  if (x < c.left || x >= c.right || y < c.top || y >= c.bottom) return;
  x += s->originX;
  y += s->originY;
  if (x < 0 || y < 0 || x >= s->width || y >= s->height) return;
  pixelRow(s, y)[x] = colour;
}

// drawLine(x, y1, x, y2) for one column, written straight into memory: the
// same clipping (active rectangle within the surface, viewport origin) and
// the same pixels, without drawLine's per-pixel division.
void verticalRun(const Pass& pass, int x, int y1, int y2, uint16_t colour) {
  const Surface* s = pass.surface;
  Rect c = s->activeClip;
  if (c.left < -s->originX) c.left = -s->originX;
  if (c.top < -s->originY) c.top = -s->originY;
  if (c.right > s->width - s->originX) c.right = s->width - s->originX;
  if (c.bottom > s->height - s->originY) c.bottom = s->height - s->originY;
  if (x < c.left || x >= c.right) return;
  int a = y1 < y2 ? y1 : y2;
  int b = y1 < y2 ? y2 : y1;
  if (a < c.top) a = c.top;
  if (b >= c.bottom) b = c.bottom - 1;
  const int bpl = s->bytesPerLine;
  uint8_t* p = s->pixels + static_cast<long>(a + s->originY) * bpl + 2L * (x + s->originX);
  for (int y = a; y <= b; ++y, p += bpl) *reinterpret_cast<uint16_t*>(p) = colour;
}

// Texel rows of a textured slice. The float accumulation "frac += step; while
// frac >= 1: frac -= 1, row += 1" is one long chain of dependent float
// operations per pixel pair; run column by column it leaves the processor
// waiting. So the slices of up to 32 columns are planned first and their
// chains run side by side, lane by lane in vector registers, with exactly the
// same single-precision operations; then each pair's colour is looked up and
// each column is drawn from its list of colours. frac stays far below 2^23, so
// taking its whole part off at once is exact and equals the one-at-a-time carry.
constexpr int kLanes = 32;
constexpr int kVectors = kLanes / 4;
constexpr int kMaxPairs = kMaxViewHeight / 2 + 1;  // pairs of the tallest view's slice
constexpr int kLastRowOffset = (kTexHeight - 1) * kTexWidth;
typedef float Float4 __attribute__((vector_size(16)));
typedef int32_t Int4 __attribute__((vector_size(16)));

// One column's textured slice, waiting to be drawn.
struct SlicePlan {
  int x, yTop, yBottom, count;
  int row;        // first texel row
  float frac;     // and the fraction beyond it
  float step;     // texel rows per pixel pair
  int texColumn;  // the picture's column
  int level;      // the darkening of the slice's distance
  bool inside;    // every write on the surface and every row inside the picture
};

struct SliceBatch {
  SlicePlan plans[kLanes];
  int size;
  bool deferred;  // false while a viewport origin could make columns overlap
};
SliceBatch batch;
// The texel offset (row x 640) of pair k for each lane of the batch, and the
// colour of that pair. What a lane computes past its own count is never drawn.
alignas(32) int32_t pairRows[kMaxPairs][kLanes];
alignas(32) uint16_t pairColours[kMaxPairs][kLanes];
static_assert(kMaxPairs == 601, "half of 1200 rows, plus the mirrored middle");

// A pair's colour from its texel offset; offsets beyond the picture's rows
// take its first or last row.
inline uint16_t pairColour(const Pass& pass, const SlicePlan& plan, int offset) {
  if (offset < 0) offset = 0;
  if (offset > kLastRowOffset) offset = kLastRowOffset;
  return shadeTable[plan.level][pass.texture[offset + plan.texColumn] & 0x7FFF];
}

// The row chains of every planned slice, four lanes to a vector, then the
// colours one by one.
void colourPairs(const Pass& pass) {
  const int size = batch.size;
  int pairs = 0;
  Float4 frac[kVectors] = {}, step[kVectors] = {};
  Int4 row[kVectors] = {};
  for (int lane = 0; lane < size; ++lane) {
    const SlicePlan& plan = batch.plans[lane];
    if (plan.count > pairs) pairs = plan.count;
    frac[lane / 4][lane % 4] = plan.frac;
    step[lane / 4][lane % 4] = plan.step;
    row[lane / 4][lane % 4] = plan.row;
  }
  for (int k = 0; k < pairs; ++k) {
    for (int v = 0; v < kVectors; ++v) {
      const Int4 offset = (row[v] << 9) + (row[v] << 7);  // row x 640
      __builtin_memcpy(&pairRows[k][4 * v], &offset, sizeof offset);
      frac[v] += step[v];
      const Int4 carry = __builtin_convertvector(frac[v], Int4);  // truncates, as (int) does
      frac[v] -= __builtin_convertvector(carry, Float4);
      row[v] += carry;
    }
  }
  for (int lane = 0; lane < size; ++lane) {
    const SlicePlan& plan = batch.plans[lane];
    for (int k = 0; k < plan.count; ++k) pairColours[k][lane] = pairColour(pass, plan, pairRows[k][lane]);
  }
}

#if defined(__x86_64__) && defined(__GNUC__)
typedef float Float8 __attribute__((vector_size(32)));
typedef int32_t Int8 __attribute__((vector_size(32)));

// Eight lanes of chains and their lookups. A lane's row never falls (frac
// starts at or above 0 and the steps are not negative), so only the last
// picture row can be passed, and only where `mayPass` says so.
struct ChainLanes {
  Float8 frac, step;
  // A row's offset is even, so whether a lane's texel is the upper one of
  // its pair depends on the picture's column alone.
  Int8 row, half, upper, level;
};

template <bool mayPass>
__attribute__((target("avx2"), always_inline)) inline void runChains(ChainLanes c, int first, int pairs,
                                                                     const uint16_t* texture) {
  for (int k = 0; k < pairs; ++k) {
    Int8 pair = (c.row << 8) + (c.row << 6);  // row x 320, in pairs of texels
    if (mayPass) pair = pair > kLastRowOffset / 2 ? kLastRowOffset / 2 : pair;
    const __m256i pairs = _mm256_i32gather_epi32(reinterpret_cast<const int*>(texture),
                                                 reinterpret_cast<__m256i>(pair + c.half), 4);
    const Int8 texel =
        reinterpret_cast<Int8>(_mm256_srlv_epi32(pairs, reinterpret_cast<__m256i>(c.upper))) & 0x7FFF;
    const __m256i colour = _mm256_i32gather_epi32(reinterpret_cast<const int*>(&shadeTable[0][0]),
                                                  reinterpret_cast<__m256i>(texel + c.level), 2);
    // The low halves of the eight words, in the first 16 bytes.
    const __m256i halves = _mm256_shuffle_epi8(
        colour, _mm256_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, -1, -1, -1, -1, -1, -1, -1, -1, 0, 1, 4, 5, 8, 9,
                                 12, 13, -1, -1, -1, -1, -1, -1, -1, -1));
    _mm_store_si128(reinterpret_cast<__m128i*>(&pairColours[k][first]),
                    _mm256_castsi256_si128(_mm256_permute4x64_epi64(halves, 0x08)));
    c.frac += c.step;
    const Int8 carry = __builtin_convertvector(c.frac, Int8);  // truncates, as (int) does
    c.frac -= __builtin_convertvector(carry, Float8);
    c.row += carry;
  }
}

// The same chains eight lanes to a vector, each eight only as long as its
// longest slice, with the texel and its shade gathered in the same turn.
__attribute__((target("avx2"))) void colourPairsAvx2(const Pass& pass) {
  for (int first = 0; first < batch.size; first += 8) {
    ChainLanes c = {};
    int pairs = 0;
    const int end = batch.size < first + 8 ? batch.size : first + 8;
    for (int lane = first; lane < end; ++lane) {
      const SlicePlan& plan = batch.plans[lane];
      if (plan.count > pairs) pairs = plan.count;
      c.frac[lane - first] = plan.frac;
      c.step[lane - first] = plan.step;
      c.row[lane - first] = plan.row;
      c.half[lane - first] = plan.texColumn / 2;
      c.upper[lane - first] = 16 * (plan.texColumn % 2);
      c.level[lane - first] = plan.level * kShadeRow;
    }
    // The bound the slices' own plans use, taken over the eight's longest slice.
    bool mayPass = false;
    for (int lane = first; lane < end; ++lane) {
      const SlicePlan& plan = batch.plans[lane];
      if (plan.row + static_cast<double>(plan.frac) + static_cast<double>(pairs) * plan.step + 2.0 >=
          kTexHeight)
        mayPass = true;
    }
    if (mayPass)
      runChains<true>(c, first, pairs, pass.texture);
    else
      runChains<false>(c, first, pairs, pass.texture);
  }
}
#endif

// Neighbouring columns often have slices of the same rows (every wall
// nearer than the view is tall fills it from top to bottom), so a run of
// them is drawn a row at a time, up to eight pixels in one store.
struct SliceRun {
  int lane, width, count;
  uint8_t* up;  // where the next pair's upper and lower rows start
  uint8_t* down;
};

// n pairs of `width` columns from the colour lists, each pair's upper row
// first, so that where the two halves meet in the middle the lower one's
// write stays; four pairs a turn.
template <int width>
void drawPairs(uint8_t* up, uint8_t* down, const uint16_t* colour, int n, long bpl) {
  struct Pixels {
    uint16_t p[width];
  };
  int k = 0;
  for (; k + 4 <= n; k += 4, colour += 4 * kLanes, up += 4 * bpl, down -= 4 * bpl) {
    for (int j = 0; j < 4; ++j) {
      Pixels c;
      __builtin_memcpy(&c, colour + j * kLanes, sizeof c);
      __builtin_memcpy(up + j * bpl, &c, sizeof c);
      __builtin_memcpy(down - j * bpl, &c, sizeof c);
    }
  }
  for (; k < n; ++k, colour += kLanes, up += bpl, down -= bpl) {
    Pixels c;
    __builtin_memcpy(&c, colour, sizeof c);
    __builtin_memcpy(up, &c, sizeof c);
    __builtin_memcpy(down, &c, sizeof c);
  }
}

template <int width>
void drawRunPart(const SliceRun& run, int c, long bpl) {
  drawPairs<width>(run.up + 2 * c, run.down + 2 * c, &pairColours[0][run.lane + c], run.count, bpl);
}

// A run in as few stores as may be: its last columns are drawn as a whole
// part that overlaps the one before. A column drawn twice gets the same
// writes in the same order again, so it ends as it would have.
void drawRun(const SliceRun& run, long bpl) {
  const int w = run.width;
  int c = 0;
  for (; w - c > 8; c += 8) drawRunPart<8>(run, c, bpl);
  if (w >= 8) {
    drawRunPart<8>(run, w - 8, bpl);
  } else if (w >= 4) {
    drawRunPart<4>(run, 0, bpl);
    if (w > 4) drawRunPart<4>(run, w - 4, bpl);
  } else if (w >= 2) {
    drawRunPart<2>(run, 0, bpl);
    if (w > 2) drawRunPart<2>(run, w - 2, bpl);
  } else {
    drawRunPart<1>(run, 0, bpl);
  }
}

// A slice with writes off the surface or rows off the picture: pair k at
// yTop + k and yBottom - k, each checked.
void drawCheckedSlice(const Pass& pass, const SlicePlan& plan, int lane) {
  for (int k = 0; k < plan.count; ++k) {
    const uint16_t c = pairColours[k][lane];
    const int y1 = plan.yTop + k, y2 = plan.yBottom - k;
    if (y1 >= pass.rowLo && y1 <= pass.rowHi) pixelRow(pass.surface, y1)[plan.x] = c;
    if (y2 >= pass.rowLo && y2 <= pass.rowHi) pixelRow(pass.surface, y2)[plan.x] = c;
  }
}

inline bool sameRows(const SlicePlan& a, const SlicePlan& b) {
  return a.yTop == b.yTop && a.yBottom == b.yBottom && a.count == b.count && b.x == a.x + 1;
}

// Colours every planned slice's pairs, then draws them.
void flushSlices(const Pass& pass) {
  const int size = batch.size;
  if (size == 0) return;
#if defined(__x86_64__) && defined(__GNUC__)
  if (gatherTexels)
    colourPairsAvx2(pass);
  else
#endif
    colourPairs(pass);
  beginDirectAccess();
  const Surface* s = pass.surface;
  const long bpl = s->bytesPerLine;
  SliceRun runs[kLanes];
  int runCount = 0;
  for (int lane = 0; lane < size; ++lane) {
    const SlicePlan& plan = batch.plans[lane];
    if (!plan.inside) {
      drawCheckedSlice(pass, plan, lane);
    } else if (runCount > 0 && runs[runCount - 1].lane + runs[runCount - 1].width == lane &&
               sameRows(batch.plans[lane - 1], plan)) {
      ++runs[runCount - 1].width;
    } else {
      runs[runCount++] = {lane, 1, plan.count, s->pixels + plan.yTop * bpl + 2L * plan.x,
                          s->pixels + plan.yBottom * bpl + 2L * plan.x};
    }
  }
  // Run after run, top to bottom: with the padded pitch a run's rows spread
  // over every cache set, and the next run mostly finds the same lines.
  for (int r = 0; r < runCount; ++r) drawRun(runs[r], bpl);
  endDirectAccess();
  batch.size = 0;
}

// A slice too tall for the row lists (a view over 1200 rows): drawn at once,
// one chain step per pair, with every write and row checked.
void drawLongSlice(const Pass& pass, const SlicePlan& plan) {
  const Surface* s = pass.surface;
  int row = plan.row;
  float frac = plan.frac;
  beginDirectAccess();
  for (int k = 0; k < plan.count; ++k) {
    const int r = row < kTexHeight - 1 ? row : kTexHeight - 1;
    const uint16_t colour = pairColour(pass, plan, r * kTexWidth);
    const int y1 = plan.yTop + k, y2 = plan.yBottom - k;
    if (y1 >= pass.rowLo && y1 <= pass.rowHi) pixelRow(s, y1)[plan.x] = colour;
    if (y2 >= pass.rowLo && y2 <= pass.rowHi) pixelRow(s, y2)[plan.x] = colour;
    frac += plan.step;
    const int carry = static_cast<int>(frac);
    frac -= static_cast<float>(carry);
    row += carry;
  }
  endDirectAccess();
}

// The wall slice of one column; dx, dy is the hit minus the camera, u the
// hit's place along the wall in [0, 1).
void drawWallSlice(Pass& pass, int column, float dx, float dy, float u) {
  const double dx2 = static_cast<double>(dx) * dx;
  const double dy2 = static_cast<double>(dy) * dy;
  const float dist = static_cast<float>(std::sqrt(dx2 + dy2) * columnCos[column]);
  columnDepth[column] = dist;
  const double tall = pass.height / static_cast<double>(dist);
  const int sliceHeight = tall >= kTallestSlice ? kTallestSlice : tall > 0 ? static_cast<int>(tall) : 0;
  if (2.0 * dist > kWallRange) {  // beyond 15.5 units: the column keeps the sky and floor
    pass.rayDone = true;
    return;
  }
  const int level = static_cast<int>(2.0 * dist);
  const int x = pass.left + column;

  if (!showTextures) {
    const uint16_t colour = shade(level, kFlatWallColour);
    setColor(colour);
    const int horizon = pass.bottom - pass.halfHeight;
    int yLow = horizon + sliceHeight / 2;
    if (yLow > pass.bottom) yLow = pass.bottom;
    int yHigh = horizon - sliceHeight / 2;
    if (yHigh < pass.top) yHigh = pass.top;
    verticalRun(pass, x, yLow, yHigh, colour);
    return;
  }
  if (x < 0 || x >= pass.surface->width) return;  // nothing of this column is on the surface

  SlicePlan plan;
  plan.x = x;
  int texColumn = static_cast<int>(static_cast<double>(u) * kTexWidth);
  if (texColumn < 0) texColumn = 0;
  if (texColumn > kTexWidth - 1) texColumn = kTexWidth - 1;
  plan.texColumn = texColumn;
  plan.level = level;
  // A view under 16 rows can make the slice 0 rows tall: one pair is still
  // written and the step is never used.
  plan.step = sliceHeight > 0 ? static_cast<float>(static_cast<double>(kTexHeight) / sliceHeight) : 0.0f;
  int rows = sliceHeight;
  plan.yTop = pass.top + pass.halfHeight - sliceHeight / 2;
  float texRow = 0.0f;
  if (sliceHeight > pass.height) {  // taller than the view: keep the visible part centred
    rows = pass.height;
    plan.yTop = pass.top;
    texRow = static_cast<float>(static_cast<double>((sliceHeight - pass.height) / 2) * plan.step);
  }
  plan.yBottom = pass.bottom + pass.top - plan.yTop;
  plan.row = static_cast<int>(texRow);
  plan.frac = texRow - static_cast<float>(plan.row);
  plan.count = rows / 2 + 1;
  // The accumulated row never strays far from texRow + count * step; with
  // that bound and every written row on the surface the plain loop is safe.
  const double lastRow = texRow + static_cast<double>(plan.count) * plan.step + 2.0;
  plan.inside = plan.yTop >= pass.rowLo && plan.yTop + plan.count - 1 <= pass.rowHi &&
                plan.yBottom <= pass.rowHi && plan.yBottom - (plan.count - 1) >= pass.rowLo &&
                lastRow < kTexHeight;

  if (plan.count > kMaxPairs) {
    drawLongSlice(pass, plan);
    return;
  }
  batch.plans[batch.size++] = plan;
  if (batch.size == kLanes || !batch.deferred) flushSlices(pass);
}

// A floor point where the ray crosses an open grid line; dx, dy is the
// crossing minus the camera. Also ends open rays at 31 units.
void drawGridDot(Pass& pass, int column, float dx, float dy) {
  if (!showFloorPoints) return;  // the ray then runs on to a wall or out of the grid
  const double dx2 = static_cast<double>(dx) * dx;
  const double dy2 = static_cast<double>(dy) * dy;
  const float dist = static_cast<float>(std::sqrt(dx2 + dy2) * columnCos[column]);
  if (dist > kDotRange) {
    pass.rayDone = true;
    return;
  }
  if (!(dist > 0.0f)) return;  // a crossing at the camera itself has no point on the floor
  const double below = pass.height * 0.5 - pass.height / static_cast<double>(dist) * 0.5;
  if (!(below > -1e6 && below < 1e6)) return;  // so near that the point lies far under the view
  const int y = pass.bottom - static_cast<int>(below);
  const int x = pass.left + column;
  if (y < pass.top || y > pass.bottom || x < pass.left || x > pass.right) return;
  const uint16_t colour = shade(static_cast<int>(dist), kFloorDotColour);
  setColor(colour);
  plot(pass, x, y, colour);
  if (showSkyAndFloor) plot(pass, x, pass.height - y + pass.top, colour);  // the ceiling's matching point
}

// Range tests done in floating point, before any conversion to int.
inline bool inGridTrunc(float v) { return v > -1.0f && v < static_cast<float>(kGridSize); }
inline bool inGridFloor(float v) { return v >= 0.0f && v < static_cast<float>(kGridSize); }

// The cell a ray crossed on its way: the full map shows its floor as known.
bool g_markSeen = true;
inline void markFloorSeen(MazeFloor& cells, int x, int y) {
  if (g_markSeen && x >= 0 && x < kGridSize && y >= 0 && y < kGridSize) cells.cells[y][x].floorSeen = 1;
}

}  // namespace

void setRaysMarkSeen(int on) { g_markSeen = on != 0; }

void castWalls(const PlayerState& player, MazeFloor& cells, Surface* surface) {
  if (!surface) return;
  Pass pass;
  pass.surface = surface;
  pass.left = viewRect.left;
  pass.top = viewRect.top;
  pass.right = viewRect.right;
  pass.bottom = viewRect.bottom;
  pass.height = viewRect.height;
  pass.halfHeight = halfHeight();
  pass.rowLo = pass.top > 0 ? pass.top : 0;
  pass.rowHi = pass.bottom < surface->height - 1 ? pass.bottom : surface->height - 1;
  pass.texture = brickTextures[heldKeys & kAllItemsHeld].pixels;
  pass.rayDone = false;
  batch.size = 0;
  // Each column writes only its own x, so its slice may wait for the next
  // columns' rays; a viewport origin shifts the floor points' x, and then
  // every slice is drawn at once to keep the order of overlapping pixels.
  batch.deferred = surface->originX == 0 && surface->originY == 0;

  int width = viewRect.width;
  if (width > kMaxViewWidth) width = kMaxViewWidth;
  const float camX = player.x;
  const float camY = player.y;

  for (int i = 0; i < width; ++i) {
    for (PointObject& object : pointObjects) object.visible = 1;

    float angle = player.heading - columnAngle[i];
    if (!std::isfinite(angle)) continue;
    if (std::fabs(angle) > 1000.0f) angle = std::fmod(angle, kFullTurn);  // keeps the wrap loops short
    while (angle < 0) angle += kFullTurn;
    while (angle > kTurnBound) angle -= kFullTurn;
    const double a = angle;

    // A ray exactly along an axis casts nothing: the column keeps what it had.
    int sx, sy;
    float nx, ny;
    if (a > 0 && a < kQuarterTurn) {
      sx = 1, sy = 1, nx = std::ceil(camX), ny = std::ceil(camY);
    } else if (a > kQuarterTurn && a < kHalfTurn) {
      sx = -1, sy = 1, nx = std::floor(camX), ny = std::ceil(camY);
    } else if (a > kHalfTurn && a < kThreeQuarterTurn) {
      sx = -1, sy = -1, nx = std::floor(camX), ny = std::floor(camY);
    } else if (a > kThreeQuarterTurn && a < kTurnBound) {
      sx = 1, sy = -1, nx = std::ceil(camX), ny = std::floor(camY);
    } else {
      continue;
    }
    const float t = static_cast<float>(std::tan(a));
    const float cot = static_cast<float>(1.0 / t);
    float vy = static_cast<float>(camY + (static_cast<double>(nx) - camX) * t);
    float hx = static_cast<float>(camX + (static_cast<double>(ny) - camY) * cot);
    const float stepVy = static_cast<float>(sx) * t;
    const float stepHx = static_cast<float>(sy) * cot;

    // Every crossing inside the grid moves nx or ny one line on, so the ray
    // either stops or leaves the 30 x 30 grid within 62 crossings.
    pass.rayDone = false;
    while (!pass.rayDone) {
      const bool verticalFirst = sx > 0 ? nx < hx : nx > hx;  // ties go to the horizontal crossing
      if (verticalFirst) {
        const float cellY = std::floor(vy);
        if (!inGridTrunc(nx) || !inGridFloor(cellY)) break;  // out of the grid: nothing to draw
        Edge& wall = cells.cells[static_cast<int>(cellY)][static_cast<int>(nx)].wallLowX;
        markFloorSeen(cells, static_cast<int>(nx) - (sx > 0), static_cast<int>(cellY));
        if (wall.present) {
          pass.rayDone = true;
          drawWallSlice(pass, i, nx - camX, vy - camY, vy - cellY);
          if (g_markSeen) wall.seen = 1;
        } else {
          drawGridDot(pass, i, nx - camX, vy - camY);
        }
        nx += static_cast<float>(sx);
        vy += stepVy;
      } else {
        const float cellX = std::floor(hx);
        if (!inGridFloor(cellX) || !inGridTrunc(ny)) break;
        Edge& wall = cells.cells[static_cast<int>(ny)][static_cast<int>(cellX)].wallLowY;
        markFloorSeen(cells, static_cast<int>(cellX), static_cast<int>(ny) - (sy > 0));
        if (wall.present) {
          pass.rayDone = true;
          drawWallSlice(pass, i, hx - camX, ny - camY, hx - cellX);
          if (g_markSeen) wall.seen = 1;
        } else {
          drawGridDot(pass, i, hx - camX, ny - camY);
        }
        ny += static_cast<float>(sy);
        hx += stepHx;
      }
    }
  }
  flushSlices(pass);
}
