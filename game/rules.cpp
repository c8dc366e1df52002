#include "game/rules.h"

#include "render/bodies.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

// The bonus loses 10 on every eleventh pass while any is left.
constexpr int32_t kBonusPeriod = 10;
constexpr int32_t kBonusDrop = 10;

void countBonusDown() {
  if (bonusTick == kBonusPeriod) {
    bonusTick = 0;
    if (timeBonus > 0) timeBonus -= kBonusDrop;
  } else {
    ++bonusTick;
  }
}

void collectCrystals(PassEvents& ev) {
  for (PointObject& body : pointObjects) {
    if (body.present && reached(body.x, body.y, kReachLimit)) {
      body.present = 0;
      score += kCrystalPoints;
      ++ev.crystals;
    }
  }
}

// A guard on the player: the white one catches, a coloured one takes its
// item back (when it is held) and stops hunting.
void meetGuards(PassEvents& ev) {
  for (int k = 0; k < kMaxGuards; ++k) {
    Guard& g = guards[k];
    if (g.active == 0) continue;
    const Waypoint& at = g.waypoints[g.currentWaypoint];
    if (!reached(at.x, at.y, kReachLimit)) continue;
    if (k == kWhiteGuard) {
      ev.caught = true;
      continue;
    }
    g.active = 0;
    const int item = guardItem(k);
    const int32_t bit = kItemBits[item];
    if (heldKeys & bit) {
      heldKeys &= ~bit;
      keyItems[item].active = 1;
      ev.takenBack |= bit;
    }
  }
}

// An item walked over is picked up; the first time it is held its guard sets out.
void pickUpItems(PassEvents& ev) {
  for (int k = 0; k < kItemCount; ++k) {
    KeyItem& item = keyItems[k];
    if (item.active == 0 || !reached(item.x, item.y, kReachLimit)) continue;
    item.active = 0;
    ev.pickedUp |= kItemBits[k];
    if (!(heldKeys & kItemBits[k])) {
      heldKeys |= kItemBits[k];
      guards[itemGuardSlot(k)].active = 1;
      ev.released |= kItemBits[k];
    }
  }
}

// The exit stands open while all three items are held; the player escapes
// within reach of the cell in front of it.
void passTheExit(PassEvents& ev) {
  if (heldKeys != kAllItemsHeld) {
    exitOpen = 0;
    return;
  }
  ev.exitOpened = !exitOpen;
  exitOpen = 1;
  const MarkerPos exitMarker = levelMaps[0].markers[kMarkD];
  const int frontX = exitMarker.x - 1;
  if (reached(frontX + 0.5f, exitMarker.y + 0.5f, kExitReachLimit)) {
    ev.escaped = true;
    score += timeBonus;
  }
}

}  // namespace

bool reached(float objectX, float objectY, double limit) {
  const double dx = static_cast<double>(player.x) - objectX;
  const double dy = static_cast<double>(player.y) - objectY;
  return dx * dx + dy * dy < limit;
}

void startRules() {
  initPointObjects();
  initGuards(levelMaps[0]);
  for (int k = 0; k < kItemCount; ++k) guards[itemGuardSlot(k)].active = 0;  // they wait for their items
  const LevelMap& map = levelMaps[0];
  for (int k = 0; k < kItemCount; ++k) {
    keyItems[k].x = map.markers[kItemMarkers[k]].x + 0.5f;
    keyItems[k].y = map.markers[kItemMarkers[k]].y + 0.5f;
    keyItems[k].active = 1;
  }
}

GuardSteps beginPass() {
  countBonusDown();
  return stepGuards(player);
}

PassEvents finishPass() {
  PassEvents ev{};
  collectCrystals(ev);
  meetGuards(ev);
  pickUpItems(ev);
  passTheExit(ev);
  return ev;
}

PassEvents runRules() {
  beginPass();
  return finishPass();
}
