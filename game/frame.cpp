#include "game/frame.h"

#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/surface.h"
#include "framework/timer.h"
#include "game/hud.h"
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

void countBonusDown() {
  if (bonusTick == 10) {
    bonusTick = 0;
    if (timeBonus > 0) timeBonus -= 10;
  } else {
    ++bonusTick;
  }
}
}  // namespace

bool reached(float objectX, float objectY, double limit) {
  const double dx = static_cast<double>(player.x) - objectX;
  const double dy = static_cast<double>(player.y) - objectY;
  return dx * dx + dy * dy < limit;
}

void paintMeadowScreen() {
  const Surface* s = gameSurface();
  const int maxX = getMaxX(s), maxY = getMaxY(s);
  for (int r = 0; r < maxY; ++r) {
    const int srcRow = 479 - static_cast<int>(static_cast<double>(r) * 480 / maxY);
    for (int c = 0; c < maxX; ++c) {
      const int srcCol = static_cast<int>(static_cast<double>(c) * 640 / maxX);
      setColor(meadowPicture.pixels[srcRow * 640 + srcCol]);
      putPixel(c, r);
    }
  }
}

int runFrame() {
  countBonusDown();
  clearSurface();

  const MarkerPos exitMarker = levelMaps[0].markers[kMarkD];
  const int exitX = exitMarker.x - 1;
  const int exitY = exitMarker.y;

  noteGuardsBeforeStep();
  stepGuards(player);
  playFootsteps(player, levelMaps[player.floor]);
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

  for (PointObject& body : pointObjects) {
    if (body.present && reached(body.x, body.y, kReachLimit)) {
      body.present = 0;
      score += 100;
      playRuleSound(kSoundCrystal);
    }
  }

  for (int k = 0; k < 4; ++k) {
    Guard& g = guards[k];
    if (g.active == 0) continue;
    const Waypoint& at = g.waypoints[g.currentWaypoint];
    if (!reached(at.x, at.y, kReachLimit)) continue;
    if (k != kWhiteGuard) {
      g.active = 0;
      const int bit = kItemBits[k - 1];
      if (heldKeys & bit) {
        heldKeys &= ~bit;
        keyItems[k - 1].active = 1;
        playRuleSound(kSoundTakeBack);
      }
    } else {
      drawCaptureMessage();
      playRuleSound(kSoundCapture);  // it plays on through the pause
      swapBuffers(2);
      waitMillis(kEndingPauseMillis);
      requestQuit();
    }
  }

  for (int k = 0; k < 3; ++k) {
    KeyItem& item = keyItems[k];
    if (item.active == 0 || !reached(item.x, item.y, kReachLimit)) continue;
    item.active = 0;
    playRuleSound(kSoundItem);
    if (!(heldKeys & kItemBits[k])) {
      heldKeys |= kItemBits[k];
      guards[k + 1].active = 1;
      playGuardCall(k + 1, player);
    }
  }

  drawColourTiles();
  spinPointObjects();

  if (heldKeys == kAllItemsHeld) {
    if (!exitOpen) playRuleSound(kSoundExit);
    exitOpen = 1;
    if (reached(exitX + 0.5f, exitY + 0.5f, kExitReachLimit)) {
      playRuleSound(kSoundFanfare);
      paintMeadowScreen();
      drawWinMessage();
      score += timeBonus;
      drawWinScore();
      swapBuffers(2);
      waitMillis(kEndingPauseMillis);
      requestQuit();
    }
  } else {
    exitOpen = 0;
  }

  drawHudLine();
  swapBuffers(2);
  return 0;
}
