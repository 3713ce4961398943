#include "link/core/adb_output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fuzz_input.h"

namespace {

using Strings = std::vector<std::string>;

// One "adb devices" output and the serials it must yield, in order.
struct ListingCase {
  const char* label;
  std::string output;
  Strings serials;
  friend void PrintTo(const ListingCase& c, std::ostream* os) { *os << c.label; }
};

class AdbDevicesParser : public ::testing::TestWithParam<ListingCase> {};

TEST_P(AdbDevicesParser, YieldsTheReadySerialsInOrder) {
  Strings serials{"kept"};  // appended to, never cleared
  ParseAdbDevices(GetParam().output, serials);
  Strings expected{"kept"};
  expected.insert(expected.end(), GetParam().serials.begin(), GetParam().serials.end());
  EXPECT_EQ(serials, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Listings, AdbDevicesParser,
    ::testing::Values(
        ListingCase{"CrLfKeepsDeviceStateOnly",
                    "List of devices attached\r\nA1\tdevice\r\nB2\toffline\r\nC3\tdevice\r\n\r\n",
                    {"A1", "C3"}},
        ListingCase{"LfAndOtherStatesSkipped",
                    "List of devices attached\nX\tunauthorized\nemu-5554\tdevice\nY\tno permissions\n\n",
                    {"emu-5554"}},
        ListingCase{"Empty", "", {}}, ListingCase{"HeaderOnly", "List of devices attached\r\n\r\n", {}},
        // A marker with no line feed before it in its segment yields nothing.
        ListingCase{"MarkerAtVeryStart", "A1\tdevice\r\nB2\tdevice\r\n", {"B2"}},
        ListingCase{"LineFeedRightBeforeMarkerIsAnEmptySerial", "h\n\tdevice\nZ\tdevice\n", {"Z"}},
        ListingCase{"DaemonMessagesAndDuplicates",
                    "* daemon not running; starting now at tcp:5037\r\n* daemon started successfully\r\n"
                    "List of devices attached\r\nS1\tdevice\r\nS1\tdevice\r\n",
                    {"S1", "S1"}},
        // The second marker's segment starts after the first and holds no line feed.
        ListingCase{"SecondMarkerOnOneLine", "h\nA\tdevice product:x\tdevice\n", {"A"}},
        ListingCase{"Utf8SerialBytesSurvive", "h\n设备一\tdevice\n", {"设备一"}}),
    [](const ::testing::TestParamInfo<ListingCase>& info) { return std::string(info.param.label); });

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

// One getprop output and the name it gives (null: no key yields a value and
// the name stays the serial).
struct GetpropCase {
  const char* label;
  const char* output;
  const char* model;
  friend void PrintTo(const GetpropCase& c, std::ostream* os) { *os << c.label; }
};

class GetpropModelParser : public ::testing::TestWithParam<GetpropCase> {};

TEST_P(GetpropModelParser, NameBecomesTheFirstKeyWithAValue) {
  std::string model = "serial";
  EXPECT_EQ(ParseGetpropModel(GetParam().output, model), GetParam().model != nullptr);
  EXPECT_EQ(model, GetParam().model ? GetParam().model : "serial");
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, GetpropModelParser,
    ::testing::Values(
        GetpropCase{"ModelWinsOverName", "[ro.product.name]: [x1cn]\r\n[ro.product.model]: [X1]\r\n", "X1"},
        GetpropCase{"FallsBackToBuildProduct", "[ro.build.id]: [QP1A]\n[ro.build.product]: [hero]\n", "hero"},
        GetpropCase{"EmptyModelValueIsTaken", "[ro.product.model]: []\n[ro.product.name]: [other]\n", ""},
        GetpropCase{"IncompleteModelFallsThrough", "[ro.product.name]: [beyond]\n[ro.product.model]: [",
                    "beyond"},
        GetpropCase{"Utf8ValueKept", "[ro.product.model]: [小米 13]\n", "小米 13"},
        GetpropCase{"Empty", "", nullptr}, GetpropCase{"ShellError", "error: device offline\r\n", nullptr},
        GetpropCase{"KeyAtTheEnd", "[ro.product.model]", nullptr},
        GetpropCase{"OpenBracketIsLastByte", "[ro.product.model]: [", nullptr},
        GetpropCase{"NoClosingBracket", "[ro.product.model]: [Pixel", nullptr}),
    [](const ::testing::TestParamInfo<GetpropCase>& info) { return std::string(info.param.label); });

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
