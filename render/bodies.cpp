// The three turning double pyramids: set-up, the spin of their middle square,
// and the drawing of their faces far to near, filled column by column.
#include "render/bodies.h"

#include <cmath>
#include <cstdint>
#include <iterator>

#include "framework/surface.h"
#include "render/camera.h"
#include "world/angles.h"
#include "world/gamestate.h"

PointObject pointObjects[kBodyCount];
float spinAngle = 0.0f;

namespace {

// The middle square's corners, the ones that spin; the two tips stay put.
constexpr int kSquareCorners = 4;

// Model corners relative to the body's position; z from eye level, so the lower
// tip touches the floor at -0.5.
constexpr Vec3 kModelCorners[] = {
    {0.0f, 0.0f, -0.5f}, {-0.1f, -0.1f, -0.3f}, {0.1f, -0.1f, -0.3f},
    {0.1f, 0.1f, -0.3f}, {-0.1f, 0.1f, -0.3f},  {0.0f, 0.0f, -0.1f},
};
constexpr int kModelCornerCount = std::size(kModelCorners);
static_assert(kModelCornerCount == kSquareCorners + 2, "two tips and the middle square");

// Four faces below the middle square, four above it.
constexpr Face kModelFaces[] = {
    {0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 1}, {5, 4, 1}, {5, 1, 2}, {5, 2, 3}, {5, 3, 4},
};
constexpr int kModelFaceCount = std::size(kModelFaces);
static_assert(kModelFaceCount == 2 * kSquareCorners, "a face from each tip to each side of the square");

// Alternating face colours (x1R5G5B5) so neighbouring faces stand apart.
constexpr int32_t kFaceColours[2] = {0x3DFF, 0x5EFF};

// Where the three bodies float, in cell units.
constexpr float kBodyPositions[kBodyCount][2] = {{7.5f, 1.5f}, {10.5f, 5.5f}, {20.5f, 13.5f}};

// Angles of the middle square's corners from the spin angle, radians.
constexpr double kCornerOffsets[kSquareCorners] = {0.0, kQuarterTurn, kHalfTurn, kThreeQuarterTurn};

constexpr float kThird = 0.33333334f;
constexpr float kNearestKey = 500.0f;  // mean corner depth in thousandths: nearer faces are dropped

// Projected corners are kept inside this many pixels (and thousandths) so that
// differences of two of them still fit in 32 bits.
constexpr double kCoordLimit = 1073741824.0;

struct FaceEntry {
  float key;
  int32_t corner[9];  // x, y, depth x 1000 of each corner
  int32_t colour;
};
constexpr int kMaxFaceEntries = 100;
FaceEntry faceList[kMaxFaceEntries];

// trunc toward zero, saturated; false for NaN.
bool toInt(double v, int32_t& out) {
  if (std::isnan(v)) return false;
  if (v > kCoordLimit) v = kCoordLimit;
  if (v < -kCoordLimit) v = -kCoordLimit;
  out = static_cast<int32_t>(v);
  return true;
}

}  // namespace

void initPointObjects() {
  for (int k = 0; k < kBodyCount; ++k) {
    PointObject& o = pointObjects[k];
    o = PointObject{};
    o.present = 1;
    o.visible = 0;
    o.x = kBodyPositions[k][0];
    o.y = kBodyPositions[k][1];
    o.vertexCount = kModelCornerCount;
    o.faceCount = kModelFaceCount;
    for (int v = 0; v < kModelCornerCount; ++v) o.vertices[v] = kModelCorners[v];
    for (int f = 0; f < kModelFaceCount; ++f) {
      o.faces[f] = kModelFaces[f];
      o.faceColour[f] = kFaceColours[f % 2];
    }
  }
}

void placeSpinCorners(double angle) {
  for (PointObject& o : pointObjects) {
    for (int k = 0; k < kSquareCorners; ++k) {
      const double a = angle + kCornerOffsets[k];
      o.vertices[k + 1] = {static_cast<float>(0.1 * std::cos(a)), static_cast<float>(0.1 * std::sin(a)),
                           -0.3f};
    }
  }
}

void spinPointObjects() {
  placeSpinCorners(spinAngle);
  spinAngle = spinAngle + kSpinStep;
  if (spinAngle > kTurnBound) spinAngle = spinAngle - kFullTurn;
}

void drawPointObject(const PlayerState& player, const MazeFloor&, PointObject& object, Surface* surface) {
  if (object.present != 1 || object.visible != 1) return;
  const int vertexCount = object.vertexCount < 0 ? 0 : (object.vertexCount > 20 ? 20 : object.vertexCount);
  const int faceCount = object.faceCount < 0 ? 0 : (object.faceCount > 20 ? 20 : object.faceCount);

  for (int v = 0; v < vertexCount; ++v) {
    const Vec3& c = object.vertices[v];
    const Projection p = projectPoint(object.x + c.x, object.y + c.y, c.z, player);
    object.projected[v] = {p.screenX, p.depth, p.screenY};
  }

  int n = 0;
  for (int f = 0; f < faceCount && n < kMaxFaceEntries; ++f) {
    const int32_t idx[3] = {object.faces[f].a, object.faces[f].b, object.faces[f].c};
    FaceEntry e;
    int64_t depthSum = 0;
    bool usable = true;
    for (int k = 0; k < 3 && usable; ++k) {
      if (idx[k] < 0 || idx[k] >= vertexCount) {
        usable = false;
        break;
      }
      const ProjectedCorner& pc = object.projected[idx[k]];
      usable = toInt(pc.screenX, e.corner[3 * k]) && toInt(pc.screenY, e.corner[3 * k + 1]) &&
               toInt(static_cast<double>(pc.depth) * 1000.0, e.corner[3 * k + 2]);
      depthSum += e.corner[3 * k + 2];
    }
    if (!usable) continue;
    e.key = static_cast<float>(static_cast<double>(depthSum) * kThird);
    if (!(e.key > kNearestKey)) continue;
    e.colour = object.faceColour[f];
    faceList[n++] = e;
  }

  // Exchange sort, farthest face first, so that nearer faces paint over it.
  for (int i = 0; i < n - 1; ++i) {
    for (int j = i + 1; j < n; ++j) {
      if (faceList[i].key < faceList[j].key) {
        const FaceEntry t = faceList[i];
        faceList[i] = faceList[j];
        faceList[j] = t;
      }
    }
  }

  beginDirectAccess();
  for (int i = 0; i < n; ++i) {
    const int32_t* c = faceList[i].corner;
    fillTriangle(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], faceList[i].colour, surface);
  }
  endDirectAccess();
}

void fillTriangle(int x0, int y0, int z0, int x1, int y1, int z1, int x2, int y2, int z2, int colour,
                  Surface* surface) {
  if (!surface) return;
  const ViewRect& v = viewRect;
  struct Corner {
    int64_t x, y, z;
  };
  Corner a{static_cast<int64_t>(x0) + v.left, y0, z0};
  Corner b{static_cast<int64_t>(x1) + v.left, y1, z1};
  Corner c{static_cast<int64_t>(x2) + v.left, y2, z2};
  auto swap = [](Corner& p, Corner& q) {
    const Corner t = p;
    p = q;
    q = t;
  };
  if (b.x < a.x) swap(a, b);
  if (c.x < a.x) swap(a, c);
  if (c.x < b.x) swap(b, c);
  // A triangle one column wide at any corner pair is dropped whole.
  if (c.x < v.left || a.x > v.right || a.x == b.x || b.x == c.x) return;

  // Columns and rows that may be written: the view, and never outside the
  // surface or the depth table. Corners far off screen cost nothing beyond these.
  int64_t colLo = v.left > 0 ? v.left : 0;
  int64_t colHi = v.right;
  if (colHi > surface->width - 1) colHi = surface->width - 1;
  if (colHi > static_cast<int64_t>(v.left) + kMaxViewWidth - 1)
    colHi = static_cast<int64_t>(v.left) + kMaxViewWidth - 1;
  const double rowLo = v.top > 0 ? v.top : 0;
  const double rowHi = v.bottom < surface->height - 1 ? v.bottom : surface->height - 1;

  const double spanAC = static_cast<double>(c.x - a.x);
  auto column = [&](int64_t i, double yEdge) {
    const double e = static_cast<double>(i - a.x);
    const double yAC = a.y + static_cast<double>(c.y - a.y) * e / spanAC;
    // Depth runs along the long edge A to C only.
    const float z = static_cast<float>((a.z + static_cast<double>(c.z - a.z) * e / spanAC) * 0.001);
    if (!(z <= columnDepth[i - v.left])) return;  // a face column at the wall's depth is drawn
    const int level = static_cast<int>(2.0f * z);
    const uint16_t shaded = level < 0     ? static_cast<uint16_t>(colour)
                            : level >= 31 ? 0
                                          : shade(level, static_cast<uint16_t>(colour));
    double yFrom = yEdge < yAC ? yEdge : yAC;
    double yTo = yEdge < yAC ? yAC : yEdge;
    if (yFrom < rowLo) yFrom = rowLo;
    if (yTo > rowHi) yTo = rowHi;
    if (yFrom > yTo) return;
    uint16_t* out = pixelRow(surface, static_cast<int>(yFrom)) + i;
    const long stride = surface->bytesPerLine / 2;
    for (int j = static_cast<int>(yFrom); j <= yTo; ++j, out += stride) *out = shaded;
  };

  const int64_t firstLo = a.x > colLo ? a.x : colLo;
  const int64_t firstHi = b.x < colHi ? b.x : colHi;
  const double spanAB = static_cast<double>(b.x - a.x);
  for (int64_t i = firstLo; i <= firstHi; ++i) {
    column(i, a.y + static_cast<double>(b.y - a.y) * static_cast<double>(i - a.x) / spanAB);
  }
  // The second part starts at column xB again.
  const int64_t secondLo = b.x > colLo ? b.x : colLo;
  const int64_t secondHi = c.x < colHi ? c.x : colHi;
  const double spanBC = static_cast<double>(c.x - b.x);
  for (int64_t i = secondLo; i <= secondHi; ++i) {
    column(i, b.y + static_cast<double>(c.y - b.y) * static_cast<double>(i - b.x) / spanBC);
  }
}
