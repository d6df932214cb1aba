// A growable list of plain items in malloc'd storage, and texts built in one: the platform
// layer's tables without the C++ runtime. A list has no destructor, so that the process-wide
// tables are zero-initialised at load and never torn down; Release frees a list's storage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace platform {

// Ends the process, as an exhausted operator new did: a line on standard error, then abort.
[[noreturn]] void OutOfMemory();
// realloc that ends the process when no memory is left.
void* Reallocate(void* block, size_t bytes);
// A malloc'd, terminated copy of length bytes of text.
char* CopyText(const char* text, size_t length);
inline char* CopyText(const char* text) { return CopyText(text, std::strlen(text)); }

template <typename T>
class PlainList {
  static_assert(std::is_trivially_copyable_v<T>, "items are moved with memmove");
  static size_t Bytes(size_t count) {
    return count * sizeof(T);  // NOLINT(bugprone-sizeof-expression): items may be pointers
  }

 public:
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* data() { return items_; }
  const T* data() const { return items_; }
  T* begin() { return items_; }
  T* end() { return items_ + size_; }
  const T* begin() const { return items_; }
  const T* end() const { return items_ + size_; }
  T& operator[](size_t i) { return items_[i]; }
  const T& operator[](size_t i) const { return items_[i]; }
  T& back() { return items_[size_ - 1]; }

  // Items are taken by value: one that lies in this list stays valid while it grows.
  void Append(T item) { Insert(size_, item); }
  void Append(const T* items, size_t count) {
    if (count == 0) return;
    Reserve(size_ + count);
    std::memcpy(items_ + size_, items, Bytes(count));
    size_ += count;
  }
  void Insert(size_t at, T item) {
    Reserve(size_ + 1);
    std::memmove(items_ + at + 1, items_ + at, Bytes(size_ - at));
    items_[at] = item;
    ++size_;
  }
  void Erase(size_t at) {
    std::memmove(items_ + at, items_ + at + 1, Bytes(size_ - at - 1));
    --size_;
  }
  // The index of the first item equal to item, or size() when there is none.
  size_t IndexOf(const T& item) const {
    size_t i = 0;
    while (i < size_ && !(items_[i] == item)) ++i;
    return i;
  }
  void Truncate(size_t count) {
    if (count < size_) size_ = count;
  }
  void CopyFrom(const PlainList& other) {
    size_ = 0;
    Append(other.items_, other.size_);
  }
  void Release() {
    std::free(items_);
    items_ = nullptr;
    size_ = capacity_ = 0;
  }

 private:
  void Reserve(size_t count) {
    if (count <= capacity_) return;
    size_t capacity = capacity_ < 4 ? 4 : capacity_;
    while (capacity < count) capacity *= 2;
    if (capacity > SIZE_MAX / Bytes(1)) OutOfMemory();
    items_ = static_cast<T*>(Reallocate(items_, Bytes(capacity)));
    capacity_ = capacity;
  }

  T* items_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

// A text built in a list of characters, kept terminated after its last character.
void AppendText(PlainList<char>& text, const char* more, size_t length);
inline void AppendText(PlainList<char>& text, const char* more) {
  AppendText(text, more, std::strlen(more));
}
// The text, "" while nothing was appended.
inline const char* TextOf(const PlainList<char>& text) { return text.empty() ? "" : text.data(); }

}  // namespace platform
