#include "platform/web/notice_queue.h"

#include <algorithm>
#include <utility>

namespace ludex {

namespace {

// A merged notice names this many of its items; the count says the rest.
constexpr std::size_t kItemsNamed = 4;

bool SameBurst(const Notice& a, const Notice& b) {
  return a.burst && b.burst && a.burst->kind == b.burst->kind && a.burst->page == b.burst->page;
}

void TakeIn(Notice& merged, const Notice& notice) {
  Notice::Burst& burst = *merged.burst;
  burst.items.insert(burst.items.end(), notice.burst->items.begin(), notice.burst->items.end());
  merged.title = std::to_string(burst.items.size()) + " " + burst.kind;
  merged.detail = "来自 " + burst.page + "：";
  for (std::size_t i = 0; i < std::min(burst.items.size(), kItemsNamed); ++i) {
    merged.detail += (i == 0 ? "" : "、") + burst.items[i];
  }
  if (burst.items.size() > kItemsNamed) merged.detail += " 等";
}

}  // namespace

bool NoticeQueue::Add(Notice notice, Time now) {
  const auto same = [&](const Entry& entry) { return entry.notice == notice; };
  if (std::ranges::any_of(entries_, same)) return false;
  const auto of_burst = [&](const Entry& entry) { return SameBurst(entry.notice, notice); };
  if (const auto it = std::ranges::find_if(entries_, of_burst); it != entries_.end()) {
    TakeIn(it->notice, notice);
    if (it != entries_.begin()) return false;
    // The notice shown says more now: seen at once, and for its whole time unless others wait.
    it->came = now;
    if (entries_.size() == 1) shown_since_ = now;
    return true;
  }
  if (entries_.size() > kMostWaiting) return false;
  entries_.push_back({std::move(notice), now});
  if (entries_.size() > 1) return false;
  shown_since_ = now;
  return true;
}

const Notice* NoticeQueue::Shown() const { return entries_.empty() ? nullptr : &entries_.front().notice; }

NoticeQueue::Time NoticeQueue::Waited() const {
  return entries_.empty() ? Time{0} : std::max(Time{0}, shown_since_ - entries_.front().came);
}

NoticeQueue::Time NoticeQueue::ShownUntil() const {
  return shown_since_ + (entries_.size() > 1 ? kShownWhileOthersWait : kShown);
}

const Notice* NoticeQueue::Next(Time now) {
  if (!entries_.empty()) entries_.pop_front();
  shown_since_ = now;
  return Shown();
}

}  // namespace ludex
