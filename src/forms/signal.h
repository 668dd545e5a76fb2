// Observer lists for control and form notifications.
//
// A Subscription detaches on destruction, so an observer that goes away never hears
// another notification. Detaching (or attaching) while a notification is running is safe:
// each emission calls the observers attached when it started, minus those detached since.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace qbk::forms {

class [[nodiscard]] Subscription {
 public:
  Subscription() = default;
  explicit Subscription(std::function<void()> detach) : detach_(std::move(detach)) {}
  Subscription(Subscription&& other) noexcept : detach_(std::exchange(other.detach_, nullptr)) {}
  Subscription& operator=(Subscription&& other) noexcept {
    if (this != &other) {
      reset();
      detach_ = std::exchange(other.detach_, nullptr);
    }
    return *this;
  }
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;
  ~Subscription() { reset(); }

  void reset() {
    if (auto detach = std::exchange(detach_, nullptr)) detach();
  }
  bool attached() const { return static_cast<bool>(detach_); }

 private:
  std::function<void()> detach_;
};

template <class... Args>
class Signal {
 public:
  using Slot = std::function<void(Args...)>;

  Subscription connect(Slot fn) {
    auto entry = std::make_shared<Entry>(Entry{std::move(fn), true});
    entries_->push_back(entry);
    std::weak_ptr<List> list = entries_;
    std::weak_ptr<Entry> weak = entry;
    return Subscription([list, weak] {
      auto e = weak.lock();
      if (!e) return;
      e->attached = false;
      if (auto l = list.lock()) std::erase(*l, e);
    });
  }

  void emit(Args... args) const {
    if (entries_->empty()) return;
    const List snapshot = *entries_;
    for (const auto& e : snapshot) {
      if (e->attached) e->fn(args...);
    }
  }

  bool empty() const { return entries_->empty(); }

 private:
  struct Entry {
    Slot fn;
    bool attached;
  };
  using List = std::vector<std::shared_ptr<Entry>>;
  std::shared_ptr<List> entries_ = std::make_shared<List>();
};

}  // namespace qbk::forms
