// The notices waiting their turn on a notice strip that shows one at a time,
// so that two coming together (at start, say) are both seen, and none waits
// long: while others wait, the one shown gives way after a short while, and
// notices that come in bursts (one per download) merge into one that counts
// them.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace ludex {

// What a click on the notice opens.
enum class NoticeTopic { None, Downloads };

struct Notice {
  // Marks a notice of a kind that comes in bursts. One of the same kind from
  // the same page, shown or waiting, takes it in: "3 个文件下载完成".
  struct Burst {
    std::string kind;  // what follows the count in the merged title: "个文件下载完成"
    std::string page;  // the site the notices come from
    std::vector<std::string> items;  // what each notice taken in is about, in order

    bool operator==(const Burst&) const = default;
  };

  std::string title;
  std::string detail;
  std::optional<Burst> burst{};
  NoticeTopic topic = NoticeTopic::None;

  bool operator==(const Notice&) const = default;
};

class NoticeQueue {
 public:
  // Time since any fixed moment.
  using Time = std::chrono::milliseconds;

  static constexpr Time kShown{6000};
  // How long the notice shown stays once others wait behind it.
  static constexpr Time kShownWhileOthersWait{2000};
  // What does not fit is dropped (the log has every notice).
  static constexpr std::size_t kMostWaiting = 4;
  // Each waiting notice is shown within this of its coming: the one shown
  // gives way within kShownWhileOthersWait, and so does each before it.
  static constexpr Time kLongestWait{10000};
  static_assert(kMostWaiting * kShownWhileOthersWait <= kLongestWait);

  // Takes `notice`, come at `now`, unless the same notice is shown or waiting
  // already, or too many wait. True when what the strip shows changed: the
  // notice is shown at once, nothing being shown, or merged into the one shown.
  bool Add(Notice notice, Time now);
  // The notice shown, or nullptr.
  const Notice* Shown() const;
  // How long the notice shown waited for its turn.
  Time Waited() const;
  // When the notice shown is to give way.
  Time ShownUntil() const;
  // The shown notice's time is over at `now`: the next one in line is shown,
  // and returned (nullptr when none waits).
  const Notice* Next(Time now);

 private:
  struct Entry {
    Notice notice;
    Time came;  // when what it says that has not been shown yet came
  };

  std::deque<Entry> entries_;  // the one shown first, then the ones waiting
  Time shown_since_{0};
};

}  // namespace ludex
