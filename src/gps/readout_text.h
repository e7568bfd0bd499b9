#pragma once
// Short readout texts held in a fixed buffer: formatted in the C locale, never allocated, cut when too long.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace obrix {

class ReadoutText {
 public:
  static constexpr size_t kCapacity = 63;

  ReadoutText() { buf_[0] = '\0'; }
  explicit ReadoutText(std::string_view text) { Append(text); }

  void Clear() { size_ = 0; buf_[0] = '\0'; }
  // printf-style in the C locale; output beyond the capacity is cut.
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Fast equivalents of printf conversions, same output: "%[-]<width>.<precision>f" and "%[-|0]<width>d".
  void AppendFixed(double value, int precision, int width = 0, bool leftAlign = false);
  void AppendInt(int value, int width = 0, bool leftAlign = false, bool zeroPad = false);
  // Appends UTF-8 text as it is (cut at a character boundary when full).
  void Append(std::string_view utf8) {
    // The size is read once: the byte stores could otherwise change it for all the compiler knows.
    const size_t size = size_;
    if (utf8.size() > kCapacity - size) return AppendBytes(utf8.data(), utf8.size());
    CopyShort(buf_ + size, utf8.data(), utf8.size());
    size_ = size + utf8.size();
    buf_[size + utf8.size()] = '\0';
  }
  // Appends 8-bit text widened byte by byte (each byte the character of the same code), as UTF-8.
  void AppendLatin1(std::string_view bytes) {
    for (char c : bytes)
      if (static_cast<unsigned char>(c) >= 0x80) return AppendWidened(bytes);
    Append(bytes);  // plain ASCII
  }

  std::string_view view() const { return std::string_view(buf_, size_); }
  const char* c_str() const { return buf_; }
  std::string str() const { return std::string(view()); }
  operator std::string() const { return str(); }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  friend bool operator==(const ReadoutText& a, std::string_view b) { return a.view() == b; }

 private:
  // Copies n bytes; up to 16 by two overlapping moves of a fixed size, without a library call.
  static void CopyShort(char* to, const char* from, size_t n) {
    auto overlapping = [&]<class Word>(Word) {
      Word head, tail;
      std::memcpy(&head, from, sizeof head);
      std::memcpy(&tail, from + n - sizeof tail, sizeof tail);
      std::memcpy(to, &head, sizeof head);
      std::memcpy(to + n - sizeof tail, &tail, sizeof tail);
    };
    if (n > 16) std::memcpy(to, from, n);
    else if (n >= 8) overlapping(uint64_t{});
    else if (n >= 4) overlapping(uint32_t{});
    else if (n >= 2) overlapping(uint16_t{});
    else if (n == 1) *to = *from;
  }
  void AppendBytes(const char* p, size_t n);
  // AppendLatin1 of text with 8-bit bytes.
  void AppendWidened(std::string_view bytes);
  char buf_[kCapacity + 1];  // the text and a NUL; what follows it is unset
  size_t size_ = 0;
};

}  // namespace obrix
