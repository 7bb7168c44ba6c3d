#include "update/VersionPage.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "platform/Format.h"
#include "update/AggiornaLayout.h"

namespace {

using update::checkVersion;
using update::VersionCheckParams;

VersionCheckParams running(int major, int minor, int revision, std::string page) {
  VersionCheckParams params;
  params.programName = "ABC";
  params.runningMajor = major;
  params.runningMinor = minor;
  params.runningRevision = revision;
  params.siteAddress = "host/site/";
  params.pageText = std::move(page);
  return params;
}

std::string entry(const std::string& version) {
  return "ABC=" + version + "#ABC.htm</P>";
}

// A day value of dd/mm/yyyy plus hh:mm.
double at(int day, int month, int year, int hour, int minute) {
  return platform::dayNumber(year, month, day) + (hour * 60 + minute) / 1440.0;
}

}  // namespace

TEST(VersionPageTest, SiteAddressAndScheme) {
  EXPECT_EQ(update::updateSite("", "").versionPageUrl,
            "http://" + std::string(update::kMakerHost) + "/Aggiornamenti/Versioni.htm");
  const auto own = update::updateSite(" 127.0.0.1:8080/upd ", "v.htm");
  EXPECT_EQ(own.siteAddress, "127.0.0.1:8080/upd/");
  EXPECT_EQ(own.versionPageUrl, "http://127.0.0.1:8080/upd/v.htm");
  EXPECT_EQ(update::updateSite("https://host/", "").versionPageUrl,
            "https://host/Aggiornamenti/Versioni.htm");
}

TEST(VersionPageTest, OnlyAStrictlyGreaterVersionIsNew) {
  EXPECT_FALSE(checkVersion(running(2, 1, 5, entry("2.1.5"))).newVersion);
  EXPECT_FALSE(checkVersion(running(2, 1, 5, entry("2.0.9"))).newVersion);
  const auto check = checkVersion(running(2, 1, 5, "<P>" + entry("2.1.6.33")));
  EXPECT_TRUE(check.newVersion);
  EXPECT_EQ(check.availableVersion, 20106);
  EXPECT_EQ(check.availableVersionText, "2.1.6.33");
  EXPECT_EQ(check.releaseNotesPage, "ABC.htm");
}

TEST(VersionPageTest, ZeroVersionPartsShowEmptyButCompareAsNumbers) {
  EXPECT_EQ(update::versionText(2, 0, 7), "2..7");
  EXPECT_EQ(update::versionText(0, 10, 0), ".10.");
  const auto check = checkVersion(running(2, 0, 7, entry("2.0.10")));
  EXPECT_EQ(check.runningVersionText, "2..7");
  EXPECT_TRUE(check.newVersion);
}

TEST(VersionPageTest, EntriesAreFoundByPlainCaseSensitiveSearch) {
  // The first occurrence wins, even inside a longer name.
  EXPECT_EQ(
      checkVersion(running(2, 1, 5, "XABC=3.0.0#X.htm</P>" + entry("2.1.5"))).availableVersion,
      30000);
  // Lower case neither names the program nor ends an entry.
  EXPECT_FALSE(checkVersion(running(2, 1, 5, "abc=3.0.0#a.htm</P>")).newVersion);
  const auto lower = checkVersion(running(2, 1, 5, "ABC=3.0.0</p> ABC:01/02/2024#a#b#c</P>"));
  EXPECT_TRUE(lower.newVersion);
  EXPECT_EQ(lower.releaseNotesPage, "a");  // the entry ran on to the next "</P>"
  ASSERT_EQ(lower.updates.size(), 1u);
  EXPECT_EQ(lower.updates[0].caption, "b - c (a)");
  EXPECT_EQ(lower.updates[0].pageUrl, "http://host/site/01/02/2024");
}

TEST(VersionPageTest, MalformedProgramEntriesLeaveTheProgramUpToDate) {
  for (const std::string page :
       {"ABC=3.0.0#n.htm", "ABC=3.0#n.htm</P>", "ABC=3.x.0#n.htm</P>", "ABC=3..0</P>", "ABC=</P>",
        "ABC=999999999.0.0</P>", "ABC=-3.0.0</P>"}) {
    const auto check = checkVersion(running(2, 1, 5, page));
    EXPECT_FALSE(check.newVersion) << page;
    EXPECT_EQ(check.availableVersionText, "2.1.5") << page;
    EXPECT_EQ(check.releaseNotesPage, "ABC.htm") << page;
  }
}

TEST(VersionPageTest, UpdatesListedInPageOrderPassingOverMalformedOnes) {
  const std::string page = entry("3.0.0") +
                           "ABC:01/02/2024#n1#t1#d1#extra</P>"
                           "ABC:02/02/2024#too#few</P>"
                           "ABC:not a date#n#t#d</P>"
                           "ABC:31/02/2024#n#t#d</P>"
                           "ABC:03/02/2024 10:30#n3#t3#d3</P>"
                           "ABC:04/02/2024#n4#t4#d4";
  const auto check = checkVersion(running(2, 1, 5, page));
  ASSERT_EQ(check.updates.size(), 2u);
  EXPECT_EQ(check.updates[0].caption, "t1 - d1 (n1)");
  EXPECT_EQ(check.updates[1].caption, "t3 - d3 (n3)");
  EXPECT_TRUE(checkVersion(running(3, 0, 0, page)).updates.empty());  // only with a new version
}

TEST(VersionPageTest, AnEleventhListedUpdateIsLeftOut) {
  std::string page = entry("3.0.0");
  for (int day = 1; day <= 12; ++day)
    page += "ABC:" + std::to_string(day) + "/03/2024#n#t" + std::to_string(day) + "#d</P>";
  const auto check = checkVersion(running(2, 1, 5, page));
  ASSERT_EQ(check.updates.size(), update::kMaxListedUpdates);
  EXPECT_EQ(check.updates.back().caption, "t10 - d (n)");
}

TEST(VersionPageTest, KnownUpdatesCompareInSinglePrecision) {
  const double day = platform::dayNumber(2024, 3, 15);
  EXPECT_TRUE(update::isUnknownUpdate(day, 0));
  EXPECT_TRUE(update::isUnknownUpdate(day, day));  // the 0.99 margin
  EXPECT_TRUE(update::isUnknownUpdate(day, at(15, 3, 2024, 23, 40)));
  // From about 23:45 the known value rounds onto the threshold (1/256 of a day apart).
  EXPECT_FALSE(update::isUnknownUpdate(day, at(15, 3, 2024, 23, 45)));
  EXPECT_FALSE(update::isUnknownUpdate(day, at(15, 3, 2024, 23, 50)));
  EXPECT_FALSE(update::isUnknownUpdate(day, day + 1));

  std::map<std::string, std::string> known{{"15/03/2024", "15/03/2024 23:50"},
                                           {"16/03/2024", "16/03/2024"},
                                           {"17/03/2024", std::to_string(int(day) + 5)}};
  auto params = running(2, 1, 5,
                        entry("3.0.0") + "ABC:15/03/2024#a#b#c</P>" +
                            "ABC:16/03/2024#a#b#c</P>ABC:17/03/2024#a#b#c</P>");
  params.knownValue = [&known](const std::string& date) { return known[date]; };
  const auto check = checkVersion(params);
  ASSERT_EQ(check.updates.size(), 1u);
  EXPECT_EQ(check.updates[0].pageUrl, "http://host/site/16/03/2024");
}

TEST(VersionPageTest, ConfigurationNumbers) {
  EXPECT_EQ(update::configNumber(""), 0);
  EXPECT_EQ(update::configNumber(" 45366 "), 45366);
  EXPECT_EQ(update::configNumber("45366,5"), 45366.5);
  EXPECT_DOUBLE_EQ(update::configNumber("15/03/2024 12:00"), at(15, 3, 2024, 12, 0));
  for (const char* text : {"abc", "1/2/x", "15/03/2024 25:00", "/ /"})
    EXPECT_EQ(update::configNumber(text), 0) << text;
}

// Random pages built from the fragments that matter never break the parser, and what it lists
// stays within its bounds.
TEST(VersionPageTest, RandomPagesNeverBreakTheCheck) {
  const std::vector<std::string> fragments{
      "ABC",   "ABC=", "ABC:",       "ABC=2.1.6#", "ABC:15/03/2024#a#b#c",
      "=",     ":",    "#",          ".",          "</P>",
      "</p>",  "<P>",  "/",          " ",          "0",
      "7",     "99",   "2.1.6",      "15/03/2024", "31/02/2024",
      "23:50", "x",    "4294967296", "\xff"};
  std::mt19937 random(20240315);
  std::uniform_int_distribution<std::size_t> pick(0, fragments.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  auto params = running(1, 0, 0, "");
  std::string known;
  params.knownValue = [&known](const std::string&) { return known; };
  std::size_t listed = 0;
  for (int page = 0; page < 1'000'000; ++page) {
    params.pageText.clear();
    for (int n = length(random); n > 0; --n) params.pageText += fragments[pick(random)];
    known = fragments[pick(random)];
    const auto check = checkVersion(params);
    ASSERT_LE(check.updates.size(), update::kMaxListedUpdates);
    ASSERT_TRUE(check.newVersion || check.updates.empty());
    listed += check.updates.size();
  }
  EXPECT_GT(listed, 0u);  // the pages do reach the update list
}

TEST(VersionPageTest, NewVersionPanelGrowsWithItsLines) {
  using update::AggiornaLayout;
  const auto none = AggiornaLayout::newVersion(0);
  EXPECT_FALSE(none.listShown);
  EXPECT_EQ(none.dialogHeight, AggiornaLayout::kPanelTop + AggiornaLayout::kListTop + 360);
  const auto three = AggiornaLayout::newVersion(3);
  EXPECT_EQ(three.lineTops, (std::vector<int>{360, 635, 910}));
  EXPECT_EQ(three.listHeight, 910 + 255 + 550);
  EXPECT_EQ(three.aggiornaTop, AggiornaLayout::kListTop + three.listHeight - 500);
  EXPECT_EQ(three.panelHeight, AggiornaLayout::kListTop + three.listHeight + 340);
  EXPECT_EQ(three.dialogHeight, 1120 + AggiornaLayout::kListTop + three.listHeight + 360);
}
