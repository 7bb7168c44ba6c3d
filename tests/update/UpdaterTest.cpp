#include "update/Updater.h"

#include <gtest/gtest.h>

#include "platform/ScriptedDesktop.h"
#include "support/TempFolder.h"
#include "update/DownloadUrl.h"

namespace {

// Records the shell's openings and downloads; every download fails with `failure`.
class UpdaterDesktop : public platform::ScriptedDesktop {
 public:
  int shellOpen(const std::string& target, const std::string& parameters,
                const std::string& folder) override {
    opened.push_back(target + "|" + parameters + "|" + folder);
    return 42;
  }
  std::string downloadFile(const std::string& url, const std::string&, int) override {
    downloads.push_back(url);
    return failure;
  }
  std::vector<std::string> opened, downloads;
  std::string failure;
};

class UpdaterTest : public ::testing::Test {
 protected:
  update::UpdaterRequest request() const { return {temp.path().string(), "STATIND", "host/u/"}; }
  std::string target() const { return temp.file(update::updaterFileName()); }

  testsupport::TempFolder temp;
  UpdaterDesktop desktop;
};

}  // namespace

TEST_F(UpdaterTest, PresentUpdaterStartsWithoutDownload) {
  testsupport::TempFolder::write(target(), "x");
  update::installUpdate(desktop, request());
  EXPECT_TRUE(desktop.downloads.empty());
  EXPECT_EQ(desktop.opened,
            std::vector<std::string>{target() + "|STATIND|" + temp.path().string()});
}

TEST_F(UpdaterTest, FailedDownloadIsToldAndStartsNothing) {
  desktop.failure = "nessuna risposta completa entro 60 secondi";
  auto https = request();
  https.siteAddress = "https://host/";
  update::installUpdate(desktop, https);
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_NE(desktop.shown[0].text.find("entro 60 secondi"), std::string::npos);
  // Only the browser gets the address; the updater is not run.
  EXPECT_EQ(desktop.opened, std::vector<std::string>{"https://host/Programmi/TorvaSWAgg||/"});
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
