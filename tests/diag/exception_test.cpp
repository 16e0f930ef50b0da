// The exception family: what each throw operation throws, the error texts and the
// error report box.

#include "diag/exception.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "message_box_recorder.h"

namespace {

using test_support::MessageBoxRecorder;

constexpr const char* kUnknownCodeText = "Unknown HRESULT = E0001234\n";
constexpr const char* kBoundsText =
    "The thread tried to access an array element that is out of bounds.";

template <typename Throw>
QV::CException* Caught(Throw throwIt) {
  try {
    throwIt();
  } catch (QV::CException* exception) {
    return exception;
  }
  return nullptr;
}

std::string ErrorMessage(QV::CException& exception, std::uint32_t maxChars) {
  std::string buffer(maxChars + 16, '#');
  const std::uint32_t length = exception.GetErrorMessage(buffer.data(), maxChars);
  if (maxChars == 0) {
    EXPECT_EQ(buffer, std::string(16, '#'));
    return {};
  }
  EXPECT_EQ(buffer[length], '\0');
  // Nothing written past the buffer's end.
  EXPECT_EQ(buffer.substr(maxChars), std::string(16, '#'));
  return buffer.substr(0, length);
}

platform::FaultInfo BoundsFault() {
  platform::FaultInfo fault;
  fault.code = 0xC000008Cu;
  fault.instructionAddress = 0x7FF6A0B1C2D3u;
  return fault;
}

TEST(Exception, StaticObjectsAreThrownAgainAndAgainWithTheirLocationReset) {
  QV::CException* first = Caught([] { QV::ThrowMemoryException(); });
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isStatic);
  EXPECT_EQ(first->code, 0x8007000Eu);
  first->SetLocation("a.cpp", 3);
  EXPECT_EQ(Caught([] { QV::ThrowMemoryException(); }), first);
  EXPECT_EQ(first->sourceFile, nullptr);
  EXPECT_EQ(first->sourceLine, -1);
}

TEST(Exception, ThrownErrorsCarryTheirHresult) {
  const struct {
    std::int32_t error;
    std::uint32_t code;
  } cases[] = {
      {5, 0x80070005u},            // access denied
      {0x10005, 0x80070005u},      // only the low 16 bits
      {-2147024882, 0x8007000Eu},  // already an HRESULT
      {0, 0x80070000u},            // a thrown error never reads as success
  };
  for (const auto& c : cases) {
    QV::CException* exception = Caught([&] { QV::ThrowWin32Error(c.error); });
    ASSERT_NE(exception, nullptr);
    EXPECT_EQ(exception->code, c.code) << c.error;
    EXPECT_FALSE(exception->isStatic);
    EXPECT_FALSE(exception->faultInfo);
    delete exception;
  }
}

TEST(ErrorMessage, UnknownCodesAndShortBuffers) {
  QV::CException unknown(0xE0001234u);
  EXPECT_EQ(ErrorMessage(unknown, 256), kUnknownCodeText);
  EXPECT_EQ(ErrorMessage(unknown, 32), kUnknownCodeText);
  EXPECT_EQ(ErrorMessage(unknown, 31), "");
  EXPECT_EQ(ErrorMessage(unknown, 0), "");

  QV::CRunTimeException bounds(BoundsFault());
  EXPECT_EQ(ErrorMessage(bounds, 20), "The thread tried to");
}

TEST(ErrorMessage, TheFaultAddressLineNeedsRoomAndIsCutToFit) {
  QV::CRunTimeException bounds(BoundsFault());
  const std::string line = "\nException occurred at 00007FF6A0B1C2D3\n";
  EXPECT_EQ(ErrorMessage(bounds, 256), kBoundsText + line);
  const std::uint32_t length = static_cast<std::uint32_t>(std::strlen(kBoundsText));
  EXPECT_EQ(ErrorMessage(bounds, length + 31), kBoundsText);
  EXPECT_EQ(ErrorMessage(bounds, length + 32), kBoundsText + line.substr(0, 31));
}

TEST(ErrorMessage, AnAccessViolationWithoutFaultInformationReadsAsARead) {
  QV::CException exception(0xC0000005u);
  EXPECT_EQ(ErrorMessage(exception, 256),
            "The thread tried to read from a virtual address 0000000000000000 for which it does "
            "not have the appropriate access.");
}

#if defined(_WIN32)
TEST(ErrorMessage, TheSystemsTextComesFirstAndKeepsTheLocation) {
  QV::CException exception(0x80070005u);  // access denied
  exception.SetLocation("x.cpp", 9);
  const std::string text = ErrorMessage(exception, 256);
  EXPECT_EQ(text.rfind("Access", 0), 0u) << text;
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(exception.sourceLine, 9);
  // A system text that does not fit counts as none.
  EXPECT_EQ(ErrorMessage(exception, 8), "");
  EXPECT_EQ(exception.sourceLine, -1);
}
#endif

TEST(ReportError, WithATextAndALocation) {
  MessageBoxRecorder recorder(platform::kAnswerNo);
  QV::CException exception(0xE0001234u);
  exception.SetLocation("D:\\build\\Quorvanta2\\tools\\faults", 12);
  EXPECT_EQ(exception.ReportError("Oops.", 0x4), platform::kAnswerNo);
  exception.SetLocation("d:\\b\\QUORVANTA2\\x.cpp", 7);
  exception.ReportError("Oops.", 0x3);
  exception.SetLocation("/src/diag/x.cpp", 5);
  exception.ReportError(nullptr, 0);
  // The report took the location away.
  exception.ReportError("Again.", 0x10);

  ASSERT_EQ(recorder.boxes.size(), 4u);
  EXPECT_EQ(recorder.boxes[0].text, "Quorvanta2\\tools\\faults(12)\n\nOops.\n" +
                                        std::string(kUnknownCodeText) + "\nContinue?\n");
  EXPECT_EQ(recorder.boxes[0].caption, "QV exception");
  EXPECT_EQ(recorder.boxes[0].owner, nullptr);
  EXPECT_EQ(recorder.boxes[0].flags, 0x4u);
  EXPECT_EQ(recorder.boxes[1].text,
            "QUORVANTA2\\x.cpp(7)\n\nOops.\n" + std::string(kUnknownCodeText));
  EXPECT_EQ(recorder.boxes[2].text, "/src/diag/x.cpp(5)\n\n\n" + std::string(kUnknownCodeText));
  EXPECT_EQ(recorder.boxes[3].text, "Again.\n" + std::string(kUnknownCodeText));
  EXPECT_EQ(recorder.boxes[3].flags, 0x10u);
}

TEST(ReportError, WithoutAText) {
  MessageBoxRecorder recorder(platform::kAnswerYes);
  QV::CRunTimeException exception(BoundsFault());
  exception.SetLocation("C:\\quorvanta2\\diag\\a.cpp", 40);
  EXPECT_EQ(exception.ReportError(0x4), platform::kAnswerYes);
  exception.ReportError(0);

  ASSERT_EQ(recorder.boxes.size(), 2u);
  const std::string error = kBoundsText + std::string("\nException occurred at 00007FF6A0B1C2D3\n");
  EXPECT_EQ(recorder.boxes[0].text, "quorvanta2\\diag\\a.cpp (40)\n\n" + error + "\nContinue?\n");
  EXPECT_EQ(recorder.boxes[0].caption, "QV exception");
  EXPECT_EQ(recorder.boxes[1].text, error);
}

TEST(ReportError, ALongReportIsCutAndKeepsItsQuestion) {
  MessageBoxRecorder recorder;
  QV::CException exception(0xE0001234u);
  const std::string text(600, 'x');
  exception.ReportError(text.c_str(), 0x4);
  exception.ReportError(text.c_str(), 0x0);
  ASSERT_EQ(recorder.boxes.size(), 2u);
  EXPECT_EQ(recorder.boxes[0].text, std::string(500, 'x') + "\nContinue?\n");
  EXPECT_EQ(recorder.boxes[1].text, std::string(511, 'x'));
}

}  // namespace
