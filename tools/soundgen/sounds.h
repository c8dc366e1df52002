// The game's sounds and how each one is made: the catalogue the generator
// writes and the tests check (file name, length, loudness).
#pragma once
#include "game/sounds.h"
#include "tools/soundgen/synth.h"

struct SoundRecipe {
  const char* name;  // file name in the game's sounds/ folder
  double seconds;    // exact length
  double peak;       // the largest sample as a share of full scale
  void (*make)(Signal& sig);
};
extern const SoundRecipe kRecipes[kSoundCount];  // one per sound the game plays

// The finished sound: made, faded at both ends and normalised to its peak.
Signal renderSound(const SoundRecipe& recipe);
