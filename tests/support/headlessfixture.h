// The framework on a fresh headless display, the set-up every framework test
// starts from, and the one builder of headless mode lists.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>

#include "framework/dialog.h"
#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/surface.h"
#include "game/commandline.h"
#include "game/reset.h"
#include "game/startup.h"
#include "platform/headless.h"

// The driver options the game hands over.
inline const DriverOptions kGameOptions = defaultGameOptions();

// One mode for headlessSetModes: two pages, offered behind driver word `word`.
inline HeadlessMode headlessMode(int w, int h, int bpp, int flags = 0, int word = kOptDirectDraw,
                                 const char* name = "Test", int kind = kModePlain) {
  HeadlessMode m{};
  m.mode.width = w;
  m.mode.height = h;
  m.mode.bitsPerPixel = bpp;
  m.mode.pages = 2;
  m.mode.flags = flags;
  m.mode.kind = kind;
  std::snprintf(m.mode.driverName, sizeof m.mode.driverName, "%s", name);
  m.driverWord = word;
  return m;
}

// Every module back at its start, the headless display chosen and no error
// pending; the framework let go after.
class HeadlessFramework : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAllModules();
    selectDisplay(headlessDisplayDriver());
    getError();
  }
  void TearDown() override {
    resetFramework();
    resetMainLoop();
  }
};
