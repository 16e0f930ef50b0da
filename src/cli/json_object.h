#pragma once
// Writes one JSON object, member by member, into a string. Texts are escaped as JSON
// requires; bytes from 0x80 on are passed as they are (UTF-8 stays UTF-8).

#include <cstdint>
#include <string>
#include <string_view>

// `text` as a JSON string, quotes included.
std::string JsonQuote(std::string_view text);

class JsonObject {
 public:
  JsonObject& Add(std::string_view name, std::string_view text);
  JsonObject& Add(std::string_view name, const char* text) {
    return Add(name, std::string_view(text));
  }
  JsonObject& Add(std::string_view name, std::uint64_t number);
  JsonObject& AddBool(std::string_view name, bool value);
  // A number with one decimal.
  JsonObject& AddFixed(std::string_view name, double number);
  // A value that is JSON already: an array or an object.
  JsonObject& AddRaw(std::string_view name, std::string_view json);

  // The object, braces included.
  std::string Text() const { return "{" + m_members + "}"; }

 private:
  JsonObject& Member(std::string_view name, std::string_view json);

  std::string m_members;
};
