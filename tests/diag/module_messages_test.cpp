// The module's message boxes: caption, style and text of each, and what each returns.

#include "diag/module_messages.h"

#include <gtest/gtest.h>

#include "message_box_recorder.h"

namespace {

using test_support::MessageBoxRecorder;

TEST(ModuleMessages, SeverityPicksCaptionAndStyle) {
  const struct {
    int level;
    const char* caption;
    std::uint32_t flags;
  } cases[] = {
      {SEVERITY_INFO, "kt", 0x00010041},
      {SEVERITY_ERROR, "Error", 0x00010041},
      {SEVERITY_SEVERE, "Severe error", 0x00010011},
      {SEVERITY_FATAL, "Fatal error", 0x00041011},
      {5, "", 0x1},
      {-1, "", 0x1},
  };
  CModuleMessages messages;
  MessageBoxRecorder recorder;
  for (const auto& c : cases) {
    EXPECT_EQ(messages.ShowSeverityMessage("Disk is full.", c.level, 0x1), E_FAIL);
    ASSERT_FALSE(recorder.boxes.empty());
    EXPECT_EQ(recorder.boxes.back().caption, c.caption) << c.level;
    EXPECT_EQ(recorder.boxes.back().flags, c.flags) << c.level;
    EXPECT_EQ(recorder.boxes.back().text, "Disk is full.");
    EXPECT_EQ(recorder.boxes.back().owner, nullptr);
  }
  EXPECT_EQ(messages.ShowSeverityMessage(nullptr, SEVERITY_ERROR, 0), E_FAIL);
  messages.ShowSeverityMessage(TextId(5026), SEVERITY_ERROR, 0);
  EXPECT_EQ(recorder.boxes.size(), std::size(cases) + 1);
  EXPECT_EQ(recorder.boxes.back().text,
            "Focused control has invalid value. Please correct and start again.");
}

TEST(ModuleMessages, ModuleErrorsShowTheirCode) {
  CModuleMessages messages;
  MessageBoxRecorder recorder;
  const HRESULT diskFull = static_cast<HRESULT>(0x80070070u);
  EXPECT_EQ(messages.ReportModuleError("Cannot write.", diskFull, SEVERITY_SEVERE), diskFull);
  EXPECT_EQ(messages.ReportModuleError(nullptr, E_FAIL, SEVERITY_SEVERE), E_FAIL);
  ASSERT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(recorder.boxes[0].text, "Cannot write.\nError code=80070070\n");
  EXPECT_EQ(recorder.boxes[0].caption, "Severe error");
  EXPECT_EQ(recorder.boxes[0].flags, 0x00010010u);
}

TEST(ModuleMessages, ComErrorsNameTheirCodeAndSource) {
  CModuleMessages messages;
  MessageBoxRecorder recorder;
  ComError dispatch;
  dispatch.code = static_cast<HRESULT>(0x80040205u);
  dispatch.description = "Bad call.";
  dispatch.source = "Sieveline.Test";
  dispatch.helpContext = 77;
  EXPECT_EQ(messages.ReportComError(dispatch, nullptr), dispatch.code);
  ComError first;  // the first code above the IDispatch range's start
  first.code = static_cast<HRESULT>(0x80040200u);
  messages.ReportComError(first, nullptr);

  ASSERT_EQ(recorder.boxes.size(), 2u);
  EXPECT_EQ(recorder.boxes[0].text,
            "Bad call.\nError: \"IDispatch error #5\"\nComponent: <Sieveline.Test>\n");
  EXPECT_EQ(recorder.boxes[0].caption, std::nullopt);
  EXPECT_EQ(recorder.boxes[0].flags, 0x00010010u);
  EXPECT_EQ(recorder.boxes[0].owner, nullptr);
  EXPECT_EQ(recorder.boxes[0].helpContext, 0u);
  EXPECT_EQ(recorder.boxes[1].text, "\nError: \"Unknown error 0x80040200\"\n");
}

TEST(ModuleMessages, ComErrorsUseTheSystemsTextWithoutItsLineEnd) {
  CModuleMessages messages;
  MessageBoxRecorder recorder;
  ComError denied;
  denied.code = static_cast<HRESULT>(0x80070005u);
  messages.ReportComError(denied, nullptr);
  ASSERT_EQ(recorder.boxes.size(), 1u);
#if defined(_WIN32)
  const std::string& text = recorder.boxes[0].text;
  EXPECT_EQ(text.rfind("\nError: \"Access", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 3), ".\"\n") << text;
#else
  EXPECT_EQ(recorder.boxes[0].text, "\nError: \"Unknown error 0x80070005\"\n");
#endif
}

TEST(ModuleMessages, ComErrorsOwnedByALiveWindowOfferHelp) {
  CModuleMessages messages;
  MessageBoxRecorder recorder;
  ComError error;
  error.code = static_cast<HRESULT>(0x80040205u);
  error.helpContext = 77;
  int notAWindow = 0;
  messages.ReportComError(error, &notAWindow);
  ASSERT_EQ(recorder.boxes.size(), 1u);
#if defined(_WIN32)
  // A handle that names no window is no owner.
  EXPECT_EQ(recorder.boxes[0].owner, nullptr);
  EXPECT_EQ(recorder.boxes[0].flags, 0x00010010u);
  EXPECT_EQ(recorder.boxes[0].helpContext, 0u);
#else
  // Without a window system any handle stands for a live window.
  EXPECT_EQ(recorder.boxes[0].owner, &notAWindow);
  EXPECT_EQ(recorder.boxes[0].flags, 0x00014010u);
  EXPECT_EQ(recorder.boxes[0].helpContext, 77u);
#endif
}

TEST(ModuleMessages, TheWarningBoxAsksOrWarns) {
  CModuleMessages messages;
  MessageBoxRecorder recorder(platform::kAnswerYes);
  EXPECT_EQ(messages.ShowMessage(nullptr, 0x4), platform::kAnswerNo);
  EXPECT_TRUE(recorder.boxes.empty());

  EXPECT_EQ(messages.ShowMessage(TextId(5027), 0x4), platform::kAnswerYes);
  messages.ShowMessage("Careful.", 0x3);
  messages.ShowMessage("Careful.", 0x0);
  ASSERT_EQ(recorder.boxes.size(), 3u);
  EXPECT_EQ(recorder.boxes[0].text,
            "Are you sure you want to stop testing and quit the application?");
  EXPECT_EQ(recorder.boxes[0].caption, "Warning");
  EXPECT_EQ(recorder.boxes[0].flags, 0x00010024u);
  EXPECT_EQ(recorder.boxes[1].flags, 0x00010023u);
  EXPECT_EQ(recorder.boxes[2].flags, 0x00010030u);
}

}  // namespace
