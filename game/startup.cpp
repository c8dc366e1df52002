#include "game/startup.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/font.h"
#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/surface.h"
#include "framework/timer.h"
#include "framework/translate.h"
#include "game/commandline.h"
#include "game/controls.h"
#include "game/frame.h"
#include "game/hud.h"
#include "game/options.h"
#include "game/rules.h"
#include "game/settings.h"
#include "game/sounds.h"
#include "game/startmode.h"
#include "game/windowicon.h"
#include "render/backdrop.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

namespace {

Surface** g_slot = nullptr;
FontRecord* g_font = nullptr;

// Clicks only matter on the options page.
void onMouseDown(Event* e) {
  if (optionsOpen()) optionsClick(e->whereX, e->whereY);
}
void ignoreActivate(int) {}
int onSuspend(Surface*, int) { return 1; }

void onModeSwitch(ModeInfo*, int) {
  setupTextAndView();
  // The new surface may differ in size: the backdrop bands follow the view.
  buildBackdrop();
}

}  // namespace

Surface* gameSurface() { return g_slot ? *g_slot : nullptr; }
void setGameSurfaceSlot(Surface** slot) { g_slot = slot; }

void resetStartup() {
  g_slot = nullptr;
  setFont(nullptr);
  if (g_font) freeFont(g_font);
  g_font = nullptr;
  spinAngle = 0.0f;
}

void setupTextAndView() {
  const Surface* s = gameSurface();
  viewRect.left = 0;
  viewRect.top = 0;
  viewRect.right = getMaxX(s);
  viewRect.bottom = getMaxY(s) - 50;
  viewRect.width = viewRect.right - viewRect.left + 1;
  viewRect.height = viewRect.bottom - viewRect.top + 1;
  buildColumnTables(viewRect.width);

  FontRecord* font = loadFont("romans.fnt");
  if (!font || !setFont(font)) {
    std::fputs(_("Fehler beim FontLaden\n"), stdout);
    std::fflush(stdout);
    std::exit(1);
  }
  // A mode switch loads the font again; the one it replaces is no longer current.
  if (g_font && g_font != font) freeFont(g_font);
  g_font = font;
  setTextSize(viewRect.width, 640, viewRect.height, 480);
}

void drawTitlePicture(const char* path) {
  static TitlePicture title;
  // Without a title the loading goes on over the cleared surface.
  if (!loadImage16(path, TitlePicture::width, TitlePicture::height, Storage::FileOrder, title.pixels)) return;

  const Surface* s = gameSurface();
  const double maxX = getMaxX(s), maxY = getMaxY(s);
  const double fx = 0.00125f, fy = 0.0016666667f;  // the single-precision 1/800 and 1/600
  const uint16_t* p = title.pixels;
  for (int i = 0; i < TitlePicture::height; ++i) {
    const int y = getMaxY(s) - static_cast<int>(maxY * i * fy);
    for (int j = 0; j < TitlePicture::width; ++j) {
      setColor(*p++);
      putPixel(static_cast<int>(maxX * j * fx), y);
    }
  }
}

void runLoadingStage(int n) {
  switch (n) {
    case 1: loadLevel(mazeGrid); break;
    case 2: loadBrickTextures(); break;
    case 3:
      buildShadeTable();
      startRules();
      break;
    case 4: loadFigureSprites(); break;
    case 5:
      loadSkyAndFloor();
      buildBackdrop();
      break;
    case 6: loadMeadow(); break;
    case 7:
      loadStatusColours();
      loadItemPictures();
      break;
  }
}

void runLoadingStages() {
  for (int n = 1; n <= kLoadingStages; ++n) {
    drawProgressMark(n);
    swapBuffers(2);
    runLoadingStage(n);
  }
}

int gameMain(int argc, char** argv) {
  const LaunchOptions launch = parseLaunchOptions(argc, argv);
  if (launch.error[0]) {
    std::fprintf(stderr, "quillmoor: %s\n", launch.error);
    printUsage(stderr);
    return 2;
  }
  if (launch.help || launch.version) {
    if (launch.help) printUsage(stdout);
    if (launch.version) std::printf("quillmoor %s\n", QUILL_VERSION);
    return 0;
  }
  loadSettings();
  applyPadButtons();
  showHelp = settings.helpAtStart;

  DriverOptions options = defaultGameOptions();
  parseCommandLine(argc, argv, options);
  setDriverOptions(options);
  setWindowIcon(kWindowIcon, kWindowIconSize, kWindowIconSize);
  g_slot = initFramework("Quillmoor!!!");
  if (!g_slot) fatalError(errorMessage(getError()));

  setFrameCallback(runFrame);
  setPollCallback(pollMovementKeys);
  setKeyDownCallback(onKeyDown);
  setMouseDownCallback(onMouseDown);
  setOptionsHooks({applySoundVolumes, switchWindowAndFullScreen});
  setModeSwitchCallback(onModeSwitch);
  setActivateCallback(ignoreActivate);
  setSuspendCallback(onSuspend);

  ModeInfo mode{};
  int windowed = 1;
  if (!chooseStartMode(launch, mode, windowed)) return 0;  // the player chose Quit: nothing to set up
  if (!setMode(&mode, windowed, 2, 1)) fatalError(errorMessage(getError()));

  initTimer();
  timerStart();

  mazeGrid.floorCount = 1;
  player = kStartPose;
  score = 0;

  setupTextAndView();
  clearSurface();
  drawTitlePicture("bilder/titel.16B");
  runLoadingStages();
  startSounds(launch.sound);
  setClipMode(1);
  swapBuffers(2);
  return runMainLoop();
}
