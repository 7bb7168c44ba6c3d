// The design of the update dialog in twips: where its panels sit, the height of each outcome,
// and how the list of published updates grows the new-version panel line by line. The window
// applies these figures; keeping them here lets the growth rule be checked without a screen.
#pragma once

#include <cstddef>
#include <vector>

namespace update {

struct AggiornaLayout {
  // Whole dialog, caption and border included, as the suite's windows measure themselves.
  static constexpr int kWidth = 6300;
  static constexpr int kFrameHeight = 240;  // caption and borders within a dialog height
  static constexpr int kPanelTop = 1120;
  static constexpr int kErrorHeight = 3600;
  static constexpr int kUpToDateHeight = 2800;
  // Inside the new-version panel Picture1(0).
  static constexpr int kListTop = 960;  // the list panel Picture1(3)
  static constexpr int kButtonHeight = 400;
  // Inside the list panel: the template line lbAgg(0).
  static constexpr int kLineTop = 360;
  static constexpr int kLineHeight = 255;

  std::vector<int> lineTops;  // lines 1..n, inside the list panel
  bool listShown = false;     // the list panel and "&AGGIORNA"
  int listHeight = 0;
  int aggiornaTop = 0;  // inside the new-version panel
  int panelHeight = 0;
  int dialogHeight = 0;

  // The new-version design for `lines` listed updates: each line 20 twips below the one
  // before, the list 550 twips taller than its last line, "&AGGIORNA" 500 above its bottom;
  // without lines the list panel and "&AGGIORNA" stay hidden.
  static AggiornaLayout newVersion(std::size_t lines);
};

}  // namespace update
