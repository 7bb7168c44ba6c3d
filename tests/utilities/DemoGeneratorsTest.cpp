// The random source the demo and benchmark data are drawn with: every generated installation
// depends on it giving the same numbers for the same seed on every platform.
#include <gtest/gtest.h>

#include "utilities/PortableRandom.h"

namespace {

using utilities::PortableRandom;

TEST(DemoRandom, SequencesDependOnlyOnTheSeed) {
  // Fixed numbers: a change here changes every generated installation.
  EXPECT_EQ(PortableRandom::seedFor(0, ""), 2166136261u);
  EXPECT_NE(PortableRandom::seedFor(1, "AZ001"), PortableRandom::seedFor(2, "AZ001"));
  EXPECT_NE(PortableRandom::seedFor(1, "AZ001"), PortableRandom::seedFor(1, "AZ002"));
  PortableRandom a(42), b(42);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(a.normal(), b.normal());
}

}  // namespace
