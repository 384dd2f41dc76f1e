// Basic value types every layer shares: strings, geometry, sets and the message record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>

// Single-byte text in code page 1252, bytes kept as they are; positions in the framework's
// routines are 1-based.
using AnsiString = std::string;
// UTF-16 text (themed captions and edit texts).
using WideString = std::u16string;
// Days since 1899-12-30, the fraction is the time of day.
using TDateTime = double;

// Scalars of the operating-system interface that the runtime already needs.
using BOOL = int32_t;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

// The "no time limit" of every wait.
constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
// Result codes of the component-object interfaces (visual styles, drag and drop).
using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001u);
constexpr HRESULT E_FAIL = HRESULT(0x80004005u);

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and bottom are exclusive, as everywhere in the drawing layer.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int32_t x, int32_t y) { return {x, y}; }
inline TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return {l, t, r, b}; }
inline TRect Bounds(int32_t l, int32_t t, int32_t w, int32_t h) { return {l, t, l + w, t + h}; }

// A window message as a message handler sees it; specialised views reinterpret WParam/LParam.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// `set of E` for enumerations whose values lie in 0 .. N-1.
template <class E, unsigned N = 64>
class TSet {
  static_assert(std::is_enum_v<E> || std::is_integral_v<E>, "TSet holds enumeration values");
  static_assert(N <= 256, "TSet holds at most 256 values");
  static constexpr unsigned kWords = (N + 63) / 64;
  uint64_t bits_[kWords] = {};

  static constexpr unsigned Index(E e) { return static_cast<unsigned>(e); }

 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E e : values) Include(e);
  }

  constexpr bool Contains(E e) const {
    unsigned i = Index(e);
    return i < N && ((bits_[i / 64] >> (i % 64)) & 1u);
  }
  constexpr TSet& Include(E e) {
    unsigned i = Index(e);
    if (i < N) bits_[i / 64] |= uint64_t(1) << (i % 64);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    unsigned i = Index(e);
    if (i < N) bits_[i / 64] &= ~(uint64_t(1) << (i % 64));
    return *this;
  }
  constexpr bool Empty() const {
    for (uint64_t w : bits_)
      if (w) return false;
    return true;
  }
  // The set as a bit mask of its first 64 values (stored sets, ordinal property access).
  constexpr uint64_t Mask() const { return bits_[0]; }
  static constexpr TSet FromMask(uint64_t mask) {
    TSet s;
    s.bits_[0] = N >= 64 ? mask : (mask & ((uint64_t(1) << N) - 1));
    return s;
  }

  constexpr TSet operator+(const TSet& o) const {
    TSet r;
    for (unsigned i = 0; i < kWords; ++i) r.bits_[i] = bits_[i] | o.bits_[i];
    return r;
  }
  constexpr TSet operator-(const TSet& o) const {
    TSet r;
    for (unsigned i = 0; i < kWords; ++i) r.bits_[i] = bits_[i] & ~o.bits_[i];
    return r;
  }
  constexpr TSet operator*(const TSet& o) const {
    TSet r;
    for (unsigned i = 0; i < kWords; ++i) r.bits_[i] = bits_[i] & o.bits_[i];
    return r;
  }
  constexpr TSet& operator+=(const TSet& o) { return *this = *this + o; }
  constexpr TSet& operator-=(const TSet& o) { return *this = *this - o; }
  constexpr TSet& operator*=(const TSet& o) { return *this = *this * o; }
  constexpr TSet operator+(E e) const { return TSet(*this).Include(e); }
  constexpr TSet operator-(E e) const { return TSet(*this).Exclude(e); }
  // a <= b: every member of a is in b.
  constexpr bool operator<=(const TSet& o) const { return (*this - o).Empty(); }
  friend constexpr bool operator==(const TSet&, const TSet&) = default;
};
