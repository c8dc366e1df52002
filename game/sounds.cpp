#include "game/sounds.h"

#include <cmath>
#include <iterator>

#include "framework/sound.h"
#include "game/settings.h"
#include "guards/guards.h"
#include "world/corridors.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

// File, and whether it is heard from the side its source is on.
const SoundFile kSoundFiles[] = {
    {"sounds/step.wav", 1},     {"sounds/stepheavy.wav", 1}, {"sounds/crystal.wav", 0},
    {"sounds/item.wav", 0},     {"sounds/callred.wav", 1},   {"sounds/callgreen.wav", 1},
    {"sounds/callblue.wav", 1}, {"sounds/takeback.wav", 0},  {"sounds/exit.wav", 0},
    {"sounds/bump.wav", 0},     {"sounds/capture.wav", 0},   {"sounds/fanfare.wav", 0},
    {"sounds/wind.wav", 0},
};
static_assert(std::size(kSoundFiles) == kSoundCount, "one file per sound");
static_assert(kSoundCount <= kMaxSounds, "the audio layer holds every sound");

// Volume of each rule's sound (0..128): the capture and the win loudest, the
// bump softer, since it can come often.
const int kRuleVolume[] = {0, 0, 100, 110, 0, 0, 0, 110, 110, 70, 128, 128, 0};
static_assert(std::size(kRuleVolume) == kSoundCount, "one volume per sound");

constexpr int kWindVolume = 56;  // under every effect: the wind file itself peaks at a fifth of full scale
constexpr int kCallVolume = 80;  // a call carries through the maze, whatever the distance, under the capture
constexpr double kPanWidth = 0.75;  // a guard straight to one side still reaches the other ear a little

// The rules' sounds are one source; each guard is its own, so two guards'
// steps or calls in one moment both sound.
constexpr int kRulesSource = 0;
int guardSource(int slot) { return 1 + slot; }
static_assert(1 + kMaxGuards <= kSoundSources, "a source for every guard");

bool g_touching = false;

// An effect's volume under the player's setting; at 100% exactly as made.
int effect(int volume) { return volume * settings.effectsVolume / 100; }

}  // namespace

const char* soundPath(int id) { return id >= 0 && id < kSoundCount ? kSoundFiles[id].path : ""; }

void startSounds(int wanted) {
  g_touching = false;
  if (!wanted || !openSound(kSoundFiles, kSoundCount)) return;
  applySoundVolumes();
}

void applySoundVolumes() {
  if (soundIsOpen()) loopSound(kSoundWind, kWindVolume * settings.windVolume / 100);
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

void playFootsteps(const GuardSteps& steps, const PlayerState& p, const LevelMap& map) {
  if (!soundIsOpen()) return;
  for (int i = 0; i < steps.count; ++i) {
    const GuardStep& step = steps.steps[i];
    const int cells = corridorDistance(map, step.toX, step.toY, static_cast<int>(p.x), static_cast<int>(p.y),
                                       guardCanEnter, kHearingCells);
    playSound(step.slot == kWhiteGuard ? kSoundHeavyStep : kSoundStep, effect(footstepVolume(cells)),
              panTowards(p, step.x, step.y), guardSource(step.slot));
  }
}

void playRuleSound(int id) {
  if (id >= 0 && id < kSoundCount) playSound(id, effect(kRuleVolume[id]), 0, kRulesSource);
}

void playGuardCall(int slot, const PlayerState& p) {
  if (slot == kWhiteGuard || slot < 0 || slot >= kMaxGuards || !guards[slot].present) return;
  const Waypoint& at = guards[slot].waypoints[guards[slot].currentWaypoint];
  playSound(kSoundCallRed + guardItem(slot), effect(kCallVolume), panTowards(p, at.x, at.y),
            guardSource(slot));
}

void noteWallContact(bool touching) {
  if (touching && !g_touching) playRuleSound(kSoundBump);
  g_touching = touching;
}
