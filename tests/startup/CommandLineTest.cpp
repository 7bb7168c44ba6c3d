#include "startup/CommandLine.h"

#include <gtest/gtest.h>

using startup::AppParams;
using startup::parseCommandLine;

TEST(CommandLine, WithoutBarsTheProgramRunsStandAlone) {
  for (const char* line : {"", "oper"}) {
    AppParams p;
    p.productCode = "stale";
    parseCommandLine(line, p);
    EXPECT_TRUE(p.standAlone) << line;
    EXPECT_EQ(p.operatorCode, "XXX");
    EXPECT_EQ(p.startFunction, 9);
    EXPECT_EQ(p.windowLeft, 0);
    EXPECT_EQ(p.windowTop, 0);
    EXPECT_EQ(p.productCode, "");
  }
}

TEST(CommandLine, SuiteFields) {
  AppParams p;
  parseCommandLine(" oper |1", p);
  EXPECT_FALSE(p.standAlone);
  EXPECT_EQ(p.operatorCode, "OPER");
  EXPECT_EQ(p.startFunction, 1);
  EXPECT_EQ(p.productCode, "");

  AppParams q;
  parseCommandLine("op|0|abc|500| FUND 1 |extra|more", q);
  EXPECT_EQ(q.startFunction, 0);
  EXPECT_EQ(q.windowLeft, 0);
  EXPECT_EQ(q.windowTop, 500);
  EXPECT_EQ(q.productCode, "FUND 1");

  AppParams empty;
  parseCommandLine("  |1|2|3|P", empty);
  EXPECT_EQ(empty.operatorCode, "");  // the caller reports it
  EXPECT_FALSE(empty.standAlone);
}

TEST(CommandLine, NonNumericPositionsKeepTheirValueUnlessLast) {
  AppParams p;
  p.windowLeft = 7;
  p.windowTop = 8;
  parseCommandLine("op|x|abc|def|P", p);
  EXPECT_EQ(p.startFunction, 0);
  EXPECT_EQ(p.windowLeft, 7);
  EXPECT_EQ(p.windowTop, 8);

  AppParams last;
  last.windowLeft = 7;
  parseCommandLine("op|0|12abc", last);
  EXPECT_EQ(last.windowLeft, 0);
}

TEST(CommandLine, NumbersRoundHalfToEvenAndStayInRange) {
  AppParams p;
  parseCommandLine("op| 1.5 |12,5|99999|P", p);
  EXPECT_EQ(p.startFunction, 2);
  EXPECT_EQ(p.windowLeft, 12);
  EXPECT_EQ(p.windowTop, 32767);
}
