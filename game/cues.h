// Direction cues for the guards the player can hear (toggle 7, or the
// options page): a chevron at the edge of the view on the side their steps
// come from (at the bottom edge when they come from behind), brighter as they
// come closer, in the guard's colour with its item's shape. Off by default.
#pragma once

struct GuardSteps;
struct PlayerState;
struct LevelMap;
struct ViewRect;

// Notes the steps of this pass that the player can hear (within the
// footsteps' range along the corridors); called every pass, cues on or off.
void noteHeardSteps(const GuardSteps& steps, const PlayerState& player, const LevelMap& map);
// The cues over the view, when they are on.
void drawGuardCues(const PlayerState& player);

// Where the cue for a sound at `relative` radians from the heading (positive
// to the left) stands on the view's edge, `inset` pixels inside it, and the
// direction it points on the screen.
struct CuePlace {
  int x, y;
  double dx, dy;
};
CuePlace cuePlace(double relative, const ViewRect& view, int inset);

// Tests only.
void resetCues();
