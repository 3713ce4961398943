// GetUiFont: one handle per pixel size for the whole run, from any thread.
#include "config/ui_font.h"

#include <gtest/gtest.h>

#include "framework/handles.h"
#include "framework/worker_thread.h"

namespace {

TEST(UiFontTest, OneFontPerSizeWithTheFaceAndPixelHeight) {
  HFONT twelve = GetUiFont(12);
  ASSERT_NE(nullptr, twelve);
  EXPECT_EQ(twelve, GetUiFont(12));
  EXPECT_NE(twelve, GetUiFont(14));
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
  UniqueHandle go(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  WorkerThread workers[2];
  for (int i = 0; i < 2; ++i)
    ASSERT_TRUE(workers[i].Start([&, i] {
      WaitForSingleObject(go.get(), 10000);
      fromWorker[i] = GetUiFont(kSize);
    }));
  SetEvent(go.get());
  for (WorkerThread& worker : workers) worker.Join();
  ASSERT_NE(nullptr, fromWorker[0]);
  EXPECT_EQ(fromWorker[0], fromWorker[1]);
  EXPECT_EQ(fromWorker[0], GetUiFont(kSize));
}

}  // namespace
