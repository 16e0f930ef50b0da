#pragma once
// Start and end of the diagnostics library, on the user-interface thread.
//
// Typical usage, in the entry point:
//   InitTools();      // after the single-instance check
//   ... run ...
//   UninitTools();

// Translates processor faults of the calling thread into QV::CRunTimeException from now
// on. On the first thread that calls it (the main thread), and again on later calls
// there, it also detects visual styles and primes the millisecond clock; on any other
// thread it only installs the translator there.
void InitTools();

// On the main thread, stops translating its faults; on any other thread does nothing.
void UninitTools();

// Whether InitTools found visual styles (common controls 6 or later on an NT-family
// Windows); once found, it stays so.
bool IsThemingAvailable();
