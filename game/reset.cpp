#include "game/reset.h"

#include "framework/dialog.h"
#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/sound.h"
#include "framework/timer.h"
#include "game/fullmap.h"
#include "game/options.h"
#include "game/settings.h"
#include "game/startup.h"
#include "guards/guards.h"
#include "platform/gamepad.h"
#include "platform/headless.h"
#include "platform/headlessaudio.h"
#include "world/gamestate.h"
#include "world/level.h"

void resetAllModules() {
  resetFramework();
  resetMainLoop();
  resetDialog();
  resetTimer();
  closeSound();
  resetHeadless();
  resetHeadlessAudio();
  resetStartup();
  resetGameState();
  resetLevel();
  resetGuards();
  resetSettings();
  resetOptions();
  resetFullMap();
  resetPadButtonKeys();
}
