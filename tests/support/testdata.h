// Helpers shared by the tests: scratch folders and small files.
#pragma once
#include <string>

// A fresh empty folder under the build tree, named for the test.
std::string scratchDir(const std::string& name);
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
// The bytes of a mono 16-bit WAV file of `seconds` of silence at 8000 Hz.
std::string wavBytes(double seconds);
// Runs fn with the working directory set to dir, then restores it.
template <typename F>
void inDirectory(const std::string& dir, F fn);

#include <unistd.h>
#include <climits>
template <typename F>
void inDirectory(const std::string& dir, F fn) {
  char old[PATH_MAX];
  if (!getcwd(old, sizeof old)) old[0] = 0;
  if (chdir(dir.c_str()) != 0) return;
  fn();
  if (chdir(old) != 0) return;
}
