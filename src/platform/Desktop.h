// The desktop services the rules need: message boxes, the wait pointer, letting pending window
// events run, the per-user settings store. The program implements it with Qt (platform/ui);
// tests and the console program use ScriptedDesktop, which records what was asked and answers
// from a script.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

enum class Buttons { Ok, OkCancel, RetryCancel, YesNo, YesNoDefaultNo };
enum class Icon { None, Critical, Exclamation, Information, Question };

// The answer codes of the original message boxes; `lastAnswer` keeps them as numbers.
enum class Answer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// A program started on its own: its process number, or 0 with the reason when it did not start.
struct StartedProgram {
  long long processId = 0;
  std::string error;
};

// The answer to an HTTP GET: the status (0 when no answer came: refused, timed out, bad
// address), the body as received, and the reason when there is no usable answer.
struct HttpReply {
  int status = 0;
  std::string body;
  std::string error;
};

// What a download must be to be kept: at most `maxBytes` long, and beginning with bytes that
// `judge` accepts. The judge sees the first ReplyBody::kHeadBytes (fewer when the file is
// shorter) and answers "" to keep the file, otherwise the reason it is dropped.
struct DownloadRules {
  std::uint64_t maxBytes = 0;
  std::function<std::string(std::string_view head)> judge;
};

struct Message {
  std::string text;
  std::string title;  // "" shows the program's title
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Shows a modal box and returns the button pressed. Never throws.
  virtual Answer messageBox(const Message& message) = 0;

  // Hourglass on (true) or back to the default pointer (false) on the active window, the main
  // window and the screen. Never throws.
  virtual void setWaitCursor(bool on) = 0;

  // Lets pending window events run (a no-op where there is no window system).
  virtual void processEvents() = 0;

  // Writes per-user settings: `values` under `section` of the application `application`.
  virtual void writeUserSettings(
      const std::string& application, const std::string& section,
      const std::vector<std::pair<std::string, std::string>>& values) = 0;

  // The services below talk to other programs and to the network. Where a desktop has no such
  // service they fail as when the other side is missing; implementations override what they
  // can do.

  // Starts `program` with `arguments` as a process of its own, with a normal, focused window,
  // never through a shell (no text is interpreted as a command).
  virtual StartedProgram startProgram(const std::string& program,
                                      const std::vector<std::string>& arguments) {
    (void)arguments;
    return {0, "impossibile avviare " + program};
  }

  // The shell's open action on a document, folder, address or program: an address or a
  // document goes to the desktop's default handler; a program is started with `parameters` as
  // its argument, in `folder`. Returns a result code in the shell's convention: above 32 on
  // success; 0 out of resources, 2 file not found, 3 folder not found, 11 bad format,
  // 31 no application associated with the file.
  virtual int shellOpen(const std::string& target, const std::string& parameters,
                        const std::string& folder) {
    (void)target, (void)parameters, (void)folder;
    return 31;
  }

  // Brings the window of the process `processId` to the front. False when no such process
  // runs; where the window system allows no activation, true when the process is alive.
  virtual bool activateProcess(long long processId) {
    (void)processId;
    return false;
  }

  // Puts a picture of the whole screen (`which` 0) or of the active window (1) into the
  // clipboard. False when the desktop cannot take pictures.
  virtual bool captureScreen(int which) {
    (void)which;
    return false;
  }

  // GET of `url`, never served from a cache, keeping the windows painting meanwhile; gives up
  // after `timeoutMs`, or as soon as the body is longer than `maxBytes`, with status 0 and the
  // reason. An https address whose certificate does not hold gives no answer either.
  virtual HttpReply httpGet(const std::string& url, int timeoutMs, std::uint64_t maxBytes) {
    (void)timeoutMs, (void)maxBytes;
    return {0, {}, "nessuna connessione disponibile per " + url};
  }

  // Downloads `url` into the file `path` within `timeoutMs`, under `rules`. Returns "" when the
  // whole file is there, otherwise the reason (an error, a non-2xx status, a body over the
  // bound, the judge's refusal, a certificate that does not hold); a failed download leaves
  // `path` as it was.
  virtual std::string downloadFile(const std::string& url, const std::string& path, int timeoutMs,
                                   const DownloadRules& rules) {
    (void)path, (void)timeoutMs, (void)rules;
    return "nessuna connessione disponibile per " + url;
  }
};

}  // namespace platform
