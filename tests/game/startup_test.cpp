// Start-up: switches, the view set-up and the title picture's mapping.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/surface.h"
#include "game/commandline.h"
#include "game/hud.h"
#include "game/startup.h"
#include "render/camera.h"
#include "render/view.h"
#include "support/gamerun.h"
#include "support/testdata.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

std::string titleFile(int firstPixel, int lastPixel, size_t bytes = 800 * 600 * 2) {
  std::string data(bytes, '\0');
  auto put = [&](size_t i, size_t j, int v) {
    const size_t at = (i * 800 + j) * 2;
    if (at + 1 >= bytes) return;
    data[at] = static_cast<char>(v >> 8);
    data[at + 1] = static_cast<char>(v & 0xFF);
  };
  // On 640 x 480 stored rows 0 and 1, and columns 0 and 1, land on the same
  // screen pixel; the one plotted last stays.
  for (size_t j : {0, 1}) {
    put(0, j, firstPixel);
    put(1, j, firstPixel);
    put(599, j, lastPixel);
  }
  return data;
}

}  // namespace

TEST(Switches, ClearTheirWordIgnoringCaseAndNothingElse) {
  const char* args[] = {"quillmoor", "-NoVga",    "-novga", "-h",   "42",
                        "-NOTARVOK", "-nolinear", "novbe",  nullptr};
  DriverOptions o = defaultGameOptions();
  parseCommandLine(8, const_cast<char**>(args), o);
  const DriverOptions expect = {{0, 1, 0, 1, 1, 0, 1, 1, 0, 0, 2}};
  for (int w = 0; w < 11; ++w) EXPECT_EQ(o.words[w], expect.words[w]) << "word " << w;

  const char* all[] = {"q",       "-notarvok", "-nodirectdraw", "-novga",
                       "-novgax", "-novbe",    "-nolinear",     "-novbeaf"};
  DriverOptions none = defaultGameOptions();
  parseCommandLine(8, const_cast<char**>(all), none);
  for (int w = 0; w < 7; ++w) EXPECT_EQ(none.words[w], 0);
  EXPECT_EQ(none.words[7], 1);
  EXPECT_EQ(none.words[10], 2);
}

TEST(ViewSetUp, LeavesFiftyRowsForTheHud) {
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  EXPECT_EQ(viewRect.left, 0);
  EXPECT_EQ(viewRect.top, 0);
  EXPECT_EQ(viewRect.right, 639);
  EXPECT_EQ(viewRect.bottom, 429);
  EXPECT_EQ(viewRect.width, 640);
  EXPECT_EQ(viewRect.height, 430);
  EXPECT_EQ(currentSurface()->text.numerX, 640);
  EXPECT_EQ(currentSurface()->text.denomY, 480);
  EXPECT_EQ(currentSurface()->text.numerY, 430);

  startGameWithoutLoop(QUILL_GAME_DIR, 800, 600);
  EXPECT_EQ(viewRect.right, 799);
  EXPECT_EQ(viewRect.bottom, 549);
  EXPECT_EQ(viewRect.height, 550);
}

TEST(ViewSetUp, WideViewExtendsTheFourByThreeViewOfItsHeight) {
  auto drawnView = [](int width) {
    startGameWithoutLoop(QUILL_GAME_DIR, width, 1200);
    drawView(player, mazeGrid.floors[player.floor], gameSurface());
    std::vector<uint16_t> band;
    for (int y = 0; y <= viewRect.bottom; ++y)
      for (int x = (width - 1600) / 2; x < (width + 1600) / 2; ++x) band.push_back(surfacePixel(x, y));
    return band;
  };
  const std::vector<uint16_t> fourByThree = drawnView(1600);
  EXPECT_TRUE(drawnView(1920) == fourByThree);
  clearSurface();
  drawHudLine();  // texts this tall would run past the bottom: the score line shrinks to fit
  int lowest = 0;
  for (int y = viewRect.bottom + 1; y < 1200; ++y)
    for (int x = 0; x < 1920; ++x) lowest = surfacePixel(x, y) ? y : lowest;
  EXPECT_TRUE(lowest > 1190 && lowest < 1199) << lowest;
}

TEST(TitlePicture, FirstStoredRowAtTheBottomOn640x480) {
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  const std::string dir = scratchDir("title640");
  writeFile(dir + "/t.16B", titleFile(0x1234, 0x0ABC));
  clearSurface();
  drawTitlePicture((dir + "/t.16B").c_str());
  EXPECT_EQ(surfacePixel(0, 479), 0x1234);                                // stored row 0 -> screen row 479
  EXPECT_EQ(surfacePixel(0, 1), 0x0ABC);                                  // stored row 599 -> 479 - 478
  for (int x = 0; x < 640; ++x) EXPECT_EQ(surfacePixel(x, 0), 0) << x;    // row 0 untouched
  for (int y = 0; y < 480; ++y) EXPECT_EQ(surfacePixel(639, y), 0) << y;  // column 639 untouched
}

TEST(TitlePicture, ScalesExactlyOn800x600AndShortFilesDrawWhite) {
  startGameWithoutLoop(QUILL_GAME_DIR, 800, 600);
  const std::string dir = scratchDir("title800");
  // Every stored pixel distinct enough to trace: value = (row * 7 + col) & 0x7FFF.
  std::string data(800 * 600 * 2, '\0');
  for (int i = 0; i < 600; ++i)
    for (int j = 0; j < 800; ++j) {
      const int v = (i * 7 + j) & 0x7FFF;
      data[(i * 800 + j) * 2] = static_cast<char>(v >> 8);
      data[(i * 800 + j) * 2 + 1] = static_cast<char>(v & 0xFF);
    }
  writeFile(dir + "/t.16B", data);
  clearSurface();
  drawTitlePicture((dir + "/t.16B").c_str());
  for (int i : {0, 1, 299, 598, 599})
    for (int j : {0, 1, 400, 798, 799}) {
      const int x = 799 * j / 800, y = 599 - 599 * i / 600;
      // Later stored pixels overwrite earlier ones that land on the same spot.
      const int lastI = (y == 599 - 599 * (i + 1) / 600 && i < 599) ? i + 1 : i;
      const int lastJ = (x == 799 * (j + 1) / 800 && j < 799) ? j + 1 : j;
      EXPECT_EQ(surfacePixel(x, y), (lastI * 7 + lastJ) & 0x7FFF) << i << "," << j;
    }

  // A file of 100 bytes: the rest of the picture reads 0xFF bytes.
  writeFile(dir + "/short.16B", titleFile(0x0001, 0, 100));
  clearSurface();
  drawTitlePicture((dir + "/short.16B").c_str());
  EXPECT_EQ(surfacePixel(400, 300), 0xFFFF);
  EXPECT_EQ(surfacePixel(0, 599), 0xFFFF);  // row 1 (all past the end) lands on row 0's screen row
  EXPECT_EQ(surfacePixel(798, 1), 0xFFFF);
}

TEST(TitlePicture, AMissingFileIsReportedAndSkipped) {
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  clearSurface();
  testing::internal::CaptureStdout();
  drawTitlePicture("no/such/titel.16B");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Datei konnte nicht zum Lesen geöffnet werden!\n");
  EXPECT_EQ(surfacePixel(320, 240), 0);
}
