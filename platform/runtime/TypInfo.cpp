// Sections: type descriptions / class references / property lookup / access functions /
// enumeration and set names / class registry.
#include "platform/runtime/TypInfo.h"

#include <map>
#include <mutex>

#include "platform/runtime/Collection.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Variants.h"

// ============================================================================================
// type descriptions
// ============================================================================================

EnumNames::EnumNames(const char* typeName, std::initializer_list<const char*> names, int32_t minValue)
    : TypeName(typeName), Names(names.begin(), names.end()), MinValue(minValue) {}

template <>
const EnumNames& EnumNamesOf<bool>() {
  static const EnumNames names("Boolean", {"False", "True"});
  return names;
}

namespace {
TTypeInfo Plain(TTypeKind kind, const char* name, TOrdType ordType = otSLong, int64_t maxValue = 0) {
  TTypeInfo t;
  t.Kind = kind;
  t.TypeName = name;
  t.OrdType = ordType;
  t.MaxValue = maxValue;
  return t;
}
}  // namespace

TTypeInfo TPropTraits<bool>::Describe() {
  TTypeInfo t = Plain(tkEnumeration, "", otUByte);
  t.EnumFn = &EnumNamesOf<bool>;
  return t;
}
TTypeInfo TPropTraits<char>::Describe() { return Plain(tkChar, "Char", otUByte, 255); }
TTypeInfo TPropTraits<char16_t>::Describe() { return Plain(tkWChar, "WideChar", otUWord, 0xFFFF); }
template <>
TTypeInfo TSelfTraits<AnsiString>::Describe() {
  return Plain(tkLString, "string");
}
template <>
TTypeInfo TSelfTraits<WideString>::Describe() {
  return Plain(tkWString, "WideString");
}
template <>
TTypeInfo TSelfTraits<Variant>::Describe() {
  return Plain(tkVariant, "Variant");
}

AnsiString TTypeInfo::Name() const {
  if (!TypeName.empty()) return TypeName;
  if (const EnumNames* e = Enum()) return e->TypeName;
  if (const TTypeInfo* c = CompType()) return "set of " + c->Name();
  if (const TClassInfo* c = ClassType()) return c->Name();
  return "";
}

bool TTypeInfo::IntToIdent(int64_t value, AnsiString& ident) const {
  for (auto& [name, v] : Idents)
    if (v == value) {
      ident = name;
      return true;
    }
  return false;
}

bool TTypeInfo::IdentToInt(const AnsiString& ident, int64_t& value) const {
  for (auto& [name, v] : Idents)
    if (SameText(name, ident)) {
      value = v;
      return true;
    }
  return false;
}

TTypeInfo IntegerTypeWithIdents(const char* name,
                                std::initializer_list<std::pair<const char*, int64_t>> idents,
                                const TTypeInfo& base) {
  TTypeInfo t = base;
  t.TypeName = name;
  for (auto& [ident, value] : idents) t.Idents.emplace_back(ident, value);
  return t;
}

TTypeInfo IntegerSubrange(const char* name, int64_t minValue, int64_t maxValue) {
  TTypeInfo t =
      minValue >= INT32_MIN && maxValue <= INT32_MAX ? TypeInfoOf<int32_t>() : TypeInfoOf<int64_t>();
  t.TypeName = name;
  t.MinValue = minValue;
  t.MaxValue = maxValue;
  return t;
}

void typinfo_detail::RaiseEventTypeMismatch() {
  throw EPropertyError("The method does not fit the event's parameters");
}

// ============================================================================================
// class references
// ============================================================================================

struct TClassInfo::Cache {
  std::once_flag once;
  std::vector<const TPropInfo*> props;
};

TClassInfo::TClassInfo(const char* name, const TClassInfo* parent)
    : name_(name), parent_(parent), cache_(std::make_unique<Cache>()) {}
TClassInfo::TClassInfo(TClassInfo&&) noexcept = default;
TClassInfo::~TClassInfo() = default;

const std::vector<const TPropInfo*>& TClassInfo::Properties() const {
  std::call_once(cache_->once, [this] {
    auto& list = cache_->props;
    if (parent_) list = parent_->Properties();
    for (const TPropInfo& p : props_) {
      p.Owner = this;
      auto same = std::find_if(list.begin(), list.end(),
                               [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
      if (same != list.end())
        *same = &p;
      else
        list.push_back(&p);
    }
  });
  return cache_->props;
}

const TPropInfo* TClassInfo::FindProperty(const AnsiString& name) const {
  for (const TPropInfo* p : Properties())
    if (SameText(p->Name, name)) return p;
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const AnsiString& name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TMethodInfo& m : c->methods_)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

AnsiString TClassInfo::MethodName(TObject* self, const TMethod& method) const {
  if (!method.Assigned() || method.Data != static_cast<void*>(self)) return "";
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TMethodInfo& m : c->methods_)
      if (*m.Type->MethodType == method.Event.type() && m.Type->MethodEquals(m.Bind(m, self), method))
        return m.Name;
  return "";
}

const TFieldInfo* TClassInfo::FindField(const AnsiString& name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TFieldInfo& f : c->fields_)
      if (SameText(f.Name, name)) return &f;
  return nullptr;
}

std::vector<const TFieldInfo*> TClassInfo::Fields() const {
  std::vector<const TFieldInfo*> list = parent_ ? parent_->Fields() : std::vector<const TFieldInfo*>{};
  for (const TFieldInfo& f : fields_) list.push_back(&f);
  return list;
}

namespace {
[[noreturn]] void CannotCreate(const TClassInfo& cls, const char* what) {
  throw EInvalidOperation("Cannot create " + cls.Name() + " as " + what);
}
}  // namespace

TComponent* TClassInfo::CreateComponent(TComponent* owner) const {
  if (!newOwned_ || !InheritsFrom(TComponent::ClassInfo())) CannotCreate(*this, "a component");
  return static_cast<TComponent*>(newOwned_(owner));
}

TCollectionItem* TClassInfo::CreateItem(TCollection* collection) const {
  if (!newItem_ || !InheritsFrom(TCollectionItem::ClassInfo())) CannotCreate(*this, "a collection item");
  return static_cast<TCollectionItem*>(newItem_(collection));
}

TObject* TClassInfo::CreateInstance() const {
  if (!newPlain_) CannotCreate(*this, "a plain object");
  return newPlain_();
}

// ============================================================================================
// property lookup
// ============================================================================================

TPropList GetPropList(const TClassInfo& cls, TTypeKinds kinds) {
  TPropList list;
  for (const TPropInfo* p : cls.Properties())
    if (kinds.Contains(p->Kind())) list.push_back(p);
  return list;
}

TPropList GetPropList(TObject* instance, TTypeKinds kinds, TPropFilters filters) {
  TPropList list;
  for (const TPropInfo* p : GetPropList(instance->ClassType(), kinds)) {
    if (filters.Contains(pfHasSetter) && !p->HasSetter()) continue;
    if (filters.Contains(pfHasGetter) && !p->HasGetter()) continue;
    if (filters.Contains(pfStored) && !IsStoredProp(instance, p)) continue;
    list.push_back(p);
  }
  return list;
}

TPropList GetPropInfos(const TClassInfo& cls) { return cls.Properties(); }

const TPropInfo* GetPropInfo(const TClassInfo& cls, const AnsiString& name) { return cls.FindProperty(name); }

const TPropInfo* GetPropInfo(TObject* instance, const AnsiString& path, TObject** target) {
  TObject* obj = instance;
  size_t start = 0;
  while (obj) {
    size_t dot = path.find('.', start);
    const TPropInfo* prop = obj->ClassType().FindProperty(path.substr(start, dot - start));
    if (!prop) return nullptr;
    if (dot == AnsiString::npos) {
      if (target) *target = obj;
      return prop;
    }
    if (prop->Kind() != tkClass || !prop->HasGetter()) return nullptr;
    obj = GetObjectProp(obj, prop);
    start = dot + 1;
  }
  return nullptr;
}

bool IsPublishedProp(TObject* instance, const AnsiString& path) {
  return GetPropInfo(instance, path) != nullptr;
}

TTypeKind PropType(TObject* instance, const AnsiString& path) {
  const TPropInfo* p = GetPropInfo(instance, path);
  if (!p) throw EPropertyError("Property " + path + " does not exist");
  return p->Kind();
}

bool IsStoredProp(TObject* instance, const TPropInfo* prop) {
  return prop->StoredFn ? prop->StoredFn(*prop, instance) : prop->StoredConst;
}

// ============================================================================================
// access functions
// ============================================================================================

namespace {

[[noreturn]] void KindError(const TPropInfo* prop) {
  throw EPropertyError("Invalid property type: " + prop->Name + " is " + prop->PropType->Name());
}

void Check(TObject* instance, const TPropInfo* prop) {
  if (!prop) throw EPropertyError("Property does not exist");
  if (!instance || !prop->Owner || !instance->InheritsFrom(*prop->Owner))
    throw EPropertyError("Property " + prop->Name + " does not belong to this object");
}

template <class Canon>
Canon Read(TObject* instance, const TPropInfo* prop) {
  Check(instance, prop);
  if (!prop->GetFn) throw EPropertyError("Property " + prop->Name + " is write-only");
  Canon value{};
  prop->GetFn(*prop, instance, &value);
  return value;
}

template <class Canon>
void Write(TObject* instance, const TPropInfo* prop, const Canon& value) {
  Check(instance, prop);
  if (!prop->SetFn) throw EPropertyError("Property " + prop->Name + " is read-only");
  prop->SetFn(*prop, instance, &value);
}

bool IsOrdinal(TTypeKind k) { return tkOrdinals.Contains(k) || k == tkInt64; }

TObject* Target(TObject* instance, const AnsiString& path, const TPropInfo*& prop) {
  TObject* target = nullptr;
  prop = GetPropInfo(instance, path, &target);
  if (!prop) throw EPropertyError("Property " + path + " does not exist");
  return target;
}

}  // namespace

int64_t GetOrdProp(TObject* instance, const TPropInfo* prop) {
  if (prop && !IsOrdinal(prop->Kind())) KindError(prop);
  return Read<int64_t>(instance, prop);
}

void SetOrdProp(TObject* instance, const TPropInfo* prop, int64_t value) {
  if (prop && !IsOrdinal(prop->Kind())) KindError(prop);
  if (prop) {
    // Values outside the type never reach a setter: they would be cut or make an unnamed
    // enumeration value.
    const TTypeInfo& t = *prop->PropType;
    bool bad = false;
    if (const EnumNames* e = t.Enum())
      bad = value < e->MinValue || value > e->MaxValue();
    else if (t.Kind == tkInteger || t.Kind == tkChar || t.Kind == tkWChar)
      bad = value < t.MinValue || value > t.MaxValue;
    if (bad) throw EPropertyError("Invalid property value " + IntToStr(value) + " for " + prop->Name);
  }
  Write<int64_t>(instance, prop, value);
}

AnsiString GetEnumProp(TObject* instance, const TPropInfo* prop) {
  if (prop && prop->Kind() != tkEnumeration) KindError(prop);
  return GetEnumName(*prop->PropType, GetOrdProp(instance, prop));
}

void SetEnumProp(TObject* instance, const TPropInfo* prop, const AnsiString& value) {
  if (prop && prop->Kind() != tkEnumeration) KindError(prop);
  int32_t v = prop ? GetEnumValue(*prop->PropType, value) : -1;
  if (prop && v < 0) throw EPropertyError("Invalid property element: " + value);
  SetOrdProp(instance, prop, v);
}

AnsiString GetSetProp(TObject* instance, const TPropInfo* prop, bool brackets) {
  if (prop && prop->Kind() != tkSet) KindError(prop);
  return SetToString(*prop->PropType, GetOrdProp(instance, prop), brackets);
}

void SetSetProp(TObject* instance, const TPropInfo* prop, const AnsiString& value) {
  if (prop && prop->Kind() != tkSet) KindError(prop);
  SetOrdProp(instance, prop, prop ? StringToSet(*prop->PropType, value) : 0);
}

long double GetFloatProp(TObject* instance, const TPropInfo* prop) {
  if (prop && prop->Kind() != tkFloat) KindError(prop);
  return Read<long double>(instance, prop);
}

void SetFloatProp(TObject* instance, const TPropInfo* prop, long double value) {
  if (prop && prop->Kind() != tkFloat) KindError(prop);
  Write<long double>(instance, prop, value);
}

AnsiString GetStrProp(TObject* instance, const TPropInfo* prop) {
  if (prop && prop->Kind() == tkWString) return WideToAnsi(Read<WideString>(instance, prop));
  if (prop && prop->Kind() != tkLString && prop->Kind() != tkString) KindError(prop);
  return Read<AnsiString>(instance, prop);
}

void SetStrProp(TObject* instance, const TPropInfo* prop, const AnsiString& value) {
  if (prop && prop->Kind() == tkWString) return Write<WideString>(instance, prop, AnsiToWide(value));
  if (prop && prop->Kind() != tkLString && prop->Kind() != tkString) KindError(prop);
  Write<AnsiString>(instance, prop, value);
}

WideString GetWideStrProp(TObject* instance, const TPropInfo* prop) {
  if (prop && prop->Kind() != tkWString) return AnsiToWide(GetStrProp(instance, prop));
  return Read<WideString>(instance, prop);
}

void SetWideStrProp(TObject* instance, const TPropInfo* prop, const WideString& value) {
  if (prop && prop->Kind() != tkWString) return SetStrProp(instance, prop, WideToAnsi(value));
  Write<WideString>(instance, prop, value);
}

int64_t GetInt64Prop(TObject* instance, const TPropInfo* prop) { return GetOrdProp(instance, prop); }

void SetInt64Prop(TObject* instance, const TPropInfo* prop, int64_t value) {
  SetOrdProp(instance, prop, value);
}

TObject* GetObjectProp(TObject* instance, const TPropInfo* prop) {
  if (prop && prop->Kind() != tkClass) KindError(prop);
  return Read<TObject*>(instance, prop);
}

void SetObjectProp(TObject* instance, const TPropInfo* prop, TObject* value) {
  if (prop && prop->Kind() != tkClass) KindError(prop);
  if (prop && value && !value->InheritsFrom(*prop->PropType->ClassType()))
    throw EPropertyError("Invalid property value: " + prop->Name + " cannot hold a " + value->ClassName());
  Write<TObject*>(instance, prop, value);
}

const TClassInfo* GetObjectPropClass(const TPropInfo* prop) {
  return prop && prop->Kind() == tkClass ? prop->PropType->ClassType() : nullptr;
}

TMethod GetMethodProp(TObject* instance, const TPropInfo* prop) {
  if (prop && prop->Kind() != tkMethod) KindError(prop);
  return Read<TMethod>(instance, prop);
}

void SetMethodProp(TObject* instance, const TPropInfo* prop, const TMethod& value) {
  if (prop && prop->Kind() != tkMethod) KindError(prop);
  if (prop && value.Assigned() && value.Event.type() != *prop->PropType->MethodType)
    throw EPropertyError("The method does not fit the parameters of " + prop->Name);
  Write<TMethod>(instance, prop, value);
}

Variant GetVariantProp(TObject* instance, const TPropInfo* prop) {
  if (prop && prop->Kind() != tkVariant) KindError(prop);
  return Read<Variant>(instance, prop);
}

void SetVariantProp(TObject* instance, const TPropInfo* prop, const Variant& value) {
  if (prop && prop->Kind() != tkVariant) KindError(prop);
  Write<Variant>(instance, prop, value);
}

// The access functions by name or dotted path; Param is how the setter takes the value.
#define PL_BY_PATH(Get, Set, Type, Param)                            \
  Type Get(TObject* instance, const AnsiString& path) {              \
    const TPropInfo* prop;                                           \
    TObject* target = Target(instance, path, prop);                  \
    return Get(target, prop);                                        \
  }                                                                  \
  void Set(TObject* instance, const AnsiString& path, Param value) { \
    const TPropInfo* prop;                                           \
    TObject* target = Target(instance, path, prop);                  \
    Set(target, prop, value);                                        \
  }

PL_BY_PATH(GetEnumProp, SetEnumProp, AnsiString, const AnsiString&)
PL_BY_PATH(GetStrProp, SetStrProp, AnsiString, const AnsiString&)
PL_BY_PATH(GetWideStrProp, SetWideStrProp, WideString, const WideString&)
PL_BY_PATH(GetMethodProp, SetMethodProp, TMethod, const TMethod&)
PL_BY_PATH(GetVariantProp, SetVariantProp, Variant, const Variant&)
PL_BY_PATH(GetOrdProp, SetOrdProp, int64_t, int64_t)
PL_BY_PATH(GetFloatProp, SetFloatProp, long double, long double)
PL_BY_PATH(GetInt64Prop, SetInt64Prop, int64_t, int64_t)
PL_BY_PATH(GetObjectProp, SetObjectProp, TObject*, TObject*)
#undef PL_BY_PATH

AnsiString GetSetProp(TObject* instance, const AnsiString& path, bool brackets) {
  const TPropInfo* prop;
  TObject* target = Target(instance, path, prop);
  return GetSetProp(target, prop, brackets);
}

void SetSetProp(TObject* instance, const AnsiString& path, const AnsiString& value) {
  const TPropInfo* prop;
  TObject* target = Target(instance, path, prop);
  SetSetProp(target, prop, value);
}

TMethod FindPublishedMethod(TObject* root, const AnsiString& name) {
  if (!root) return {};
  const TMethodInfo* m = root->ClassType().FindMethod(name);
  return m ? m->Bind(*m, root) : TMethod{};
}

// ============================================================================================
// enumeration and set names
// ============================================================================================

AnsiString GetEnumName(const EnumNames& names, int64_t value) {
  if (value < names.MinValue || value > names.MaxValue()) return "";
  return names.Names[size_t(value - names.MinValue)];
}

int32_t GetEnumValue(const EnumNames& names, const AnsiString& name) {
  for (size_t i = 0; i < names.Names.size(); ++i)
    if (SameText(names.Names[i], name)) return names.MinValue + int32_t(i);
  return -1;
}

AnsiString GetEnumName(const TTypeInfo& type, int64_t value) {
  if (const EnumNames* e = type.Enum()) return GetEnumName(*e, value);
  return IntToStr(value);
}

int32_t GetEnumValue(const TTypeInfo& type, const AnsiString& name) {
  if (const EnumNames* e = type.Enum()) return GetEnumValue(*e, name);
  return -1;
}

AnsiString SetToString(const TTypeInfo& setType, int64_t mask, bool brackets) {
  const TTypeInfo* comp = setType.CompType();
  AnsiString result;
  for (int i = 0; i < 64; ++i)
    if ((uint64_t(mask) >> i) & 1u) {
      if (!result.empty()) result += ",";
      result += comp ? GetEnumName(*comp, i) : IntToStr(i);
    }
  return brackets ? "[" + result + "]" : result;
}

int64_t StringToSet(const TTypeInfo& setType, const AnsiString& value) {
  const TTypeInfo* comp = setType.CompType();
  AnsiString text = Trim(value);
  if (!text.empty() && text.front() == '[') text.erase(0, 1);
  if (!text.empty() && text.back() == ']') text.pop_back();
  int64_t mask = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    AnsiString name = Trim(text.substr(start, comma - start));
    if (!name.empty()) {
      int32_t v = comp ? GetEnumValue(*comp, name) : -1;
      if (v < 0 || v > 63) throw EPropertyError("Invalid property element: " + name);
      mask |= int64_t(uint64_t(1) << v);
    }
    if (comma == AnsiString::npos) break;
    start = comma + 1;
  }
  return mask;
}

// ============================================================================================
// class registry
// ============================================================================================

namespace {
struct Registry {
  std::mutex lock;
  std::map<AnsiString, const TClassInfo*> classes;  // by upper-case name
};
Registry& registry() {
  static Registry r;
  return r;
}
}  // namespace

void RegisterClass(const TClassInfo& cls) {
  Registry& r = registry();
  std::lock_guard<std::mutex> g(r.lock);
  auto [it, added] = r.classes.emplace(UpperCase(cls.Name()), &cls);
  if (!added && it->second != &cls) throw EFilerError("A class named " + cls.Name() + " already exists");
  // Ancestors too, so their names resolve; one taken by another class is left alone.
  for (const TClassInfo* c = cls.Parent(); c && c->Parent(); c = c->Parent())
    r.classes.emplace(UpperCase(c->Name()), c);
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
  for (const TClassInfo* c : classes) RegisterClass(*c);
}

void UnRegisterClass(const TClassInfo& cls) {
  Registry& r = registry();
  std::lock_guard<std::mutex> g(r.lock);
  auto it = r.classes.find(UpperCase(cls.Name()));
  if (it != r.classes.end() && it->second == &cls) r.classes.erase(it);
}

const TClassInfo* GetClass(const AnsiString& name) {
  Registry& r = registry();
  std::lock_guard<std::mutex> g(r.lock);
  auto it = r.classes.find(UpperCase(name));
  return it == r.classes.end() ? nullptr : it->second;
}

const TClassInfo& FindClass(const AnsiString& name) {
  const TClassInfo* c = GetClass(name);
  if (!c) throw EClassNotFound("Class " + name + " not found");
  return *c;
}
