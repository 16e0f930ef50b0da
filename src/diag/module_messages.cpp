#include "diag/module_messages.h"

#include "diag/format.h"
#include "diag/message_box.h"
#include "platform/system_message.h"

namespace {

// Message-box style flags.
constexpr std::uint32_t kButtonsMask = 0xF;
constexpr std::uint32_t kYesNoCancel = 0x3;
constexpr std::uint32_t kYesNo = 0x4;
constexpr std::uint32_t kIconStop = 0x10;
constexpr std::uint32_t kIconQuestion = 0x20;
constexpr std::uint32_t kIconExclamation = 0x30;
constexpr std::uint32_t kIconInformation = 0x40;
constexpr std::uint32_t kSystemModal = 0x1000;
constexpr std::uint32_t kHelpButton = 0x4000;
constexpr std::uint32_t kSetForeground = 0x10000;
constexpr std::uint32_t kTopmost = 0x40000;

constexpr std::uint32_t kProgramShortName = 128;
constexpr std::uint32_t kFirstSeverityCaption = 5001;
constexpr std::uint32_t kModuleErrorFormat = 5008;

// The system's text for a COM error's code without its final line break, or a made-up
// one, the way COM's own error objects name codes.
std::string ComErrorMessage(HRESULT code) {
  const auto bits = static_cast<std::uint32_t>(code);
  std::string text;
  if (platform::SystemMessageText(bits, text)) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
  }
  if (bits > 0x80040200u && bits <= 0x8004FFFFu) {
    return Format("IDispatch error #%d", static_cast<int>((bits & 0xFFFF) - 0x200));
  }
  return Format("Unknown error 0x%0lX", static_cast<unsigned long>(bits));
}

}  // namespace

CModuleMessages::CModuleMessages() {
  for (std::size_t level = 0; level < severityCaptions.size(); ++level) {
    severityCaptions[level] =
        ResolveText(TextId(kFirstSeverityCaption + static_cast<std::uint32_t>(level)));
  }
}

HRESULT CModuleMessages::ShowSeverityMessage(TextRef text, int level, std::uint32_t flags) {
  if (text == nullptr) return E_FAIL;
  const std::string message = ResolveText(text);
  std::string caption;
  switch (level) {
    case SEVERITY_INFO:
      caption = ResolveText(TextId(kProgramShortName));
      flags |= kIconInformation | kSetForeground;
      break;
    case SEVERITY_ERROR:
      caption = severityCaptions[1];
      flags |= kIconInformation | kSetForeground;
      break;
    case SEVERITY_SEVERE:
      caption = severityCaptions[2];
      flags |= kIconStop | kSetForeground;
      break;
    case SEVERITY_FATAL:
      caption = severityCaptions[3];
      flags |= kIconStop | kSystemModal | kTopmost;
      break;
    default:
      break;
  }
  platform::MessageBoxRequest box;
  box.owner = ownerWindow;
  box.text = message.c_str();
  box.caption = caption.c_str();
  box.flags = flags;
  ShowMessageBox(box);
  return E_FAIL;
}

HRESULT CModuleMessages::ReportModuleError(TextRef text, HRESULT hr, int level) {
  if (text == nullptr) return hr;
  // "%s\nError code=%08lx\n"
  const std::string message =
      Format(ResolveText(TextId(kModuleErrorFormat)).c_str(), ResolveText(text).c_str(),
             static_cast<unsigned long>(static_cast<std::uint32_t>(hr)));
  ShowSeverityMessage(message.c_str(), level, 0);
  return hr;
}

HRESULT CModuleMessages::ReportComError(const ComError& error, void* owner) {
  std::string message = error.description;
  message += "\nError: \"" + ComErrorMessage(error.code) + "\"\n";
  if (!error.source.empty()) message += "Component: <" + error.source + ">\n";

  platform::MessageBoxRequest box;
  box.text = message.c_str();
  box.flags = kIconStop | kSetForeground;
  if (platform::IsLiveWindow(owner)) {
    box.owner = owner;
    box.flags |= kHelpButton;
    box.helpContext = error.helpContext;
  }
  ShowMessageBox(box);
  return error.code;
}

int CModuleMessages::ShowMessage(TextRef text, std::uint32_t type) {
  if (text == nullptr) return platform::kAnswerNo;
  const std::string message = ResolveText(text);
  const std::uint32_t buttons = type & kButtonsMask;
  const bool question = buttons == kYesNo || buttons == kYesNoCancel;
  platform::MessageBoxRequest box;
  box.owner = ownerWindow;
  box.text = message.c_str();
  box.caption = severityCaptions[0].c_str();
  box.flags = type | kSetForeground | (question ? kIconQuestion : kIconExclamation);
  return ShowMessageBox(box);
}
