// object.h - the root of every framework and game class, and the reference that keeps it alive.
//
// Objects carry their own reference count (an intrusive count) and are freed when the last Ref
// to them goes. The count lives inside the object rather than beside it (as std::shared_ptr would
// keep it) because the framework hands out raw `this` pointers everywhere: an entity adds itself
// to its list from inside its own code, a list's sentinel refers to itself, and a Ref can be made
// again from any raw pointer without a second control block. The count is atomic so that an
// object built on a worker thread (a music track decoded in the background) can be handed over.
//
//   Ref<TThing> thing = New<TThing>(args...);   // count 1
//   TObject* raw = thing.get();                 // borrowed, no count
//   Ref<TThing> again(raw_thing);               // count 2: a Ref can always be rebuilt from raw
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <utility>

class TObject {
 public:
  TObject() = default;
  // A copy is a new object with no references yet.
  TObject(const TObject&) noexcept {}
  TObject& operator=(const TObject&) noexcept { return *this; }
  virtual ~TObject() = default;

  // Ordering used by lists and maps: 0 means equal. By default objects are equal only to
  // themselves, and otherwise ordered by identity.
  virtual int Compare(const TObject* other) const;
  virtual std::string ToString() const;

  void Retain() const noexcept { refs_.fetch_add(1, std::memory_order_relaxed); }
  void Release() const noexcept {
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }
  int RefCount() const noexcept { return refs_.load(std::memory_order_relaxed); }

 private:
  mutable std::atomic<int> refs_{0};
};

template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  Ref(T* p) noexcept : p_(p) {
    if (p_) p_->Retain();
  }
  Ref(const Ref& o) noexcept : Ref(o.p_) {}
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U>
  Ref(const Ref<U>& o) noexcept : Ref(static_cast<T*>(o.get())) {}
  template <class U>
  Ref(Ref<U>&& o) noexcept : p_(o.detach()) {}
  ~Ref() {
    if (p_) p_->Release();
  }

  Ref& operator=(Ref o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  void reset() noexcept { Ref().swap(*this); }
  void swap(Ref& o) noexcept { std::swap(p_, o.p_); }
  // Gives up ownership without releasing: the caller takes over the count.
  T* detach() noexcept { return std::exchange(p_, nullptr); }

  friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

 private:
  T* p_ = nullptr;
};

template <class T, class... Args>
Ref<T> New(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));
}

// A checked downcast that keeps the reference: null when `o` is not a T.
template <class T, class U>
Ref<T> Cast(const Ref<U>& o) noexcept {
  return Ref<T>(dynamic_cast<T*>(o.get()));
}
