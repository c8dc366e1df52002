// The headless port's input script: each clause of a line is read by a small
// function of its own into the line's record, which the port applies only
// when the whole line has been read.
#include "platform/headlessscript.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/scancodes.h"

namespace {

constexpr int kMaxWords = 64;         // words of one clause
constexpr long kPointLimit = 100000;  // pointer coordinates and wheel notches, either sign

// The typing rows of a PC keyboard, each from the scan code of its first key.
struct TypingRow {
  int firstScan;
  std::string_view keys;
};
constexpr TypingRow kTypingRows[] = {
    {kScanDigit1, "1234567890"},
    {kScanLetterRowQ, "qwertyuiop"},
    {kScanLetterRowA, "asdfghjkl"},
    {kScanLetterRowZ, "zxcvbnm"},
};
// Each row ends before the next one begins, so no two characters share a code.
constexpr bool rowsApart() {
  for (size_t i = 1; i < std::size(kTypingRows); ++i) {
    const TypingRow& before = kTypingRows[i - 1];
    if (before.firstScan + static_cast<int>(before.keys.size()) > kTypingRows[i].firstScan) return false;
  }
  return true;
}
static_assert(rowsApart(), "typing rows overlap in their scan codes");

// The scan code of the key that types a character, for scripted presses.
int scanForCharacter(int c) {
  switch (c) {
    case kCharEsc: return kScanEsc;
    case kCharEnter: return kScanEnter;
    case kCharBackspace: return kScanBackspace;
    case kCharTab: return kScanTab;
    case ' ': return kScanSpace;
    default: break;
  }
  if (c <= 0 || c > 255) return 0;
  const char lower = static_cast<char>(std::tolower(c));
  for (const TypingRow& row : kTypingRows) {
    const size_t at = row.keys.find(lower);
    if (at != std::string_view::npos) return row.firstScan + static_cast<int>(at);
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

void stage(ScriptLine& line, const DisplayEvent& e, bool releaseOfPress = false) {
  if (line.eventCount < kMaxLineEvents) line.events[line.eventCount++] = ScriptEvent{e, releaseOfPress};
}
void stageKind(ScriptLine& line, int kind) {
  DisplayEvent e{};
  e.kind = kind;
  stage(line, e);
}
// A key pressed and released; the port drops the release if the key stays held.
void stagePress(ScriptLine& line, int scan, int character, int modifiers) {
  DisplayEvent e{};
  e.kind = kDisplayKeyDown;
  e.scanCode = scan;
  e.character = character;
  e.modifiers = modifiers;
  stage(line, e);
  e.kind = kDisplayKeyUp;
  e.character = 0;
  stage(line, e, true);
}

// One clause: its text and its words, the first being the clause's name.
struct Clause {
  const std::string& text;
  const std::string* w;
  int n;
};

// Each reader returns "" when the clause is good, or what is wrong with it.
using ClauseReader = std::string (*)(const Clause& c, ScriptLine& line);

std::string unknown(const Clause& c) { return "unknown clause \"" + c.text + "\""; }

std::string readKeys(const Clause& c, ScriptLine& line) {
  if (!line.keysGiven) std::memset(line.held, 0, sizeof line.held);
  line.keysGiven = true;
  for (int i = 1; i < c.n; ++i) {
    int scan;
    if (!parseScanCode(c.w[i], &scan)) return "scan code \"" + c.w[i] + "\"";
    line.held[scan] = true;
  }
  return "";
}

std::string readChars(const Clause& c, ScriptLine& line) {
  for (int i = 1; i < c.n; ++i) {
    const std::string& w = c.w[i];
    int ch;
    if (w.size() == 3 && w[0] == '\'' && w[2] == '\'') {
      ch = static_cast<unsigned char>(w[1]);
    } else if (!parseNumber(w, 10, 0, 255, &ch)) {
      return "character \"" + w + "\"";
    }
    stagePress(line, scanForCharacter(ch), ch, 0);
  }
  return "";
}

std::string readClose(const Clause& c, ScriptLine& line) {
  if (c.n > 2) return unknown(c);
  if (c.n == 2 && c.w[1] != "yes" && c.w[1] != "no") return "close answers yes or no";
  if (line.answerCount < kMaxLineAnswers) line.answers[line.answerCount++] = c.n == 2 && c.w[1] == "yes";
  stageKind(line, kDisplayClose);
  return "";
}

std::string readFocus(const Clause& c, ScriptLine& line) {
  if (c.n != 2 || (c.w[1] != "lost" && c.w[1] != "gained")) return unknown(c);
  stageKind(line, c.w[1] == "lost" ? kDisplayFocusLost : kDisplayFocusGained);
  return "";
}

std::string readKey(const Clause& c, ScriptLine& line) {
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
  for (int i = 0; i < scanCount; ++i) stagePress(line, scans[i], characterForScan(scans[i]), modifiers);
  return "";
}

// "mouse dx dy": the pointer moved by (dx, dy) pixels, as a held mouse reports it.
std::string readMotion(const Clause& c, ScriptLine& line) {
  if (c.n != 3) return unknown(c);
  DisplayEvent e{};
  e.kind = kDisplayMouseMove;
  if (!parseNumber(c.w[1], 10, -kPointLimit, kPointLimit, &e.dx) ||
      !parseNumber(c.w[2], 10, -kPointLimit, kPointLimit, &e.dy))
    return "motion \"" + c.text + "\"";
  stage(line, e);
  return "";
}

// "click x y", "doubleclick x y" and "wheel notches x y", every number within kPointLimit.
std::string readPointer(const Clause& c, ScriptLine& line) {
  const bool wheel = c.w[0] == "wheel";
  const int count = wheel ? 3 : 2;
  if (c.n != 1 + count) return unknown(c);
  int v[3];
  for (int i = 0; i < count; ++i) {
    if (!parseNumber(c.w[1 + i], 10, -kPointLimit, kPointLimit, &v[i])) {
      return std::string(wheel ? "number" : "point") + " \"" + c.w[1 + i] + "\"";
    }
  }
  DisplayEvent e{};
  if (wheel) {
    e.kind = kDisplayMouseWheel;
    e.wheel = v[0];
    e.x = v[1];
    e.y = v[2];
    stage(line, e);
    return "";
  }
  e.kind = kDisplayMouseDown;
  e.x = v[0];
  e.y = v[1];
  e.button = 1;
  e.doubleClick = c.w[0] == "doubleclick";
  e.modifiers = kModLeftButton;
  stage(line, e);
  e.kind = kDisplayMouseUp;
  e.doubleClick = 0;
  e.modifiers = 0;
  stage(line, e);
  return "";
}

std::string readWait(const Clause& c, ScriptLine& line) {
  if (c.n != 1) return unknown(c);
  if (line.waitFrom < 0) line.waitFrom = line.eventCount;
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
    {"keys", readKeys},    {"chars", readChars},   {"close", readClose},         {"focus", readFocus},
    {"key", readKey},      {"click", readPointer}, {"doubleclick", readPointer}, {"wheel", readPointer},
    {"mouse", readMotion}, {"wait", readWait},
};

std::string readClause(const Clause& c, ScriptLine& line) {
  for (const ClauseKind& k : kClauseKinds)
    if (c.w[0] == k.name) return k.read(c, line);
  for (const PlainClause& p : kPlainClauses) {
    if (c.w[0] == p.name && c.n == 1) {
      stageKind(line, p.kind);
      return "";
    }
  }
  return unknown(c);
}

}  // namespace

int readScriptLine(const char* text, ScriptLine* out) {
  ScriptLine& line = *out;
  line.keysGiven = false;
  line.answerCount = line.eventCount = 0;
  line.waitFrom = -1;
  std::string body = text ? text : "";
  const size_t hash = body.find('#');
  if (hash != std::string::npos) body.erase(hash);

  size_t start = 0;
  while (start <= body.size()) {
    size_t end = body.find(';', start);
    if (end == std::string::npos) end = body.size();
    const std::string clause = body.substr(start, end - start);
    start = end + 1;
    std::string w[kMaxWords];
    const int n = splitWords(clause, w, kMaxWords);
    if (n == 0) continue;
    const std::string bad = readClause(Clause{clause, w, n}, line);
    if (!bad.empty()) {
      std::fprintf(stderr, "headless: bad input line \"%s\": %s\n", text ? text : "", bad.c_str());
      line.keysGiven = false;
      line.answerCount = line.eventCount = 0;
      line.waitFrom = -1;
      return 0;
    }
  }
  return 1;
}
