#include "link/core/greeting.h"

#include <gtest/gtest.h>

#include "link/core/frame_header.h"
#include "tests/link/core/memory_channel.h"
#include "tests/support/fuzz_input.h"

namespace {

const std::string kDesktopGreeting = std::string("LNK10") + std::string(4, '\0');

std::string PhoneAnswer(const std::string& config, int32_t length) {
  return "LNK10" + Le32(static_cast<uint32_t>(length)) + config;
}
std::string PhoneAnswer(const std::string& config) {
  return PhoneAnswer(config, static_cast<int32_t>(config.size()));
}

// One phone answer: whether the greeting succeeds, the flags it leaves
// (starting from 7, 7) and how many answer bytes it reads.
struct AnswerCase {
  const char* label;
  std::string answer;
  bool ok;
  int reverseV, reverseH;
  size_t consumed;
};

}  // namespace

TEST(GreetingTest, AnswersSucceedOnlyWhenWellFormed) {
  const std::string cfg = "<cfg><reverse_v>1</reverse_v><reverse_h>0</reverse_h></cfg>";
  const std::string nulCfg = std::string("<c><reverse_h>1</reverse_h></c>\0<junk", 37);
  const AnswerCase cases[] = {
      {"complete", PhoneAnswer(cfg) + "frame", true, 1, 0, 9 + cfg.size()},
      {"config ends at its first NUL", PhoneAnswer(nulCfg), true, 7, 1, 9 + nulCfg.size()},
      {"zero length", PhoneAnswer("frame bytes", 0), true, 7, 7, 9},
      {"negative length", PhoneAnswer("frame bytes", -1), true, 7, 7, 9},
      {"most negative length", PhoneAnswer("frame bytes", INT32_MIN), true, 7, 7, 9},
      {"wrong magic", "LNK11" + Le32(0), false, 7, 7, 5},
      {"magic cut short", "LNK1", false, 7, 7, 4},
      {"length cut short", "LNK10\x01", false, 7, 7, 6},
      {"config cut short", PhoneAnswer("<c/>", 10), false, 7, 7, 13},
      {"config too long", PhoneAnswer(std::string(100, ' '), link_wire::kMaxConfigLength + 1), false, 7, 7,
       9},
  };
  for (const AnswerCase& c : cases) {
    MemoryChannel ch(c.answer);
    LinkConfig config{7, 7};
    EXPECT_EQ(RunDesktopGreeting(ch, &config), c.ok) << c.label;
    EXPECT_EQ(ch.sent(), c.ok ? kDesktopGreeting : std::string("LNK10")) << c.label;
    EXPECT_EQ(config.reverseV, c.reverseV) << c.label;
    EXPECT_EQ(config.reverseH, c.reverseH) << c.label;
    EXPECT_EQ(ch.consumed(), c.consumed) << c.label;
  }
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

// Random answers: the greeting reads them safely (the sanitizers watch) and
// answers only a success with the empty configuration.
TEST(GreetingTest, RandomAnswersAreBounded) {
  FuzzInput fuzz(5);
  for (int round = 0; round < 5000; ++round) {
    std::string answer = (fuzz.Below(2) ? "LNK10" : "") + fuzz.Bytes(fuzz.Below(24));
    if (fuzz.Below(3) == 0 && answer.size() >= 9) answer.replace(5, 4, Le32(fuzz.Below(16)));
    MemoryChannel ch(answer);
    LinkConfig config;
    const bool ok = RunDesktopGreeting(ch, &config);
    EXPECT_EQ(ch.sent(), ok ? kDesktopGreeting : std::string("LNK10")) << "round " << round;
  }
}
