#include "platform/visual_styles.h"

namespace platform {

bool VisualStylesAvailable() {
  return false;
}

}  // namespace platform
