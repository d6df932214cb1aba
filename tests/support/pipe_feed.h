// A pipe with a name, fed by a thread of the test: a FIFO in a test folder on POSIX, a named
// pipe on Windows. Opened by its name for reading, it delivers the bytes given and then
// ends, as a pipe between two programs does.
#pragma once

#include <algorithm>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "tests/support/temp_dir.h"

namespace corvala::testing {

class PipeFeed {
 public:
  // The writer hands the bytes over in pieces, so that a reader meets partial reads.
  static constexpr size_t kPiece = 10000;

  PipeFeed(const TempDir& dir, const std::string& name, std::string bytes)
      : bytes_(std::move(bytes)) {
#ifdef _WIN32
    (void)dir;
    static int serial = 0;
    path_ = "\\\\.\\pipe\\corvala-" + std::to_string(::GetCurrentProcessId()) + "-" + name + "-" +
            std::to_string(serial++);
    pipe_ = ::CreateNamedPipeA(path_.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                               65536, 65536, 0, nullptr);
    writer_ = std::thread([this] {
      if (!::ConnectNamedPipe(pipe_, nullptr) && ::GetLastError() != ERROR_PIPE_CONNECTED) return;
      for (size_t at = 0; at < bytes_.size(); at += kPiece) {
        DWORD written = 0;
        DWORD piece = static_cast<DWORD>(std::min(kPiece, bytes_.size() - at));
        if (!::WriteFile(pipe_, bytes_.data() + at, piece, &written, nullptr)) break;
      }
      ::FlushFileBuffers(pipe_);  // the reader has taken everything
      ::CloseHandle(pipe_);
    });
#else
    // A reader that stops early must not end the test program through SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
    path_ = dir.Path(name);
    ::mkfifo(path_.c_str(), 0600);
    writer_ = std::thread([this] {
      int fd = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);  // waits for the reader
      if (fd < 0) return;
      for (size_t at = 0; at < bytes_.size(); at += kPiece) {
        size_t piece = std::min(kPiece, bytes_.size() - at);
        if (::write(fd, bytes_.data() + at, piece) != static_cast<ssize_t>(piece)) break;
      }
      ::close(fd);
    });
#endif
  }
  ~PipeFeed() {
#ifndef _WIN32
    // A writer still waiting for a reader (the test failed before opening) is let go.
    int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer_.join();
    if (fd >= 0) ::close(fd);
    ::unlink(path_.c_str());
#else
    // A writer still waiting for its reader is let go by a reader that leaves at once.
    HANDLE reader =
        ::CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    writer_.join();
    if (reader != INVALID_HANDLE_VALUE) ::CloseHandle(reader);
#endif
  }
  PipeFeed(const PipeFeed&) = delete;
  PipeFeed& operator=(const PipeFeed&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string bytes_;
  std::string path_;
#ifdef _WIN32
  HANDLE pipe_;
#endif
  std::thread writer_;
};

}  // namespace corvala::testing
