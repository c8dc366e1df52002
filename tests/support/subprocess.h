// Runs the real game binary as a child process with a time limit, so that a
// crash or a hang of the game fails a test instead of taking the test program
// down or blocking it.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/testdata.h"

struct ChildRun {
  int exitCode = -1;  // valid when the child exited by itself
  int signal = 0;     // the signal that ended it, 0 if none
  bool timedOut = false;
  std::string out, err;  // its standard output and error
  double seconds = 0;
};

extern char** environ;

// Runs `binary` with `args` inside `dir`. The child gets this process's
// environment without the game's own variables (QUILL_*, TESK_ROOT) and the
// language (it speaks German in the C locale, LC_ALL=C), with its
// settings and records in `scratch` (XDG_CONFIG_HOME, XDG_DATA_HOME), plus `env`.
// Its standard output and error go to files in `scratch`, outside `dir`.
inline ChildRun runChild(const std::string& binary, const std::string& dir, const std::string& scratch,
                         const std::vector<std::pair<std::string, std::string>>& env, int timeoutSeconds,
                         const std::vector<std::string>& args = {}) {
  ChildRun run;
  const std::string outPath = scratch + "/child.out", errPath = scratch + "/child.err";
  std::vector<std::string> envText;
  for (char** e = environ; *e; ++e) {
    const std::string v = *e;
    if (v.rfind("QUILL_", 0) == 0 || v.rfind("TESK_ROOT=", 0) == 0 || v.rfind("XDG_CONFIG_HOME=", 0) == 0 ||
        v.rfind("XDG_DATA_HOME=", 0) == 0 || v.rfind("LANG", 0) == 0 || v.rfind("LC_", 0) == 0)
      continue;
    envText.push_back(v);
  }
  std::vector<std::pair<std::string, std::string>> all = {
      {"XDG_CONFIG_HOME", scratch + "/config"}, {"XDG_DATA_HOME", scratch + "/data"}, {"LC_ALL", "C"}};
  for (const auto& e : env) {
    auto same = std::find_if(all.begin(), all.end(), [&](const auto& a) { return a.first == e.first; });
    if (same != all.end())
      same->second = e.second;
    else
      all.push_back(e);
  }
  for (const auto& [name, value] : all) envText.push_back(name + "=" + value);
  std::vector<char*> envp, argv;
  for (std::string& v : envText) envp.push_back(v.data());
  envp.push_back(nullptr);
  std::vector<std::string> words = {binary};
  words.insert(words.end(), args.begin(), args.end());
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec.
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(dir.c_str()) != 0) _exit(126);
    execve(binary.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  if (pid < 0) return run;
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(timeoutSeconds)) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      run.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!run.timedOut && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (!run.timedOut && WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  run.out = readFile(outPath);
  run.err = readFile(errPath);
  return run;
}
