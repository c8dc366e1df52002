#include "platform/endsignals.h"

#include <csignal>

namespace {

constexpr int kEndSignals[] = {SIGINT, SIGTERM};
constexpr int kEndSignalCount = sizeof(kEndSignals) / sizeof(kEndSignals[0]);

volatile std::sig_atomic_t g_caught = 0;
bool g_reported = false;
bool g_catching = false;
struct sigaction g_earlier[kEndSignalCount];

extern "C" void onEndSignal(int signal) { g_caught = signal; }

}  // namespace

void catchEndSignals() {
  if (g_catching) return;
  struct sigaction action {};
  action.sa_handler = onEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the second one finds the default action: a stuck program still ends
  for (int i = 0; i < kEndSignalCount; ++i) sigaction(kEndSignals[i], &action, &g_earlier[i]);
  g_catching = true;
}

int takeEndSignal() {
  if (g_caught == 0 || g_reported) return 0;
  g_reported = true;
  return g_caught;
}

void finishEndSignals() {
  if (!g_catching) return;
  const int caught = g_caught;
  if (caught != 0) {
    std::signal(caught, SIG_DFL);
    std::raise(caught);
  }
  for (int i = 0; i < kEndSignalCount; ++i) sigaction(kEndSignals[i], &g_earlier[i], nullptr);
  g_catching = false;
}
