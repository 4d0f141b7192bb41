#pragma once
// Holds the process's file-size limit low for a scope, with SIGXFSZ ignored
// so that a write past it fails with EFBIG instead of ending the test
// program; both are restored however the scope is left.
#include <csignal>
#include <sys/resource.h>

namespace tellumo::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &savedAction_);
    rlimit low = saved_;
    low.rlim_cur = bytes;
    active_ = ::setrlimit(RLIMIT_FSIZE, &low) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::sigaction(SIGXFSZ, &savedAction_, nullptr);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool active() const { return active_; }

 private:
  rlimit saved_{};
  struct sigaction savedAction_ {};
  bool active_ = false;
};

}  // namespace tellumo::test
