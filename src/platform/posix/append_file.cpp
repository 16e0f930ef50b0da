#include "platform/append_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// Closes the descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (m_fd >= 0) close(m_fd);
  }
  int get() const { return m_fd; }

 private:
  int m_fd;
};

}  // namespace

// An exclusive advisory lock stands in for Windows' share mode: a file another writer
// holds is not written to.
bool AppendToFile(const char* path, const char* bytes, std::size_t size) {
  const Descriptor file(open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
  if (file.get() < 0 || flock(file.get(), LOCK_EX | LOCK_NB) != 0) return false;
  while (size > 0) {
    const ssize_t written = write(file.get(), bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace platform
