// A test program that ends in its second test, by a crash or by leaving
// with status 0 (what a crash under Wine can look like): the test runner
// must report either as failed. The check picks the ending with a filter.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

TEST(CrashProbe, RunsFirst) {
  SUCCEED();
}

TEST(CrashProbe, CrashesSecond) {
  std::fflush(stdout);
  volatile int* nowhere = nullptr;
  *nowhere = 1;  // an access violation (SIGSEGV natively)
}

TEST(CrashProbe, ExitsWithStatusZeroSecond) {
  std::fflush(stdout);
  std::_Exit(0);
}

TEST(CrashProbe, NeverRuns) {
  SUCCEED();
}

}  // namespace
