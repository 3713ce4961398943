#include "link/core/blob_payload.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using link_wire::BlobView;
using link_wire::kBlobNameField;
using link_wire::SplitBlobPayload;

namespace {

// A payload: `nameField` padded with NULs to the 255-byte field, then `data`.
std::vector<uint8_t> Payload(const std::string& nameField, const std::string& data) {
  std::vector<uint8_t> p(kBlobNameField, 0);
  std::copy(nameField.begin(), nameField.end(), p.begin());
  p.insert(p.end(), data.begin(), data.end());
  return p;
}

struct SplitCase {
  const char* label;
  std::string nameField, data;
  std::string name;  // what the name must read
  friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.label; }
};

class BlobPayloadSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(BlobPayloadSplit, NameEndsAtTheFirstNulOrTheFieldAndDataFollowsIt) {
  const SplitCase& c = GetParam();
  const std::vector<uint8_t> p = Payload(c.nameField, c.data);
  BlobView v;
  ASSERT_TRUE(SplitBlobPayload(p.data(), static_cast<int32_t>(p.size()), &v));
  EXPECT_EQ(v.name, c.name);
  ASSERT_EQ(v.size, c.data.size());
  EXPECT_EQ(v.data, c.data.empty() ? nullptr : p.data() + 255);
  if (v.data) {
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(v.data), v.size), c.data);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, BlobPayloadSplit,
    ::testing::Values(SplitCase{"Plain", "icon_a.png", "\x89PNG data", "icon_a.png"},
                      SplitCase{"NameWithoutNulUsesAll255Bytes", std::string(255, 'n'), "D",
                                std::string(255, 'n')},
                      SplitCase{"BytesAfterTheNulAreIgnored", std::string("ab\0garbage", 10), "x", "ab"},
                      SplitCase{"NameFieldOnlyIsABlobWithoutData", "empty", "", "empty"}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.label); });

TEST(BlobPayloadTest, ShorterPayloadsAreRejected) {
  const std::vector<uint8_t> p(254, 'a');
  BlobView v;
  v.name = "untouched";
  for (int32_t length : {254, 0, -5}) EXPECT_FALSE(SplitBlobPayload(p.data(), length, &v)) << length;
  EXPECT_FALSE(SplitBlobPayload(nullptr, 300, &v));
  EXPECT_EQ(v.name, "untouched");
}

}  // namespace
