// The fixed-size single-byte string that stored records use: a length byte followed by room for
// N characters (N at most 255), N + 1 bytes in all, copied byte for byte to and from files.
// Longer text is cut to N characters; positions are 1-based.
#pragma once

#include <algorithm>
#include <cstring>

#include "platform/runtime/Types.h"

template <unsigned N>
struct TShortString {
  static_assert(N >= 1 && N <= 255, "a short string holds 1 to 255 characters");
  uint8_t Bytes[N + 1] = {};

  TShortString() = default;
  TShortString(const AnsiString& s) { Assign(s); }  // NOLINT: converts as the type does
  TShortString& operator=(const AnsiString& s) {
    Assign(s);
    return *this;
  }
  void Assign(const AnsiString& s) {
    size_t n = std::min<size_t>(s.size(), N);
    Bytes[0] = uint8_t(n);
    std::memcpy(Bytes + 1, s.data(), n);
    std::memset(Bytes + 1 + n, 0, N - n);
  }
  // A length byte above N (a damaged record) reads as N.
  uint8_t Length() const { return std::min<uint8_t>(Bytes[0], uint8_t(N)); }
  static constexpr unsigned MaxLength() { return N; }
  AnsiString Str() const { return AnsiString(reinterpret_cast<const char*>(Bytes + 1), Length()); }
  operator AnsiString() const { return Str(); }  // NOLINT
  char& operator[](unsigned i) { return reinterpret_cast<char&>(Bytes[std::clamp(i, 1u, N)]); }
  char operator[](unsigned i) const { return char(Bytes[std::clamp(i, 1u, N)]); }
  friend bool operator==(const TShortString& a, const TShortString& b) { return a.Str() == b.Str(); }
};

using ShortString = TShortString<255>;
static_assert(sizeof(ShortString) == 256);
