// GetUiFont: one handle per pixel size for the whole run, from any thread.
#include "config/ui_font.h"

#include <gtest/gtest.h>

#include "framework/worker_thread.h"

namespace {

TEST(UiFontTest, SameSizeGivesSameHandleAndSizesDiffer) {
  HFONT twelve = GetUiFont(12);
  ASSERT_NE(nullptr, twelve);
  EXPECT_EQ(twelve, GetUiFont(12));
  HFONT fourteen = GetUiFont(14);
  ASSERT_NE(nullptr, fourteen);
  EXPECT_NE(twelve, fourteen);
}

TEST(UiFontTest, FontHasTheFaceAndPixelHeight) {
  LOGFONTA description{};
  ASSERT_NE(0, GetObjectA(GetUiFont(13), sizeof description, &description));
  EXPECT_STREQ("微软雅黑", description.lfFaceName);
  EXPECT_EQ(-13, description.lfHeight);  // the screen DC maps 1:1 at 96 dots per inch
  EXPECT_EQ(DEFAULT_CHARSET, description.lfCharSet);
}

TEST(UiFontTest, TwoThreadsAskingForANewSizeGetOneHandle) {
  // A size no other test uses, so both threads race for the first creation.
  constexpr int kSize = 37;
  HFONT fromWorker[2] = {};
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  WorkerThread a, b;
  ASSERT_TRUE(a.Start([&] {
    WaitForSingleObject(go, 10000);
    fromWorker[0] = GetUiFont(kSize);
  }));
  ASSERT_TRUE(b.Start([&] {
    WaitForSingleObject(go, 10000);
    fromWorker[1] = GetUiFont(kSize);
  }));
  SetEvent(go);
  a.Join();
  b.Join();
  CloseHandle(go);
  ASSERT_NE(nullptr, fromWorker[0]);
  EXPECT_EQ(fromWorker[0], fromWorker[1]);
  EXPECT_EQ(fromWorker[0], GetUiFont(kSize));
}

}  // namespace
