#pragma once
// The application module's message boxes: messages and errors by severity, errors of
// COM calls, and the warning box. The Windows shell's module holds one and delegates
// its message operations to it. User-interface thread only.
//
// A text argument is a string-table number (TextId) or a pointer to the text; numbers
// are looked up when the box is shown, in the language resources.

#include <cstdint>
#include <string>

#include "diag/checked_index.h"
#include "diag/text.h"
#include "platform/hresult.h"

// Severity levels; each picks the caption and the icon of the box.
inline constexpr int SEVERITY_INFO = 0;
// Windows' <winerror.h> has a macro of this name with the same value; where it is in
// force it stands for this constant.
#ifndef SEVERITY_ERROR
inline constexpr int SEVERITY_ERROR = 1;
#endif
inline constexpr int SEVERITY_SEVERE = 2;
inline constexpr int SEVERITY_FATAL = 3;

// The error information of a failed COM call. The shell fills it from the platform's
// error object, converting its wide texts; a text the error does not carry is empty,
// and helpContext is 0 when the error has no error information.
struct ComError {
  HRESULT code = S_OK;
  std::string description;
  std::string source;
  std::uint32_t helpContext = 0;
};

class CModuleMessages {
 public:
  // Loads the severity captions from the string table in use now: at program start, the
  // program's own, before any language module is loaded.
  CModuleMessages();

  // Shows text in a box whose caption and icon follow level, added to flags; without a
  // text shows nothing. Always E_FAIL: the answer is not reported.
  HRESULT ShowSeverityMessage(TextRef text, int level, std::uint32_t flags);

  // Shows text with the error code hr below it, at level; returns hr. Without a text
  // shows nothing.
  HRESULT ReportModuleError(TextRef text, HRESULT hr, int level);

  // Shows a COM error with the system's text for its code, owned by owner (with a Help
  // button for its help context) when owner is a live window; returns its code.
  HRESULT ReportComError(const ComError& error, void* owner);

  // The warning box: caption "Warning", a question icon for Yes/No (or Yes/No/Cancel)
  // buttons, else an exclamation icon. Returns the answer; No without a text.
  int ShowMessage(TextRef text, std::uint32_t type);

  // Owner of the boxes; none in this program.
  void* ownerWindow = nullptr;
  // "Warning", "Error", "Severe error", "Fatal error": strings 5001 to 5004.
  QV::CheckedArray<std::string, 4> severityCaptions;
};
