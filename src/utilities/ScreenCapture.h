// What the capture and search keys do: a picture of the screen or of the active window goes to
// the clipboard and a new e-mail to the support address opens, ready for the picture to be
// pasted; the search key opens the current drive's root. Shell failures are not reported: the
// keys are conveniences.
#pragma once

#include <string>

#include "platform/Desktop.h"

namespace utilities {

// The address the capture keys write to.
inline constexpr const char* kSupportMailAddress = "assistenza@veltar.example";

// `which` 0 the whole screen, 1 the active window, into the clipboard; then lets pending
// events run.
void captureScreen(platform::Desktop& desktop, int which);

// captureScreen(which), then a new e-mail to kSupportMailAddress through "mailto:".
void captureAndMail(platform::Desktop& desktop, int which);

// Opens `folder` for searching. Desktops without a file-search window open the folder in the
// file manager instead.
void openFolderFind(platform::Desktop& desktop, const std::string& folder);

// The root of the drive `folder` lies on: its first three characters for a drive path
// ("C:\..."), "/" for every other path.
std::string driveRoot(const std::string& folder);

}  // namespace utilities
