#include "jet/IsolatedCopy.h"

#include <cstdlib>
#include <filesystem>

#include "jet/ChildProcess.h"
#include "jet/JetError.h"

namespace jet {

namespace {

constexpr int kFailed = 2;

// The last lines of the reader's own messages, as one line.
std::string lastWords(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  const auto cut = text.rfind('\n', text.size() > 300 ? text.size() - 300 : 0);
  if (text.size() > 300 && cut != std::string::npos) text.erase(0, cut + 1);
  for (char& c : text)
    if (c == '\n') c = ' ';
  return text;
}

}  // namespace

CopyResult copyJetFileApart(const CopyParams& params, const std::function<void()>& tick,
                            std::chrono::milliseconds silence) {
  const auto work = [&params](const std::function<void(std::string_view)>& say) {
    // The reader converts texts into the encoding this names: the program works in UTF-8.
    ::setenv("MDBICONV", "UTF-8", 1);
    ::unsetenv("MDBOPTS");
    CopyParams inChild = params;
    inChild.events = [&say](const CopyEvent& event) { say(event.encode()); };
    try {
      copyJetFile(inChild);
      return 0;
    } catch (const JetError& e) {
      CopyEvent failed = CopyEvent::of(CopyEvent::Kind::Failed, e.table());
      failed.failure = static_cast<int>(e.kind());
      failed.reason = e.reason();
      say(failed.encode());
    } catch (const std::exception& e) {
      CopyEvent failed = CopyEvent::of(CopyEvent::Kind::Failed);
      failed.failure = static_cast<int>(JetFailure::Damaged);
      failed.reason = e.what();
      say(failed.encode());
    }
    return kFailed;
  };

  CopyResult result;
  std::optional<CopyEvent> failure;
  std::string lastTable;
  const auto heard = [&](std::string_view line) {
    const auto event = CopyEvent::decode(line);
    if (!event) return;
    if (event->kind == CopyEvent::Kind::Failed) {
      failure = *event;
      return;
    }
    if (!event->table.empty()) lastTable = event->table;
    result.note(*event);
    if (params.events) params.events(*event);
  };
  const ChildOutcome outcome = ChildProcess::run(work, heard, tick, silence);
  if (outcome.succeeded && !failure) return result;

  std::error_code ignored;
  std::filesystem::remove(params.to, ignored);
  if (failure) {
    const auto kind =
        failure->failure >= 0 && failure->failure <= static_cast<int>(JetFailure::Target)
            ? static_cast<JetFailure>(failure->failure)
            : JetFailure::Damaged;
    throw JetError(kind, kind == JetFailure::Target ? params.to : params.from, failure->table,
                   failure->reason);
  }
  std::string reason = outcome.failure.empty() ? "lettura interrotta" : outcome.failure;
  const std::string words = lastWords(outcome.errorOutput);
  if (!words.empty()) reason += " (" + words + ")";
  throw JetError(JetFailure::Damaged, params.from, lastTable, reason);
}

}  // namespace jet
