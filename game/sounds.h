// What the player hears: the guards' footsteps, louder the shorter their way
// through the corridors and from the side they are on, and one sound for each
// rule that fires (crystal, item and its guard's call, item taken back, exit
// open, wall bump, capture, win), over a quiet wind. A rule that fires again
// while its sound still plays is not heard twice. The rules stay as they are:
// these functions only read the game's state.
#pragma once

struct GuardSteps;
struct LevelMap;
struct PlayerState;

enum SoundId {
  kSoundStep,       // a coloured guard's footstep
  kSoundHeavyStep,  // the white guard's
  kSoundCrystal,
  kSoundItem,
  kSoundCallRed,  // a guard's call as its item is picked up; red, green, blue in slot order
  kSoundCallGreen,
  kSoundCallBlue,
  kSoundTakeBack,
  kSoundExit,
  kSoundBump,
  kSoundCapture,
  kSoundFanfare,
  kSoundWind,
  kSoundCount
};
// The file of each sound in the game folder ("sounds/step.wav", ...).
const char* soundPath(int id);

// Footsteps are heard up to this many cells of corridor away.
constexpr int kHearingCells = 12;

// Opens the sound output and loads the sounds unless `wanted` is 0, then
// starts the wind. Silent (one line on stderr) when there is no sound device.
void startSounds(int wanted);
// The wind's loop at the volume the settings ask for (effects follow them as they play).
void applySoundVolumes();

// One audible footstep for each cell step the guards took in this pass,
// as loud as the guard's way along the corridors is short.
void playFootsteps(const GuardSteps& steps, const PlayerState& player, const LevelMap& map);

// One rule's sound, from the middle, at its own volume.
void playRuleSound(int id);
// The call of a coloured guard's slot as it is released, from where it stands.
void playGuardCall(int slot, const PlayerState& player);
// The controls report each pass whether a step of the player met a wall; the
// bump sounds once when the contact begins, not for every pass it lasts.
void noteWallContact(bool touching);

// ---- Pure parts, for tests ----

// Volume of a footstep `cells` of corridor away: full in the player's own
// cell, falling with the square of the distance, 0 from kHearingCells on.
int footstepVolume(int cells);
// Pan of a sound at (x, y) for the player: negative when it is to the left of
// the player's heading, positive to the right, 0 straight ahead or behind.
int panTowards(const PlayerState& player, float x, float y);
