// Variant: the framework's dynamically typed value (empty, null, integer, 64-bit integer, double,
// date, Boolean, string, array of variants) with its conversions, arithmetic and comparisons.
// The report engine's expressions compute with it.
//
// Mixed types, in one table (Empty is first replaced: by "" when the other operand is a String
// under "+", by False when it is a Boolean under and/or/xor, by Integer 0 otherwise):
//
// | operation           | either Null | String, String  | String and other        | numbers / Booleans |
// |---------------------|-------------|-----------------|-------------------------|---------------------------|
// | +                   | Null        | concatenation   | the String as Double    | numeric, see below | | -
// *                 | Null        | both as Double  | the String as Double    | numeric                   |
// | /                   | Null        | both as Double  | the String as Double    | Double quotient | |
// VarIntDiv VarMod    | Null        | both as integer | both as integer         | integer, truncated        |
// | VarAnd VarOr VarXor | Null        | both as integer | both as integer         | Boolean, Boolean:
// logical;| |                     |             |                 |                         | otherwise
// bitwise integer | | = <> < <= > >=      | Null equals only Null and is less than any other value | | | |
// AnsiCompareStr  | the String as Double    | numeric (False < True)    |
//
// Numeric results: Double if either operand is a Double; a Date plus or minus a number is a Date,
// a Date minus a Date is a Double; otherwise Integer, widened to Int64 and then to Double when
// the result does not fit. A Boolean counts as -1 (True) or 0 (False) in arithmetic and bitwise
// operations. A Double or Date becomes an integer by rounding halves to even. A String becomes a
// number by StrToFloat with the process-wide settings ("True"/"False" also count as -1/0 where
// an integer is needed). Division, VarIntDiv and VarMod by zero raise EVariantError
// "Division by zero"; a failed conversion raises EVariantTypeCastError "Could not convert variant
// of type (String) into type (Double)"; arrays take part in no operation
// (EVariantError "Invalid variant operation").
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Types.h"

using TVarType = uint16_t;
constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varVariant = 0x000C;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varString = 0x0100;
constexpr TVarType varTypeMask = 0x0FFF;
constexpr TVarType varArray = 0x2000;

class Variant {
 public:
  Variant() = default;  // Unassigned (empty)
  Variant(bool v) : type_(varBoolean), int_(v ? 1 : 0) {}
  // Signed types up to 32 bits and unsigned ones below 32 bits are Integer, the others Int64.
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char>) Variant(T v)
      : type_(std::is_signed_v<T> ? (sizeof(T) <= 4 ? varInteger : varInt64)
                                  : (sizeof(T) < 4 ? varInteger : varInt64)),
        int_(static_cast<int64_t>(v)) {}
  Variant(double v) : type_(varDouble), double_(v) {}
  Variant(float v) : type_(varDouble), double_(v) {}
  Variant(long double v) : type_(varDouble), double_(static_cast<double>(v)) {}
  Variant(char c) : type_(varString), str_(1, c) {}
  Variant(const char* s) : type_(varString), str_(s ? s : "") {}
  Variant(AnsiString s) : type_(varString), str_(std::move(s)) {}
  Variant(const void*) = delete;  // no pointers: they would silently become Booleans

  static Variant MakeNull();
  static Variant FromDate(TDateTime date);
  static Variant FromArray(std::vector<Variant> items);

  TVarType VType() const { return type_; }
  bool IsEmpty() const { return type_ == varEmpty; }
  bool IsNull() const { return type_ == varNull; }
  bool IsArray() const { return (type_ & varArray) != 0; }
  bool IsNumeric() const;  // Integer, Int64, Double, Date or Boolean

  // Conversions by the table above; Empty gives 0 / False / "", Null raises.
  int32_t AsInteger() const;
  int64_t AsInt64() const;
  double AsDouble() const;
  TDateTime AsDate() const;
  bool AsBoolean() const;
  AnsiString AsString() const;

  // Arrays (one dimension, low bound 0); a bad index raises EVariantError
  // "Variant array index out of bounds".
  int32_t ArrayHighBound() const;
  const Variant& operator[](int32_t index) const;
  Variant& operator[](int32_t index);

  friend Variant operator+(const Variant& a, const Variant& b);
  friend Variant operator-(const Variant& a, const Variant& b);
  friend Variant operator*(const Variant& a, const Variant& b);
  friend Variant operator/(const Variant& a, const Variant& b);
  friend Variant operator-(const Variant& a);
  Variant& operator+=(const Variant& b) { return *this = *this + b; }
  Variant& operator-=(const Variant& b) { return *this = *this - b; }

  friend bool operator==(const Variant& a, const Variant& b);
  friend bool operator<(const Variant& a, const Variant& b);
  friend bool operator<=(const Variant& a, const Variant& b);
  friend bool operator>(const Variant& a, const Variant& b) { return b < a; }
  friend bool operator>=(const Variant& a, const Variant& b) { return b <= a; }

 private:
  friend struct VariantOps;
  TVarType type_ = varEmpty;
  int64_t int_ = 0;    // Integer, Int64, Boolean (0/1)
  double double_ = 0;  // Double, Date
  AnsiString str_;
  std::vector<Variant> items_;
};

// The framework's constants, as values.
inline Variant Unassigned() { return Variant(); }
inline Variant Null() { return Variant::MakeNull(); }

Variant VarIntDiv(const Variant& a, const Variant& b);
Variant VarMod(const Variant& a, const Variant& b);
Variant VarAnd(const Variant& a, const Variant& b);
Variant VarOr(const Variant& a, const Variant& b);
Variant VarXor(const Variant& a, const Variant& b);
// Logical on a Boolean, bitwise on an integer; Null stays Null.
Variant VarNot(const Variant& a);

// Text form: "" for Empty and Null, FloatToStr for Doubles, DateTimeToStr for Dates,
// "True"/"False" for Booleans.
AnsiString VarToStr(const Variant& v);
inline bool VarIsNull(const Variant& v) { return v.IsNull(); }
inline bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
inline bool VarIsArray(const Variant& v) { return v.IsArray(); }
inline TVarType VarType(const Variant& v) { return v.VType(); }
Variant VarArrayOf(std::initializer_list<Variant> items);
inline int32_t VarArrayLowBound(const Variant&) { return 0; }
inline int32_t VarArrayHighBound(const Variant& v) { return v.ArrayHighBound(); }
