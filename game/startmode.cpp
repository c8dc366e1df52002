#include "game/startmode.h"

#include <cstdio>
#include <cstdlib>

#include "framework/dialog.h"
#include "framework/framework.h"
#include "game/commandline.h"
#include "game/settings.h"

namespace {

constexpr int kPlainWidth = 640, kPlainHeight = 480, kPlainBits = 15;  // without a choice, the common mode

// True when it saved the settings.
bool remember(const ModeInfo& mode, int windowed) {
  const Settings before = settings;
  settings.modeWidth = mode.xRes;
  settings.modeHeight = mode.yRes;
  settings.modeBits = mode.bitsPerPixel;
  settings.windowed = windowed ? 1 : 0;
  settings.stretch = mode.windowStretch ? 1 : 0;
  if (before.modeWidth == settings.modeWidth && before.modeHeight == settings.modeHeight &&
      before.modeBits == settings.modeBits && before.windowed == settings.windowed &&
      before.stretch == settings.stretch)
    return false;
  saveSettings();
  return true;
}

}  // namespace

int nearestMode(int w, int h, int bits, bool fullScreen) {
  int best = -1;
  long bestMiss = 0;
  for (int i = 0; i < modeCount(); ++i) {
    const ModeInfo& m = modeAt(i);
    if (m.bitsPerPixel != bits || (fullScreen && m.modeId < 0)) continue;
    const long miss = std::labs(static_cast<long>(m.xRes) - w) + std::labs(static_cast<long>(m.yRes) - h);
    if (best < 0 || miss < bestMiss) best = i, bestMiss = miss;
  }
  return best;
}

bool chooseStartMode(const LaunchOptions& launch, ModeInfo& mode, int& windowed) {
  const bool remembered = settings.modeWidth > 0;
  windowed = launch.display == kLaunchWindow       ? 1
             : launch.display == kLaunchFullScreen ? 0
                                                   : settings.windowed;
  // Shift held while the game starts shows the dialog, as --setup does.
  const bool direct =
      (launch.modeWidth > 0 || launch.display != kLaunchAsChosen || (remembered && !settings.askForMode)) &&
      !launch.setup && !shiftHeldNow();
  if (direct) {
    const int w = launch.modeWidth ? launch.modeWidth : remembered ? settings.modeWidth : kPlainWidth;
    const int h = launch.modeWidth ? launch.modeHeight : remembered ? settings.modeHeight : kPlainHeight;
    const int bits = remembered ? settings.modeBits : kPlainBits;
    int index = nearestMode(w, h, bits, !windowed);
    if (index < 0) index = nearestMode(w, h, bits == 15 ? 16 : 15, !windowed);
    if (index >= 0) {
      mode = modeAt(index);
      if (windowed && settings.stretch) mode.windowStretch = 2;
      remember(mode, windowed);
      return true;
    }
    std::fprintf(stderr, "quillmoor: no %dx%d mode is listed; choose one in the dialog\n", w, h);
  }
  if (remembered) {
    const int index = nearestMode(settings.modeWidth, settings.modeHeight, settings.modeBits, false);
    const ModeInfo* m = index >= 0 ? &modeAt(index) : nullptr;
    if (m && m->xRes == settings.modeWidth && m->yRes == settings.modeHeight) {
      setChosenDepth(settings.modeBits);
      setLastListChoice(index);
      setLastStretch(settings.stretch ? 2 : 0);
    }
  }
  setDialogDontAsk(!settings.askForMode);
  int32_t dialogOptions[1] = {windowed};
  if (chooseMode(&mode, dialogOptions) != 1) return false;
  windowed = dialogOptions[0];
  const int ask = lastDialogState().checked[dialogControlIndex(kIdDontAsk)] ? 0 : 1;
  const bool askChanged = ask != settings.askForMode;
  settings.askForMode = ask;
  if (!remember(mode, windowed) && askChanged) saveSettings();
  return true;
}
