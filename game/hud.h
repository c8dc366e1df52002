// The game's on-screen texts: the help overlay or frame rate at the top left,
// the score line under the view, the two ending messages with the run's
// results and the progress marks of the loading stages. All drawn with the stroke font on the current
// surface.
#pragma once

// Room that formatHundredths needs, terminator included ("-2147483648.-99").
constexpr int kHundredthsChars = 16;

// "%d.%d" of the whole part and the truncated hundredths, the latter without a
// leading zero (25.0625 reads "25.6"). "---" for a value no int can hold.
void formatHundredths(float value, char* out);

// Twelve lines in white at x = 0, line k at k * viewRect.height / 15.
void drawHelpOverlay();
// White "<frames per second> fps" at (0, 0); "--- fps" when no time has passed.
// With pictures drawn between passes, how many the screen got in the last
// second follows ("25.00 fps  60 Bilder/s"); 0 leaves it out.
void drawFrameRate(int elapsedMicros, int picturesPerSecond = 0);
// White "<score> +" and "<timeBonus> Punkte" on the row 10 under the view.
void drawHudLine();
// Red "Du bist gefangen worden!" in the middle of the screen's height.
void drawCaptureMessage();
// White "Ausgang erreicht!" on the meadow.
void drawWinMessage();
// The final score followed by "Punkte!!!", under the win message.
void drawWinScore();
// What an ending shows under its message: this run against the maze's bests.
struct RunResults {
  int timeMillis;             // the run's time on the rules' clock
  int crystals, crystalsAll;  // collected, and in the maze
  int score;
  int bestTimeMillis;  // -1: no run on this maze was won yet
  int bestScore;
  bool newTime, newScore;  // this run set them
};
// The results in white on a black panel at the top, five lines from a fifth
// of the width in; a best this run set in gold.
void drawResults(const RunResults& r);
// White "Enter: nochmal" under the ending's message (won: under the score), or
// with nextMaze the hint that Enter goes on to the next maze.
void drawAgainHint(bool won, bool nextMaze);
// White eight blanks and n plus signs at (0, getMaxY - 20); the caller shows it.
void drawProgressMark(int n);
