// A frame's 3D view: the single view with backdrop, walls, exit, objects and
// map, or the side-by-side stereo pair of walls and objects.
#include "render/view.h"

#include <cmath>

#include "framework/surface.h"
#include "render/backdrop.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/overlay.h"
#include "render/walls.h"
#include "world/angles.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

constexpr double kEyeOffset = 0.1;  // cell units from the player to the left picture's eye

// The pair splits the whole view, and each half keeps its focal length share.
struct WholeView {
  int width, focal;
};

void setColumns(int left, int right, const WholeView& whole) {
  viewRect.left = left;
  viewRect.right = right;
  viewRect.width = right - left + 1;
  buildColumnTables(viewRect.width, partFocal(viewRect.width, whole.width, whole.focal));
}

void drawSingleView(PlayerState& player, MazeFloor& cells, Surface* surface) {
  if (showSkyAndFloor) {
    drawBackdrop(surface);
    drawStars(player, surface);
  }
  castWalls(player, cells, surface);
  const MarkerPos exit = levelMaps[0].markers[kMarkD];
  drawExitPicture(player, cells, exit.x - 1, exit.y, surface);
  drawObjects(player, cells, surface);
  if (showMap) drawOverviewMap(player, cells);
}

// The left half sees from an eye 0.1 units to the player's right, the right
// half from the player's own place; neither gets sky, stars, exit or map.
void drawStereoView(PlayerState& player, MazeFloor& cells, Surface* surface) {
  const int maxX = getMaxX(surface);
  const WholeView whole = {viewRect.width, viewFocal};
  setColumns(0, maxX / 2, whole);
  const double side = static_cast<double>(player.heading) - kQuarterTurn;
  const float ox = static_cast<float>(kEyeOffset * std::cos(side));
  const float oy = static_cast<float>(kEyeOffset * std::sin(side));
  player.x += ox;
  player.y += oy;
  castWalls(player, cells, surface);
  drawObjects(player, cells, surface);
  player.x -= ox;
  player.y -= oy;

  setColumns(maxX / 2 + 1, maxX, whole);
  castWalls(player, cells, surface);
  drawObjects(player, cells, surface);

  // The view stays at four fifths of the surface from now on, in the single
  // view too, until the next view set-up.
  viewRect.top = 0;
  viewRect.bottom = (4 * getMaxY(surface)) / 5;
  viewRect.height = viewRect.bottom - viewRect.top + 1;
  setColumns(0, maxX, whole);
}

}  // namespace

void drawView(PlayerState& player, MazeFloor& cells, Surface* surface) {
  if (!surface) return;
  if (stereoView) {
    drawStereoView(player, cells, surface);
  } else {
    drawSingleView(player, cells, surface);
  }
}
