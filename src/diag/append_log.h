#pragma once
// Appends one formatted line to a text log. The file is opened and closed on every call,
// so nothing stays open between lines and another program can read the log meanwhile.

#include "diag/text.h"

// The diagnostics log, in the current folder, used when no file is named.
inline constexpr char kDiagnosticsLogName[] = "qv_tools.log";

// Formats `format` (a string-table number or a text; printf rules, "%p" as 16 upper-case
// hex digits) into at most 510 characters, stores every line feed as CR LF, and appends
// the result to `file`, or to the diagnostics log when `file` is null. A file that cannot
// be opened loses the line silently. Returns the number of characters formatted.
int AppendLog(const char* file, TextRef format, ...);
