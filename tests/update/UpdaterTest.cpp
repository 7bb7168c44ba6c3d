#include "update/Updater.h"

#include <gtest/gtest.h>

#include "platform/ScriptedDesktop.h"
#include "support/TempFolder.h"
#include "update/DownloadUrl.h"
#include "update/UpdaterCheck.h"

namespace {

const std::string kProgram = std::string(
    "\x7f"
    "ELF\2\1\1",
    7);

// Records the shell's openings and downloads; a download fails with `failure`, otherwise it
// saves `served` when the rules' judge accepts it.
class UpdaterDesktop : public platform::ScriptedDesktop {
 public:
  int shellOpen(const std::string& target, const std::string& parameters,
                const std::string& folder) override {
    opened.push_back(target + "|" + parameters + "|" + folder);
    return 42;
  }
  std::string downloadFile(const std::string& url, const std::string& path, int,
                           const platform::DownloadRules& rules) override {
    downloads.push_back(url);
    if (!failure.empty()) return failure;
    const std::string refusal = rules.judge(served);
    if (refusal.empty()) testsupport::TempFolder::write(path, served);
    return refusal;
  }
  std::vector<std::string> opened, downloads;
  std::string failure, served = kProgram;
};

class UpdaterTest : public ::testing::Test {
 protected:
  update::UpdaterRequest request(const std::string& site = "https://host/u/") const {
    return {temp.path().string(), "STATIND", site};
  }
  std::string target() const { return temp.file(update::updaterFileName()); }
  std::string started() const { return target() + "|STATIND|" + temp.path().string(); }

  testsupport::TempFolder temp;
  UpdaterDesktop desktop;
};

}  // namespace

// A program already there is started at once; an HTML page an earlier version saved under the
// updater's name is fetched again, not run.
TEST_F(UpdaterTest, PresentUpdaterStartsOnlyWhenItIsAProgram) {
  testsupport::TempFolder::write(target(), kProgram);
  EXPECT_TRUE(update::installUpdate(desktop, request()));
  EXPECT_TRUE(desktop.downloads.empty());
  testsupport::TempFolder::write(target(), "<html><body>404</body></html>");
  EXPECT_TRUE(update::installUpdate(desktop, request()));
  EXPECT_EQ(desktop.downloads, std::vector<std::string>{"https://host/u/Programmi/TorvaSWAgg"});
  EXPECT_EQ(testsupport::TempFolder::read(target()), kProgram);
  EXPECT_EQ(desktop.opened, std::vector<std::string>(2, started()));
}

TEST_F(UpdaterTest, FailedDownloadIsToldAndStartsNothing) {
  desktop.failure = "nessuna risposta completa entro 60 secondi";
  EXPECT_TRUE(update::installUpdate(desktop, request()));
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_NE(desktop.shown[0].text.find("entro 60 secondi"), std::string::npos);
  // Only the browser gets the address; the updater is not run.
  EXPECT_EQ(desktop.opened, std::vector<std::string>{"https://host/u/Programmi/TorvaSWAgg||/"});
}

// Over plain http the updater's source cannot be verified: the user decides.
TEST_F(UpdaterTest, PlainHttpDownloadAsksFirst) {
  EXPECT_FALSE(update::installUpdate(desktop, request("host/u/")));  // the scripted No
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].buttons, platform::Buttons::YesNoDefaultNo);
  EXPECT_NE(desktop.shown[0].text.find("http://host/u/Programmi/TorvaSWAgg"), std::string::npos);
  EXPECT_TRUE(desktop.downloads.empty() && desktop.opened.empty());

  desktop.answers = {platform::Answer::Yes};
  EXPECT_TRUE(update::installUpdate(desktop, request("host/u/")));
  EXPECT_EQ(desktop.opened, std::vector<std::string>{started()});
}

// A program the package manager installed is updated by its package: nothing is downloaded
// beside it, nothing started, and the program goes on.
TEST_F(UpdaterTest, PackagedProgramIsUpdatedByItsPackage) {
  EXPECT_FALSE(update::installedAsPackage(temp.path().string()));
  EXPECT_FALSE(update::installUpdate(desktop, {"/usr/bin", "STATIND", "https://host/u/"}));
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_NE(desktop.shown[0].text.find("pacchetto"), std::string::npos);
  EXPECT_TRUE(desktop.downloads.empty() && desktop.opened.empty());
}

TEST_F(UpdaterTest, OnlyAProgramForThisPlatformIsAnUpdater) {
  EXPECT_EQ(update::updaterRefusal(kProgram), "");
  EXPECT_EQ(update::updaterRefusal(""), "è arrivato un file vuoto, non un programma per Linux");
  EXPECT_EQ(update::updaterRefusal("MZ\x90"),
            "è arrivato un programma per Windows, non un programma per Linux");
  EXPECT_EQ(update::updaterRefusal("\xEF\xBB\xBF  <HTML>"),
            "è arrivata una pagina HTML, non un programma per Linux");
}

TEST_F(UpdaterTest, UpdatePagesOpenOverHttpAndHttpsOnly) {
  update::openDownloadUrl(desktop, "  ");
  update::openDownloadUrl(desktop, "http://a/1");
  update::openDownloadUrl(desktop, "https://a/2");
  update::openDownloadUrl(desktop, "HTTP://a/3");
  EXPECT_EQ(desktop.opened, (std::vector<std::string>{"http://a/1||", "https://a/2||"}));
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].text, "indirizzo errato");
}
