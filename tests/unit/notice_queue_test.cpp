#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/web/notice_queue.h"

namespace ludex {
namespace {

const Notice kUnsavedData{"网站数据无法保存", "登录信息只保留到程序关闭。"};
const Notice kNoSandbox{"网页未在沙盒中运行", ""};
const Notice kBlocked{"已阻止下载", "最多只能同时进行 3 个下载。"};

TEST(NoticeQueue, NoticesComingTogetherAreShownInTurn) {
  NoticeQueue queue;
  EXPECT_EQ(queue.Shown(), nullptr);
  EXPECT_TRUE(queue.Add(kUnsavedData));
  EXPECT_FALSE(queue.Add(kNoSandbox));
  EXPECT_FALSE(queue.Add(kBlocked));
  ASSERT_NE(queue.Shown(), nullptr);
  EXPECT_EQ(*queue.Shown(), kUnsavedData);
  ASSERT_NE(queue.Next(), nullptr);
  EXPECT_EQ(*queue.Shown(), kNoSandbox);
  ASSERT_NE(queue.Next(), nullptr);
  EXPECT_EQ(*queue.Shown(), kBlocked);
  EXPECT_EQ(queue.Next(), nullptr);
  EXPECT_EQ(queue.Shown(), nullptr);
  // With nothing shown, the next notice is shown at once.
  EXPECT_TRUE(queue.Add(kNoSandbox));
  EXPECT_EQ(*queue.Shown(), kNoSandbox);
}

TEST(NoticeQueue, ANoticeShownOrWaitingIsNotRepeated) {
  NoticeQueue queue;
  EXPECT_TRUE(queue.Add(kUnsavedData));
  EXPECT_FALSE(queue.Add(kUnsavedData));
  EXPECT_FALSE(queue.Add(kBlocked));
  EXPECT_FALSE(queue.Add(kBlocked));
  // The same title with another detail is another notice.
  EXPECT_FALSE(queue.Add({kBlocked.title, "另一个原因"}));
  EXPECT_EQ(*queue.Next(), kBlocked);
  EXPECT_EQ(*queue.Next(), (Notice{kBlocked.title, "另一个原因"}));
  EXPECT_EQ(queue.Next(), nullptr);
  // Gone from the strip, a notice may come again.
  EXPECT_TRUE(queue.Add(kUnsavedData));
}

TEST(NoticeQueue, AtMostEightWaitBehindTheOneShown) {
  NoticeQueue queue;
  for (int n = 0; n < 12; ++n) queue.Add({"下载失败：" + std::to_string(n) + ".bin", ""});
  // The first is shown, the next eight wait, the last three are dropped.
  std::vector<std::string> in_turn;
  for (const Notice* notice = queue.Shown(); notice; notice = queue.Next()) in_turn.push_back(notice->title);
  EXPECT_EQ(in_turn, (std::vector<std::string>{"下载失败：0.bin", "下载失败：1.bin", "下载失败：2.bin", "下载失败：3.bin",
                                                "下载失败：4.bin", "下载失败：5.bin", "下载失败：6.bin", "下载失败：7.bin",
                                                "下载失败：8.bin"}));
}

}  // namespace
}  // namespace ludex
