// The headless port's input script: each clause of a line is read by a small
// function of its own into the line's effects, which are queued only when the
// whole line has been read.
#include "platform/headlessscript.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/headless.h"
#include "platform/scancodes.h"

namespace {

constexpr int kMaxWords = 64;         // words of one clause
constexpr int kMaxStaged = 512;       // events of one line
constexpr int kMaxLineAnswers = 8;    // close clauses of one line that are answered
constexpr long kPointLimit = 100000;  // pointer coordinates and wheel notches, either sign
constexpr int kReleaseOfPress = -1;   // a staged key-up's character: dropped when the key is held

// The scan code of the key that types a character, for scripted presses.
int scanForCharacter(int c) {
  static const char kRow1[] = "1234567890";
  static const char kRowQ[] = "qwertyuiop";
  static const char kRowA[] = "asdfghjkl";
  static const char kRowZ[] = "zxcvbnm";
  static_assert(sizeof kRow1 == 11 && sizeof kRowQ == 11 && sizeof kRowA == 10 && sizeof kRowZ == 8,
                "rows of a PC keyboard");
  switch (c) {
    case kCharEsc: return kScanEsc;
    case kCharEnter: return kScanEnter;
    case kCharBackspace: return kScanBackspace;
    case kCharTab: return kScanTab;
    case ' ': return kScanSpace;
    default: break;
  }
  const int lower = std::tolower(c);
  const char* p;
  if (c > 0 && (p = std::strchr(kRow1, c)) != nullptr) return kScanDigit1 + static_cast<int>(p - kRow1);
  if (lower > 0 && (p = std::strchr(kRowQ, lower)) != nullptr) {
    return kScanLetterRowQ + static_cast<int>(p - kRowQ);
  }
  if (lower > 0 && (p = std::strchr(kRowA, lower)) != nullptr) {
    return kScanLetterRowA + static_cast<int>(p - kRowA);
  }
  if (lower > 0 && (p = std::strchr(kRowZ, lower)) != nullptr) {
    return kScanLetterRowZ + static_cast<int>(p - kRowZ);
  }
  return 0;
}

// The character a pressed key types in "key" clauses.
int characterForScan(int scan) {
  switch (scan) {
    case kScanEsc: return kCharEsc;
    case kScanEnter: return kCharEnter;
    case kScanTab: return kCharTab;
    case kScanSpace: return ' ';
    default: return 0;
  }
}

// Splits s at whitespace into words (at most max); a quoted character ('x')
// is one word even when it is a blank.
int splitWords(const std::string& s, std::string* words, int max) {
  int n = 0;
  size_t i = 0;
  while (i < s.size() && n < max) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    if (i >= s.size()) break;
    size_t j = i;
    if (s[i] == '\'' && i + 2 < s.size() && s[i + 2] == '\'') {
      j = i + 3;
    } else {
      while (j < s.size() && !std::isspace(static_cast<unsigned char>(s[j]))) ++j;
    }
    words[n++] = s.substr(i, j - i);
    i = j;
  }
  return n;
}

// A whole word as a number from lo to hi; hexadecimal words may start with "0x".
bool parseNumber(const std::string& w, int base, long lo, long hi, int* out) {
  std::string digits = w;
  if (base == 16 && digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits = digits.substr(2);
  }
  if (digits.empty()) return false;
  char* end = nullptr;
  const long v = std::strtol(digits.c_str(), &end, base);
  if (*end != 0 || v < lo || v > hi) return false;
  *out = static_cast<int>(v);
  return true;
}
bool parseScanCode(const std::string& w, int* out) { return parseNumber(w, 16, 0, 255, out); }

// What one line asks for, gathered before anything is queued.
struct LineEffects {
  DisplayEvent staged[kMaxStaged];
  int stagedCount;
  int answers[kMaxLineAnswers];
  int answerCount;
  bool held[256];  // the keys held after the line
  bool keysGiven;

  void stage(const DisplayEvent& e) {
    if (stagedCount < kMaxStaged) staged[stagedCount++] = e;
  }
  // The fields of an event, all others 0.
  void stage(int kind, int scan, int character, int x, int y, int button, int doubleClick, int modifiers,
             int wheel) {
    stage(DisplayEvent{kind, scan, character, 0, x, y, button, doubleClick, modifiers, wheel});
  }
  void stageKind(int kind) { stage(kind, 0, 0, 0, 0, 0, 0, 0, 0); }
  // A key pressed and released; the release is dropped if the key stays held.
  void stagePress(int scan, int character, int modifiers) {
    stage(kDisplayKeyDown, scan, character, 0, 0, 0, 0, modifiers, 0);
    stage(kDisplayKeyUp, scan, kReleaseOfPress, 0, 0, 0, 0, modifiers, 0);
  }
};

// One clause: its text and its words, the first being the clause's name.
struct Clause {
  const std::string& text;
  const std::string* w;
  int n;
};

// Each reader returns "" when the clause is good, or what is wrong with it.
using ClauseReader = std::string (*)(const Clause& c, LineEffects& fx);

std::string unknown(const Clause& c) { return "unknown clause \"" + c.text + "\""; }

std::string readKeys(const Clause& c, LineEffects& fx) {
  if (!fx.keysGiven) std::memset(fx.held, 0, sizeof fx.held);
  fx.keysGiven = true;
  for (int i = 1; i < c.n; ++i) {
    int scan;
    if (!parseScanCode(c.w[i], &scan)) return "scan code \"" + c.w[i] + "\"";
    fx.held[scan] = true;
  }
  return "";
}

std::string readChars(const Clause& c, LineEffects& fx) {
  for (int i = 1; i < c.n; ++i) {
    const std::string& w = c.w[i];
    int ch;
    if (w.size() == 3 && w[0] == '\'' && w[2] == '\'') {
      ch = static_cast<unsigned char>(w[1]);
    } else if (!parseNumber(w, 10, 0, 255, &ch)) {
      return "character \"" + w + "\"";
    }
    fx.stagePress(scanForCharacter(ch), ch, 0);
  }
  return "";
}

std::string readClose(const Clause& c, LineEffects& fx) {
  if (c.n > 2) return unknown(c);
  if (c.n == 2 && c.w[1] != "yes" && c.w[1] != "no") return "close answers yes or no";
  if (fx.answerCount < kMaxLineAnswers) fx.answers[fx.answerCount++] = c.n == 2 && c.w[1] == "yes";
  fx.stageKind(kDisplayClose);
  return "";
}

std::string readFocus(const Clause& c, LineEffects& fx) {
  if (c.n != 2 || (c.w[1] != "lost" && c.w[1] != "gained")) return unknown(c);
  fx.stageKind(c.w[1] == "lost" ? kDisplayFocusLost : kDisplayFocusGained);
  return "";
}

std::string readKey(const Clause& c, LineEffects& fx) {
  if (c.n < 2) return unknown(c);
  int scans[kMaxWords];
  int scanCount = 0;
  int modifiers = 0;
  for (int i = 1; i < c.n; ++i) {
    if (c.w[i] == "shift") {
      modifiers |= kModShift;
    } else if (c.w[i] == "ctrl") {
      modifiers |= kModControl;
    } else if (c.w[i] == "alt") {
      modifiers |= kModAlt;
    } else if (!parseScanCode(c.w[i], &scans[scanCount++])) {
      return "scan code \"" + c.w[i] + "\"";
    }
  }
  if (scanCount == 0) return "key without a scan code";
  for (int i = 0; i < scanCount; ++i) fx.stagePress(scans[i], characterForScan(scans[i]), modifiers);
  return "";
}

// "click x y", "doubleclick x y" and "wheel notches x y", every number within kPointLimit.
std::string readPointer(const Clause& c, LineEffects& fx) {
  const bool wheel = c.w[0] == "wheel";
  const int count = wheel ? 3 : 2;
  if (c.n != 1 + count) return unknown(c);
  int v[3];
  for (int i = 0; i < count; ++i) {
    if (!parseNumber(c.w[1 + i], 10, -kPointLimit, kPointLimit, &v[i])) {
      return std::string(wheel ? "number" : "point") + " \"" + c.w[1 + i] + "\"";
    }
  }
  if (wheel) {
    fx.stage(kDisplayMouseWheel, 0, 0, v[1], v[2], 0, 0, 0, v[0]);
    return "";
  }
  const int doubleClick = c.w[0] == "doubleclick";
  fx.stage(kDisplayMouseDown, 0, 0, v[0], v[1], 1, doubleClick, kModLeftButton, 0);
  fx.stage(kDisplayMouseUp, 0, 0, v[0], v[1], 1, 0, 0, 0);
  return "";
}

// The clauses without words after the name, each one event.
struct PlainClause {
  const char* name;
  int kind;
};
const PlainClause kPlainClauses[] = {
    {"switch", kDisplaySwitch},
    {"display", kDisplayChanged},
    {"quit", kDisplayQuit},
};

struct ClauseKind {
  const char* name;
  ClauseReader read;
};
const ClauseKind kClauseKinds[] = {
    {"keys", readKeys}, {"chars", readChars},   {"close", readClose},         {"focus", readFocus},
    {"key", readKey},   {"click", readPointer}, {"doubleclick", readPointer}, {"wheel", readPointer},
};

std::string readClause(const Clause& c, LineEffects& fx) {
  for (const ClauseKind& k : kClauseKinds)
    if (c.w[0] == k.name) return k.read(c, fx);
  for (const PlainClause& p : kPlainClauses) {
    if (c.w[0] == p.name && c.n == 1) {
      fx.stageKind(p.kind);
      return "";
    }
  }
  return unknown(c);
}

// Held keys change first, then the presses and commands in their order.
void queueEffects(LineEffects& fx) {
  bool* held = headlessScriptHeldKeys();
  if (fx.keysGiven) {
    for (int s = 0; s < 256; ++s) {
      if (fx.held[s] && !held[s]) headlessKeyDown(s, 0);
      if (!fx.held[s] && held[s]) headlessKeyUp(s);
    }
    std::memcpy(held, fx.held, sizeof fx.held);
  }
  for (int i = 0; i < fx.answerCount; ++i) headlessAnswer(fx.answers[i]);
  for (int i = 0; i < fx.stagedCount; ++i) {
    DisplayEvent e = fx.staged[i];
    if (e.kind == kDisplayKeyUp && e.character == kReleaseOfPress) {
      if (held[e.scanCode]) continue;  // a held key stays down
      e.character = 0;
    }
    headlessQueue(e);
  }
}

LineEffects g_effects;  // one line's worth; static, as it is large

}  // namespace

int headlessApplyScriptLine(const char* text) {
  std::string line = text ? text : "";
  const size_t hash = line.find('#');
  if (hash != std::string::npos) line.erase(hash);
  LineEffects& fx = g_effects;
  fx.stagedCount = fx.answerCount = 0;
  fx.keysGiven = false;
  std::memcpy(fx.held, headlessScriptHeldKeys(), sizeof fx.held);

  size_t start = 0;
  while (start <= line.size()) {
    size_t end = line.find(';', start);
    if (end == std::string::npos) end = line.size();
    const std::string clause = line.substr(start, end - start);
    start = end + 1;
    std::string w[kMaxWords];
    const int n = splitWords(clause, w, kMaxWords);
    if (n == 0) continue;
    const std::string bad = readClause(Clause{clause, w, n}, fx);
    if (!bad.empty()) {
      std::fprintf(stderr, "headless: bad input line \"%s\": %s\n", text ? text : "", bad.c_str());
      return 0;
    }
  }
  queueEffects(fx);
  return 1;
}
