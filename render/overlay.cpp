// The heading-up overview map of the walls the rays have met, and the three
// colour tiles below the view. Both go through the surface's clipped
// drawing operations, so nothing here can write outside the surface.
#include "render/overlay.h"

#include <cmath>
#include <cstdint>
#include <iterator>

#include "framework/surface.h"
#include "guards/guards.h"
#include "render/camera.h"
#include "world/angles.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

namespace {

constexpr uint32_t kWallColour = 0x1E0;     // green 15
constexpr uint32_t kFigureColour = 0x7FFF;  // the player and the guards, white
constexpr double kMapScale = 10.0;          // pixels per cell unit

// The tiles' first surface columns; tile t shows whether item t (kItemBits[t]) is held.
constexpr int kTileColumns[] = {5, 50, 95};
static_assert(std::size(kTileColumns) == kItemCount, "one tile per coloured item");
constexpr int kNeutralTile = kItemCount;  // after the items' own tiles
constexpr int kTileTopGap = 5;            // rows between the view's bottom and the tiles

// Keeps map coordinates inside what the line drawer can take without overflow.
int saturate(double v) {
  if (!(v == v)) return 0;
  if (v > 1.0e9) return 1000000000;
  if (v < -1.0e9) return -1000000000;
  return static_cast<int>(v);
}

struct MapTransform {
  double camX, camY, c, s;
  int halfW, halfH, bottom;

  int mapX(double px, double py) const {
    const double dx = px - camX, dy = py - camY;
    return saturate(halfW + kMapScale * (dx * c - dy * s));
  }
  int mapY(double px, double py) const {
    const double dx = px - camX, dy = py - camY;
    return bottom - saturate(halfH + kMapScale * (dx * s + dy * c));
  }
};

}  // namespace

void drawOverviewMap(const PlayerState& player, const MazeFloor& cells) {
  const double theta = kQuarterTurn - static_cast<double>(player.heading);  // heading up the screen
  const MapTransform m{player.x,    player.y,     std::cos(theta), std::sin(theta),
                       halfWidth(), halfHeight(), viewRect.bottom};

  setColor(kWallColour);
  for (int cy = 0; cy < kGridSize; ++cy) {
    for (int cx = 0; cx < kGridSize; ++cx) {
      const Cell& cell = cells.cells[cy][cx];
      if (cell.wallLowY.present && cell.wallLowY.seen) {
        drawLine(m.mapX(cx, cy), m.mapY(cx, cy), m.mapX(cx + 1, cy), m.mapY(cx + 1, cy));
      }
      if (cell.wallLowX.present && cell.wallLowX.seen) {
        drawLine(m.mapX(cx, cy), m.mapY(cx, cy), m.mapX(cx, cy + 1), m.mapY(cx, cy + 1));
      }
    }
  }

  setColor(kFigureColour);
  putPixel(viewRect.left + halfWidth(), viewRect.bottom - halfHeight());
  if (showGuardsOnMap == 1) {
    for (const Guard& g : guards) {
      if (g.active == 0) continue;
      int w = g.currentWaypoint;
      w = w < 0 ? 0 : (w >= kWaypointCount ? kWaypointCount - 1 : w);
      putPixel(m.mapX(g.waypoints[w].x, g.waypoints[w].y), m.mapY(g.waypoints[w].x, g.waypoints[w].y));
    }
  }
}

void drawColourTiles() {
  const int top = viewRect.bottom + kTileTopGap;
  for (int t = 0; t < kItemCount; ++t) {
    const bool held = (heldKeys & kItemBits[t]) != 0;
    const TilePicture& tile = !held        ? statusTiles[kNeutralTile]
                              : showShapes ? shapedTiles[t]
                                           : statusTiles[t];
    for (int r = 0; r < tile.height; ++r)  // 0 is drawn as black
      putPixelRow(kTileColumns[t], top + r, tile.pixels + r * tile.width, tile.width);
  }
}
