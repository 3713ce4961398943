#include "link/core/adb_output.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Serials(const std::string& output) {
  std::vector<std::string> serials;
  ParseAdbDevices(output, serials);
  return serials;
}

using Strings = std::vector<std::string>;

TEST(AdbDevicesParser, CrLfListingKeepsReadyDevicesInOrder) {
  const std::string out =
      "List of devices attached\r\n"
      "A1\tdevice\r\n"
      "B2\toffline\r\n"
      "C3\tdevice\r\n"
      "\r\n";
  EXPECT_EQ(Serials(out), (Strings{"A1", "C3"}));
}

TEST(AdbDevicesParser, LfListingAndUnauthorizedSkipped) {
  const std::string out =
      "List of devices attached\nX\tunauthorized\nemulator-5554\tdevice\nY\tno permissions\n\n";
  EXPECT_EQ(Serials(out), (Strings{"emulator-5554"}));
}

TEST(AdbDevicesParser, HeaderOnlyOrEmptyYieldsNothing) {
  EXPECT_TRUE(Serials("").empty());
  EXPECT_TRUE(Serials("List of devices attached\r\n\r\n").empty());
}

TEST(AdbDevicesParser, MarkerAtVeryStartYieldsNothingButLaterLinesCount) {
  EXPECT_TRUE(Serials("\tdevice\r\n").empty());
  EXPECT_TRUE(Serials("A1\tdevice\r\n").empty());  // no line feed before it
  EXPECT_EQ(Serials("A1\tdevice\r\nB2\tdevice\r\n"), (Strings{"B2"}));
}

TEST(AdbDevicesParser, LineFeedDirectlyBeforeMarkerGivesEmptySerialWhichIsSkipped) {
  EXPECT_TRUE(Serials("header\n\tdevice\n").empty());
  EXPECT_EQ(Serials("header\n\tdevice\nZ\tdevice\n"), (Strings{"Z"}));
}

TEST(AdbDevicesParser, ErrorTextDuplicatesAndDaemonMessages) {
  const std::string out =
      "* daemon not running; starting now at tcp:5037\r\n"
      "* daemon started successfully\r\n"
      "List of devices attached\r\n"
      "S1\tdevice\r\n"
      "S1\tdevice\r\n";
  EXPECT_EQ(Serials(out), (Strings{"S1", "S1"}));
}

TEST(AdbDevicesParser, AppendsWithoutClearing) {
  std::vector<std::string> serials{"kept"};
  ParseAdbDevices("h\nN\tdevice\n", serials);
  EXPECT_EQ(serials, (Strings{"kept", "N"}));
}

TEST(AdbDevicesParser, SecondMarkerOnOneLineYieldsNothing) {
  // The segment of the second marker starts after the first one and holds no
  // line feed.
  EXPECT_EQ(Serials("h\nA\tdevice product:x\tdevice\n"), (Strings{"A"}));
}

TEST(AdbDevicesParser, Utf8SerialBytesSurvive) {
  EXPECT_EQ(Serials("h\n设备一\tdevice\n"), (Strings{"设备一"}));
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

// Outputs in which a model is found: what the name becomes.
struct GetpropCase {
  const char* label;
  const char* output;
  const char* model;
};

class GetpropModelFound : public ::testing::TestWithParam<GetpropCase> {};

TEST_P(GetpropModelFound, NameBecomesTheFoundValue) {
  std::string model = "serial";
  ASSERT_TRUE(ParseGetpropModel(GetParam().output, model));
  EXPECT_EQ(model, GetParam().model);
}

INSTANTIATE_TEST_SUITE_P(
    GetpropModelParser, GetpropModelFound,
    ::testing::Values(
        GetpropCase{"ModelWinsOverName", "[ro.product.name]: [x1cn]\r\n[ro.product.model]: [X1]\r\n", "X1"},
        GetpropCase{"FallsBackToBuildProduct", "[ro.build.id]: [QP1A]\n[ro.build.product]: [hero]\n", "hero"},
        // An empty model value is taken and stops the search.
        GetpropCase{"EmptyModelValueIsTaken", "[ro.product.model]: []\n[ro.product.name]: [other]\n", ""},
        GetpropCase{"IncompleteModelFallsThroughToNextKey",
                    "[ro.product.name]: [beyond]\n[ro.product.model]: [", "beyond"},
        GetpropCase{"Utf8ValueKeptByteForByte", "[ro.product.model]: [小米 13]\n", "小米 13"}),
    [](const ::testing::TestParamInfo<GetpropCase>& info) { return std::string(info.param.label); });

TEST(GetpropModelParser, MissingKeysOrBracketsLeaveTheName) {
  std::string model = "serial";
  EXPECT_FALSE(ParseGetpropModel("", model));
  EXPECT_FALSE(ParseGetpropModel("error: device offline\r\n", model));
  EXPECT_FALSE(ParseGetpropModel("[ro.product.model]", model));          // key at the very end
  EXPECT_FALSE(ParseGetpropModel("[ro.product.model]: [", model));       // '[' is the last byte
  EXPECT_FALSE(ParseGetpropModel("[ro.product.model]: [Pixel", model));  // no closing bracket
  EXPECT_EQ(model, "serial");
}

// Random and mutated outputs: the parsers never read out of bounds (the
// sanitizers watch), and every serial found is non-empty, free of line feeds
// and a substring of the input.
TEST(AdbParsersFuzz, RandomAndMutatedOutputsAreSafe) {
  std::mt19937 rng(12345);
  const std::string seeds[] = {
      "List of devices attached\r\nA1\tdevice\r\nB2\toffline\r\n\r\n",
      "[ro.product.model]: [X1]\r\n[ro.product.name]: [x1cn]\r\n[ro.build.product]: [hero]\r\n",
  };
  const char alphabet[] = {'\t', '\n', '\r', '[', ']', ':', ' ', 'd', 'e', 'v', 'i', 'c', '\0', '\xe4'};
  for (int iteration = 0; iteration < 20000; ++iteration) {
    std::string input;
    if (iteration % 2 == 0) {
      size_t length = rng() % 200;
      for (size_t i = 0; i < length; ++i) {
        input.push_back(rng() % 3 == 0 ? static_cast<char>(rng() % 256) : alphabet[rng() % sizeof(alphabet)]);
      }
    } else {
      input = seeds[rng() % 2];
      int edits = 1 + rng() % 6;
      for (int e = 0; e < edits && !input.empty(); ++e) {
        size_t at = rng() % input.size();
        switch (rng() % 3) {
          case 0:
            input[at] = alphabet[rng() % sizeof(alphabet)];
            break;
          case 1:
            input.erase(at, 1 + rng() % 4);
            break;
          default:
            input.insert(at, input.substr(rng() % input.size(), rng() % 12));
            break;
        }
      }
    }
    std::vector<std::string> serials;
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
    std::string joined;
    AppendAdbOutputChunk(joined, input.data(), input.size());
    ASSERT_EQ(joined, input.substr(0, input.find('\0')));
  }
}

}  // namespace
