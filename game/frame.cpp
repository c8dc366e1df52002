#include "game/frame.h"

#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/surface.h"
#include "framework/timer.h"
#include "game/fullmap.h"
#include "game/hud.h"
#include "game/options.h"
#include "game/rules.h"
#include "game/sounds.h"
#include "game/startup.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "render/overlay.h"
#include "render/view.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

namespace {
constexpr int kEndingPauseMillis = 5000;
}  // namespace

void paintMeadowScreen() {
  const Surface* s = gameSurface();
  const int maxX = getMaxX(s), maxY = getMaxY(s);
  constexpr int kW = MeadowPicture::width, kH = MeadowPicture::height;
  for (int r = 0; r < maxY; ++r) {
    const int srcRow = kH - 1 - static_cast<int>(static_cast<double>(r) * kH / maxY);
    for (int c = 0; c < maxX; ++c) {
      const int srcCol = static_cast<int>(static_cast<double>(c) * kW / maxX);
      setColor(meadowPicture.pixels[srcRow * kW + srcCol]);
      putPixel(c, r);
    }
  }
}

namespace {
// Under the options page the game stands still: the view as it stands, dimmed, the page over it.
// The full map covers the whole surface instead.
void drawPausedFrame() {
  clearSurface();
  if (fullMapOpen()) {
    drawFullMapPage();
  } else {
    drawView(player, mazeGrid.floors[player.floor], gameSurface());
    drawColourTiles();
    drawHudLine();
    drawOptions();
  }
  swapBuffers(2);
}
}  // namespace

int runFrame() {
  if (optionsOpen() || fullMapOpen()) {
    drawPausedFrame();
    return 0;
  }
  const GuardSteps steps = beginPass();
  clearSurface();
  playFootsteps(steps, player, levelMaps[player.floor]);
  drawView(player, mazeGrid.floors[player.floor], gameSurface());

  timerStop();
  const int elapsed = timerElapsedMicros();
  timerStart();

  setColor(0x7FFF);
  if (showHelp) {
    drawHelpOverlay();
  } else {
    drawFrameRate(elapsed);
  }

  const PassEvents ev = finishPass();
  for (int n = 0; n < ev.crystals; ++n) playRuleSound(kSoundCrystal);
  if (ev.caught) {
    drawCaptureMessage();
    playRuleSound(kSoundCapture);  // it plays on through the pause
    swapBuffers(2);
    waitMillis(kEndingPauseMillis);
    requestQuit();
  }
  for (int k = 0; k < kItemCount; ++k)
    if (ev.takenBack & kItemBits[k]) playRuleSound(kSoundTakeBack);
  for (int k = 0; k < kItemCount; ++k) {
    if (!(ev.pickedUp & kItemBits[k])) continue;
    playRuleSound(kSoundItem);
    if (ev.released & kItemBits[k]) playGuardCall(itemGuardSlot(k), player);
  }

  drawColourTiles();
  spinPointObjects();

  if (ev.exitOpened) playRuleSound(kSoundExit);
  if (ev.escaped) {
    playRuleSound(kSoundFanfare);
    paintMeadowScreen();
    drawWinMessage();
    drawWinScore();
    swapBuffers(2);
    waitMillis(kEndingPauseMillis);
    requestQuit();
  }

  drawHudLine();
  swapBuffers(2);
  return 0;
}
