#include "render/fullmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <utility>

#include "framework/surface.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "render/marks.h"
#include "render/shapemark.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

constexpr uint16_t kBackdrop = 0x0421;
constexpr uint16_t kUnknown = 0x0842;
constexpr uint16_t kFloor = 0x2D6B;
constexpr uint16_t kWall = 0x7A8E;  // warm like the bricks
constexpr uint16_t kPlayer = 0x7FFF;
constexpr uint16_t kArrowRim = 0x0000;
constexpr uint16_t kCrystal = 0x539F;
constexpr uint16_t kDoor = 0x4944;
constexpr uint16_t kMeadow = 0x1284;  // the open exit shows the meadow beyond
static_assert(std::size(kGuardMarkColours) == kMaxGuards, "a colour for each guard");

struct Frame {
  MapFrame f;
  int height;  // the maze's rows
  int sx(double x) const { return f.left + static_cast<int>(std::lround(x * f.cell)); }
  int sy(double y) const { return f.top + static_cast<int>(std::lround((height - y) * f.cell)); }
};

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
      drawShapeMark(k, m.sx(keyItems[k].x) - mark, m.sy(keyItems[k].y) - mark, 2 * mark + 1,
                    kGuardMarkColours[itemGuardSlot(k)]);

  if (guardsShown)
    for (int slot = 0; slot < kMaxGuards; ++slot) {
      const Guard& g = guards[slot];
      if (!g.active) continue;
      const int wp = std::clamp(static_cast<int>(g.currentWaypoint), 0, kWaypointCount - 1);
      fillDisc(m.sx(g.waypoints[wp].x), m.sy(g.waypoints[wp].y), std::max(1, px / 4),
               kGuardMarkColours[slot]);
    }

  // The player: an arrow along the heading, most of a cell long, on a dark
  // rim so that it reads on the floor, the unknown and a wall line alike.
  const double heading =
      std::atan2(-std::sin(player.heading), std::cos(player.heading));  // screen y grows down
  const double ax = m.sx(player.x), ay = m.sy(player.y);
  const double back = 2.45;  // radians from the tip to each back corner
  const double rim = std::max(1, px / 10);
  for (const int pass : {0, 1}) {
    const double len =
        px * 0.75 + (pass == 0 ? rim * 3.0 : 0.0);  // the sides lie near the centre: thrice as much rim there
    const auto at = [&](double angle) {
      return std::pair{ax + len * std::cos(angle), ay + len * std::sin(angle)};
    };
    const auto [tx, ty] = at(heading);
    const auto [lx, ly] = at(heading + back);
    const auto [rx, ry] = at(heading - back);
    fillWedge(tx, ty, lx, ly, rx, ry, pass == 0 ? kArrowRim : kPlayer);
  }
}
