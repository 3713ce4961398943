#include "link/core/adb_output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fuzz_input.h"

namespace {

using Strings = std::vector<std::string>;

TEST(AdbDevicesParser, YieldsTheReadySerialsInOrder) {
  // One "adb devices" output and the serials it must yield, in order.
  const struct {
    std::string output;
    Strings serials;
  } cases[] = {
      {"List of devices attached\r\nA1\tdevice\r\nB2\toffline\r\nC3\tdevice\r\n\r\n", {"A1", "C3"}},
      {"List of devices attached\nX\tunauthorized\nemu-5554\tdevice\nY\tno permissions\n\n", {"emu-5554"}},
      {"", {}},
      {"List of devices attached\r\n\r\n", {}},
      // A marker with no line feed before it in its segment yields nothing.
      {"A1\tdevice\r\nB2\tdevice\r\n", {"B2"}},
      // A line feed right before the marker is an empty serial, skipped.
      {"h\n\tdevice\nZ\tdevice\n", {"Z"}},
      {"* daemon not running; starting now at tcp:5037\r\n* daemon started successfully\r\n"
       "List of devices attached\r\nS1\tdevice\r\nS1\tdevice\r\n",
       {"S1", "S1"}},
      // The second marker's segment starts after the first and holds no line feed.
      {"h\nA\tdevice product:x\tdevice\n", {"A"}},
      {"h\n设备一\tdevice\n", {"设备一"}},
  };
  for (const auto& c : cases) {
    Strings serials{"kept"};  // appended to, never cleared
    ParseAdbDevices(c.output, serials);
    Strings expected{"kept"};
    expected.insert(expected.end(), c.serials.begin(), c.serials.end());
    EXPECT_EQ(serials, expected) << c.output;
  }
}

TEST(AdbOutputChunks, ChunkIsCutAtFirstNulAndLaterChunksStillAppend) {
  std::string out;
  const char first[] = {'A', '1', '\0', 'x', 'y'};
  AppendAdbOutputChunk(out, first, sizeof(first));
  AppendAdbOutputChunk(out, "B2", 2);
  const char leadingNul[] = {'\0', 'q'};
  AppendAdbOutputChunk(out, leadingNul, sizeof(leadingNul));
  AppendAdbOutputChunk(out, "C3", 2);
  EXPECT_EQ(out, "A1B2C3");
}

TEST(GetpropModelParser, NameBecomesTheFirstKeyWithAValue) {
  // One getprop output and the name it gives (null: no key yields a value
  // and the name stays the serial).
  const struct {
    const char* output;
    const char* model;
  } cases[] = {
      {"[ro.product.name]: [x1cn]\r\n[ro.product.model]: [X1]\r\n", "X1"},
      {"[ro.build.id]: [QP1A]\n[ro.build.product]: [hero]\n", "hero"},
      {"[ro.product.model]: []\n[ro.product.name]: [other]\n", ""},
      {"[ro.product.name]: [beyond]\n[ro.product.model]: [", "beyond"},
      {"[ro.product.model]: [小米 13]\n", "小米 13"},
      {"", nullptr},
      {"error: device offline\r\n", nullptr},
      {"[ro.product.model]", nullptr},
      {"[ro.product.model]: [", nullptr},
      {"[ro.product.model]: [Pixel", nullptr},
  };
  for (const auto& c : cases) {
    std::string model = "serial";
    EXPECT_EQ(ParseGetpropModel(c.output, model), c.model != nullptr) << c.output;
    EXPECT_EQ(model, c.model ? c.model : "serial") << c.output;
  }
}

// Random and mutated outputs: the parsers never read out of bounds (the
// sanitizers watch), and what they find is always taken from the input.
TEST(AdbParsersFuzz, RandomAndMutatedOutputsAreSafe) {
  FuzzInput fuzz(12345);
  const std::string seeds[] = {
      "List of devices attached\r\nA1\tdevice\r\nB2\toffline\r\n\r\n",
      "[ro.product.model]: [X1]\r\n[ro.product.name]: [x1cn]\r\n[ro.build.product]: [hero]\r\n",
  };
  const std::string alphabet("\t\n\r[]: devic\0\xe4", 14);
  for (int round = 0; round < 20000; ++round) {
    const std::string input = round % 2 ? fuzz.Mutate(seeds[fuzz.Below(2)], 1 + fuzz.Below(6), alphabet)
                                        : fuzz.Mixed(fuzz.Below(200), alphabet);
    Strings serials;
    ParseAdbDevices(input, serials);
    for (const std::string& s : serials) {
      ASSERT_FALSE(s.empty());
      ASSERT_EQ(s.find('\n'), std::string::npos);
      ASSERT_NE(input.find(s + "\tdevice"), std::string::npos);
    }
    std::string model = "unchanged";
    if (ParseGetpropModel(input, model)) {
      ASSERT_NE(input.find("[" + model + "]"), std::string::npos);
    } else {
      ASSERT_EQ(model, "unchanged");
    }
  }
}

}  // namespace
