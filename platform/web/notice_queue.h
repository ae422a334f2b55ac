// The notices waiting their turn on a notice strip that shows one at a time,
// so that two coming together (at start, say) are both seen.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace ludex {

struct Notice {
  std::string title;
  std::string detail;

  bool operator==(const Notice&) const = default;
};

class NoticeQueue {
 public:
  // A page that makes notice after notice cannot fill the next minutes;
  // what does not fit is dropped (the log has every notice).
  static constexpr std::size_t kMostWaiting = 8;

  // Queues `notice` unless the same notice is shown or waiting already, or
  // too many wait. True when it is to be shown now, nothing being shown.
  bool Add(Notice notice);
  // The notice shown, or nullptr.
  const Notice* Shown() const;
  // The shown notice's time is over: the next one in line is shown, and
  // returned (nullptr when none waits).
  const Notice* Next();

 private:
  std::deque<Notice> notices_;  // the one shown first, then the ones waiting
};

}  // namespace ludex
