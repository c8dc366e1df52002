// The player's own files in the XDG folders (the settings, the bests): where
// they lie, read whole up to a size limit, and written atomically, so a crash
// or a full disk never leaves half a file behind.
#pragma once
#include <ini.h>

#include <cstddef>
#include <string>

// $<variable>/quillmoor/<name>, or $HOME/<underHome>/quillmoor/<name> when the
// variable is unset or not absolute; empty when neither is set.
std::string playerFilePath(const char* variable, const char* underHome, const char* name);

struct FileText {
  std::string text;
  bool missing;     // no file there: no fault
  const char* why;  // set when the file is there but could not be used; it is never written over
};
// Reads the whole file (a player's, or the maze to hash it); one longer than
// maxBytes counts as unreadable.
FileText readWholeFile(const std::string& path, size_t maxBytes);

// Writes text to path through a temporary file renamed over it, making the
// folders on the way; "" when done, else why not.
std::string writePlayerFile(const std::string& path, const std::string& text);

// Runs the INI parser over text in memory; returns what ini_parse does (0, or
// the first bad line). A line longer than the parser's buffer is cut there,
// so its rest never reads as a line of its own.
int parseIniText(const char* data, size_t size, ini_handler handler, void* user);
