#include "link/core/blob_payload.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using link_wire::BlobView;
using link_wire::kBlobNameField;
using link_wire::SplitBlobPayload;

namespace {

std::vector<uint8_t> Payload(const std::string& nameField, const std::string& data) {
  std::vector<uint8_t> p(kBlobNameField, 0);
  std::copy(nameField.begin(), nameField.end(), p.begin());
  p.insert(p.end(), data.begin(), data.end());
  return p;
}

}  // namespace

TEST(BlobPayloadTest, SplitsNameAndData) {
  const std::vector<uint8_t> p = Payload("icon_a.png", "\x89PNG data");
  BlobView v;
  ASSERT_TRUE(SplitBlobPayload(p.data(), static_cast<int32_t>(p.size()), &v));
  EXPECT_EQ(v.name, "icon_a.png");
  ASSERT_EQ(v.size, 9u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(v.data), v.size), "\x89PNG data");
  EXPECT_EQ(v.data, p.data() + 255);
}

TEST(BlobPayloadTest, NameWithoutNulUsesAll255Bytes) {
  const std::vector<uint8_t> p = Payload(std::string(255, 'n'), "D");
  BlobView v;
  ASSERT_TRUE(SplitBlobPayload(p.data(), static_cast<int32_t>(p.size()), &v));
  EXPECT_EQ(v.name, std::string(255, 'n'));
  EXPECT_EQ(v.size, 1u);
  EXPECT_EQ(v.data[0], 'D');
}

TEST(BlobPayloadTest, NameEndsAtFirstNulEvenWithBytesAfterIt) {
  std::string field = "ab";
  field += '\0';
  field += "garbage";
  const std::vector<uint8_t> p = Payload(field, "x");
  BlobView v;
  ASSERT_TRUE(SplitBlobPayload(p.data(), static_cast<int32_t>(p.size()), &v));
  EXPECT_EQ(v.name, "ab");
}

TEST(BlobPayloadTest, ExactlyTheNameFieldIsABlobWithoutData) {
  const std::vector<uint8_t> p = Payload("empty", "");
  BlobView v;
  ASSERT_TRUE(SplitBlobPayload(p.data(), 255, &v));
  EXPECT_EQ(v.name, "empty");
  EXPECT_EQ(v.size, 0u);
  EXPECT_EQ(v.data, nullptr);
}

TEST(BlobPayloadTest, ShorterPayloadsAreRejected) {
  const std::vector<uint8_t> p(254, 'a');
  BlobView v;
  v.name = "untouched";
  EXPECT_FALSE(SplitBlobPayload(p.data(), 254, &v));
  EXPECT_FALSE(SplitBlobPayload(p.data(), 0, &v));
  EXPECT_FALSE(SplitBlobPayload(p.data(), -5, &v));
  EXPECT_FALSE(SplitBlobPayload(nullptr, 300, &v));
  EXPECT_EQ(v.name, "untouched");
}
