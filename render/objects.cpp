// The object pass: every body, guard and item in play, sorted by depth and
// drawn from the farthest to the nearest so that nearer figures cover farther ones.
#include "render/objects.h"

#include "guards/guards.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "world/gamestate.h"

namespace {

enum ObjectKind : int32_t { kKindGuard = 0, kKindBody = 1, kKindItem = 2 };

// One view's list: 3 bodies, 4 guards and 3 items at most.
constexpr int kMaxObjects = 10;
ObjectEntry objectList[kMaxObjects];
int objectCount = 0;

void append(float depth, int32_t kind, int32_t index) {
  if (objectCount < kMaxObjects) objectList[objectCount++] = {depth, kind, index};
}

}  // namespace

void drawObjects(const PlayerState& player, const MazeFloor& cells, Surface* surface) {
  objectCount = 0;
  for (int k = 0; k < kBodyCount; ++k) {
    const PointObject& o = pointObjects[k];
    if (o.present == 1 && o.visible == 1) append(projectPoint(o.x, o.y, 0.0f, player).depth, kKindBody, k);
  }
  for (int g = 0; g < kMaxGuards; ++g) {
    const Guard& guard = guards[g];
    if (guard.active != 1 || guard.present != 1) continue;
    int w = guard.currentWaypoint;
    w = w < 0 ? 0 : (w >= kWaypointCount ? kWaypointCount - 1 : w);
    append(projectPoint(guard.waypoints[w].x, guard.waypoints[w].y, 0.0f, player).depth, kKindGuard, g);
  }
  for (int k = 0; k < kItemCount; ++k) {
    if (keyItems[k].active == 1)
      append(projectPoint(keyItems[k].x, keyItems[k].y, 0.0f, player).depth, kKindItem, k);
  }

  // Exchange sort, far to near; only a strictly deeper later entry moves up,
  // so entries of equal depth keep their gathering order.
  for (int i = 0; i < objectCount - 1; ++i) {
    for (int j = i + 1; j < objectCount; ++j) {
      if (objectList[i].depth < objectList[j].depth) {
        const ObjectEntry t = objectList[i];
        objectList[i] = objectList[j];
        objectList[j] = t;
      }
    }
  }

  for (int i = 0; i < objectCount; ++i) {
    const ObjectEntry& e = objectList[i];
    switch (e.kind) {
      case kKindBody:
        // Hidden bodies still took their place in the order above.
        if (showObjects == 1) drawPointObject(player, cells, pointObjects[e.index], surface);
        break;
      case kKindGuard: drawGuardFigure(player, cells, e.index, surface); break;
      case kKindItem: drawKeyItem(player, cells, keyItems[e.index], surface); break;
    }
  }
}

int lastObjectList(const ObjectEntry** entries) {
  if (entries) *entries = objectList;
  return objectCount;
}
