// Class references and published-property tables: a class's name, parent, how to create an
// instance by name, its published properties (for stored definitions, property text files and
// property editors), its published fields and its published handler methods.
//
// How to publish a class
// ----------------------
// Put PL_CLASS(TKnob) as the first line of the class body and define ClassInfo() once, in the
// class's .cpp, listing what the class itself publishes in declaration order:
//
//   const TClassInfo& TKnob::ClassInfo() {
//     static const TClassInfo info = TClassInfo::Of<TKnob, TCustomKnob>("TKnob")
//         .Prop("Position", &TKnob::GetPosition, &TKnob::SetPosition)      // always stored
//         .Prop("Kind", &TKnob::GetKind, &TKnob::SetKind).Default(kkRound)  // stored when != kkRound
//         .Prop("Caption", &TKnob::FCaption)                                // a field, read/write
//         .Prop("Count", &TKnob::GetCount)                                  // read-only: never stored
//         .Prop("Extra", &TKnob::GetExtra, &TKnob::SetExtra).Stored(&TKnob::IsExtraStored)
//         .Prop("Font", &TKnob::GetFont, &TKnob::SetFont)                   // nested object
//         .Event("OnChange", &TKnob::OnChange);                             // TEvent<...> member
//     return info;
//   }
//
// Value types are deduced from the getter: integers, bool, char, enumerations (their value names
// come from EnumNamesOf<E>, declared next to the enumeration and defined once with
// PL_ENUM_NAMES), TSet<E, N>, float/double/long double, AnsiString, WideString, pointers to
// classes with PL_CLASS, TEvent<...>.  An integer type with named constants (colours, cursors)
// gives its own TTypeInfo with .Type(...).  A getter or setter may be a member function, a data
// member, or a plain function taking the object pointer first (for indexed properties).
// A form also lists the components it keeps in fields and its event handlers:
//         .Field("OkButton", &TForm_Main::OkButton)
//         .Method("OkButtonClick", &TForm_Main::OkButtonClick)
// so that reading its definition fills OkButton and binds "OnClick = OkButtonClick" (the handler's
// parameters must match the event's).  Classes created by name from definitions are either a
// field's class or registered with RegisterClass.
//
// Sections: kinds and type descriptions / property, method and field records / the class
// reference and its builder / access functions / class registry.
#pragma once

#include <any>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "platform/runtime/Events.h"
#include "platform/runtime/Object.h"

class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TClassInfo;
class Variant;
struct TPropInfo;

// ============================================================================================
// kinds and type descriptions
// ============================================================================================

enum TTypeKind : uint8_t {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkArray,
  tkRecord,
  tkInterface,
  tkInt64,
  tkDynArray
};
using TTypeKinds = TSet<TTypeKind, 32>;
inline constexpr TTypeKinds tkMethods{tkMethod};
inline constexpr TTypeKinds tkAny = TTypeKinds::FromMask((uint64_t(1) << (tkDynArray + 1)) - 1);
inline constexpr TTypeKinds tkProperties = tkAny - TTypeKinds{tkMethod, tkUnknown};
inline constexpr TTypeKinds tkOrdinals{tkInteger, tkChar, tkEnumeration, tkSet, tkWChar};

enum TOrdType : uint8_t { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
enum TFloatType : uint8_t { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// The value names of an enumeration, lowest value first.
struct EnumNames {
  AnsiString TypeName;
  std::vector<AnsiString> Names;
  int32_t MinValue = 0;
  EnumNames(const char* typeName, std::initializer_list<const char*> names, int32_t minValue = 0);
  int32_t MaxValue() const { return MinValue + int32_t(Names.size()) - 1; }
};

// Declared next to each published enumeration (template <> const EnumNames& EnumNamesOf<E>();)
// and defined once with PL_ENUM_NAMES.  bool's names ("False", "True") are built in.
template <class E>
const EnumNames& EnumNamesOf();
template <>
const EnumNames& EnumNamesOf<bool>();

#define PL_ENUM_NAMES(E, ...)                        \
  template <>                                        \
  const EnumNames& EnumNamesOf<E>() {                \
    static const EnumNames names(#E, {__VA_ARGS__}); \
    return names;                                    \
  }

// A method reference seen without its parameter types: the object it runs on and the typed
// event value, kept so it can be compared and assigned back to an event of the same type.
struct TMethod {
  void* Data = nullptr;
  std::any Event;  // empty when unassigned
  bool Assigned() const { return Event.has_value(); }
};

// What a property's value is.  Built once per C++ type (TypeInfoOf<V>()); an integer type with
// named constants is described by its own instance passed to .Type(...).
struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  AnsiString TypeName;  // empty: derived from the enumeration, set element or class
  TOrdType OrdType = otSLong;
  TFloatType FloatType = ftDouble;
  int64_t MinValue = 0, MaxValue = 0;
  const EnumNames& (*EnumFn)() = nullptr;      // tkEnumeration
  const TTypeInfo& (*CompTypeFn)() = nullptr;  // tkSet: the element type
  const TClassInfo& (*ClassFn)() = nullptr;    // tkClass
  const std::type_info* MethodType = nullptr;  // tkMethod: typeid of the TEvent
  bool (*MethodEquals)(const TMethod&, const TMethod&) = nullptr;
  std::vector<std::pair<AnsiString, int64_t>> Idents;  // named integer constants

  AnsiString Name() const;
  const EnumNames* Enum() const { return EnumFn ? &EnumFn() : nullptr; }
  const TTypeInfo* CompType() const { return CompTypeFn ? &CompTypeFn() : nullptr; }
  const TClassInfo* ClassType() const { return ClassFn ? &ClassFn() : nullptr; }
  bool IntToIdent(int64_t value, AnsiString& ident) const;
  bool IdentToInt(const AnsiString& ident, int64_t& value) const;
};

namespace typinfo_detail {
[[noreturn]] void RaiseEventTypeMismatch();
}

// How each publishable C++ type maps to a kind and to the canonical value the access functions
// use: int64_t for ordinals (sets as bit masks), long double, AnsiString, WideString, TObject*,
// TMethod.
template <class V, class = void>
struct TPropTraits;  // not defined: the type cannot be published

template <class V>
const TTypeInfo& TypeInfoOf() {
  static const TTypeInfo info = TPropTraits<V>::Describe();
  return info;
}

template <class V>
struct TPropTraits<V, std::enable_if_t<std::is_integral_v<V> && !std::is_same_v<V, bool> &&
                                       !std::is_same_v<V, char> && !std::is_same_v<V, char16_t>>> {
  using Canon = int64_t;
  static TTypeInfo Describe() {
    TTypeInfo t;
    constexpr bool wide = sizeof(V) == 8;
    t.Kind = wide ? tkInt64 : tkInteger;
    t.MinValue = int64_t(std::numeric_limits<V>::min());
    t.MaxValue = wide && !std::is_signed_v<V> ? INT64_MAX : int64_t(std::numeric_limits<V>::max());
    t.OrdType = sizeof(V) == 1   ? (std::is_signed_v<V> ? otSByte : otUByte)
                : sizeof(V) == 2 ? (std::is_signed_v<V> ? otSWord : otUWord)
                                 : (std::is_signed_v<V> ? otSLong : otULong);
    t.TypeName = wide             ? "Int64"
                 : sizeof(V) == 1 ? (std::is_signed_v<V> ? "ShortInt" : "Byte")
                 : sizeof(V) == 2 ? (std::is_signed_v<V> ? "SmallInt" : "Word")
                                  : (std::is_signed_v<V> ? "Integer" : "Cardinal");
    return t;
  }
  static int64_t ToCanon(V v) { return int64_t(v); }
  static V FromCanon(int64_t v) { return V(v); }
};

// An integer type whose values may be written by name ("clBtnFace"), as a colour or cursor is.
// Its range is that of base: pass the property's own integer type when it is not int32_t
// (TypeInfoOf<uint8_t>() for a byte), or values it cannot hold would be cut instead of refused.
TTypeInfo IntegerTypeWithIdents(const char* name,
                                std::initializer_list<std::pair<const char*, int64_t>> idents,
                                const TTypeInfo& base = TypeInfoOf<int32_t>());
// An integer property limited to [minValue, maxValue], as a width of 1..MaxInt is.
TTypeInfo IntegerSubrange(const char* name, int64_t minValue, int64_t maxValue);

template <>
struct TPropTraits<bool> {
  using Canon = int64_t;
  static TTypeInfo Describe();
  static int64_t ToCanon(bool v) { return v ? 1 : 0; }
  static bool FromCanon(int64_t v) { return v != 0; }
};

template <>
struct TPropTraits<char> {
  using Canon = int64_t;
  static TTypeInfo Describe();
  static int64_t ToCanon(char v) { return uint8_t(v); }
  static char FromCanon(int64_t v) { return char(uint8_t(v)); }
};

template <>
struct TPropTraits<char16_t> {
  using Canon = int64_t;
  static TTypeInfo Describe();
  static int64_t ToCanon(char16_t v) { return v; }
  static char16_t FromCanon(int64_t v) { return char16_t(v); }
};

template <class E>
struct TPropTraits<E, std::enable_if_t<std::is_enum_v<E>>> {
  using Canon = int64_t;
  static TTypeInfo Describe() {
    TTypeInfo t;
    t.Kind = tkEnumeration;
    t.EnumFn = &EnumNamesOf<E>;
    t.OrdType = sizeof(E) == 1 ? otUByte : sizeof(E) == 2 ? otUWord : otSLong;
    return t;
  }
  static int64_t ToCanon(E v) { return int64_t(v); }
  static E FromCanon(int64_t v) { return E(v); }
};

template <class E, unsigned N>
struct TPropTraits<TSet<E, N>> {
  using Canon = int64_t;
  static TTypeInfo Describe() {
    TTypeInfo t;
    t.Kind = tkSet;
    t.CompTypeFn = &TypeInfoOf<E>;
    return t;
  }
  static int64_t ToCanon(const TSet<E, N>& v) { return int64_t(v.Mask()); }
  static TSet<E, N> FromCanon(int64_t v) { return TSet<E, N>::FromMask(uint64_t(v)); }
};

template <class V>
struct TPropTraits<V, std::enable_if_t<std::is_floating_point_v<V>>> {
  using Canon = long double;
  static TTypeInfo Describe() {
    TTypeInfo t;
    t.Kind = tkFloat;
    t.FloatType = sizeof(V) == 4 ? ftSingle : std::is_same_v<V, double> ? ftDouble : ftExtended;
    t.TypeName = sizeof(V) == 4 ? "Single" : std::is_same_v<V, double> ? "Double" : "Extended";
    return t;
  }
  static long double ToCanon(V v) { return v; }
  static V FromCanon(long double v) { return V(v); }
};

// Types that are their own canonical value.
template <class V>
struct TSelfTraits {
  using Canon = V;
  static TTypeInfo Describe();
  static const V& ToCanon(const V& v) { return v; }
  static const V& FromCanon(const V& v) { return v; }
};
template <>
TTypeInfo TSelfTraits<AnsiString>::Describe();
template <>
TTypeInfo TSelfTraits<WideString>::Describe();
template <>
TTypeInfo TSelfTraits<Variant>::Describe();
template <>
struct TPropTraits<AnsiString> : TSelfTraits<AnsiString> {};
template <>
struct TPropTraits<WideString> : TSelfTraits<WideString> {};
// Variant properties: the publishing class's .cpp includes Variants.h.
template <>
struct TPropTraits<Variant> : TSelfTraits<Variant> {};

template <class C>
struct TPropTraits<C*, std::enable_if_t<std::is_base_of_v<TObject, C>>> {
  using Canon = TObject*;
  static TTypeInfo Describe() {
    TTypeInfo t;
    t.Kind = tkClass;
    t.ClassFn = &C::ClassInfo;
    return t;
  }
  static TObject* ToCanon(C* v) { return v; }
  // The access functions have checked the object's class against ClassFn.
  static C* FromCanon(TObject* v) { return static_cast<C*>(v); }
};

template <class... A>
struct TPropTraits<TEvent<A...>> {
  using Canon = TMethod;
  static TTypeInfo Describe() {
    TTypeInfo t;
    t.Kind = tkMethod;
    t.TypeName = "TMethod";
    t.MethodType = &typeid(TEvent<A...>);
    t.MethodEquals = [](const TMethod& a, const TMethod& b) {
      if (!a.Assigned() || !b.Assigned()) return a.Assigned() == b.Assigned();
      auto* x = std::any_cast<TEvent<A...>>(&a.Event);
      auto* y = std::any_cast<TEvent<A...>>(&b.Event);
      return x && y && *x == *y;
    };
    return t;
  }
  static TMethod ToCanon(const TEvent<A...>& e) {
    TMethod m;
    if (e) {
      m.Data = e.Data();
      m.Event = e;
    }
    return m;
  }
  static TEvent<A...> FromCanon(const TMethod& m) {
    if (!m.Assigned()) return {};
    if (auto* e = std::any_cast<TEvent<A...>>(&m.Event)) return *e;
    typinfo_detail::RaiseEventTypeMismatch();
  }
};

// ============================================================================================
// property, method and field records
// ============================================================================================

// Room for a member pointer (two words for member functions) or a function pointer.
struct TCodeBytes {
  alignas(void*) unsigned char bytes[2 * sizeof(void*)] = {};
  template <class F>
  static TCodeBytes From(F f) {
    static_assert(sizeof(F) <= sizeof(bytes) && std::is_trivially_copyable_v<F>);
    TCodeBytes c;
    std::memcpy(c.bytes, &f, sizeof(F));
    return c;
  }
  template <class F>
  F As() const {
    F f;
    std::memcpy(&f, bytes, sizeof(F));
    return f;
  }
};

// One published property.  The access functions move canonical values (see TPropTraits) through
// `void*`; use GetOrdProp and its kin rather than these members.
struct TPropInfo {
  AnsiString Name;
  const TTypeInfo* PropType = nullptr;
  mutable const TClassInfo* Owner = nullptr;  // the class that publishes it (set on first lookup)
  int64_t Default = 0;                        // meaningful when HasDefault (ordinal kinds only)
  bool HasDefault = false;
  bool StoredConst = true;  // used when there is no stored predicate

  TCodeBytes GetCode, SetCode, StoredCode;
  void (*GetFn)(const TPropInfo&, TObject*, void* out) = nullptr;
  void (*SetFn)(const TPropInfo&, TObject*, const void* in) = nullptr;
  bool (*StoredFn)(const TPropInfo&, TObject*) = nullptr;

  TTypeKind Kind() const { return PropType->Kind; }
  bool HasGetter() const { return GetFn != nullptr; }
  bool HasSetter() const { return SetFn != nullptr; }
};

// One published handler method of a form or other root.
struct TMethodInfo {
  AnsiString Name;
  const TTypeInfo* Type = nullptr;  // the event type it fits
  TCodeBytes Code;
  TMethod (*Bind)(const TMethodInfo&, TObject* self) = nullptr;
};

// One published component field of a root: filled when a component of that name joins the root.
struct TFieldInfo {
  AnsiString Name;
  const TClassInfo& (*ClassFn)() = nullptr;
  TCodeBytes Code;
  // value is nullptr or of the field's class.
  void (*SetFn)(const TFieldInfo&, TObject* root, TObject* value) = nullptr;
};

namespace typinfo_detail {

// Accessor signatures: member function, data member or plain function taking the object first.
template <class F>
struct Sig;
template <class R, class C>
struct Sig<R (C::*)() const> {
  using Get = std::decay_t<R>;
  using Class = C;
};
template <class R, class C>
struct Sig<R (C::*)()> {
  using Get = std::decay_t<R>;
  using Class = C;
};
template <class R, class C>
struct Sig<R (C::*)() const noexcept> {
  using Get = std::decay_t<R>;
  using Class = C;
};
template <class A, class C>
struct Sig<void (C::*)(A)> {
  using Set = std::decay_t<A>;
  using Class = C;
};
template <class R, class P>
struct Sig<R (*)(P*)> {
  using Get = std::decay_t<R>;
  using Class = std::remove_const_t<P>;
};
template <class P, class A>
struct Sig<void (*)(P*, A)> {
  using Set = std::decay_t<A>;
  using Class = P;
};
template <class V, class C>
requires(!std::is_function_v<V>) struct Sig<V C::*> {
  using Get = V;
  using Set = V;
  using Class = C;
};

template <class F>
decltype(auto) CallGet(F f, typename Sig<F>::Class* obj) {
  if constexpr (std::is_member_object_pointer_v<F>)
    return (obj->*f);
  else if constexpr (std::is_member_function_pointer_v<F>)
    return (obj->*f)();
  else
    return f(obj);
}

template <class F, class V>
void CallSet(F f, typename Sig<F>::Class* obj, const V& v) {
  if constexpr (std::is_member_object_pointer_v<F>)
    obj->*f = v;
  else if constexpr (std::is_member_function_pointer_v<F>)
    (obj->*f)(v);
  else
    f(obj, v);
}

template <class F, class V>
void GetThunk(const TPropInfo& p, TObject* obj, void* out) {
  using C = typename Sig<F>::Class;
  *static_cast<typename TPropTraits<V>::Canon*>(out) =
      TPropTraits<V>::ToCanon(CallGet(p.GetCode.As<F>(), static_cast<C*>(obj)));
}

template <class F, class V>
void SetThunk(const TPropInfo& p, TObject* obj, const void* in) {
  using C = typename Sig<F>::Class;
  CallSet<F, V>(p.SetCode.As<F>(), static_cast<C*>(obj),
                TPropTraits<V>::FromCanon(*static_cast<const typename TPropTraits<V>::Canon*>(in)));
}

template <class F>
bool StoredThunk(const TPropInfo& p, TObject* obj) {
  using C = typename Sig<F>::Class;
  return CallGet(p.StoredCode.As<F>(), static_cast<C*>(obj));
}

template <class M>
struct MethodSig;
template <class C, class... A>
struct MethodSig<void (C::*)(A...)> {
  using Class = C;
  using Event = TEvent<A...>;
};

}  // namespace typinfo_detail

// ============================================================================================
// the class reference and its builder
// ============================================================================================

template <class T>
class TClassBuilder;
template <class T, class V>
class TPropBuilder;

class TClassInfo {
 public:
  // Describes class T derived from Base; T must be registered with PL_CLASS.  Chain .Prop,
  // .Event, .Field and .Method (see the top of this file).
  template <class T, class Base>
  static TClassBuilder<T> Of(const char* name);

  TClassInfo(const char* name, const TClassInfo* parent);
  TClassInfo(TClassInfo&&) noexcept;
  ~TClassInfo();

  const AnsiString& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
      if (c == &other) return true;
    return false;
  }
  // Whether obj is an instance of this class or of a class derived from it.
  bool IsInstance(const TObject* obj) const { return obj && obj->ClassType().InheritsFrom(*this); }

  // Published properties, root class first, each class's own in declaration order; a property
  // that a derived class publishes again keeps its place.
  const std::vector<const TPropInfo*>& Properties() const;
  // By name, ignoring case; nullptr when there is none.
  const TPropInfo* FindProperty(const AnsiString& name) const;
  const TMethodInfo* FindMethod(const AnsiString& name) const;
  const TFieldInfo* FindField(const AnsiString& name) const;
  // The name of the published method equal to method when bound to self, or "".
  AnsiString MethodName(TObject* self, const TMethod& method) const;
  // All published fields, root class first (their classes serve reading by class name).
  std::vector<const TFieldInfo*> Fields() const;

  // Instances by class reference.  Each raises EInvalidOperation when the class has no such
  // constructor (an abstract class, or a component asked for as a plain object).
  bool CanCreateComponent() const { return newOwned_ != nullptr; }
  TComponent* CreateComponent(TComponent* owner) const;
  TCollectionItem* CreateItem(TCollection* collection) const;
  TObject* CreateInstance() const;

 private:
  template <class T>
  friend class TClassBuilder;
  template <class T, class V>
  friend class TPropBuilder;
  struct Cache;

  AnsiString name_;
  const TClassInfo* parent_ = nullptr;
  std::vector<TPropInfo> props_;
  std::vector<TMethodInfo> methods_;
  std::vector<TFieldInfo> fields_;
  TObject* (*newOwned_)(TComponent*) = nullptr;
  TObject* (*newItem_)(TCollection*) = nullptr;
  TObject* (*newPlain_)() = nullptr;
  std::unique_ptr<Cache> cache_;
};

template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo&& info) : info_(std::move(info)) {}
  operator TClassInfo() && { return std::move(info_); }

  // A read/write property (getter and setter), or a data member used for both.
  template <class G, class S>
  auto Prop(const char* name, G getter, S setter) && {
    using V = typename typinfo_detail::Sig<G>::Get;
    static_assert(std::is_same_v<V, typename typinfo_detail::Sig<S>::Set>,
                  "getter and setter must have the same value type");
    CheckClass<G>();
    CheckClass<S>();
    TPropInfo& p = Add<V>(name);
    p.GetCode = TCodeBytes::From(getter);
    p.GetFn = &typinfo_detail::GetThunk<G, V>;
    p.SetCode = TCodeBytes::From(setter);
    p.SetFn = &typinfo_detail::SetThunk<S, V>;
    return TPropBuilder<T, V>(std::move(*this));
  }
  // A field (read/write) or a read-only getter.
  template <class G>
  auto Prop(const char* name, G getter) && {
    if constexpr (std::is_member_object_pointer_v<G>) {
      return std::move(*this).Prop(name, getter, getter);
    } else {
      using V = typename typinfo_detail::Sig<G>::Get;
      CheckClass<G>();
      TPropInfo& p = Add<V>(name);
      p.GetCode = TCodeBytes::From(getter);
      p.GetFn = &typinfo_detail::GetThunk<G, V>;
      return TPropBuilder<T, V>(std::move(*this));
    }
  }
  // A nested persistent object, a collection or a component reference: Prop by another name.
  template <class G, class S>
  auto Object(const char* name, G getter, S setter) && {
    static_assert(std::is_pointer_v<typename typinfo_detail::Sig<G>::Get>, "Object publishes a pointer");
    return std::move(*this).Prop(name, getter, setter);
  }
  template <class G>
  auto Object(const char* name, G getter) && {
    static_assert(std::is_pointer_v<typename typinfo_detail::Sig<G>::Get>, "Object publishes a pointer");
    return std::move(*this).Prop(name, getter);
  }
  // An event held in a TEvent member.
  template <class C, class... A>
  auto Event(const char* name, TEvent<A...> C::*field) && {
    return std::move(*this).Prop(name, field, field);
  }
  template <class G, class S>
  auto Event(const char* name, G getter, S setter) && {
    return std::move(*this).Prop(name, getter, setter);
  }

  // A component field of this root, filled by name when the component joins it.
  template <class C, class V>
  TClassBuilder<T>&& Field(const char* name, V* C::*field) && {
    static_assert(std::is_base_of_v<C, T>);
    TFieldInfo f;
    f.Name = name;
    f.ClassFn = &V::ClassInfo;
    f.Code = TCodeBytes::From(field);
    f.SetFn = [](const TFieldInfo& info, TObject* root, TObject* value) {
      static_cast<C*>(root)->*(info.Code.As<V * C::*>()) = static_cast<V*>(value);
    };
    info_.fields_.push_back(std::move(f));
    return std::move(*this);
  }
  // A handler method that definitions bind to events by name.
  template <class M>
  TClassBuilder<T>&& Method(const char* name, M method) && {
    using S = typinfo_detail::MethodSig<M>;
    static_assert(std::is_base_of_v<typename S::Class, T>);
    TMethodInfo m;
    m.Name = name;
    m.Type = &TypeInfoOf<typename S::Event>();
    m.Code = TCodeBytes::From(method);
    m.Bind = [](const TMethodInfo& info, TObject* self) {
      return TPropTraits<typename S::Event>::ToCanon(
          typename S::Event(static_cast<typename S::Class*>(self), info.Code.As<M>()));
    };
    info_.methods_.push_back(std::move(m));
    return std::move(*this);
  }

 protected:
  template <class F>
  static void CheckClass() {
    static_assert(std::is_base_of_v<typename typinfo_detail::Sig<F>::Class, T>,
                  "the accessor belongs to another class");
  }
  template <class V>
  TPropInfo& Add(const char* name) {
    TPropInfo p;
    p.Name = name;
    p.PropType = &TypeInfoOf<V>();
    info_.props_.push_back(std::move(p));
    return info_.props_.back();
  }
  TPropInfo& Last() { return info_.props_.back(); }

  TClassInfo info_;
};

// Returned by Prop: the modifiers of the property just added.
template <class T, class V>
class TPropBuilder : public TClassBuilder<T> {
 public:
  explicit TPropBuilder(TClassBuilder<T>&& b) : TClassBuilder<T>(std::move(b)) {}

  // The value that is not written to stored definitions (ordinal kinds only).
  TPropBuilder&& Default(V value) && {
    static_assert(std::is_same_v<typename TPropTraits<V>::Canon, int64_t>,
                  "declared defaults are for integer, character, enumeration and set properties");
    this->Last().Default = TPropTraits<V>::ToCanon(value);
    this->Last().HasDefault = true;
    return std::move(*this);
  }
  // Whether the property is stored at all: a constant, or a predicate of the object.
  TPropBuilder&& Stored(bool stored) && {
    this->Last().StoredConst = stored;
    return std::move(*this);
  }
  template <class P>
  TPropBuilder&& Stored(P predicate) && {
    static_assert(std::is_same_v<typename typinfo_detail::Sig<P>::Get, bool>,
                  "a stored predicate returns bool");
    TClassBuilder<T>::template CheckClass<P>();
    this->Last().StoredCode = TCodeBytes::From(predicate);
    this->Last().StoredFn = &typinfo_detail::StoredThunk<P>;
    return std::move(*this);
  }
  // Another description of the same canonical kind (an integer type with named constants).
  TPropBuilder&& Type(const TTypeInfo& type) && {
    this->Last().PropType = &type;
    return std::move(*this);
  }
};

template <class T, class Base>
TClassBuilder<T> TClassInfo::Of(const char* name) {
  static_assert(std::is_base_of_v<Base, T>, "Base must be a base class of T");
  TClassInfo info(name, &Base::ClassInfo());
  if constexpr (std::is_constructible_v<T, TComponent*>)
    info.newOwned_ = [](TComponent* owner) -> TObject* { return new T(owner); };
  if constexpr (std::is_constructible_v<T, TCollection*>)
    info.newItem_ = [](TCollection* collection) -> TObject* { return new T(collection); };
  if constexpr (std::is_default_constructible_v<T>) info.newPlain_ = []() -> TObject* { return new T(); };
  return TClassBuilder<T>(std::move(info));
}

// ============================================================================================
// access functions
// ============================================================================================

enum TPropFilter : uint8_t { pfStored, pfHasSetter, pfHasGetter };
using TPropFilters = TSet<TPropFilter, 8>;
using TPropList = std::vector<const TPropInfo*>;

// Published properties of the given kinds in declaration order, root class first.  With an
// instance, pfStored keeps those its stored predicate accepts; pfHasSetter those with a setter.
TPropList GetPropList(const TClassInfo& cls, TTypeKinds kinds = tkAny);
TPropList GetPropList(TObject* instance, TTypeKinds kinds = tkAny, TPropFilters filters = {});
// Every published property, methods included.
TPropList GetPropInfos(const TClassInfo& cls);

// By name, ignoring case; nullptr when there is none.  With an instance the name may be a
// dotted path through nested objects ("Font.Color"); target then receives the object that
// holds the last property.
const TPropInfo* GetPropInfo(const TClassInfo& cls, const AnsiString& name);
const TPropInfo* GetPropInfo(TObject* instance, const AnsiString& path, TObject** target = nullptr);
bool IsPublishedProp(TObject* instance, const AnsiString& path);
TTypeKind PropType(TObject* instance, const AnsiString& path);
bool IsStoredProp(TObject* instance, const TPropInfo* prop);

// The access functions raise EPropertyError for a missing property, a kind that does not fit or
// a property without the needed getter or setter.  Ordinals cover integer, char, enumeration
// and set (bit mask) properties.
int64_t GetOrdProp(TObject* instance, const TPropInfo* prop);
void SetOrdProp(TObject* instance, const TPropInfo* prop, int64_t value);
AnsiString GetEnumProp(TObject* instance, const TPropInfo* prop);
void SetEnumProp(TObject* instance, const TPropInfo* prop, const AnsiString& value);
// Element names joined by ","; with brackets "[a,b]".
AnsiString GetSetProp(TObject* instance, const TPropInfo* prop, bool brackets = false);
void SetSetProp(TObject* instance, const TPropInfo* prop, const AnsiString& value);
long double GetFloatProp(TObject* instance, const TPropInfo* prop);
void SetFloatProp(TObject* instance, const TPropInfo* prop, long double value);
AnsiString GetStrProp(TObject* instance, const TPropInfo* prop);
void SetStrProp(TObject* instance, const TPropInfo* prop, const AnsiString& value);
WideString GetWideStrProp(TObject* instance, const TPropInfo* prop);
void SetWideStrProp(TObject* instance, const TPropInfo* prop, const WideString& value);
int64_t GetInt64Prop(TObject* instance, const TPropInfo* prop);
void SetInt64Prop(TObject* instance, const TPropInfo* prop, int64_t value);
TObject* GetObjectProp(TObject* instance, const TPropInfo* prop);
// The value must be nullptr or of the property's class.
void SetObjectProp(TObject* instance, const TPropInfo* prop, TObject* value);
const TClassInfo* GetObjectPropClass(const TPropInfo* prop);
TMethod GetMethodProp(TObject* instance, const TPropInfo* prop);
void SetMethodProp(TObject* instance, const TPropInfo* prop, const TMethod& value);
Variant GetVariantProp(TObject* instance, const TPropInfo* prop);
void SetVariantProp(TObject* instance, const TPropInfo* prop, const Variant& value);

// The same by name or dotted path.
int64_t GetOrdProp(TObject* instance, const AnsiString& path);
void SetOrdProp(TObject* instance, const AnsiString& path, int64_t value);
AnsiString GetEnumProp(TObject* instance, const AnsiString& path);
void SetEnumProp(TObject* instance, const AnsiString& path, const AnsiString& value);
AnsiString GetSetProp(TObject* instance, const AnsiString& path, bool brackets = false);
void SetSetProp(TObject* instance, const AnsiString& path, const AnsiString& value);
long double GetFloatProp(TObject* instance, const AnsiString& path);
void SetFloatProp(TObject* instance, const AnsiString& path, long double value);
AnsiString GetStrProp(TObject* instance, const AnsiString& path);
void SetStrProp(TObject* instance, const AnsiString& path, const AnsiString& value);
WideString GetWideStrProp(TObject* instance, const AnsiString& path);
void SetWideStrProp(TObject* instance, const AnsiString& path, const WideString& value);
int64_t GetInt64Prop(TObject* instance, const AnsiString& path);
void SetInt64Prop(TObject* instance, const AnsiString& path, int64_t value);
TObject* GetObjectProp(TObject* instance, const AnsiString& path);
void SetObjectProp(TObject* instance, const AnsiString& path, TObject* value);
TMethod GetMethodProp(TObject* instance, const AnsiString& path);
void SetMethodProp(TObject* instance, const AnsiString& path, const TMethod& value);
Variant GetVariantProp(TObject* instance, const AnsiString& path);
void SetVariantProp(TObject* instance, const AnsiString& path, const Variant& value);

// Enumeration value names; "" for a value out of range, -1 for an unknown name (case ignored).
AnsiString GetEnumName(const TTypeInfo& type, int64_t value);
int32_t GetEnumValue(const TTypeInfo& type, const AnsiString& name);
AnsiString GetEnumName(const EnumNames& names, int64_t value);
int32_t GetEnumValue(const EnumNames& names, const AnsiString& name);
// A set's bit mask as element names, and back (raises EPropertyError for an unknown name).
AnsiString SetToString(const TTypeInfo& setType, int64_t mask, bool brackets = false);
int64_t StringToSet(const TTypeInfo& setType, const AnsiString& value);

// A root's published method by name, bound to root (unassigned when there is none).
TMethod FindPublishedMethod(TObject* root, const AnsiString& name);

// ============================================================================================
// class registry
// ============================================================================================

// Makes a class (and its ancestors) known by name.  Registering another class under a name that
// is taken raises EFilerError "A class named %s already exists"; the same class again is fine.
void RegisterClass(const TClassInfo& cls);
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
void UnRegisterClass(const TClassInfo& cls);
// Case is ignored.  FindClass raises EClassNotFound "Class %s not found"; GetClass gives nullptr.
const TClassInfo& FindClass(const AnsiString& name);
const TClassInfo* GetClass(const AnsiString& name);
