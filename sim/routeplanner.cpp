#include "sim/routeplanner.h"

namespace routeplan {

void save(Snapshot& s) {
  s = {player, score, timeBonus, bonusTick, heldKeys, exitOpen, {}, {}, {}};
  for (int k = 0; k < kItemCount; ++k) s.itemActive[k] = keyItems[k].active;
  for (int k = 0; k < kBodyCount; ++k) s.bodyPresent[k] = pointObjects[k].present;
  for (int k = 0; k < kMaxGuards; ++k) s.guards[k] = guards[k];
}

void load(const Snapshot& s) {
  player = s.player, score = s.score, timeBonus = s.timeBonus, bonusTick = s.bonusTick, heldKeys = s.heldKeys;
  exitOpen = s.exitOpen;
  for (int k = 0; k < kItemCount; ++k) keyItems[k].active = s.itemActive[k];
  for (int k = 0; k < kBodyCount; ++k) pointObjects[k].present = s.bodyPresent[k];
  for (int k = 0; k < kMaxGuards; ++k) guards[k] = s.guards[k];
}

Outcome rulesPass() {
  const PassEvents ev = runRules();
  if (ev.caught) return kCaught;
  if (ev.escaped) return kEscaped;
  return ev.takenBack ? kItemLost : kGoingOn;
}

unsigned moveOf(char key) {
  switch (key) {
    case 'F': return kMoveForward;
    case 'B': return kMoveBack;
    case 'L': return kMoveTurnLeft;
    case 'R': return kMoveTurnRight;
    case 'l': return kMoveSideLeft;
    case 'r': return kMoveSideRight;
    default: return 0;
  }
}

void applyKey(char key) { applyMoves(moveOf(key)); }

bool open(int x, int y) { return playerCanEnter(levelMaps[0], x, y); }

int cellDistance(Cell a, Cell b) {
  const int d = corridorDistance(levelMaps[0], a.x, a.y, b.x, b.y, playerCanEnter);
  return d == kNoWay ? 1000 : d;
}

std::string scanCodeOf(char key) {
  for (const Steering& s : kSteering) {
    if (s.move != moveOf(key)) continue;
    char text[8];
    std::snprintf(text, sizeof text, " %02X", static_cast<unsigned>(s.scanCode));
    return text;
  }
  return "";
}

}  // namespace routeplan
