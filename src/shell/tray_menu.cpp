#include "shell/tray_menu.h"

#include <string>

#include "diag/text.h"
#include "resources/resource_ids.h"
#include "run/run_strings.h"

namespace {

constexpr std::uint32_t kViewLog = 3013;

void Gray(HMENU menu, UINT command) {
  EnableMenuItem(menu, command, MF_BYCOMMAND | MF_GRAYED);
}

}  // namespace

void PrepareTrayMenu(HMENU popup, const TrayMenuState& state) {
  if (!IsMenu(popup)) return;
  const std::string startStop =
      ResolveText(TextId(state.running ? run_strings::kStop : run_strings::kStart));
  ModifyMenuA(popup, ID_START_STOP, MF_BYCOMMAND | MF_STRING, ID_START_STOP, startStop.c_str());
  if (!state.running) {
    if (state.logWritten) {
      const std::string viewLog = ResolveText(TextId(kViewLog));
      InsertMenuA(popup, ID_APP_ABOUT, MF_BYCOMMAND | MF_STRING, ID_VIEW_LOG, viewLog.c_str());
    }
  } else {
    Gray(popup, ID_APP_EXIT);
  }
  if (state.modalOpen) {
    Gray(popup, ID_APP_ABOUT);
    Gray(popup, ID_START_STOP);
  }
}
