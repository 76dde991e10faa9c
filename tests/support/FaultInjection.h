#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace braxel::testing {

// Runs body in a child process; its exit status, or 128 + the signal that ended it.
inline int InChild(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The same as on a disk with room for maxBytes per file: a write beyond fails (the signal that
// would end the process is ignored). Tests run as root, so file modes cannot refuse writing.
inline int InChildWithFileSizeLimit(rlim_t maxBytes, const std::function<int()>& body) {
  return InChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{maxBytes, maxBytes};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 ? body() : -1;
  });
}

}  // namespace braxel::testing
