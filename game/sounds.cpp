#include "game/sounds.h"

#include <cmath>

#include "framework/sound.h"
#include "guards/guards.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

// File, and whether it is heard from the side its source is on.
const SoundFile kSoundFiles[kSoundCount] = {
    {"sounds/step.wav", 1},     {"sounds/stepheavy.wav", 1}, {"sounds/crystal.wav", 0},
    {"sounds/item.wav", 0},     {"sounds/callred.wav", 1},   {"sounds/callgreen.wav", 1},
    {"sounds/callblue.wav", 1}, {"sounds/takeback.wav", 0},  {"sounds/exit.wav", 0},
    {"sounds/bump.wav", 0},     {"sounds/capture.wav", 0},   {"sounds/fanfare.wav", 0},
    {"sounds/wind.wav", 0},
};
static_assert(sizeof(kSoundFiles) / sizeof(kSoundFiles[0]) == kSoundCount, "one file per sound");
static_assert(kSoundCount <= kMaxSounds, "the audio layer holds every sound");

// Volume of each rule's sound (0..128): the capture and the win loudest, the
// bump softer, since it can come often.
const int kRuleVolume[kSoundCount] = {0, 0, 100, 110, 0, 0, 0, 110, 110, 70, 128, 128, 0};
static_assert(sizeof(kRuleVolume) / sizeof(kRuleVolume[0]) == kSoundCount, "one volume per sound");

constexpr int kWindVolume = 56;     // under every effect: the wind file itself peaks at a fifth of full scale
constexpr int kCallVolume = 100;    // a call carries through the maze, whatever the distance
constexpr double kPanWidth = 0.75;  // a guard straight to one side still reaches the other ear a little

struct GuardMark {
  int active;
  float x, y;
};
GuardMark g_before[4];  // each guard's place before this pass's step
bool g_touching = false;

// The breadth-first search's distance per cell (-1 unseen) and its queue; static, so no pass allocates.
int g_distance[kLevelWidth][kLevelHeight];
int g_queue[kLevelWidth * kLevelHeight][2];

bool inLevel(const LevelMap& map, int x, int y) {
  return x >= 0 && y >= 0 && x < map.width && y < map.height && x < kLevelWidth && y < kLevelHeight;
}

}  // namespace

const char* soundPath(int id) { return id >= 0 && id < kSoundCount ? kSoundFiles[id].path : ""; }

void startSounds(int wanted) {
  g_touching = false;
  if (!wanted || !openSound(kSoundFiles, kSoundCount)) return;
  loopSound(kSoundWind, kWindVolume);
}

int corridorCells(const LevelMap& map, int fromX, int fromY, int toX, int toY) {
  if (!inLevel(map, fromX, fromY) || !inLevel(map, toX, toY)) return -1;
  for (auto& column : g_distance)
    for (int& d : column) d = -1;
  int head = 0, tail = 0;
  g_distance[fromX][fromY] = 0;
  g_queue[tail][0] = fromX;
  g_queue[tail++][1] = fromY;
  static constexpr int kStep[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  while (head < tail) {
    const int x = g_queue[head][0], y = g_queue[head++][1];
    const int d = g_distance[x][y];
    if (x == toX && y == toY) return d;
    if (d >= kHearingCells) continue;
    for (const auto& s : kStep) {
      const int nx = x + s[0], ny = y + s[1];
      if (!inLevel(map, nx, ny) || g_distance[nx][ny] >= 0 || map.codes[nx][ny] >= kCodeBrick) continue;
      g_distance[nx][ny] = d + 1;
      g_queue[tail][0] = nx;
      g_queue[tail++][1] = ny;
    }
  }
  return -1;
}

int footstepVolume(int cells) {
  if (cells < 0 || cells >= kHearingCells) return 0;
  const double share = static_cast<double>(kHearingCells - cells) / kHearingCells;
  return static_cast<int>(std::lround(kFullVolume * share * share));
}

int panTowards(const PlayerState& p, float x, float y) {
  const double dx = static_cast<double>(x) - p.x, dy = static_cast<double>(y) - p.y;
  if (dx * dx + dy * dy < 1e-6) return 0;
  // Turning left raises the heading, so a source at heading + 90 degrees is on the left.
  const double side = std::sin(std::atan2(dy, dx) - p.heading);
  return static_cast<int>(std::lround(-side * kPanWidth * kPanFull));
}

void noteGuardsBeforeStep() {
  for (int k = 0; k < 4; ++k) {
    const Guard& g = guards[k];
    const Waypoint& at = g.waypoints[g.currentWaypoint];
    g_before[k] = {g.active, at.x, at.y};
  }
}

void playFootsteps(const PlayerState& p, const LevelMap& map) {
  if (!soundIsOpen()) return;
  for (int k = 0; k < 4 && k < guardCount; ++k) {
    const Guard& g = guards[k];
    const Waypoint& at = g.waypoints[g.currentWaypoint];
    // One step per cell: the one that lands on a cell centre (every tenth waypoint).
    if (!g.active || !g_before[k].active || g.stepsPerCell <= 0 || g.currentWaypoint % g.stepsPerCell != 0)
      continue;
    if (at.x == g_before[k].x && at.y == g_before[k].y) continue;  // waiting, not walking
    const int cells = corridorCells(map, static_cast<int>(at.x), static_cast<int>(at.y),
                                    static_cast<int>(p.x), static_cast<int>(p.y));
    playSound(k == 0 ? kSoundHeavyStep : kSoundStep, footstepVolume(cells), panTowards(p, at.x, at.y));
  }
}

void playRuleSound(int id) {
  if (id >= 0 && id < kSoundCount) playSound(id, kRuleVolume[id], 0);
}

void playGuardCall(int slot, const PlayerState& p) {
  if (slot < 1 || slot > 3 || !guards[slot].present) return;
  const Waypoint& at = guards[slot].waypoints[guards[slot].currentWaypoint];
  playSound(kSoundCallRed + slot - 1, kCallVolume, panTowards(p, at.x, at.y));
}

void noteWallContact(bool touching) {
  if (touching && !g_touching) playRuleSound(kSoundBump);
  g_touching = touching;
}
