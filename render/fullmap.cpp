#include "render/fullmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "framework/surface.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

constexpr uint16_t kBackdrop = 0x0421;
constexpr uint16_t kUnknown = 0x0842;
constexpr uint16_t kFloor = 0x2D6B;
constexpr uint16_t kWall = 0x7A8E;  // warm like the bricks
constexpr uint16_t kPlayer = 0x7FFF;
constexpr uint16_t kCrystal = 0x539F;
constexpr uint16_t kDoor = 0x4944;
constexpr uint16_t kMeadow = 0x1284;  // the open exit shows the meadow beyond
// Lightened so that each stands out on the dark floor: red, green, blue.
constexpr uint16_t kItemColours[kItemCount] = {0x7CC6, 0x1B86, 0x219F};
constexpr uint16_t kGuardColours[kMaxGuards] = {0x7FFF, 0x7CC6, 0x1B86, 0x219F};

struct Frame {
  MapFrame f;
  int height;  // the maze's rows
  int sx(double x) const { return f.left + static_cast<int>(std::lround(x * f.cell)); }
  int sy(double y) const { return f.top + static_cast<int>(std::lround((height - y) * f.cell)); }
};

void fillBox(int x0, int y0, int x1, int y1, uint16_t colour) {
  setColor(colour);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) putPixel(x, y);
}

void fillDisc(int cx, int cy, int r, uint16_t colour, int hole = -1) {
  setColor(colour);
  for (int dy = -r; dy <= r; ++dy)
    for (int dx = -r; dx <= r; ++dx) {
      const int d = dx * dx + dy * dy;
      if (d <= r * r + r && (hole < 0 || d > hole * hole + hole)) putPixel(cx + dx, cy + dy);
    }
}

// A triangle filled by lines from its tip to every point of its base.
void fillWedge(double tx, double ty, double ax, double ay, double bx, double by, uint16_t colour) {
  setColor(colour);
  const int steps = 2 * static_cast<int>(std::hypot(bx - ax, by - ay)) + 2;
  for (int i = 0; i <= steps; ++i) {
    const double s = static_cast<double>(i) / steps;
    drawLine(static_cast<int>(std::lround(tx)), static_cast<int>(std::lround(ty)),
             static_cast<int>(std::lround(ax + (bx - ax) * s)),
             static_cast<int>(std::lround(ay + (by - ay) * s)));
  }
}

// Each item has its own shape as well as its colour: red a bar, green a
// triangle, blue a ring.
void drawItemMark(int item, int cx, int cy, int r, uint16_t colour) {
  if (item == 0) {
    fillBox(cx - r, cy - r / 3, cx + r, cy + r / 3, colour);
  } else if (item == 1) {
    fillWedge(cx, cy - r, cx - r, cy + r, cx + r, cy + r, colour);
  } else {
    fillDisc(cx, cy, r, colour, r / 2);
  }
}

void drawWallLine(int x0, int y0, int x1, int y1, int thickness) {
  for (int t = 0; t < thickness; ++t) {
    const int o = t - thickness / 2;
    if (x0 == x1)
      drawLine(x0 + o, y0, x1 + o, y1);
    else
      drawLine(x0, y0 + o, x1, y1 + o);
  }
}

bool edgeSeen(const Edge& e) { return e.present && e.seen; }

// The exit counts as found once any of its walls has been seen.
bool exitSeen(const MazeFloor& floor, int x, int y) {
  if (x < 0 || y < 0 || x + 1 >= kGridSize || y + 1 >= kGridSize) return false;
  return edgeSeen(floor.cells[y][x].wallLowY) || edgeSeen(floor.cells[y][x].wallLowX) ||
         edgeSeen(floor.cells[y + 1][x].wallLowY) || edgeSeen(floor.cells[y][x + 1].wallLowX);
}

bool floorSeenAt(const MazeFloor& floor, double x, double y) {
  const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
  return cx >= 0 && cy >= 0 && cx < kGridSize && cy < kGridSize && floor.cells[cy][cx].floorSeen;
}

}  // namespace

MapFrame fitFullMap(int mazeWidth, int mazeHeight, int width, int height, int reserved) {
  mazeWidth = std::max(mazeWidth, 1);
  mazeHeight = std::max(mazeHeight, 1);
  const int roomX = width - width / 16, roomY = height - 2 * reserved;
  const int cell = std::max(1, std::min(roomX / mazeWidth, roomY / mazeHeight));
  return {(width - cell * mazeWidth) / 2, reserved + (roomY - cell * mazeHeight) / 2, cell};
}

void drawFullMap(const PlayerState& player, const MazeFloor& floor, const LevelMap& map, int reserved,
                 int guardsShown) {
  const Surface* s = currentSurface();
  const int w = std::clamp(map.width, 1, kLevelWidth), h = std::clamp(map.height, 1, kLevelHeight);
  const Frame m{fitFullMap(w, h, getMaxX(s) + 1, getMaxY(s) + 1, reserved), h};
  const int px = m.f.cell;
  fillBox(0, 0, getMaxX(s), getMaxY(s), kBackdrop);

  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      fillBox(m.sx(x), m.sy(y + 1), m.sx(x + 1) - 1, m.sy(y) - 1,
              floor.cells[y][x].floorSeen ? kFloor : kUnknown);

  setColor(kWall);
  const int thickness = std::max(1, px / 8);
  for (int y = 0; y <= h; ++y)
    for (int x = 0; x <= w; ++x) {
      const Cell& c = floor.cells[y][x];
      if (x < w && edgeSeen(c.wallLowY)) drawWallLine(m.sx(x), m.sy(y), m.sx(x + 1), m.sy(y), thickness);
      if (y < h && edgeSeen(c.wallLowX)) drawWallLine(m.sx(x), m.sy(y), m.sx(x), m.sy(y + 1), thickness);
    }

  const MarkerPos exit = map.markers[kMarkD];
  if (exit.x < w && exit.y < h && map.codes[exit.x][exit.y] == kCodeExit && exitSeen(floor, exit.x, exit.y)) {
    const int inset = std::max(1, px / 6);
    const int x0 = m.sx(exit.x) + inset, x1 = m.sx(exit.x + 1) - 1 - inset;
    const int y0 = m.sy(exit.y + 1) + inset, y1 = m.sy(exit.y) - 1 - inset;
    fillBox(x0, y0, x1, y1, kDoor);
    if (exitOpen)
      fillBox(x0 + inset, y0 + inset, x1 - inset, y1, kMeadow);  // the door stands open
    else
      fillBox(x1 - 2 * inset, (y0 + y1) / 2, x1 - inset, (y0 + y1) / 2 + inset / 2, kWall);  // its handle
  }

  const int mark = std::max(2, px * 3 / 10);
  for (const PointObject& body : pointObjects)
    if (body.present && floorSeenAt(floor, body.x, body.y)) {
      const int cx = m.sx(body.x), cy = m.sy(body.y);
      fillWedge(cx, cy - mark, cx - mark, cy, cx + mark, cy, kCrystal);
      fillWedge(cx, cy + mark, cx - mark, cy, cx + mark, cy, kCrystal);
    }
  for (int k = 0; k < kItemCount; ++k)
    if (keyItems[k].active && floorSeenAt(floor, keyItems[k].x, keyItems[k].y))
      drawItemMark(k, m.sx(keyItems[k].x), m.sy(keyItems[k].y), mark, kItemColours[k]);

  if (guardsShown)
    for (int slot = 0; slot < kMaxGuards; ++slot) {
      const Guard& g = guards[slot];
      if (!g.active) continue;
      const int wp = std::clamp(static_cast<int>(g.currentWaypoint), 0, kWaypointCount - 1);
      fillDisc(m.sx(g.waypoints[wp].x), m.sy(g.waypoints[wp].y), std::max(1, px / 4), kGuardColours[slot]);
    }

  // The player: an arrow along the heading.
  const double c = std::cos(player.heading), sn = -std::sin(player.heading);  // screen y grows down
  const double ax = m.sx(player.x), ay = m.sy(player.y), len = px * 0.45;
  const double back = 2.5;  // radians from the tip to each back corner
  fillWedge(ax + c * len, ay + sn * len, ax + len * std::cos(std::atan2(sn, c) + back),
            ay + len * std::sin(std::atan2(sn, c) + back), ax + len * std::cos(std::atan2(sn, c) - back),
            ay + len * std::sin(std::atan2(sn, c) - back), kPlayer);
}
