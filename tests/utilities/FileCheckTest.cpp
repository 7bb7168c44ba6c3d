// The error-tolerant file test and its Italian file-error messages, and the small decisions
// of the capture, search and active-company keys.
#include "utilities/FileCheck.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/ScriptedDesktop.h"
#include "support/TempFolder.h"
#include "utilities/ActiveCompany.h"
#include "utilities/ScreenCapture.h"

using platform::Answer;
using platform::Buttons;
using utilities::DirectoryLookup;

TEST(FileCheckTest, QuotesAreRemovedAndFoldersNeedTheirAttribute) {
  testsupport::TempFolder temp;
  platform::ScriptedDesktop desktop;
  testsupport::TempFolder::write(temp.file("a b.txt"), "x");
  std::string path = '"' + temp.file("a b.txt") + '"';
  EXPECT_TRUE(utilities::fileExists(desktop, path, 0));
  EXPECT_EQ(path, temp.file("a b.txt"));

  std::string folder = temp.path().string();
  EXPECT_FALSE(utilities::fileExists(desktop, folder, 0));
  EXPECT_TRUE(utilities::fileExists(desktop, folder, utilities::kFolders));
  std::string blank = "  ", missing = temp.file("missing.txt");
  EXPECT_FALSE(utilities::fileExists(desktop, blank, 0));
  EXPECT_FALSE(utilities::fileExists(desktop, missing, 0));
  // A file on the way where a folder should be: "no such path", with the chance to retry.
  std::string through = temp.file("a b.txt/x");
  EXPECT_FALSE(utilities::fileExists(desktop, through, 0));
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].text, "Questo percorso non esiste.");
  EXPECT_EQ(desktop.shown[0].title, "Errori su  " + through);
}

TEST(FileCheckTest, RetryLooksAgainAndCancelGivesUp) {
  platform::ScriptedDesktop desktop;
  int lookups = 0;
  auto notReadyOnce = [&](const std::string&, int) {
    return ++lookups == 1 ? DirectoryLookup{"", 71} : DirectoryLookup{"A.INI", 0};
  };
  std::string path = "A:\\A.INI";
  desktop.answers = {Answer::Retry};
  EXPECT_TRUE(utilities::fileExists(desktop, path, 0, notReadyOnce));
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].text, "Il disco non è pronto   A:");
  EXPECT_EQ(desktop.shown[0].buttons, Buttons::RetryCancel);
  EXPECT_EQ(desktop.shown[0].icon, platform::Icon::Exclamation);

  lookups = 0;
  EXPECT_FALSE(utilities::fileExists(desktop, path, 0, notReadyOnce));  // Cancel
  auto accessDenied = [](const std::string&, int) { return DirectoryLookup{"", 70}; };
  EXPECT_FALSE(utilities::fileExists(desktop, path, 0, accessDenied));
  EXPECT_EQ(desktop.shown.size(), 2u);  // 70 is not in the table: no message
}

TEST(FileCheckTest, MessagesOfTheTable) {
  platform::ScriptedDesktop desktop;
  EXPECT_EQ(utilities::fileErrorMessage(desktop, 62, "x"), utilities::kGiveUp);
  EXPECT_EQ(desktop.shown.back().text,
            "L'archivio ha un fine-file non standard,\no è stata fatta una lettura oltre la fine.");
  EXPECT_EQ(desktop.shown.back().buttons, Buttons::Ok);
  utilities::fileErrorMessage(desktop, 61, "D");
  EXPECT_EQ(desktop.shown.back().text, "Non c'è più spazio sul disco   D ");
  desktop.answers = {Answer::Retry};
  EXPECT_EQ(utilities::fileErrorMessage(desktop, 55, "x"), utilities::kRetry);
  EXPECT_EQ(utilities::fileErrorMessage(desktop, 70, "x"), utilities::kNoMessage);
  EXPECT_EQ(desktop.shown.size(), 3u);
  EXPECT_EQ(utilities::fileErrorNumber(ENOMEDIUM), 71);
  EXPECT_EQ(utilities::fileErrorNumber(ENOSPC), 61);
  EXPECT_EQ(utilities::fileErrorNumber(EIO), 57);
  EXPECT_EQ(utilities::fileErrorNumber(EACCES), 75);
}

TEST(FileCheckTest, CaptureSearchAndActiveCompanyDecisions) {
  platform::ScriptedDesktop desktop;
  utilities::captureAndMail(desktop, 1);
  EXPECT_EQ(desktop.captures, std::vector<int>{1});
  ASSERT_EQ(desktop.shellOpened.size(), 1u);
  EXPECT_EQ(desktop.shellOpened[0].target, std::string("mailto:") + utilities::kSupportMailAddress);
  EXPECT_EQ(utilities::driveRoot("C:\\Programmi\\Veltar"), "C:\\");
  EXPECT_EQ(utilities::driveRoot("/home/oper"), "/");

  EXPECT_EQ(utilities::companyCaptions("").active, " RURIVUR BANK");
  EXPECT_EQ(utilities::companyCaptions("_AZ").active, " RADAVI");
  EXPECT_EQ(utilities::companyCaptions("_AZ").other, " RURIVUR BANK");
  EXPECT_EQ(utilities::companyCaptions("_XX").active, "");
  EXPECT_EQ(utilities::activeCompanyWindowPosition(1000, 2000, 9565).x, 4500);
}
