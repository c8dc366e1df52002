#include "game/savefile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Feeds the parser line by line from memory.
struct Stream {
  const char* data;
  size_t size, at;
};
char* readLine(char* line, int room, void* user) {
  Stream& s = *static_cast<Stream*>(user);
  if (s.at >= s.size || room < 2) return nullptr;
  int n = 0;
  bool ended = false;
  while (s.at < s.size && !ended) {
    const char c = s.data[s.at++];
    if (n < room - 2 || c == '\n') line[n++] = c;
    ended = c == '\n';
  }
  line[n] = '\0';
  return line;
}
}  // namespace

int parseIniText(const char* data, size_t size, ini_handler handler, void* user) {
  Stream stream{data, size, 0};
  return ini_parse_stream(readLine, &stream, handler, user);
}

std::string playerFilePath(const char* variable, const char* underHome, const char* name) {
  const std::string tail = std::string("/quillmoor/") + name;
  const char* folder = std::getenv(variable);
  if (folder && *folder == '/') return folder + tail;
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/" + underHome + tail;
  return "";
}

FileText readWholeFile(const std::string& path, size_t maxBytes) {
  FileText out{"", false, nullptr};
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    out.missing = errno == ENOENT || errno == ENOTDIR;
    if (!out.missing) out.why = std::strerror(errno);
    return out;
  }
  // Read in pieces: the files are small, so no room is taken for the largest one.
  char piece[4096];
  size_t got = 0;
  while (out.text.size() <= maxBytes && (got = std::fread(piece, 1, sizeof piece, f)) > 0)
    out.text.append(piece, got);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  const size_t size = out.text.size();
  if (failed) out.why = "could not be read";
  if (size > maxBytes) out.why = "longer than it can be";
  return out;
}

std::string writePlayerFile(const std::string& path, const std::string& text) {
  // The folders up to the file's own, as mkdir -p makes them.
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    if (mkdir(path.substr(0, slash).c_str(), 0755) != 0 && errno != EEXIST) return std::strerror(errno);
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return std::strerror(errno);
  bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    std::remove(temp.c_str());
    return std::strerror(err);
  }
  return "";
}
