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

TEST(BlobPayloadTest, NameEndsAtTheFirstNulOrTheFieldAndDataFollowsIt) {
  const struct {
    std::string nameField, data;
    std::string name;  // what the name must read
  } cases[] = {
      {"icon_a.png", "\x89PNG data", "icon_a.png"},
      {std::string(255, 'n'), "D", std::string(255, 'n')},  // no NUL: all 255 bytes
      {std::string("ab\0garbage", 10), "x", "ab"},          // bytes after the NUL are ignored
      {"empty", "", "empty"},                               // the name field alone: a blob without data
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> p = Payload(c.nameField, c.data);
    BlobView v;
    ASSERT_TRUE(SplitBlobPayload(p.data(), static_cast<int32_t>(p.size()), &v)) << c.name;
    EXPECT_EQ(v.name, c.name);
    ASSERT_EQ(v.size, c.data.size()) << c.name;
    EXPECT_EQ(v.data, c.data.empty() ? nullptr : p.data() + 255) << c.name;
    if (v.data) {
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(v.data), v.size), c.data);
    }
  }
}

TEST(BlobPayloadTest, ShorterPayloadsAreRejected) {
  const std::vector<uint8_t> p(254, 'a');
  BlobView v;
  v.name = "untouched";
  for (int32_t length : {254, 0, -5}) EXPECT_FALSE(SplitBlobPayload(p.data(), length, &v)) << length;
  EXPECT_FALSE(SplitBlobPayload(nullptr, 300, &v));
  EXPECT_EQ(v.name, "untouched");
}

}  // namespace
