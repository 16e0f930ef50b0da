#include "platform/profile.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {

namespace {

// The file as its lines, without their line ends. A UTF-8 byte order mark is kept
// apart, so the first line is still recognised and the mark is written back.
struct Profile {
  std::string mark;
  std::vector<std::string> lines;
};

// A section: the line of its header, and the line after its last one (the next header
// or the end of the file).
struct Span {
  std::size_t header;
  std::size_t end;
};

struct Entry {
  std::string_view name;
  std::optional<std::string_view> value;  // none when the line has no "="
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The Windows reader sees at most this many characters of a value.
constexpr std::size_t kValueLimit = 29;

// Blanks as the Windows profile functions see them: white space and the DOS end-of-file
// character.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// The name of a "[name]" line. The name ends at the last "]", and anything after it is
// ignored; a "[" line without "]" is an ordinary line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

Entry ParseEntry(std::string_view line) {
  line = Trim(line);
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {line, std::nullopt};
  return {Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// Lines end with CR LF, LF or a lone CR. Returns false when the file exists but
// cannot be read; a missing file is an empty profile.
bool Load(const std::string& path, Profile& profile) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return errno == ENOENT;
  std::string text;
  char buffer[4096];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return false;

  if (text.starts_with(kByteOrderMark)) {
    profile.mark = kByteOrderMark;
    text.erase(0, kByteOrderMark.size());
  }
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      profile.lines.push_back(text.substr(start));
      break;
    }
    profile.lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return true;
}

bool Save(const std::string& path, const Profile& profile) {
  std::string text = profile.mark;
  for (const std::string& line : profile.lines) text += line + "\r\n";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

std::optional<Span> FindSection(const std::vector<std::string>& lines, std::string_view name) {
  for (std::size_t header = 0; header < lines.size(); ++header) {
    const auto found = SectionName(lines[header]);
    if (!found || !SameName(*found, name)) continue;
    std::size_t end = header + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    return Span{header, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string>& lines, Span section,
                                   std::string_view key) {
  for (std::size_t line = section.header + 1; line < section.end; ++line) {
    if (SameName(ParseEntry(lines[line]).name, key)) return line;
  }
  return std::nullopt;
}

// A value in matching single or double quotes stands for the text between them.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return -1;
}

// The Windows conversion: leading control characters and blanks skipped, one sign, a
// lower-case base prefix, then digits of that base in 32-bit arithmetic that wraps.
std::uint32_t ParseNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i + 1 < text.size() && text[i] == '0') {
    const char prefix = text[i + 1];
    base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
    if (base != 10) i += 2;
  }
  std::uint32_t number = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i]);
    if (digit < 0 || digit >= base) break;
    number = number * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
  }
  return negative ? 0u - number : number;
}

}  // namespace

std::uint32_t ReadProfileInt(const std::string& path, const char* section, const char* key,
                             std::uint32_t fallback) {
  Profile profile;
  if (!Load(path, profile)) return fallback;
  const auto span = FindSection(profile.lines, section);
  if (!span) return fallback;
  const auto line = FindKey(profile.lines, *span, key);
  if (!line) return fallback;
  const Entry entry = ParseEntry(profile.lines[*line]);
  if (!entry.value) return fallback;
  const std::string_view value = Unquote(*entry.value);
  if (value.empty()) return fallback;
  return ParseNumber(value.substr(0, kValueLimit));
}

bool WriteProfileText(const std::string& path, const char* section, const char* key,
                      const char* value) {
  Profile profile;
  if (!Load(path, profile)) return false;
  std::vector<std::string>& lines = profile.lines;
  const std::string entry = std::string(key) + "=" + value;
  if (const auto span = FindSection(lines, section)) {
    if (const auto line = FindKey(lines, *span, key)) {
      // The key keeps its spelling; blanks around it and the old value go.
      lines[*line] = std::string(ParseEntry(lines[*line]).name) + "=" + value;
    } else {
      // After the section's last line that holds something, before any blank lines
      // that separate it from the next section.
      std::size_t after = span->end;
      while (after > span->header + 1 && Trim(lines[after - 1]).empty()) --after;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), entry);
    }
  } else {
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(entry);
  }
  return Save(path, profile);
}

}  // namespace platform
