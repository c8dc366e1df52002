// The mode the game starts in: the mode dialog's choice, preselected with the
// mode chosen last, or, without the dialog, the mode the command line or the
// settings name. The choice is remembered in the settings.
#pragma once

struct LaunchOptions;
struct ModeInfo;

// False when the player quit in the dialog.
bool chooseStartMode(const LaunchOptions& launch, ModeInfo& mode, int& windowed);
// The index of the listed mode at `bits` nearest to w x h (full-screen ones
// only when `fullScreen`); -1 when none is listed.
int nearestMode(int w, int h, int bits, bool fullScreen);
