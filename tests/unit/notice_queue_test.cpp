#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/web/notice_queue.h"

namespace ludex {
namespace {

using Time = NoticeQueue::Time;

const Notice kUnsavedData{"网站数据无法保存", "登录信息只保留到程序关闭。"};
const Notice kNoSandbox{"网页未在沙盒中运行", ""};
const Notice kBlocked{"已阻止下载", "最多只能同时进行 3 个下载。"};

Notice Download(const std::string& kind, const std::string& page, const std::string& name) {
  return {"下载：" + name, "", Notice::Burst{kind, page, {name}}, NoticeTopic::Downloads};
}

struct Seen {
  std::string title;
  long long at;
  long long waited;
  bool operator==(const Seen&) const = default;
};

// Plays the strip as the program's main loop does: notices come at their
// times, and each shown gives way when its time is over.
std::vector<Seen> Play(const std::vector<std::pair<long long, Notice>>& coming) {
  NoticeQueue queue;
  std::vector<Seen> seen;
  Time now{0};
  const auto note = [&] { seen.push_back({queue.Shown()->title, now.count(), queue.Waited().count()}); };
  for (std::size_t next = 0; next < coming.size() || queue.Shown();) {
    if (next < coming.size() && (!queue.Shown() || Time(coming[next].first) < queue.ShownUntil())) {
      now = Time(coming[next].first);
      if (queue.Add(coming[next++].second, now)) note();
    } else {
      // A time already over ends at once.
      now = std::max(now, queue.ShownUntil());
      if (queue.Next(now)) note();
    }
  }
  return seen;
}

TEST(NoticeQueue, NoticesComingTogetherAreShownInTurn) {
  NoticeQueue queue;
  EXPECT_EQ(queue.Shown(), nullptr);
  EXPECT_TRUE(queue.Add(kUnsavedData, Time(0)));
  EXPECT_FALSE(queue.Add(kNoSandbox, Time(0)));
  EXPECT_FALSE(queue.Add(kBlocked, Time(0)));
  ASSERT_NE(queue.Shown(), nullptr);
  EXPECT_EQ(*queue.Shown(), kUnsavedData);
  // Others waiting, each gives way after 2 s; the last, alone, stays 6 s.
  EXPECT_EQ(queue.ShownUntil(), Time(2000));
  ASSERT_NE(queue.Next(Time(2000)), nullptr);
  EXPECT_EQ(*queue.Shown(), kNoSandbox);
  EXPECT_EQ(queue.ShownUntil(), Time(4000));
  ASSERT_NE(queue.Next(Time(4000)), nullptr);
  EXPECT_EQ(*queue.Shown(), kBlocked);
  EXPECT_EQ(queue.ShownUntil(), Time(10000));
  EXPECT_EQ(queue.Next(Time(10000)), nullptr);
  EXPECT_EQ(queue.Shown(), nullptr);
  // With nothing shown, the next notice is shown at once.
  EXPECT_TRUE(queue.Add(kNoSandbox, Time(20000)));
  EXPECT_EQ(*queue.Shown(), kNoSandbox);
  EXPECT_EQ(queue.ShownUntil(), Time(26000));
}

TEST(NoticeQueue, ANoticeShownOrWaitingIsNotRepeated) {
  NoticeQueue queue;
  EXPECT_TRUE(queue.Add(kUnsavedData, Time(0)));
  EXPECT_FALSE(queue.Add(kUnsavedData, Time(0)));
  EXPECT_FALSE(queue.Add(kBlocked, Time(0)));
  EXPECT_FALSE(queue.Add(kBlocked, Time(0)));
  // The same title with another detail is another notice.
  EXPECT_FALSE(queue.Add({kBlocked.title, "另一个原因"}, Time(0)));
  EXPECT_EQ(*queue.Next(Time(2000)), kBlocked);
  EXPECT_EQ(*queue.Next(Time(4000)), (Notice{kBlocked.title, "另一个原因"}));
  EXPECT_EQ(queue.Next(Time(10000)), nullptr);
  // Gone from the strip, a notice may come again.
  EXPECT_TRUE(queue.Add(kUnsavedData, Time(10000)));
}

TEST(NoticeQueue, AtMostFourWaitAndNoneLongerThanTenSeconds) {
  std::vector<std::pair<long long, Notice>> coming;
  for (int n = 0; n < 12; ++n) coming.push_back({0, {"下载失败：" + std::to_string(n) + ".bin", ""}});
  // The first is shown, the next four wait 2 s each in turn, the rest are dropped.
  EXPECT_EQ(Play(coming), (std::vector<Seen>{{"下载失败：0.bin", 0, 0}, {"下载失败：1.bin", 2000, 2000},
                                             {"下载失败：2.bin", 4000, 4000}, {"下载失败：3.bin", 6000, 6000},
                                             {"下载失败：4.bin", 8000, 8000}}));
  // One shown for longer than 2 s gives way as soon as another comes.
  EXPECT_EQ(Play({{0, kUnsavedData}, {5000, kNoSandbox}}),
            (std::vector<Seen>{{kUnsavedData.title, 0, 0}, {kNoSandbox.title, 5000, 0}}));
}

TEST(NoticeQueue, NoticesOfOneKindFromOnePageMerge) {
  const std::string kStarted = "个文件开始下载";
  const std::string kFinished = "个文件下载完成";
  // A burst from one page, then one from another page.
  EXPECT_EQ(Play({{0, Download(kStarted, "a.cn", "1.bin")},
                  {100, Download(kFinished, "a.cn", "1.bin")},
                  {200, Download(kFinished, "a.cn", "2.bin")},
                  {300, Download(kStarted, "b.cn", "3.bin")},
                  {400, Download(kFinished, "a.cn", "3.bin")}}),
            (std::vector<Seen>{{"下载：1.bin", 0, 0}, {"3 个文件下载完成", 2000, 1900}, {"下载：3.bin", 4000, 3700}}));

  NoticeQueue queue;
  queue.Add(Download(kFinished, "a.cn", "1.bin"), Time(0));
  for (const char* name : {"2.bin", "3.bin", "4.bin", "5.bin"}) {
    // Merged into the notice shown, alone: shown at once, for its whole time again.
    EXPECT_TRUE(queue.Add(Download(kFinished, "a.cn", name), Time(1000)));
  }
  EXPECT_EQ(queue.Shown()->title, "5 个文件下载完成");
  EXPECT_EQ(queue.Shown()->detail, "来自 a.cn：1.bin、2.bin、3.bin、4.bin 等");
  EXPECT_EQ(queue.ShownUntil(), Time(7000));
}

}  // namespace
}  // namespace ludex
