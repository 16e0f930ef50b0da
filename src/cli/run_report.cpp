#include "cli/run_report.h"

#include "cli/json_object.h"
#include "diag/format.h"
#include "diag/text.h"
#include "run/run_strings.h"

namespace {

// Local time as "yyyy-mm-ddThh:mm:ss".
std::string IsoTime(const platform::LocalTime& time) {
  return Format("%04u-%02u-%02uT%02u:%02u:%02u", time.year, time.month, time.day, time.hour,
                time.minute, time.second);
}

std::string Hex(std::uint64_t value) {
  return Format("%p", value);
}

}  // namespace

std::string SummaryText(const RunReport& report) {
  return Format(ResolveText(TextId(run_strings::kResult)).c_str(), report.stopReason.c_str(),
                static_cast<int>(report.errorsFound), static_cast<int>(report.cycles),
                report.checkedPercent) +
         "\n";
}

std::string ReportJson(const std::string& version, const CliOptions& options,
                       const RunReport& report) {
  std::string records = "[";
  for (const MemTestError& record : report.records) {
    if (records.size() > 1) records += ",";
    records += JsonObject()
                   .Add("first", Hex(record.first))
                   .Add("second", Hex(record.second))
                   .Add("xor", Hex(record.first ^ record.second))
                   .Text();
  }
  records += "]";

  return JsonObject()
             .Add("version", version)
             .Add("memoryMb", options.memoryMb)
             .Add("availableMb", report.availableMb)
             .Add("method", MethodName(options.methodIndex))
             .Add("threads", options.threads)
             .Add("priority", PriorityName(options.priorityIndex))
             .AddBool("highMemory", options.highMemory)
             .Add("delayMs", options.delayMs)
             .Add("errorsLimit", options.errorsLimit)
             .Add("timeLimitSeconds", options.timeLimitSeconds)
             .Add("cyclesLimit", options.cycles)
             .Add("log", options.logPath)
             .Add("start", IsoTime(report.start))
             .Add("finish", IsoTime(report.finish))
             .Add("workersAsked", report.workersAsked)
             .Add("workersStarted", report.workersStarted)
             .Add("errorsFound", report.errorsFound)
             .Add("cycles", static_cast<std::uint64_t>(report.cycles))
             .AddFixed("checkedPercent", report.checkedPercent)
             .Add("stopReason", report.stopReason)
             .Add("failMask", Hex(report.failMask))
             .Add("lostRecords", report.lostRecords)
             .AddRaw("errors", records)
             .Text() +
         "\n";
}
