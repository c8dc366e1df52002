#include "game/fullmap.h"

#include <algorithm>

#include "framework/font.h"
#include "framework/mainloop.h"
#include "framework/sound.h"
#include "framework/surface.h"
#include "framework/translate.h"
#include "platform/scancodes.h"
#include "render/camera.h"
#include "render/fullmap.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {
constexpr uint32_t kGrey = 0x5294;
int g_open = 0;
}  // namespace

int fullMapOpen() { return g_open; }

void openFullMap() {
  g_open = 1;
  pauseSound(1);
}

void closeFullMap() {
  if (!g_open) return;
  g_open = 0;
  pauseSound(0);
}

void fullMapKey(const Event& event) {
  const int scan = event.message >> 8 & 0xFF;
  if (scan == kScanTab || scan == kScanEsc) closeFullMap();
  if ((event.message & 0xFF) == '9') showGuardsOnMap = showGuardsOnMap ? 0 : 1;
}

void drawFullMapPage() {
  pauseSound(1);  // a window switch that came back in the meantime may have resumed it
  const Surface* s = currentSurface();
  const int height = getMaxY(s) + 1;
  const int reserved = height / 16;
  drawFullMap(player, mazeGrid.floors[player.floor], levelMaps[player.floor], reserved, showGuardsOnMap);
  // Half the HUD's size, but never smaller than at 640x480, so that it reads at 320x200 too.
  setTextSize(std::max<int>(viewFocal, 640) / 2, 640, std::max(viewRect.height, 430) / 2, 480);
  setColor(kGrey);
  drawText(getMaxX(s) / 40, height - reserved, _("Tab: zurueck zum Spiel   9: Waechter"));
  setTextSize(viewFocal, 640, viewRect.height, 480);
}

void resetFullMap() { g_open = 0; }
