#include "cli/json_object.h"

#include "diag/format.h"

std::string JsonQuote(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          quoted += Format("\\u%04x", static_cast<unsigned>(c));
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

JsonObject& JsonObject::Member(std::string_view name, std::string_view json) {
  if (!m_members.empty()) m_members += ",";
  m_members += JsonQuote(name);
  m_members += ":";
  m_members += json;
  return *this;
}

JsonObject& JsonObject::Add(std::string_view name, std::string_view text) {
  return Member(name, JsonQuote(text));
}

JsonObject& JsonObject::Add(std::string_view name, std::uint64_t number) {
  return Member(name, std::to_string(number));
}

JsonObject& JsonObject::AddBool(std::string_view name, bool value) {
  return Member(name, value ? "true" : "false");
}

JsonObject& JsonObject::AddFixed(std::string_view name, double number) {
  return Member(name, Format("%.1f", number));
}

JsonObject& JsonObject::AddRaw(std::string_view name, std::string_view json) {
  return Member(name, json);
}
