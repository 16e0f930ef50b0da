#pragma once
// Whether the platform draws controls with visual styles.

namespace platform {

// True on an NT-family Windows whose common controls library is version 6 or later.
// Always false on native builds.
bool VisualStylesAvailable();

}  // namespace platform
