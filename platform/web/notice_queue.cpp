#include "platform/web/notice_queue.h"

#include <algorithm>
#include <utility>

namespace ludex {

bool NoticeQueue::Add(Notice notice) {
  if (std::ranges::find(notices_, notice) != notices_.end()) return false;
  if (notices_.size() > kMostWaiting) return false;
  notices_.push_back(std::move(notice));
  return notices_.size() == 1;
}

const Notice* NoticeQueue::Shown() const { return notices_.empty() ? nullptr : &notices_.front(); }

const Notice* NoticeQueue::Next() {
  if (!notices_.empty()) notices_.pop_front();
  return Shown();
}

}  // namespace ludex
