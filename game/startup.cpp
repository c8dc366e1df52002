#include "game/startup.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "framework/font.h"
#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/recorder.h"
#include "framework/surface.h"
#include "framework/timer.h"
#include "framework/translate.h"
#include "game/commandline.h"
#include "game/controls.h"
#include "game/cues.h"
#include "game/frame.h"
#include "game/hud.h"
#include "game/levelchoice.h"
#include "game/options.h"
#include "game/rules.h"
#include "game/seedlevel.h"
#include "game/settings.h"
#include "game/smoothframes.h"
#include "game/sounds.h"
#include "game/startmode.h"
#include "game/windowicon.h"
#include "guards/guards.h"
#include "platform/pixelconvert.h"
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
  setLevelPath("");
}

void setupTextAndView() {
  const Surface* s = gameSurface();
  viewRect.left = 0;
  viewRect.top = 0;
  viewRect.right = getMaxX(s);
  viewRect.bottom = getMaxY(s) - 50;
  viewRect.width = viewRect.right - viewRect.left + 1;
  viewRect.height = viewRect.bottom - viewRect.top + 1;
  const int surfaceWidth = getMaxX(s) + 1, surfaceHeight = getMaxY(s) + 1;
  buildColumnTables(viewRect.width, surfaceFocal(surfaceWidth, surfaceHeight,
                                                 showsAtFourByThree(surfaceWidth, surfaceHeight)));

  FontRecord* font = loadFont("romans.fnt");
  if (!font || !setFont(font)) {
    std::fputs(_("Fehler beim FontLaden\n"), stdout);
    std::fflush(stdout);
    std::exit(1);
  }
  // A mode switch loads the font again; the one it replaces is no longer current.
  if (g_font && g_font != font) freeFont(g_font);
  g_font = font;
  setTextSize(viewFocal, 640, viewRect.height, 480);
}

void drawTitlePicture(const char* path) {
  static TitlePicture title;
  // Without a title the loading goes on over the cleared surface.
  if (!loadImage16(path, TitlePicture::width, TitlePicture::height, Storage::FileOrder, title.pixels)) return;

  const Surface* s = gameSurface();
  // A wide surface shows the 4:3 picture centred, one focal length wide.
  const int left = (getMaxX(s) + 1 - viewFocal) / 2;
  const double maxX = left > 0 ? viewFocal - 1 : getMaxX(s), maxY = getMaxY(s);
  const double fx = 0.00125f, fy = 0.0016666667f;  // the single-precision 1/800 and 1/600
  const uint16_t* p = title.pixels;
  for (int i = 0; i < TitlePicture::height; ++i) {
    const int y = getMaxY(s) - static_cast<int>(maxY * i * fy);
    for (int j = 0; j < TitlePicture::width; ++j) {
      setColor(*p++);
      putPixel((left > 0 ? left : 0) + static_cast<int>(maxX * j * fx), y);
    }
  }
}

void runLoadingStage(int n) {
  switch (n) {
    case 1: loadLevel(mazeGrid, levelPath()); break;
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

void restartRun() {
  // What the first run starts from: the start values of the state, the level
  // read again (the loading stages that build the run's state from it), and
  // the toggles as the settings have them. Pictures, sounds and mode stay.
  resetGameState();
  showHelp = settings.helpAtStart;
  showShapes = settings.shapes;
  resetCues();  // no chevron for a step of the last run
  resetGuards();
  resetLevel();
  mazeGrid.floorCount = 1;
  runLoadingStage(1);
  runLoadingStage(3);
  spinAngle = 0.0f;
  noteWallContact(false);
  takeMouseMotion();
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
  std::string path = launch.level ? resolveLevelPath(launch.level) : std::string();
  if (launch.seeded || launch.daily) {
    std::string error;
    const uint64_t seed = launch.daily ? dailySeed(std::time(nullptr)) : launch.seed;
    path = seedLevelPath(seed, error);
    if (path.empty()) {
      std::fprintf(stderr, "quillmoor: %s\n", error.c_str());
      return 1;
    }
  }
  if (!path.empty()) {
    const std::string faults = levelFaults(path);
    if (!faults.empty()) {
      std::fprintf(stderr, "%s", faults.c_str());
      std::fprintf(stderr, "quillmoor: %s cannot be played\n", path.c_str());
      return 2;
    }
    setLevelPath(path);
  }
  if (launch.replay) {
    const std::string script = fromStartFolder(launch.replay);
    const std::string fault = replayMazeFault(script, levelPath());
    if (!fault.empty()) {
      std::fprintf(stderr, "quillmoor: %s", fault.c_str());
      return 2;
    }
    // A recording plays back on the headless port, which reads it pass by pass.
    setenv("QUILL_DISPLAY", "headless", 1);
    setenv("QUILL_INPUT", script.c_str(), 1);
  }
  loadSettings();
  applyPadButtons();
  showHelp = settings.helpAtStart;
  if (launch.shapes) settings.shapes = 1;  // for this run; kept only if the options page saves
  showShapes = settings.shapes;

  DriverOptions options = defaultGameOptions();
  parseCommandLine(argc, argv, options);
  setDriverOptions(options);
  setWindowIcon(kWindowIcon, kWindowIconSize, kWindowIconSize);
  g_slot = initFramework("Quillmoor!!!");
  if (!g_slot) fatalError(errorMessage(getError()));

  static std::string recording;  // the main loop keeps the name while it runs
  recording = launch.record ? fromStartFolder(launch.record) : std::string();
  recordInputTo(launch.record ? recording.c_str() : nullptr);
  static std::string mazeNote;  // the recording's header names the maze it was played on
  mazeNote = recordingMazeNote(levelPath());
  setRecordingNote(launch.record ? mazeNote.c_str() : nullptr);
  setFrameCallback(runFrame);
  setPollCallback(pollMovementKeys);
  setBetweenCallback(drawBetweenPasses);
  setClassicPictures(settings.classicPictures || launch.classic);
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
