#include "framework/recorder.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/display.h"
#include "platform/scancodes.h"

namespace {

constexpr int kMaxPassEvents = 64;  // a pass holds a handful; more are dropped
constexpr int kLineBytes = 2048;

struct Recorder {
  std::FILE* file;
  DisplayEvent events[kMaxPassEvents];
  int eventCount;
  // Each line waits one pass before it is written: only the end of the game
  // tells whether a close question in it was answered yes.
  char pending[kLineBytes];
  int pendingClose;  // offset of the last "no" of a close clause in pending, -1 if none
  bool havePending;
};
Recorder g_rec = {nullptr, {}, 0, {}, -1, false};

void append(char* line, int& used, const char* text) {
  const int n = static_cast<int>(std::strlen(text));
  if (used + n >= kLineBytes) return;
  std::memcpy(line + used, text, static_cast<size_t>(n) + 1);
  used += n;
}

void writePending() {
  if (!g_rec.havePending || !g_rec.file) return;
  std::fputs(g_rec.pending, g_rec.file);
  std::fputc('\n', g_rec.file);
  std::fflush(g_rec.file);  // a crash of the game keeps the recording up to here
  g_rec.havePending = false;
}

}  // namespace

namespace {
const char* g_note = nullptr;
}  // namespace

void setRecordingNote(const char* note) { g_note = note; }

int recorderOpen(const char* path, int width, int height) {
  recorderClose();
  if (!path || !*path) return 0;
  g_rec.file = std::fopen(path, "w");
  if (!g_rec.file) {
    std::fprintf(stderr, "recorder: cannot write %s\n", path);
    return 0;
  }
  g_rec.eventCount = 0;
  g_rec.havePending = false;
  // The header's comments come before the first line, which answers the dialog:
  // every line after it is a pass.
  std::fprintf(g_rec.file,
               "# Recorded in the game at %dx%d, one line per pass. Play it back inside the game folder:\n"
               "# QUILL_DISPLAY=headless QUILL_INPUT=<this file> ./quillmoor\n",
               width, height);
  if (g_note && *g_note) std::fprintf(g_rec.file, "# %s\n", g_note);
  std::fprintf(g_rec.file, "key 50 50; chars 13  # the mode dialog: 640x480, 15 bits, in a window\n");
  std::fflush(g_rec.file);
  return 1;
}

int recorderActive() { return g_rec.file ? 1 : 0; }

void recorderEvent(const DisplayEvent& e) {
  if (!g_rec.file || g_rec.eventCount >= kMaxPassEvents) return;
  switch (e.kind) {
    case kDisplayKeyDown:
      if (e.repeat) return;
      break;
    case kDisplaySwitch:
    case kDisplayChanged:
    case kDisplayFocusLost:
    case kDisplayFocusGained:
    case kDisplayClose:
    case kDisplayQuit: break;
    default: return;  // key releases show in the held keys; the mouse does nothing in the game
  }
  g_rec.events[g_rec.eventCount++] = e;
}

void recorderEndPass(const uint16_t keys[kKeyTableSize]) {
  if (!g_rec.file) return;
  writePending();
  char* line = g_rec.pending;
  int used = 0;
  line[0] = 0;
  char word[32];
  append(line, used, "keys");
  for (int s = 0; s < kKeyTableSize; ++s) {
    if (!keys[s] || s == kScanF12) continue;  // F12 is pressed, never held: one screenshot
    std::snprintf(word, sizeof word, " %02X", s);
    append(line, used, word);
  }
  g_rec.pendingClose = -1;
  bool inChars = false;
  for (int i = 0; i < g_rec.eventCount; ++i) {
    const DisplayEvent& e = g_rec.events[i];
    const int c = e.character & 0xFF;
    const int scan = e.scanCode & 0xFF;
    if (e.kind == kDisplayKeyDown && c != 0) {
      // Letters and digits quoted; anything else (Esc, ';', '#', blanks) by number.
      if (std::isalnum(c))
        std::snprintf(word, sizeof word, " '%c'", c);
      else
        std::snprintf(word, sizeof word, " %d", c);
      if (!inChars) append(line, used, "; chars");
      append(line, used, word);
      inChars = true;
      continue;
    }
    inChars = false;
    switch (e.kind) {
      case kDisplayKeyDown:
        // A held key is in the keys clause; a tap within one pass or F12 is pressed here.
        if (scan != kScanF12 && keys[scan]) continue;
        std::snprintf(word, sizeof word, "; key %02X", scan);
        append(line, used, word);
        break;
      case kDisplaySwitch: append(line, used, "; switch"); break;
      case kDisplayChanged: append(line, used, "; display"); break;
      case kDisplayFocusLost: append(line, used, "; focus lost"); break;
      case kDisplayFocusGained: append(line, used, "; focus gained"); break;
      case kDisplayQuit: append(line, used, "; quit"); break;
      case kDisplayClose:
        append(line, used, "; close ");
        g_rec.pendingClose = used;
        append(line, used, "no");
        break;
      default: break;
    }
  }
  g_rec.eventCount = 0;
  g_rec.havePending = true;
}

void recorderPauseKey(int scanCode) {
  if (!g_rec.file || !g_rec.havePending) return;
  int used = static_cast<int>(std::strlen(g_rec.pending));
  char clause[32];
  std::snprintf(clause, sizeof clause, "; wait; key %02X", scanCode & 0xFF);
  append(g_rec.pending, used, clause);
}

void recorderClose() {
  if (!g_rec.file) return;
  if (g_rec.havePending && g_rec.pendingClose >= 0) {
    // The game ended in this pass, so the question was answered yes.
    char rest[kLineBytes];
    std::snprintf(rest, sizeof rest, "%s", g_rec.pending + g_rec.pendingClose + 2);
    std::snprintf(g_rec.pending + g_rec.pendingClose,
                  sizeof g_rec.pending - static_cast<size_t>(g_rec.pendingClose), "yes%s", rest);
  }
  writePending();
  std::fclose(g_rec.file);
  g_rec.file = nullptr;
  g_rec.eventCount = 0;
}
