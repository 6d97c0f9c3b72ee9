// Test images for the resize tests: buffers with guard bands, filled and compared element-wise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace resize_test {

inline constexpr uint8_t kSentinel = 0xA5;
inline constexpr size_t kGuard = 64;

// Rows of `step` bytes with guard bands before and after; every byte starts as the sentinel.
class GuardedBuffer {
 public:
  GuardedBuffer(int32_t rows, int32_t step) : rows_(rows), step_(step) {
    storage_.assign(kGuard * 2 + static_cast<size_t>(rows) * static_cast<size_t>(step), kSentinel);
  }
  uint8_t* data() { return storage_.data() + kGuard; }
  const uint8_t* data() const { return storage_.data() + kGuard; }
  int32_t step() const { return step_; }
  int32_t rows() const { return rows_; }
  uint8_t* row(int32_t r) { return data() + static_cast<ptrdiff_t>(r) * step_; }
  const uint8_t* row(int32_t r) const { return data() + static_cast<ptrdiff_t>(r) * step_; }

  template <typename T>
  T Get(int32_t r, int32_t element) const {
    T v;
    std::memcpy(&v, row(r) + static_cast<ptrdiff_t>(element) * sizeof(T), sizeof(T));
    return v;
  }
  template <typename T>
  void Set(int32_t r, int32_t element, T v) {
    std::memcpy(row(r) + static_cast<ptrdiff_t>(element) * sizeof(T), &v, sizeof(T));
  }

  // Describes every byte that differs from the sentinel outside the area a resize may write:
  // `rows` rows, `pixels` pixels of `stride` elements of `elemSize` bytes, of which the first
  // `written` elements of each pixel.  Empty when nothing else was touched.
  std::string Untouched(int32_t rows, int32_t pixels, int32_t stride, int32_t written,
                        int32_t elemSize) const {
    std::string bad;
    auto check = [&](size_t index, const char* where) {
      if (storage_[index] != kSentinel && bad.size() < 400) {
        bad += std::string(where) + " byte " +
               std::to_string(static_cast<long long>(index) - static_cast<long long>(kGuard)) +
               "; ";
      }
    };
    for (size_t i = 0; i < kGuard; ++i) check(i, "front guard");
    for (size_t i = 0; i < kGuard; ++i) check(storage_.size() - kGuard + i, "back guard");
    for (int32_t r = 0; r < rows_; ++r) {
      for (int32_t b = 0; b < step_; ++b) {
        const int32_t element = b / elemSize;
        const bool writable = r < rows && element < pixels * stride && element % stride < written;
        if (!writable) check(kGuard + static_cast<size_t>(r) * step_ + b, "outside");
      }
    }
    return bad;
  }

 private:
  int32_t rows_;
  int32_t step_;
  std::vector<uint8_t> storage_;
};

// FNV-1a over bytes.
inline uint64_t Fnv1a(const uint8_t* p, size_t n, uint64_t h = 1469598103934665603ull) {
  for (size_t i = 0; i < n; ++i) {
    h ^= p[i];
    h *= 1099511628211ull;
  }
  return h;
}

// A deterministic generator for test data (the same sequence in every tree).
class TestRng {
 public:
  explicit TestRng(uint64_t seed) : s_(seed * 6364136223846793005ull + 1442695040888963407ull) {}
  uint32_t Next() {
    s_ = s_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(s_ >> 33);
  }
  int32_t Range(int32_t lo, int32_t hi) {  // inclusive
    return lo + static_cast<int32_t>(Next() % static_cast<uint32_t>(hi - lo + 1));
  }
  double Unit() { return Next() / 2147483648.0; }

 private:
  uint64_t s_;
};

}  // namespace resize_test
