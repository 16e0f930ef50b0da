#pragma once
// The list entries of a dialog, stored as a dialog-init resource beside its template.

#include <windows.h>

// Runs on the dialog's thread. Walks the dialog-init resource `id` (type 240) of `resources`
// for `dialog`: records of a 16-bit control id, a 16-bit message, a 32-bit byte length and
// that many bytes of NUL-terminated text; a control id of 0 ends the data. Message 0x0403
// adds the text to a list (CB_ADDSTRING), 0x1234 appends it to an extended list
// (CBEM_INSERTITEMA, text only); other messages are skipped.
// The walk never reads outside the resource: a record that would run past its end, or
// whose text is not terminated within its length, stops it, as does the first add that fails.
// Returns true when the end marker was reached; false for a missing resource, malformed
// data or a failed add (the entries before it stay).
bool ExecuteDlgInit(HINSTANCE resources, HWND dialog, int id);
