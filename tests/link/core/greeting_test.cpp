#include "link/core/greeting.h"

#include <gtest/gtest.h>

#include "link/core/frame_header.h"
#include "tests/link/core/memory_channel.h"
#include "tests/support/fuzz_input.h"

namespace {

const std::string kDesktopGreeting = std::string("LNK10") + std::string(4, '\0');

std::string PhoneAnswer(const std::string& config) {
  return "LNK10" + Le32(static_cast<uint32_t>(config.size())) + config;
}

}  // namespace

TEST(GreetingTest, CompleteExchangeSendsMagicThenEmptyConfig) {
  MemoryChannel ch(PhoneAnswer("<cfg><reverse_v>1</reverse_v><reverse_h>0</reverse_h></cfg>"));
  LinkConfig config;
  ASSERT_TRUE(RunDesktopGreeting(ch, &config));
  EXPECT_EQ(ch.sent(), kDesktopGreeting);
  EXPECT_EQ(config.reverseV, 1);
  EXPECT_EQ(config.reverseH, 0);
}

TEST(GreetingTest, ZeroOrNegativeConfigLengthReadsNothingMore) {
  for (int32_t length : {0, -1, INT32_MIN}) {
    MemoryChannel ch("LNK10" + Le32(static_cast<uint32_t>(length)) + "trailing frame bytes");
    LinkConfig config;
    ASSERT_TRUE(RunDesktopGreeting(ch, &config)) << length;
    EXPECT_EQ(ch.consumed(), 9u);
    EXPECT_EQ(ch.sent(), kDesktopGreeting);
    EXPECT_EQ(config.reverseV, 0);
    EXPECT_EQ(config.reverseH, 0);
  }
}

TEST(GreetingTest, ConfigTextEndsAtItsFirstNul) {
  std::string config = "<c><reverse_h>1</reverse_h></c>";
  config += '\0';
  config += "<junk";
  MemoryChannel ch(PhoneAnswer(config));
  LinkConfig parsed;
  ASSERT_TRUE(RunDesktopGreeting(ch, &parsed));
  EXPECT_EQ(parsed.reverseH, 1);
}

TEST(GreetingTest, FailedSendsFail) {
  MemoryChannel first(PhoneAnswer(""));
  first.FailSendsAfter(0);
  LinkConfig config;
  EXPECT_FALSE(RunDesktopGreeting(first, &config));
  EXPECT_EQ(first.consumed(), 0u);

  MemoryChannel last(PhoneAnswer("<c/>"));
  last.FailSendsAfter(5);
  EXPECT_FALSE(RunDesktopGreeting(last, &config));
}

TEST(GreetingTest, RandomAnswersSucceedOnlyWhenWellFormed) {
  FuzzInput fuzz(5);
  for (int round = 0; round < 5000; ++round) {
    std::string answer = (fuzz.Below(2) ? "LNK10" : "") + fuzz.Bytes(fuzz.Below(24));
    if (fuzz.Below(3) == 0 && answer.size() >= 9) answer.replace(5, 4, Le32(fuzz.Below(16)));

    // Well formed: the magic, a length word, and at least that many bytes.
    bool wellFormed = answer.size() >= 9 && answer.compare(0, 5, "LNK10") == 0;
    if (wellFormed) {
      int32_t length = 0;
      for (int i = 3; i >= 0; --i)
        length = static_cast<int32_t>(length * 256u + static_cast<uint8_t>(answer[5 + i]));
      wellFormed = length <= 0 || (length <= link_wire::kMaxConfigLength &&
                                   answer.size() - 9 >= static_cast<size_t>(length));
    }
    MemoryChannel ch(answer);
    LinkConfig config;
    EXPECT_EQ(RunDesktopGreeting(ch, &config), wellFormed) << "round " << round;
    EXPECT_EQ(ch.sent(), wellFormed ? kDesktopGreeting : std::string("LNK10"));
  }
}
