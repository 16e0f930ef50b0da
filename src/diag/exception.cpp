#include "diag/exception.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <string>
#include <string_view>

#include "diag/format.h"
#include "diag/message_box.h"

namespace QV {

namespace {

CMemoryException g_memoryException;
CResourceException g_resourceException;
CNotImplementedException g_notImplementedException;

[[noreturn]] void ThrowStatic(CException& exception) {
  exception.sourceFile = nullptr;
  exception.sourceLine = -1;
  throw &exception;
}

// The path from the first "Quorvanta2" on, in any letter case: the part that is the
// same on every build machine. A path without it stays whole.
const char* ShortenSourcePath(const char* path) {
  constexpr std::string_view kRoot = "Quorvanta2";
  const std::string_view whole = path;
  const auto found =
      std::search(whole.begin(), whole.end(), kRoot.begin(), kRoot.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
      });
  return found == whole.end() ? path : path + (found - whole.begin());
}

// Shows a report in its box. The report holds at most 511 characters; a Yes/No box
// asks to continue, and that question is kept whole when the report has to be cut.
int ShowReport(std::string report, std::uint32_t mbType) {
  constexpr std::size_t kMaxChars = 511;
  constexpr std::string_view kQuestion = "\nContinue?\n";
  if ((mbType & 0xF) == 4) {
    report.resize(std::min(report.size(), kMaxChars - kQuestion.size()));
    report += kQuestion;
  }
  report.resize(std::min(report.size(), kMaxChars));
  platform::MessageBoxRequest box;
  box.text = report.c_str();
  box.caption = "QV exception";
  box.flags = mbType;
  return ShowMessageBox(box);
}

}  // namespace

int CException::ReportError(std::uint32_t mbType) {
  // Taken first: the error text clears the location, so that a later report has none.
  const char* file = sourceFile;
  const int line = sourceLine;
  char error[256];
  GetErrorMessage(error, sizeof error);
  if (file == nullptr) return ShowReport(error, mbType);
  return ShowReport(Format("%s (%d)\n\n%s", ShortenSourcePath(file), line, error), mbType);
}

int CException::ReportError(const char* text, std::uint32_t mbType) {
  const char* file = sourceFile;
  const int line = sourceLine;
  char error[256];
  GetErrorMessage(error, sizeof error);
  if (text == nullptr) text = "";
  if (file == nullptr) return ShowReport(Format("%s\n%s", text, error), mbType);
  return ShowReport(Format("%s(%d)\n\n%s\n%s", ShortenSourcePath(file), line, text, error), mbType);
}

void ThrowException(HRESULT hr) {
  auto* exception = new (std::nothrow) CException(static_cast<std::uint32_t>(hr));
  if (exception == nullptr) ThrowMemoryException();
  throw exception;
}

void ThrowWin32Error(std::int32_t error) {
  ThrowException(error >= 0 ? HResultFromWin32(static_cast<std::uint32_t>(error)) : error);
}

void ThrowMemoryException() {
  ThrowStatic(g_memoryException);
}

void ThrowResourceException() {
  ThrowStatic(g_resourceException);
}

void ThrowNotImplementedException() {
  ThrowStatic(g_notImplementedException);
}

void TranslateFault(const platform::FaultInfo& fault) {
  auto* exception = new (std::nothrow) CRunTimeException(fault);
  if (exception == nullptr) ThrowMemoryException();
  throw exception;
}

}  // namespace QV
