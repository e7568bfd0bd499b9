#pragma once
// A copyable atomic for process-wide values that a reader thread reads while the window thread writes.
#include <atomic>

namespace obrix {

template <class T>
class Shared {
 public:
  constexpr Shared(T v = T()) : v_(v) {}
  Shared(const Shared& o) : v_(o.load()) {}
  Shared& operator=(const Shared& o) { store(o.load()); return *this; }
  Shared& operator=(T v) { store(v); return *this; }
  operator T() const { return load(); }
  T load() const { return v_.load(std::memory_order_relaxed); }
  void store(T v) { v_.store(v, std::memory_order_relaxed); }
  T operator++() { return v_.fetch_add(1, std::memory_order_relaxed) + 1; }
  T operator++(int) { return v_.fetch_add(1, std::memory_order_relaxed); }
  T operator--() { return v_.fetch_sub(1, std::memory_order_relaxed) - 1; }
  T operator+=(T d) { return v_.fetch_add(d, std::memory_order_relaxed) + d; }

 private:
  std::atomic<T> v_;
};

}  // namespace obrix
