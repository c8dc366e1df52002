#include "platform/endsignals.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

namespace {

constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kEndSignalCount = sizeof(kEndSignals) / sizeof(kEndSignals[0]);

volatile std::sig_atomic_t g_caught = 0;
volatile std::sig_atomic_t g_boxOpen = 0;
bool g_reported = false;
bool g_catching = false;
pid_t g_game = 0;  // the process the handlers belong to
struct sigaction g_earlier[kEndSignalCount];

extern "C" void onEndSignal(int signal) {
  g_caught = signal;
  // SA_RESETHAND put the default action back: raised again, the signal ends
  // the process as soon as this handler returns.
  if (g_boxOpen) std::raise(signal);
}

// A child forked while a box is open is the box: it goes when the game goes.
extern "C" void onForkedChild() {
  if (!g_boxOpen) return;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != g_game) _exit(1);  // the game ended before the line above took hold
}

}  // namespace

void catchEndSignals() {
  if (g_catching) return;
  static const bool forkWatched = pthread_atfork(nullptr, nullptr, onForkedChild) == 0;
  (void)forkWatched;
  g_game = getpid();
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

bool openModalBox() {
  // Open first, then look: a signal between the two is not lost either way.
  g_boxOpen = 1;
  if (g_caught == 0) return true;
  g_boxOpen = 0;
  return false;
}

void closeModalBox() { g_boxOpen = 0; }
