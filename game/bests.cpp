#include "game/bests.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/savefile.h"

namespace {

// One maze takes four lines; the file never needs more than a few hundred mazes.
constexpr size_t kMaxBestsBytes = 64 * 1024;
constexpr size_t kMaxMazes = 1000;
// A run longer than a day is no run worth keeping.
constexpr int kMaxTimeMillis = 24 * 60 * 60 * 1000;
constexpr int kMaxScore = 1000000;

// The last section counts the mazes above it: a file cut short anywhere loses
// it or its count, so a truncated file never reads as a shorter list.
constexpr const char* kEndSection = "end";

bool parseNumber(const char* text, long lo, long hi, long& out) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || v < lo || v > hi) return false;
  out = v;
  return true;
}

bool parseHash(const char* text, uint64_t& out) {
  if (std::strlen(text) != 16) return false;
  uint64_t v = 0;
  for (const char* c = text; *c; ++c) {
    const int d = *c >= '0' && *c <= '9' ? *c - '0' : *c >= 'a' && *c <= 'f' ? *c - 'a' + 10 : -1;
    if (d < 0) return false;
    v = v << 4 | static_cast<uint64_t>(d);
  }
  out = v;
  return true;
}

struct ParseState {
  std::vector<MazeBest>* out;
  bool bad;
  long endCount;  // -1 until the end section's count is read
};

bool readEntry(ParseState& p, const char* section, const char* key, const char* value) {
  if (p.endCount >= 0) return false;  // nothing after the end
  long v = 0;
  if (std::strcmp(section, kEndSection) == 0)
    return std::strcmp(key, "mazes") == 0 && parseNumber(value, 0, kMaxMazes, p.endCount);
  uint64_t maze = 0;
  if (!parseHash(section, maze)) return false;
  std::vector<MazeBest>& out = *p.out;
  if (out.empty() || out.back().maze != maze) {
    for (const MazeBest& b : out)
      if (b.maze == maze) return false;  // a maze has one section
    if (out.size() == kMaxMazes) return false;
    out.push_back({maze, kNoBestTime, 0});
  }
  MazeBest& b = out.back();
  if (std::strcmp(key, "time_ms") == 0 && parseNumber(value, 0, kMaxTimeMillis, v)) {
    b.timeMillis = static_cast<int>(v);
    return true;
  }
  if (std::strcmp(key, "score") == 0 && parseNumber(value, 0, kMaxScore, v)) {
    b.score = static_cast<int>(v);
    return true;
  }
  return false;
}

int onEntry(void* user, const char* section, const char* key, const char* value) {
  ParseState& p = *static_cast<ParseState*>(user);
  if (!readEntry(p, section, key, value)) p.bad = true;
  return 1;
}

void warn(const char* what, const std::string& path, const char* why, const char* then) {
  std::fprintf(stderr, "quillmoor: %s the bests in %s (%s); %s\n", what, path.c_str(), why, then);
}

}  // namespace

uint64_t mazeHash(const void* bytes, size_t size) {
  uint64_t h = 14695981039346656037ull;
  const unsigned char* b = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < size; ++i) h = (h ^ b[i]) * 1099511628211ull;
  return h;
}

uint64_t mazeFileHash(const char* path) {
  // A maze file is a few kilobytes; this is room enough for any the level reader takes.
  const FileText read = readWholeFile(path, 1024 * 1024);
  if (read.missing || read.why) return 0;
  return mazeHash(read.text.data(), read.text.size());
}

std::string bestsPath() { return playerFilePath("XDG_DATA_HOME", ".local/share", "bests.ini"); }

bool parseBests(const char* data, size_t size, std::vector<MazeBest>& out) {
  out.clear();
  ParseState state{&out, false, -1};
  const int firstBadLine = parseIniText(data, size, onEntry, &state);
  if (firstBadLine != 0 || state.bad || state.endCount != static_cast<long>(out.size())) {
    out.clear();
    return false;
  }
  return true;
}

std::string formatBests(const std::vector<MazeBest>& mazes) {
  std::string text =
      "# Quillmoor's best runs, written by the game: one section per maze, named\n"
      "# by the hash of the maze file; time_ms only once a run on it was won.\n";
  char line[96];
  for (const MazeBest& b : mazes) {
    std::snprintf(line, sizeof line, "\n[%016" PRIx64 "]\n", b.maze);
    text += line;
    if (b.timeMillis != kNoBestTime) {
      std::snprintf(line, sizeof line, "time_ms = %d\n", b.timeMillis);
      text += line;
    }
    std::snprintf(line, sizeof line, "score = %d\n", b.score);
    text += line;
  }
  std::snprintf(line, sizeof line, "\n[%s]\nmazes = %zu\n", kEndSection, mazes.size());
  return text + line;
}

namespace {
// The file as read at the first ending of this process: later endings change
// it in memory and write it only when a best changed, so an ending that beats
// nothing touches no file and takes no memory.
struct Known {
  bool read;
  bool unreadable;  // never written over
  bool damaged;     // written anew at the next run
  std::vector<MazeBest> mazes;
};
Known g_known{};

void readOnce(const std::string& path) {
  if (g_known.read) return;
  g_known.read = true;
  if (path.empty()) return;
  const FileText read = readWholeFile(path, kMaxBestsBytes);
  if (read.why) {
    warn("cannot read", path, read.why, "this run's are kept until the game ends, the file stays as it is");
    g_known.unreadable = true;
  } else if (!read.missing && !parseBests(read.text.data(), read.text.size(), g_known.mazes)) {
    warn("cannot use", path, "the file is damaged or cut short", "it is written anew");
    g_known.damaged = true;
  }
}
}  // namespace

BestsNow recordRun(uint64_t maze, bool won, int timeMillis, int score) {
  const std::string path = bestsPath();
  readOnce(path);
  std::vector<MazeBest>& mazes = g_known.mazes;
  MazeBest* b = nullptr;
  for (MazeBest& m : mazes)
    if (m.maze == maze) b = &m;
  const bool first = !b;
  if (!b) {
    mazes.push_back({maze, kNoBestTime, 0});
    b = &mazes.back();
  }
  BestsNow now{*b, false, false};
  if (won && (b->timeMillis == kNoBestTime || timeMillis < b->timeMillis)) {
    b->timeMillis = timeMillis;
    now.newTime = true;
  }
  if (score > b->score) {
    b->score = score;
    now.newScore = true;
  }
  now.best = *b;
  const bool changed = first || now.newTime || now.newScore || g_known.damaged;
  if (!changed || g_known.unreadable || path.empty()) return now;
  g_known.damaged = false;
  const std::string failed = writePlayerFile(path, formatBests(mazes));
  if (!failed.empty()) warn("cannot save", path, failed.c_str(), "they hold until the game ends");
  return now;
}

void resetBests() { g_known = Known{}; }
