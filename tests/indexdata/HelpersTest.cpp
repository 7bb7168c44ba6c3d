#include "indexdata/Helpers.h"

#include <gtest/gtest.h>

#include "platform/Format.h"
#include "platform/ScriptedDesktop.h"

namespace {

using indexdata::nzNumber;
using indexdata::nzText;
using indexdata::padLeft;
using platform::Value;

TEST(Helpers, NzNumberAndNzTextMakeAnyValueSafe) {
  const double may12 = platform::dayNumber(2010, 5, 12);
  const std::vector<std::pair<Value, double>> numbers = {{Value{}, 0},
                                                         {std::string("  "), 0},
                                                         {std::int64_t{1}, 1},
                                                         {2.5, 2.5},
                                                         {std::string(" 12/05/2010"), may12},
                                                         {std::string("31/02/2010"), 0},
                                                         {std::string("abc"), 0},
                                                         {std::string("12,5"), 12.5}};
  for (const auto& [value, expected] : numbers) EXPECT_DOUBLE_EQ(nzNumber(value), expected);

  EXPECT_EQ(nzText(Value{}), " ");
  EXPECT_EQ(nzText(std::string(""), "N"), "N");
  EXPECT_EQ(nzText(std::string("  "), "   "), " ");
  EXPECT_EQ(nzText(std::string("\0x", 2), "N"), "N");
  EXPECT_EQ(nzText(std::string("  ab "), "N"), "  ab ");
}

TEST(Helpers, PadLeftRightAlignsOnlyWhatIsShorter) {
  EXPECT_EQ(padLeft(" ab ", 5), "   ab");
  EXPECT_EQ(padLeft(" abc ", 3), " abc ");
  EXPECT_EQ(padLeft("abcdef", 3), "abcdef");
  EXPECT_EQ(padLeft("   ", 5), "   ");
  EXPECT_EQ(padLeft("città", 6), " città");  // characters, not bytes
}

TEST(Helpers, WaitScopeRestoresThePointerWhenTheComputationThrows) {
  platform::ScriptedDesktop desktop;
  try {
    indexdata::WaitScope wait(desktop);
    EXPECT_TRUE(desktop.waitCursor);
    throw std::runtime_error("failed query");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(desktop.waitCursor);
}

}  // namespace
