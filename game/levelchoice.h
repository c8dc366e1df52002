// The level a run plays: the game folder's Level1.txt, or the one --level
// names. A level the checker finds fault with is refused before any window
// opens, with the checker's reasons.
#pragma once
#include <string>

// A file named on the command line: a relative name is taken from the folder
// the game was started from (QUILL_START_DIR, which the launcher sets, as the
// game itself runs in its data folder), else from here.
std::string fromStartFolder(const char* name);
// Where `arg` points: an installed level by name ("Level1" or "Level1.txt" in
// the game folder), else a path; a relative path is taken from the folder the
// game was started from (QUILL_START_DIR, which the launcher sets), else from here.
std::string resolveLevelPath(const char* arg);
// Checks the level at `path` as the level checker does. Returns an empty
// string when it can be played, else the reasons, one line each.
std::string levelFaults(const std::string& path);

// The header line a recording names its maze with: "maze <hash> <file name>",
// the hash the personal bests use (FNV-1a of the file's bytes).
std::string recordingMazeNote(const std::string& levelPath);
// Why the recording at `replayPath` cannot be played on the maze at
// `levelPath` (it names another maze), one line; empty when it can, or when
// it names none (scripts written by hand).
std::string replayMazeFault(const std::string& replayPath, const std::string& levelPath);

// The maze a won run goes on to: after one of the shipped set, Level1.txt to
// Level6.txt in the game folder, the next (the last leads back to the first);
// after any other file, that file again.
std::string nextLevelInSet(const std::string& path);

// The level the loading reads.
void setLevelPath(const std::string& path);
const char* levelPath();
