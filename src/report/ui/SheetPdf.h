// The client sheet as a PDF file. The declarations need no Qt, so that console commands can save
// a sheet while their own code stays free of it; the definitions use Qt's PDF writer.
#pragma once

#include <string>

#include "report/ClientSheet.h"

namespace report::ui {

// The PDF bytes of `sheet`. Without a running application it starts a headless one (the
// offscreen platform) for the fonts and keeps it for the rest of the process.
std::string sheetPdf(const ClientSheet& sheet);
// sheetPdf written whole to `path` (report::saveFile): throws report::SaveError when the file
// cannot be written, and then nothing is left behind.
void saveSheetPdf(const ClientSheet& sheet, const std::string& path);

}  // namespace report::ui
