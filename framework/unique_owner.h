// One RAII owner template for every kind of OS handle: Traits says which
// values are empty and how a handle is released.
#pragma once
#include <utility>

template <class T, class Traits>
class UniqueOwner {
 public:
  UniqueOwner() = default;
  explicit UniqueOwner(T h) : h_(h) {}
  ~UniqueOwner() { reset(); }
  UniqueOwner(UniqueOwner&& o) noexcept : h_(o.release()) {}
  UniqueOwner& operator=(UniqueOwner&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  UniqueOwner(const UniqueOwner&) = delete;
  UniqueOwner& operator=(const UniqueOwner&) = delete;

  T get() const { return h_; }
  bool valid() const { return Traits::IsValid(h_); }
  explicit operator bool() const { return valid(); }
  T release() { return std::exchange(h_, T()); }
  void reset(T h = T()) {
    if (valid()) Traits::Release(h_);
    h_ = h;
  }

 private:
  T h_ = T();
};

// Traits for a pointer-like object released by one function (`Free`); null
// is empty. Most library handles need nothing more:
//   using FrameOwner = UniqueOwner<AVFrame*, ReleasedBy<AVFrame, FreeFrame>>;
template <class T, auto Free>
struct ReleasedBy {
  static bool IsValid(T* object) { return object != nullptr; }
  static void Release(T* object) { Free(object); }
};
