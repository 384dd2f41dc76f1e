// Sections: construction / conversions / arrays / arithmetic / bitwise and logical /
// comparison / text.
#include "platform/runtime/Variants.h"

#include <cmath>
#include <limits>

#include "platform/runtime/DateTime.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"

namespace {

const char* TypeName(TVarType t) {
  if (t & varArray) return "Array";
  switch (t) {
    case varEmpty:
      return "Empty";
    case varNull:
      return "Null";
    case varInteger:
      return "Integer";
    case varInt64:
      return "Int64";
    case varDouble:
      return "Double";
    case varDate:
      return "Date";
    case varBoolean:
      return "Boolean";
    case varString:
      return "String";
    default:
      return "Unknown";
  }
}

[[noreturn]] void RaiseCast(TVarType from, TVarType to) {
  throw EVariantTypeCastError(AnsiString("Could not convert variant of type (") + TypeName(from) +
                              ") into type (" + TypeName(to) + ")");
}
[[noreturn]] void RaiseInvalidOperation() { throw EVariantError("Invalid variant operation"); }
[[noreturn]] void RaiseDivision() { throw EVariantError("Division by zero"); }

bool FitsInt32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

}  // namespace

// The operations reach the representation through this one friend.
struct VariantOps {
  // A number in one of three forms, for arithmetic and comparisons.
  struct Num {
    enum Kind { Int, Int64, Dbl, Date } kind;
    int64_t i = 0;
    double d = 0;
    long double Value() const { return kind == Int || kind == Int64 ? static_cast<long double>(i) : d; }
  };

  // The number of every kind but String, Null and arrays.
  static bool PlainNum(const Variant& v, Num& n) {
    switch (v.type_) {
      case varEmpty:
        n = {Num::Int, 0, 0};
        return true;
      case varBoolean:
        n = {Num::Int, v.int_ ? -1 : 0, 0};
        return true;
      case varInteger:
        n = {Num::Int, v.int_, 0};
        return true;
      case varInt64:
        n = {Num::Int64, v.int_, 0};
        return true;
      case varDouble:
        n = {Num::Dbl, 0, v.double_};
        return true;
      case varDate:
        n = {Num::Date, 0, v.double_};
        return true;
      default:
        return false;
    }
  }

  static Num ToNum(const Variant& v) {
    Num n;
    if (!PlainNum(v, n)) n = {Num::Dbl, 0, v.AsDouble()};
    return n;
  }

  static Variant FromInt(int64_t v, bool wide) {
    Variant r(v);
    r.type_ = !wide && FitsInt32(v) ? varInteger : varInt64;
    return r;
  }

  // Empty stands for the other operand's zero.
  static Variant FillEmpty(const Variant& v, const Variant& other, bool stringZero, bool booleanZero) {
    if (!v.IsEmpty()) return v;
    if (stringZero && other.type_ == varString) return Variant("");
    if (booleanZero && other.type_ == varBoolean) return Variant(false);
    return Variant(0);
  }

  static void CheckNoArray(const Variant& a, const Variant& b) {
    if (a.IsArray() || b.IsArray()) RaiseInvalidOperation();
  }

  static Variant Arith(char op, const Variant& a0, const Variant& b0) {
    CheckNoArray(a0, b0);
    if (a0.IsNull() || b0.IsNull()) return Variant::MakeNull();
    const Variant a = FillEmpty(a0, b0, op == '+', false), b = FillEmpty(b0, a0, op == '+', false);
    if (op == '+' && a.type_ == varString && b.type_ == varString) return Variant(a.str_ + b.str_);
    const Num p = ToNum(a), q = ToNum(b);
    if (op == '/') {
      if (q.Value() == 0) RaiseDivision();
      return Variant(static_cast<double>(p.Value() / q.Value()));
    }
    const bool anyDouble = p.kind == Num::Dbl || q.kind == Num::Dbl;
    const bool anyDate = p.kind == Num::Date || q.kind == Num::Date;
    if (anyDouble || anyDate) {
      const double x = static_cast<double>(p.Value()), y = static_cast<double>(q.Value());
      const double r = op == '+' ? x + y : op == '-' ? x - y : x * y;
      const bool dateResult =
          anyDate && op != '*' && !(op == '-' && p.kind == Num::Date && q.kind == Num::Date);
      return dateResult ? Variant::FromDate(r) : Variant(r);
    }
    int64_t r;
    const bool overflow = op == '+'   ? __builtin_add_overflow(p.i, q.i, &r)
                          : op == '-' ? __builtin_sub_overflow(p.i, q.i, &r)
                                      : __builtin_mul_overflow(p.i, q.i, &r);
    if (overflow) {
      const long double x = p.Value(), y = q.Value();
      return Variant(static_cast<double>(op == '+' ? x + y : op == '-' ? x - y : x * y));
    }
    return FromInt(r, p.kind == Num::Int64 || q.kind == Num::Int64);
  }

  // Integer operations (div, mod, and, or, xor): both operands as 64-bit integers.
  template <class F>
  static Variant IntegerOp(const Variant& a0, const Variant& b0, bool logical, F f) {
    CheckNoArray(a0, b0);
    if (a0.IsNull() || b0.IsNull()) return Variant::MakeNull();
    const Variant a = FillEmpty(a0, b0, false, logical), b = FillEmpty(b0, a0, false, logical);
    if (logical && a.type_ == varBoolean && b.type_ == varBoolean)
      return Variant(f(a.int_ ? -1 : 0, b.int_ ? -1 : 0) != 0);
    return FromInt(f(a.AsInt64(), b.AsInt64()), a.type_ == varInt64 || b.type_ == varInt64);
  }

  // -1, 0, 1, or 2 when the two cannot be ordered (a NaN).
  static int Compare(const Variant& a0, const Variant& b0) {
    CheckNoArray(a0, b0);
    if (a0.IsNull() || b0.IsNull()) return a0.IsNull() == b0.IsNull() ? 0 : a0.IsNull() ? -1 : 1;
    const Variant a = FillEmpty(a0, b0, true, true), b = FillEmpty(b0, a0, true, true);
    if (a.type_ == varString && b.type_ == varString) return Sign(AnsiCompareStr(a.str_, b.str_));
    if (a.type_ == varBoolean || b.type_ == varBoolean) {
      if (a.type_ == varBoolean && b.type_ == varBoolean) return Sign(int(a.int_) - int(b.int_));
      if (a.type_ == varString || b.type_ == varString) return Sign(int(a.AsBoolean()) - int(b.AsBoolean()));
    }
    const long double x = ToNum(a).Value(), y = ToNum(b).Value();
    if (std::isnan(x) || std::isnan(y)) return 2;
    return x < y ? -1 : x > y ? 1 : 0;
  }

  static TVarType Type(const Variant& v) { return v.type_; }
};

// ============================================================ construction

Variant Variant::MakeNull() {
  Variant v;
  v.type_ = varNull;
  return v;
}

Variant Variant::FromDate(TDateTime date) {
  Variant v(date);
  v.type_ = varDate;
  return v;
}

Variant Variant::FromArray(std::vector<Variant> items) {
  Variant v;
  v.type_ = varArray | varVariant;
  v.items_ = std::move(items);
  return v;
}

Variant VarArrayOf(std::initializer_list<Variant> items) {
  return Variant::FromArray(std::vector<Variant>(items));
}

bool Variant::IsNumeric() const {
  return type_ == varInteger || type_ == varInt64 || type_ == varDouble || type_ == varDate ||
         type_ == varBoolean;
}

// ============================================================ conversions

int64_t Variant::AsInt64() const {
  VariantOps::Num n;
  double d = 0;
  if (VariantOps::PlainNum(*this, n)) {
    if (n.kind == VariantOps::Num::Int || n.kind == VariantOps::Num::Int64) return n.i;
    d = n.d;
  } else if (type_ != varString) {
    RaiseCast(type_, varInt64);
  } else if (SameText(str_, "True") || SameText(str_, "False")) {
    return SameText(str_, "True") ? -1 : 0;
  } else if (int64_t i; TryStrToInt64(str_, i)) {
    return i;
  } else if (!TryStrToFloat(str_, d)) {
    RaiseCast(type_, varInt64);
  }
  if (!std::isfinite(d) || std::fabs(d) >= 9.2233720368547748e18) RaiseCast(type_, varInt64);
  return Round(d);
}

int32_t Variant::AsInteger() const {
  int64_t v;
  try {
    v = AsInt64();
  } catch (const EVariantTypeCastError&) {
    RaiseCast(type_, varInteger);
  }
  if (!FitsInt32(v)) RaiseCast(type_, varInteger);
  return static_cast<int32_t>(v);
}

double Variant::AsDouble() const {
  VariantOps::Num n;
  if (VariantOps::PlainNum(*this, n)) return static_cast<double>(n.Value());
  double d;
  if (type_ != varString || !TryStrToFloat(str_, d)) RaiseCast(type_, varDouble);
  return d;
}

TDateTime Variant::AsDate() const {
  if (type_ == varString) {
    TDateTime d;
    if (TryStrToDateTime(str_, d) || TryStrToFloat(str_, d)) return d;
    RaiseCast(type_, varDate);
  }
  if (!IsNumeric() && type_ != varEmpty) RaiseCast(type_, varDate);
  return AsDouble();
}

bool Variant::AsBoolean() const {
  switch (type_) {
    case varEmpty:
      return false;
    case varBoolean:
    case varInteger:
    case varInt64:
      return int_ != 0;
    case varDouble:
    case varDate:
      return double_ != 0;
    case varString: {
      if (SameText(str_, "True")) return true;
      if (SameText(str_, "False")) return false;
      double d;
      if (TryStrToFloat(str_, d)) return d != 0;
      RaiseCast(type_, varBoolean);
    }
    default:
      RaiseCast(type_, varBoolean);
  }
}

AnsiString Variant::AsString() const {
  switch (type_) {
    case varEmpty:
      return "";
    case varBoolean:
      return int_ ? "True" : "False";
    case varInteger:
    case varInt64:
      return IntToStr(int_);
    case varDouble:
      return FloatToStr(double_);
    case varDate:
      return DateTimeToStr(double_);
    case varString:
      return str_;
    default:
      RaiseCast(type_, varString);
  }
}

AnsiString VarToStr(const Variant& v) { return v.IsNull() ? AnsiString() : v.AsString(); }

// ============================================================ arrays

int32_t Variant::ArrayHighBound() const {
  if (!IsArray()) throw EVariantError("Variant is not an array");
  return static_cast<int32_t>(items_.size()) - 1;
}

const Variant& Variant::operator[](int32_t index) const {
  if (index < 0 || index > ArrayHighBound()) throw EVariantError("Variant array index out of bounds");
  return items_[static_cast<size_t>(index)];
}

Variant& Variant::operator[](int32_t index) {
  return const_cast<Variant&>(static_cast<const Variant&>(*this)[index]);
}

// ============================================================ arithmetic

Variant operator+(const Variant& a, const Variant& b) { return VariantOps::Arith('+', a, b); }
Variant operator-(const Variant& a, const Variant& b) { return VariantOps::Arith('-', a, b); }
Variant operator*(const Variant& a, const Variant& b) { return VariantOps::Arith('*', a, b); }
Variant operator/(const Variant& a, const Variant& b) { return VariantOps::Arith('/', a, b); }

Variant operator-(const Variant& a) {
  if (a.IsNull()) return a;
  if (a.type_ == varDate) return Variant::FromDate(-a.double_);
  return VariantOps::Arith('-', Variant(0), a.type_ == varString ? Variant(a.AsDouble()) : a);
}

Variant VarIntDiv(const Variant& a, const Variant& b) {
  return VariantOps::IntegerOp(a, b, false, [](int64_t x, int64_t y) -> int64_t {
    if (y == 0) RaiseDivision();
    return y == -1 ? static_cast<int64_t>(0 - static_cast<uint64_t>(x)) : x / y;
  });
}

Variant VarMod(const Variant& a, const Variant& b) {
  return VariantOps::IntegerOp(a, b, false, [](int64_t x, int64_t y) -> int64_t {
    if (y == 0) RaiseDivision();
    return y == -1 ? 0 : x % y;
  });
}

// ============================================================ bitwise and logical

Variant VarAnd(const Variant& a, const Variant& b) {
  return VariantOps::IntegerOp(a, b, true, [](int64_t x, int64_t y) { return x & y; });
}
Variant VarOr(const Variant& a, const Variant& b) {
  return VariantOps::IntegerOp(a, b, true, [](int64_t x, int64_t y) { return x | y; });
}
Variant VarXor(const Variant& a, const Variant& b) {
  return VariantOps::IntegerOp(a, b, true, [](int64_t x, int64_t y) { return x ^ y; });
}

Variant VarNot(const Variant& a) {
  if (a.IsArray()) RaiseInvalidOperation();
  if (a.IsNull()) return a;
  if (VariantOps::Type(a) == varBoolean) return Variant(!a.AsBoolean());
  return VariantOps::FromInt(~a.AsInt64(), VariantOps::Type(a) == varInt64);
}

// ============================================================ comparison

bool operator==(const Variant& a, const Variant& b) { return VariantOps::Compare(a, b) == 0; }
bool operator<(const Variant& a, const Variant& b) { return VariantOps::Compare(a, b) == -1; }
bool operator<=(const Variant& a, const Variant& b) {
  const int c = VariantOps::Compare(a, b);
  return c == -1 || c == 0;
}
