// Screenshots: F12 saves the picture on screen as a numbered PNG, in the folder
// QUILL_SCREENSHOT_DIR names (the installed game's command sets it to a folder
// the player can write to), else in the working directory.
#pragma once

#include "platform/scancodes.h"

constexpr int kScreenshotScanCode = kScanF12;  // a key the game does not use otherwise

// Writes the current surface to the first free "quillmoor-NNN.png"; returns its
// number, or -1 (with a line on standard error) when nothing could be written.
int saveScreenshot();
