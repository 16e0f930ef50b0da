#include "diag/append_log.h"

#include <cstdarg>
#include <string>

#include "diag/format.h"
#include "platform/append_file.h"

namespace {

constexpr std::size_t kLineBuffer = 512;
constexpr std::size_t kMaxLine = kLineBuffer - 2;

}  // namespace

int AppendLog(const char* file, TextRef format, ...) {
  const std::string resolved = ResolveText(format);
  char line[kLineBuffer];
  va_list arguments;
  va_start(arguments, format);
  // One character short of the buffer's end, so the text never exceeds its 510.
  const std::size_t length = FormatV(line, kMaxLine + 1, resolved.c_str(), arguments);
  va_end(arguments);

  // The same bytes whichever platform writes them: every line feed as CR LF.
  std::string bytes;
  bytes.reserve(length + 16);
  for (std::size_t i = 0; i < length; ++i) {
    if (line[i] == '\n') bytes += '\r';
    bytes += line[i];
  }
  platform::AppendToFile(file ? file : kDiagnosticsLogName, bytes.data(), bytes.size());
  return static_cast<int>(length);
}
