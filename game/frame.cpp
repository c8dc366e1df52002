#include "game/frame.h"

#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/surface.h"
#include "framework/timer.h"
#include "game/cues.h"
#include "game/ending.h"
#include "game/fullmap.h"
#include "game/hud.h"
#include "game/options.h"
#include "game/rules.h"
#include "game/smoothframes.h"
#include "game/sounds.h"
#include "game/startup.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "render/overlay.h"
#include "render/view.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

void paintMeadowScreen() {
  const Surface* s = gameSurface();
  const int maxX = getMaxX(s), maxY = getMaxY(s);
  // A wide surface shows the 4:3 picture centred, one focal length wide, on black.
  const int left = (maxX + 1 - viewFocal) / 2 > 0 ? (maxX + 1 - viewFocal) / 2 : 0;
  const int span = left > 0 ? viewFocal : maxX;
  constexpr int kW = MeadowPicture::width, kH = MeadowPicture::height;
  for (int r = 0; r < maxY; ++r) {
    const int srcRow = kH - 1 - static_cast<int>(static_cast<double>(r) * kH / maxY);
    for (int c = 0; c < maxX; ++c) {
      const int srcCol = static_cast<int>(static_cast<double>(c - left) * kW / span);
      setColor(srcCol >= 0 && srcCol < kW ? meadowPicture.pixels[srcRow * kW + srcCol] : 0);
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
  forgetPassPose();
  swapBuffers(2);
}
}  // namespace

int runFrame() {
  if (optionsOpen() || fullMapOpen()) {
    drawPausedFrame();
    return 0;
  }
  const GuardSteps steps = beginPass();
  countRunPass();
  clearSurface();
  playFootsteps(steps, player, levelMaps[player.floor]);
  noteHeardSteps(steps, player, levelMaps[player.floor]);
  drawView(player, mazeGrid.floors[player.floor], gameSurface());
  drawGuardCues(player);

  timerStop();
  const int elapsed = timerElapsedMicros();
  timerStart();

  setColor(0x7FFF);
  if (showHelp) {
    drawHelpOverlay();
  } else {
    drawFrameRate(elapsed, drawsBetweenPasses() ? picturesPerSecond() : 0);
  }

  const PassEvents ev = finishPass();
  for (int n = 0; n < ev.crystals; ++n) playRuleSound(kSoundCrystal);
  if (ev.caught) {
    forgetPassPose();
    drawCaptureMessage();
    playRuleSound(kSoundCapture);    // it plays on through the pause
    if (finishRun(false)) return 0;  // the new run starts with the next pass
  }
  // After a capture's pause these would only start as the game closes.
  for (int k = 0; k < kItemCount && !ev.caught; ++k)
    if (ev.takenBack & kItemBits[k]) playRuleSound(kSoundTakeBack);
  for (int k = 0; k < kItemCount && !ev.caught; ++k) {
    if (!(ev.pickedUp & kItemBits[k])) continue;
    playRuleSound(kSoundItem);
    if (ev.released & kItemBits[k]) playGuardCall(itemGuardSlot(k), player);
  }

  drawColourTiles();
  spinPointObjects();

  if (ev.exitOpened && !ev.caught) playRuleSound(kSoundExit);
  if (ev.escaped) {
    forgetPassPose();
    playRuleSound(kSoundFanfare);
    paintMeadowScreen();
    drawWinMessage();
    drawWinScore();
    if (finishRun(true)) return 0;
  }

  drawHudLine();
  finishPassPicture(elapsed);
  return 0;
}
