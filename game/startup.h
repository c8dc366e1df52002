// Start-up: switches, framework, mode, title picture and the seven loading
// stages, then the main loop. Also the view and text set-up that every mode
// switch repeats.
#pragma once
#include <cstdint>

struct DriverOptions;
struct Surface;

int gameMain(int argc, char** argv);

// ViewRect, column tables and font for the current surface; ends the process
// with "Fehler beim FontLaden" (or its translation) and exit code 1 when the
// font cannot be used.
void setupTextAndView();

// Draws "bilder/titel.16B" stretched over the current surface, first stored row at the bottom.
void drawTitlePicture(const char* path);
// The loading stages, each behind its progress mark: the level, the bricks,
// the rules' start state, the guards' pictures, sky and floor, the meadow,
// the tiles and items.
constexpr int kLoadingStages = 7;
void runLoadingStages();
// Stage n's work alone (1..kLoadingStages), for benchmarks that load as the game does.
void runLoadingStage(int n);

// Plays again from the ending: every part of the run back to its start
// values and the level loaded again, in the same mode, without the dialog.
void restartRun();

// The surface the game draws into now (a mode switch replaces it).
Surface* gameSurface();
// Tests: point the game at a surface slot without going through initFramework.
void setGameSurfaceSlot(Surface** slot);
// Tests only: start-up's own state (surface slot, font) and the bodies' spin back to the start.
void resetStartup();
