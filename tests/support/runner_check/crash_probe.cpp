// A test program that crashes in its second test: the test runner must
// report it as failed although (under Wine) it may exit with status 0.
#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(CrashProbe, RunsFirst) {
  SUCCEED();
}

TEST(CrashProbe, CrashesSecond) {
  std::fflush(stdout);
  volatile int* nowhere = nullptr;
  *nowhere = 1;  // an access violation (SIGSEGV natively)
}

TEST(CrashProbe, NeverRuns) {
  SUCCEED();
}

}  // namespace
