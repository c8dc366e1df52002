// The options every tool for people answers alike, whatever else it takes.
#pragma once
#include <cstdio>
#include <cstring>

// --help prints the usage on standard output and --version the release the
// tool belongs to; either ends the tool with code 0. True when `arg` was one.
inline bool answeredStandardOption(const char* arg, const char* program, const char* usage) {
  if (std::strcmp(arg, "--help") == 0) {
    std::fputs(usage, stdout);
    return true;
  }
  if (std::strcmp(arg, "--version") == 0) {
    std::printf("%s %s\n", program, QUILL_VERSION);
    return true;
  }
  return false;
}
