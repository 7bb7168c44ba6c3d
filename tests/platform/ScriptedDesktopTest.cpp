#include "platform/ScriptedDesktop.h"

#include <gtest/gtest.h>

using platform::Answer;
using platform::Buttons;

TEST(ScriptedDesktop, AnswersFromTheScriptThenGivesUp) {
  platform::ScriptedDesktop desktop;
  desktop.answers = {Answer::Retry};
  EXPECT_EQ(desktop.messageBox({"A", "", Buttons::RetryCancel}), Answer::Retry);
  EXPECT_EQ(desktop.messageBox({"B", "", Buttons::RetryCancel}), Answer::Cancel);
  EXPECT_EQ(desktop.messageBox({"C", "", Buttons::YesNoDefaultNo}), Answer::No);
  ASSERT_EQ(desktop.shown.size(), 3u);
  EXPECT_EQ(desktop.shown[1].text, "B");
}
