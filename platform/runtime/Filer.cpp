// Sections: extended floats / TReader: values / TReader: components and properties /
// TReadSession / TWriter: values / TWriter: components and properties / stream helpers /
// TStrings stored data.
#include "platform/runtime/Filer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "platform/runtime/Collection.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"
#include "platform/runtime/Variants.h"

static_assert(std::endian::native == std::endian::little, "the stored form is little-endian");

const TClassInfo& TFiler::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFiler, TObject>("TFiler");
  return info;
}
const TClassInfo& TReader::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TReader, TFiler>("TReader");
  return info;
}
const TClassInfo& TWriter::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TWriter, TFiler>("TWriter");
  return info;
}

namespace {
constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

// Puts a variable back as it was when the scope ends, however it ends.
template <class T>
class Keep {
 public:
  explicit Keep(T& ref) : ref_(ref), saved_(ref) {}
  ~Keep() { ref_ = saved_; }

 private:
  T& ref_;
  T saved_;
};

bool IsIntegerValue(TValueType v) { return v == vaInt8 || v == vaInt16 || v == vaInt32 || v == vaInt64; }
}  // namespace

// ============================================================================================
// extended floats
// ============================================================================================

void ExtendedToBytes(long double value, unsigned char bytes[10]) {
  uint64_t mantissa = 0;
  uint16_t exponent = 0;
  if (std::isnan(value)) {
    exponent = 0x7FFF;
    mantissa = 0xC000000000000000ull;
  } else if (std::isinf(value)) {
    exponent = 0x7FFF;
    mantissa = 0x8000000000000000ull;
  } else if (value != 0) {
    int e;
    long double m = std::frexp(std::fabs(value), &e);  // [0.5, 1)
    int biased = e - 1 + 16383;
    if (biased >= 0x7FFF) {
      exponent = 0x7FFF;
      mantissa = 0x8000000000000000ull;
    } else if (biased <= 0) {  // denormal: no integer bit
      mantissa = uint64_t(std::ldexp(std::fabs(value), 16382 + 63));
    } else {
      exponent = uint16_t(biased);
      mantissa = uint64_t(std::ldexp(m, 64));
    }
  }
  if (std::signbit(value)) exponent |= 0x8000;
  std::memcpy(bytes, &mantissa, 8);
  std::memcpy(bytes + 8, &exponent, 2);
}

long double BytesToExtended(const unsigned char bytes[10]) {
  uint64_t mantissa;
  uint16_t exponent;
  std::memcpy(&mantissa, bytes, 8);
  std::memcpy(&exponent, bytes + 8, 2);
  int e = exponent & 0x7FFF;
  long double v;
  if (e == 0x7FFF)
    v = (mantissa << 1) ? std::numeric_limits<long double>::quiet_NaN()
                        : std::numeric_limits<long double>::infinity();
  else
    v = std::ldexp((long double)mantissa, (e == 0 ? 1 : e) - 16383 - 63);
  return (exponent & 0x8000) ? -v : v;
}

// ============================================================================================
// TReader: values
// ============================================================================================

void TReader::ReadError(const AnsiString& message) { throw EReadError(message); }

void TReader::Read(void* buffer, int32_t count) { stream_->ReadBuffer(buffer, count); }

TReader::Nesting::Nesting(TReader& reader) : reader_(reader) {
  if (++reader_.depth_ > MaxNesting) {
    --reader_.depth_;
    reader_.ReadError("Nesting too deep");
  }
}

template <class T>
T TReader::ReadRaw() {
  T v;
  Read(&v, sizeof v);
  return v;
}

namespace {
// A stored length that the rest of the stream cannot hold is a damaged stream, not a request for
// that much memory.
int32_t CheckedLength(TStream* stream, int32_t n, int32_t unit) {
  if (n < 0 || int64_t(n) * unit > stream->Size() - stream->Position())
    throw EReadError("Invalid stream format");
  return n;
}
}  // namespace

TValueType TReader::ReadValue() {
  uint8_t b = ReadRaw<uint8_t>();
  if (b > vaUTF8String) ReadError("Invalid stream format");
  return TValueType(b);
}

// Not checked: a component's prefix byte (0xF0 and up) is looked at through here too.
TValueType TReader::NextValue() {
  uint8_t b = ReadRaw<uint8_t>();
  stream_->Seek(-1, soCurrent);
  return TValueType(b);
}

void TReader::CheckValue(TValueType Value) {
  if (ReadValue() != Value) {
    stream_->Seek(-1, soCurrent);
    ReadError("Invalid property value");
  }
}

void TReader::ReadSignature() {
  char sig[4];
  Read(sig, 4);
  if (std::memcmp(sig, kSignature, 4) != 0) ReadError("Invalid stream format");
}

void TReader::ReadPrefix(TFilerFlags& Flags, int32_t& AChildPos) {
  Flags = {};
  uint8_t b = ReadRaw<uint8_t>();
  if ((b & 0xF0) != 0xF0) {
    stream_->Seek(-1, soCurrent);
    return;
  }
  Flags = TFilerFlags::FromMask(b & 0x0F);
  if (Flags.Contains(ffChildPos)) AChildPos = ReadInteger();
}

AnsiString TReader::ReadStr() {
  uint8_t n = ReadRaw<uint8_t>();
  AnsiString s(n, '\0');
  if (n) Read(s.data(), n);
  return s;
}

int64_t TReader::ReadInt64() {
  switch (ReadValue()) {
    case vaInt8:
      return ReadRaw<int8_t>();
    case vaInt16:
      return ReadRaw<int16_t>();
    case vaInt32:
      return ReadRaw<int32_t>();
    case vaInt64:
      return ReadRaw<int64_t>();
    default:
      stream_->Seek(-1, soCurrent);
      ReadError("Invalid property value");
  }
}

int32_t TReader::ReadInteger() {
  int64_t v = ReadInt64();
  if (v < INT32_MIN || v > INT32_MAX) ReadError("Invalid property value");
  return int32_t(v);
}

long double TReader::ReadFloat() {
  TValueType t = ReadValue();
  switch (t) {
    case vaExtended: {
      unsigned char b[10];
      Read(b, 10);
      return BytesToExtended(b);
    }
    case vaSingle:
      return ReadRaw<float>();
    case vaCurrency:
      return (long double)ReadRaw<int64_t>() / 10000;
    case vaDate:
      return ReadRaw<double>();
    default:
      stream_->Seek(-1, soCurrent);
      if (IsIntegerValue(t)) return (long double)ReadInt64();
      ReadError("Invalid property value");
  }
}

float TReader::ReadSingle() { return float(ReadFloat()); }
double TReader::ReadCurrency() { return double(ReadFloat()); }
TDateTime TReader::ReadDate() { return double(ReadFloat()); }

AnsiString TReader::ReadString() {
  switch (ReadValue()) {
    case vaString:
      return ReadStr();
    case vaLString:
    case vaUTF8String: {
      bool utf8 = false;
      stream_->Seek(-1, soCurrent);
      utf8 = ReadValue() == vaUTF8String;
      int32_t n = CheckedLength(stream_, ReadRaw<int32_t>(), 1);
      AnsiString s(size_t(n), '\0');
      if (n) Read(s.data(), n);
      return utf8 ? Utf8ToAnsi(s) : s;
    }
    case vaWString: {
      stream_->Seek(-1, soCurrent);
      return WideToAnsi(ReadWideString());
    }
    default:
      stream_->Seek(-1, soCurrent);
      ReadError("Invalid property value");
  }
}

WideString TReader::ReadWideString() {
  if (NextValue() != vaWString) {
    if (NextValue() == vaUTF8String) {
      ReadValue();
      int32_t n = CheckedLength(stream_, ReadRaw<int32_t>(), 1);
      std::string s(size_t(n), '\0');
      if (n) Read(s.data(), n);
      return Utf8ToWide(s);
    }
    return AnsiToWide(ReadString());
  }
  ReadValue();
  int32_t n = CheckedLength(stream_, ReadRaw<int32_t>(), 2);
  WideString w(size_t(n), u'\0');
  if (n) Read(w.data(), n * 2);
  return w;
}

AnsiString TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return "False";
    case vaTrue:
      return "True";
    case vaNil:
      return "nil";
    case vaNull:
      return "Null";
    default:
      stream_->Seek(-1, soCurrent);
      ReadError("Invalid property value");
  }
}

bool TReader::ReadBoolean() {
  TValueType t = ReadValue();
  if (t == vaTrue || t == vaFalse) return t == vaTrue;
  stream_->Seek(-1, soCurrent);
  ReadError("Invalid property value");
}

char TReader::ReadChar() {
  AnsiString s = ReadString();
  if (s.size() != 1) ReadError("Invalid property value");
  return s[0];
}

int64_t TReader::ReadSet(const TTypeInfo& setType) {
  CheckValue(vaSet);
  const TTypeInfo* comp = setType.CompType();
  int64_t mask = 0;
  for (;;) {
    AnsiString name = ReadStr();
    if (name.empty()) break;
    int32_t v = comp ? GetEnumValue(*comp, name) : -1;
    if (v < 0 || v > 63) ReadError("Invalid property value " + name);
    mask |= int64_t(uint64_t(1) << v);
  }
  return mask;
}

AnsiString TReader::ReadBinary() {
  CheckValue(vaBinary);
  int32_t n = CheckedLength(stream_, ReadRaw<int32_t>(), 1);
  AnsiString bytes(size_t(n), '\0');
  if (n) Read(bytes.data(), n);
  return bytes;
}

void TReader::SkipValue() {
  auto skip = [this](int64_t n) {
    CheckedLength(stream_, int32_t(n), 1);
    stream_->Seek(n, soCurrent);
  };
  switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
      break;
    case vaList: {
      Nesting nesting(*this);
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    }
    case vaInt8:
      skip(1);
      break;
    case vaInt16:
      skip(2);
      break;
    case vaInt32:
    case vaSingle:
      skip(4);
      break;
    case vaExtended:
      skip(10);
      break;
    case vaCurrency:
    case vaDate:
    case vaInt64:
      skip(8);
      break;
    case vaString:
    case vaIdent:
      ReadStr();
      break;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
      skip(ReadRaw<int32_t>());
      break;
    case vaWString:
      skip(int64_t(CheckedLength(stream_, ReadRaw<int32_t>(), 2)) * 2);
      break;
    case vaSet:
      while (!ReadStr().empty()) {
      }
      break;
    case vaCollection: {
      Nesting nesting(*this);
      while (!EndOfList()) {
        if (IsIntegerValue(NextValue())) SkipValue();
        ReadListBegin();
        while (!EndOfList()) {
          ReadStr();
          SkipValue();
        }
        ReadListEnd();
      }
      ReadListEnd();
      break;
    }
  }
}

// ============================================================================================
// TReader: components and properties
// ============================================================================================

void TReader::Wrap(const Exception& e, int64_t start, const AnsiString& context) {
  if (errorWrapped_) throw;
  errorWrapped_ = true;
  errorPos_ = start;
  throw EReadError("Error reading " + context + ": " + e.Message);
}

namespace {
AnsiString Describe(TPersistent* instance) {
  AnsiString path = instance->GetNamePath();
  return path.empty() ? instance->ClassName() : path;
}

AnsiString UniqueRootName(TComponent* root, const AnsiString& name) {
  if (name.empty()) return name;
  AnsiString candidate = name;
  for (int i = 1;; ++i) {
    TComponent* other = FindGlobalComponent(candidate);
    if (!other || other == root) return candidate;
    candidate = name + "_" + IntToStr(i);
  }
}
}  // namespace

TComponent* TReader::RunSession(TReadSession* Session, const std::function<TComponent*()>& body) {
  TReadSession local;
  Keep<TReadSession*> keep(session_);
  session_ = Session ? Session : &local;
  errorWrapped_ = false;
  TComponent* result;
  try {
    result = body();
    FixupReferences();
  } catch (...) {
    fixups_.clear();
    if (!Session) local.Abort();
    throw;
  }
  if (!Session) local.Finish();
  return result;
}

TComponent* TReader::ReadRootComponent(TComponent* Root, TReadSession* Session) {
  return RunSession(Session, [&] {
    int64_t start = stream_->Position();
    AnsiString name;
    try {
      ReadSignature();
      TFilerFlags flags;
      int32_t childPos = 0;
      ReadPrefix(flags, childPos);
      AnsiString className = ReadStr();
      name = ReadStr();
      if (!Root) {
        Root = FindClass(className).CreateComponent(nullptr);
        session_->Created.push_back(Root);
      }
      // Loading before the name is set: a setter may act differently while loading.
      Root->state_ += TComponentState{csLoading, csReading};
      auto& loaded = session_->Loaded;
      if (std::find(loaded.begin(), loaded.end(), Root) == loaded.end()) loaded.push_back(Root);
      if (!Root->state_.Contains(csDesigning)) Root->SetName(UniqueRootName(Root, name));
    } catch (Exception& e) {
      Wrap(e, start, name.empty() ? AnsiString("the root") : name);
    }
    root_ = lookupRoot_ = owner_ = Root;
    Root->ReadState(this);
    Root->state_.Exclude(csReading);
    return Root;
  });
}

TComponent* TReader::ReadComponent(TComponent* Component) {
  if (session_) return ReadComponentInSession(Component);
  // Called on its own: the same guarantees as a root read.
  return RunSession(nullptr, [&] { return ReadComponentInSession(Component); });
}

TComponent* TReader::ReadComponentInSession(TComponent* Component) {
  int64_t start = stream_->Position();
  AnsiString name;
  TComponent* result = Component;
  Keep<TComponent*> keepLookup(lookupRoot_);
  try {
    Nesting nesting(*this);
    TFilerFlags flags;
    int32_t childPos = -1;
    ReadPrefix(flags, childPos);
    AnsiString className = ReadStr();
    name = ReadStr();
    TComponent* owner = owner_ ? owner_ : root_;
    if (!result) {
      if (flags.Contains(ffInherited)) {
        result = owner ? owner->FindComponent(name) : nullptr;
        if (!result) ReadError("Ancestor for '" + name + "' not found");
      } else {
        result = FindComponentClass(className).CreateComponent(owner);
        session_->Created.push_back(result);
      }
    }
    result->state_ += TComponentState{csLoading, csReading};
    if (flags.Contains(ffInline)) result->SetInline(true);
    if (!flags.Contains(ffInherited)) result->SetName(name);
    auto& loaded = session_->Loaded;
    if (std::find(loaded.begin(), loaded.end(), result) == loaded.end()) loaded.push_back(result);
    if (parent_ && result->HasParent()) result->SetParentComponent(parent_);
    if (result->state_.Contains(csInline)) lookupRoot_ = result;
    result->ReadState(this);
    result->state_.Exclude(csReading);
    if (flags.Contains(ffChildPos) && parent_) parent_->SetChildOrder(result, childPos);
  } catch (Exception& e) {
    Wrap(e, start, name.empty() ? AnsiString("a component") : name);
  }
  return result;
}

void TReader::ReadData(TComponent* Instance) {
  while (!EndOfList()) ReadProperty(Instance);
  ReadListEnd();
  Keep<TComponent*> keepParent(parent_), keepOwner(owner_);
  parent_ = Instance->GetChildParent();
  owner_ = Instance->GetChildOwner();
  if (!owner_) owner_ = root_;
  while (!EndOfList()) ReadComponent(nullptr);
  ReadListEnd();
}

void TReader::ReadProperty(TPersistent* AInstance) {
  int64_t start = stream_->Position();
  AnsiString path;
  try {
    path = ReadStr();
    propStart_ = start;
    TPersistent* instance = AInstance;
    for (size_t begin = 0;;) {
      size_t dot = path.find('.', begin);
      AnsiString name = path.substr(begin, dot - begin);
      const TPropInfo* prop = instance->ClassType().FindProperty(name);
      if (dot == AnsiString::npos) {
        if (prop) {
          ReadPropValue(instance, prop);
        } else {
          propName_ = name;
          instance->DefineProperties(this);
          if (!propName_.empty()) {
            propName_.clear();
            ReadError("Property " + name + " does not exist");
          }
        }
        break;
      }
      if (!prop) ReadError("Property " + name + " does not exist");
      if (prop->Kind() != tkClass) ReadError("Property " + name + " holds no object");
      instance = dynamic_cast<TPersistent*>(GetObjectProp(instance, prop));
      if (!instance) ReadError("Property " + name + " holds no object");
      begin = dot + 1;
    }
  } catch (Exception& e) {
    Wrap(e, start, Describe(AInstance) + "." + path);
  } catch (const std::bad_alloc&) {  // a setter that took a stored size at its word
    Wrap(EOutOfMemory("Out of memory"), start, Describe(AInstance) + "." + path);
  }
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo* Prop) {
  const TTypeInfo& type = *Prop->PropType;
  if (!Prop->HasSetter() && type.Kind != tkClass) ReadError("Property " + Prop->Name + " is read-only");
  switch (type.Kind) {
    case tkInteger: {
      int64_t v;
      if (NextValue() == vaIdent) {
        AnsiString ident = ReadIdent();
        if (!type.IdentToInt(ident, v)) ReadError("Invalid property value " + ident);
      } else {
        v = ReadInt64();
      }
      SetOrdProp(Instance, Prop, v);
      break;
    }
    case tkChar:
      SetOrdProp(Instance, Prop, uint8_t(ReadChar()));
      break;
    case tkWChar: {
      WideString w = ReadWideString();
      if (w.size() != 1) ReadError("Invalid property value");
      SetOrdProp(Instance, Prop, w[0]);
      break;
    }
    case tkEnumeration: {
      AnsiString ident = ReadIdent();
      int32_t v = GetEnumValue(type, ident);
      if (v < 0) ReadError("Invalid property value " + ident);
      SetOrdProp(Instance, Prop, v);
      break;
    }
    case tkSet:
      SetOrdProp(Instance, Prop, ReadSet(type));
      break;
    case tkFloat:
      SetFloatProp(Instance, Prop, ReadFloat());
      break;
    case tkString:
    case tkLString:
      SetStrProp(Instance, Prop, ReadString());
      break;
    case tkWString:
      SetWideStrProp(Instance, Prop, ReadWideString());
      break;
    case tkInt64:
      SetInt64Prop(Instance, Prop, ReadInt64());
      break;
    case tkVariant:
      SetVariantProp(Instance, Prop, ReadVariant());
      break;
    case tkMethod: {
      if (NextValue() == vaNil) {
        ReadValue();
        SetMethodProp(Instance, Prop, TMethod{});
        break;
      }
      AnsiString name = ReadIdent();
      const TMethodInfo* m = root_ ? root_->ClassType().FindMethod(name) : nullptr;
      if (!m)
        ReadError("Method " + name + " not found in " +
                  (root_ ? root_->ClassName() : AnsiString("the root")));
      if (*m->Type->MethodType != *type.MethodType)
        ReadError("Method " + name + " does not fit the parameters of " + Prop->Name);
      SetMethodProp(Instance, Prop, m->Bind(*m, root_));
      break;
    }
    case tkClass: {
      TValueType next = NextValue();
      if (next == vaNil) {
        ReadValue();
        SetObjectProp(Instance, Prop, nullptr);
      } else if (next == vaCollection) {
        ReadValue();
        auto* collection = dynamic_cast<TCollection*>(GetObjectProp(Instance, Prop));
        if (!collection) ReadError("Property " + Prop->Name + " holds no collection");
        ReadCollection(collection);
      } else if (next == vaIdent) {
        if (!Prop->HasSetter()) ReadError("Property " + Prop->Name + " is read-only");
        AnsiString name = ReadIdent();
        // References are set once every component of the definition exists.
        fixups_.push_back(
            {Instance, Prop, name, Describe(Instance) + "." + Prop->Name, lookupRoot_, propStart_});
      } else {
        ReadError("Invalid property value");
      }
      break;
    }
    default:
      ReadError("Property " + Prop->Name + " cannot be read");
  }
}

Variant TReader::ReadVariant() {
  switch (NextValue()) {
    case vaNil:
      ReadValue();
      return Variant();
    case vaNull:
      ReadValue();
      return Null();
    case vaFalse:
    case vaTrue:
      return Variant(ReadBoolean());
    case vaInt8:
    case vaInt16:
    case vaInt32:
      return Variant(ReadInteger());
    case vaInt64:
      return Variant(ReadInt64());
    case vaExtended:
    case vaSingle:
    case vaCurrency:
      return Variant(double(ReadFloat()));
    case vaDate:
      return Variant::FromDate(ReadDate());
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
      return Variant(ReadString());
    default:
      ReadError("Invalid property value");
  }
}

void TReader::ReadCollection(TCollection* Collection) {
  Nesting nesting(*this);
  Collection->BeginUpdate();
  try {
    // The stored list is the whole content: an empty one empties the collection too.
    Collection->Clear();
    while (!EndOfList()) {
      if (IsIntegerValue(NextValue())) ReadInteger();  // the stored order index is not used
      TCollectionItem* item = Collection->Add();
      ReadListBegin();
      while (!EndOfList()) ReadProperty(item);
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    Collection->EndUpdate();
    throw;
  }
  Collection->EndUpdate();
}

void TReader::DefineProperty(const AnsiString& Name, const TReaderProc& ReadData, const TWriterProc&, bool) {
  if (propName_.empty() || !ReadData || !SameText(Name, propName_)) return;
  propName_.clear();
  ReadData(this);
}

void TReader::DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData, const TStreamProc&,
                                   bool) {
  if (propName_.empty() || !ReadData || !SameText(Name, propName_)) return;
  propName_.clear();
  AnsiString bytes = ReadBinary();
  TMemoryStream data;
  data.Write(bytes.data(), int32_t(bytes.size()));
  data.SetPosition(0);
  ReadData(&data);
}

const TClassInfo& TReader::FindComponentClass(const AnsiString& className) {
  // The root's published fields name the classes of its components; registered classes the rest.
  for (TComponent* r : {lookupRoot_, root_})
    if (r)
      for (const TFieldInfo* f : r->ClassType().Fields())
        if (SameText(f->ClassFn().Name(), className)) return f->ClassFn();
  return FindClass(className);
}

TComponent* TReader::ResolveReference(TComponent* root, const AnsiString& name) {
  size_t dot = name.find('.');
  AnsiString first = name.substr(0, dot);
  TComponent* c = nullptr;
  if (SameText(first, "Owner"))
    c = root;
  else if ((c = root->FindComponent(first)) == nullptr)
    c = SameText(first, root->GetName()) ? root : FindGlobalComponent(first);
  while (c && dot != AnsiString::npos) {
    size_t next = name.find('.', dot + 1);
    AnsiString part = name.substr(dot + 1, next - dot - 1);
    if (!SameText(part, "Owner")) c = c->FindComponent(part);
    dot = next;
  }
  return c;
}

void TReader::FixupReferences() {
  std::vector<Fixup> fixups;
  fixups.swap(fixups_);
  for (const Fixup& f : fixups) {
    try {
      TComponent* c = ResolveReference(f.root, f.name);
      if (!c) ReadError("Component " + f.name + " not found");
      SetObjectProp(f.instance, f.prop, c);
    } catch (Exception& e) {
      Wrap(e, f.pos, f.context);
    }
  }
}

// ============================================================================================
// TReadSession
// ============================================================================================

void TReadSession::Finish() {
  for (TComponent* c : Loaded) c->state_.Exclude(csReading);
  std::vector<TComponent*> list;
  list.swap(Loaded);
  Created.clear();
  for (TComponent* c : list) c->Loaded();
}

void TReadSession::Abort() {
  for (TComponent* c : Loaded)
    if (std::find(Created.begin(), Created.end(), c) == Created.end())
      c->state_ -= TComponentState{csLoading, csReading};
  for (auto it = Created.rbegin(); it != Created.rend(); ++it) delete *it;
  Loaded.clear();
  Created.clear();
}

// ============================================================================================
// TWriter: values
// ============================================================================================

void TWriter::Write(const void* buffer, int32_t count) { stream_->WriteBuffer(buffer, count); }

template <class T>
void TWriter::WriteRaw(T value) {
  Write(&value, sizeof value);
}

int64_t TWriter::Position() { return stream_->Position(); }

void TWriter::WriteValue(TValueType Value) { WriteRaw<uint8_t>(Value); }

void TWriter::WriteSignature() { Write(kSignature, 4); }

void TWriter::WritePrefix(TFilerFlags Flags, int32_t AChildPos) {
  if (Flags.Empty()) return;
  WriteRaw<uint8_t>(uint8_t(0xF0 | Flags.Mask()));
  if (Flags.Contains(ffChildPos)) WriteInteger(AChildPos);
}

void TWriter::WriteComponentHeader(TFilerFlags Flags, int32_t AChildPos, const AnsiString& ClassName,
                                   const AnsiString& Name) {
  if (Flags.Empty() && ClassName.size() >= 0xF0)
    WriteRaw<uint8_t>(0xF0);
  else
    WritePrefix(Flags, AChildPos);
  WriteStr(ClassName);
  WriteStr(Name);
}

void TWriter::WriteStr(const AnsiString& Value) {
  if (Value.size() > 255) throw EWriteError("Name too long to store: " + Value.substr(0, 32) + "...");
  WriteRaw<uint8_t>(uint8_t(Value.size()));
  Write(Value.data(), int32_t(Value.size()));
}

void TWriter::WriteInteger(int64_t Value) {
  if (Value >= INT8_MIN && Value <= INT8_MAX) {
    WriteValue(vaInt8);
    WriteRaw<int8_t>(int8_t(Value));
  } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
    WriteValue(vaInt16);
    WriteRaw<int16_t>(int16_t(Value));
  } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
    WriteValue(vaInt32);
    WriteRaw<int32_t>(int32_t(Value));
  } else {
    WriteValue(vaInt64);
    WriteRaw<int64_t>(Value);
  }
}

void TWriter::WriteFloat(long double Value) {
  unsigned char b[10];
  ExtendedToBytes(Value, b);
  WriteValue(vaExtended);
  Write(b, 10);
}

void TWriter::WriteSingle(float Value) {
  WriteValue(vaSingle);
  WriteRaw<float>(Value);
}

void TWriter::WriteCurrency(double Value) {
  WriteValue(vaCurrency);
  WriteRaw<int64_t>(std::llrint(Value * 10000));
}

void TWriter::WriteDate(TDateTime Value) {
  WriteValue(vaDate);
  WriteRaw<double>(Value);
}

void TWriter::WriteString(const AnsiString& Value) {
  if (Value.size() <= 255) {
    WriteValue(vaString);
    WriteStr(Value);
  } else {
    WriteValue(vaLString);
    WriteRaw<int32_t>(int32_t(Value.size()));
    Write(Value.data(), int32_t(Value.size()));
  }
}

void TWriter::WriteWideString(const WideString& Value) {
  WriteValue(vaWString);
  WriteRaw<int32_t>(int32_t(Value.size()));
  Write(Value.data(), int32_t(Value.size() * 2));
}

void TWriter::WriteIdent(const AnsiString& Ident) {
  if (SameText(Ident, "False"))
    WriteValue(vaFalse);
  else if (SameText(Ident, "True"))
    WriteValue(vaTrue);
  else if (SameText(Ident, "nil"))
    WriteValue(vaNil);
  else if (SameText(Ident, "Null"))
    WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(Ident);
  }
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteChar(char Value) { WriteString(AnsiString(1, Value)); }

void TWriter::WriteBinary(const void* Data, int32_t Size) {
  WriteValue(vaBinary);
  WriteRaw<int32_t>(Size);
  Write(Data, Size);
}

// ============================================================================================
// TWriter: components and properties
// ============================================================================================

void TWriter::WriteRootComponent(TComponent* Root) {
  root_ = lookupRoot_ = Root;
  ancestor_ = rootAncestor_;
  WriteSignature();
  WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent* Component) {
  bool wasWriting = Component->state_.Contains(csWriting);
  Component->state_.Include(csWriting);
  try {
    Component->WriteState(this);
  } catch (...) {
    if (!wasWriting) Component->state_.Exclude(csWriting);
    throw;
  }
  if (!wasWriting) Component->state_.Exclude(csWriting);
}

void TWriter::WriteData(TComponent* Instance) {
  TFilerFlags flags;
  if (Instance->state_.Contains(csInline)) flags.Include(ffInline);
  WriteComponentHeader(flags, 0, Instance->ClassName(), Instance->GetName());
  {
    Keep<AnsiString> keepPath(propPath_);
    propPath_.clear();
    WriteProperties(Instance);
    WriteListEnd();
  }
  if (!ignoreChildren_) {
    // Children are compared with their declared defaults.
    Keep<TPersistent*> keepAncestor(ancestor_);
    Keep<TComponent*> keepRoot(root_), keepLookup(lookupRoot_);
    ancestor_ = nullptr;
    if (Instance->state_.Contains(csInline)) root_ = lookupRoot_ = Instance;
    Instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
  }
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* Instance) {
  for (const TPropInfo* p : GetPropList(Instance, tkAny))
    if (IsStoredProp(Instance, p)) WriteProperty(Instance, p);
  Instance->DefineProperties(this);
}

void TWriter::WritePropName(const AnsiString& Name) { WriteStr(propPath_ + Name); }

AnsiString TWriter::ComponentReference(TComponent* Component) {
  if (Component->Owner() == lookupRoot_) return Component->GetName();
  if (Component == lookupRoot_) return "Owner";
  if (Component->Owner() && !Component->Owner()->GetName().empty() && !Component->GetName().empty())
    return Component->Owner()->GetName() + "." + Component->GetName();
  if (!Component->GetName().empty()) return Component->GetName() + ".Owner";
  return "";
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* Prop) {
  const TTypeInfo& type = *Prop->PropType;
  if (!Prop->HasGetter() || (type.Kind != tkClass && !Prop->HasSetter())) return;
  // The value to compare with: the ancestor's, or else the declared default / empty value.
  TPersistent* ancestor = ancestor_ && ancestor_->InheritsFrom(*Prop->Owner) ? ancestor_ : nullptr;
  switch (type.Kind) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet: {
      int64_t v = GetOrdProp(Instance, Prop);
      if (ancestor ? v == GetOrdProp(ancestor, Prop) : Prop->HasDefault && v == Prop->Default) return;
      WritePropName(Prop->Name);
      AnsiString ident;
      if (type.Kind == tkInteger)
        type.IntToIdent(v, ident) ? WriteIdent(ident) : WriteInteger(v);
      else if (type.Kind == tkChar)
        WriteChar(char(uint8_t(v)));
      else if (type.Kind == tkWChar)
        WriteWideString(WideString(1, char16_t(v)));
      else if (type.Kind == tkEnumeration)
        type.Enum() == &EnumNamesOf<bool>() ? WriteBoolean(v != 0) : WriteIdent(GetEnumName(type, v));
      else {
        WriteValue(vaSet);
        const TTypeInfo* comp = type.CompType();
        for (int i = 0; i < 64; ++i)
          if ((uint64_t(v) >> i) & 1u) WriteStr(comp ? GetEnumName(*comp, i) : IntToStr(i));
        WriteStr("");
      }
      break;
    }
    case tkInt64: {
      int64_t v = GetInt64Prop(Instance, Prop);
      if (ancestor ? v == GetInt64Prop(ancestor, Prop) : v == (Prop->HasDefault ? Prop->Default : 0)) return;
      WritePropName(Prop->Name);
      WriteInteger(v);
      break;
    }
    case tkFloat: {
      long double v = GetFloatProp(Instance, Prop);
      if (ancestor ? v == GetFloatProp(ancestor, Prop) : v == 0) return;
      WritePropName(Prop->Name);
      type.FloatType == ftSingle ? WriteSingle(float(v)) : WriteFloat(v);
      break;
    }
    case tkString:
    case tkLString: {
      AnsiString v = GetStrProp(Instance, Prop);
      if (ancestor ? v == GetStrProp(ancestor, Prop) : v.empty()) return;
      WritePropName(Prop->Name);
      WriteString(v);
      break;
    }
    case tkWString: {
      WideString v = GetWideStrProp(Instance, Prop);
      if (ancestor ? v == GetWideStrProp(ancestor, Prop) : v.empty()) return;
      WritePropName(Prop->Name);
      WriteWideString(v);
      break;
    }
    case tkVariant: {
      Variant v = GetVariantProp(Instance, Prop);
      if (ancestor
              ? v.VType() == GetVariantProp(ancestor, Prop).VType() && v == GetVariantProp(ancestor, Prop)
              : v.IsEmpty())
        return;
      WritePropName(Prop->Name);
      WriteVariant(v);
      break;
    }
    case tkMethod: {
      TMethod m = GetMethodProp(Instance, Prop);
      if (ancestor ? type.MethodEquals(m, GetMethodProp(ancestor, Prop)) : !m.Assigned()) return;
      if (!m.Assigned()) {
        WritePropName(Prop->Name);
        WriteValue(vaNil);
        break;
      }
      // A handler that is not a published method of the root has no name to store.
      AnsiString name = lookupRoot_ ? lookupRoot_->ClassType().MethodName(lookupRoot_, m) : AnsiString();
      if (name.empty()) return;
      WritePropName(Prop->Name);
      WriteIdent(name);
      break;
    }
    case tkClass: {
      TObject* v = GetObjectProp(Instance, Prop);
      TObject* a = ancestor ? GetObjectProp(ancestor, Prop) : nullptr;
      auto* component = dynamic_cast<TComponent*>(v);
      if (component && !component->ComponentStyle().Contains(csSubComponent)) {
        if (!Prop->HasSetter()) return;
        AnsiString ref = ComponentReference(component);
        auto* ac = dynamic_cast<TComponent*>(a);
        if (ancestor && ac && ref == ComponentReference(ac)) return;
        if (ref.empty()) return;
        WritePropName(Prop->Name);
        WriteIdent(ref);
      } else if (!v) {
        if (ancestor && a && Prop->HasSetter()) {
          WritePropName(Prop->Name);
          WriteValue(vaNil);
        }
      } else if (auto* collection = dynamic_cast<TCollection*>(v)) {
        if (auto* same = dynamic_cast<TCollection*>(a); same && StoredForm(collection) == StoredForm(same))
          return;
        WritePropName(Prop->Name);
        WriteCollection(collection);
      } else if (auto* nested = dynamic_cast<TPersistent*>(v)) {
        Keep<TPersistent*> keepAncestor(ancestor_);
        Keep<AnsiString> keepPath(propPath_);
        ancestor_ = dynamic_cast<TPersistent*>(a);
        propPath_ += Prop->Name + ".";
        WriteProperties(nested);
      }
      break;
    }
    default:
      break;
  }
}

AnsiString TWriter::StoredForm(TCollection* Value) {
  TStringStream bytes;
  TWriter writer(&bytes);
  writer.root_ = root_;
  writer.lookupRoot_ = lookupRoot_;
  writer.WriteCollection(Value);
  return bytes.DataString();
}

void TWriter::WriteVariant(const Variant& Value) {
  switch (Value.VType()) {
    case varEmpty:
      WriteValue(vaNil);
      break;
    case varNull:
      WriteValue(vaNull);
      break;
    case varBoolean:
      WriteBoolean(Value.AsBoolean());
      break;
    case varInteger:
    case varInt64:
      WriteInteger(Value.AsInt64());
      break;
    case varDate:
      WriteDate(Value.AsDate());
      break;
    case varString:
      WriteString(Value.AsString());
      break;
    default:
      WriteFloat(Value.AsDouble());
      break;
  }
}

void TWriter::WriteCollection(TCollection* Value) {
  WriteValue(vaCollection);
  Keep<AnsiString> keepPath(propPath_);
  Keep<TPersistent*> keepAncestor(ancestor_);
  propPath_.clear();
  ancestor_ = nullptr;
  for (int32_t i = 0; Value && i < Value->Count(); ++i) {
    WriteListBegin();
    WriteProperties(Value->Items(i));
    WriteListEnd();
  }
  WriteListEnd();
}

void TWriter::DefineProperty(const AnsiString& Name, const TReaderProc&, const TWriterProc& WriteData,
                             bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, const TStreamProc&, const TStreamProc& WriteData,
                                   bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  TMemoryStream data;
  WriteData(&data);
  WriteBinary(data.Memory(), int32_t(data.Size()));
}

// ============================================================================================
// stream helpers
// ============================================================================================

void WriteComponent(TStream* Stream, TComponent* Instance) {
  TWriter writer(Stream);
  writer.WriteRootComponent(Instance);
}

TComponent* ReadComponent(TStream* Stream, TComponent* Instance) {
  TReader reader(Stream);
  return reader.ReadRootComponent(Instance);
}

// ============================================================================================
// TStrings stored data
// ============================================================================================

void TStrings::DefineProperties(TFiler* Filer) {
  auto* ancestor = dynamic_cast<TStrings*>(Filer->GetAncestor());
  bool hasData = ancestor ? !Equals(ancestor) : Count() > 0;
  Filer->DefineProperty("Strings", TReaderProc::Lambda([this](TReader* reader) {
                          reader->ReadListBegin();
                          BeginUpdate();
                          try {
                            Clear();
                            while (!reader->EndOfList()) Add(reader->ReadString());
                          } catch (...) {
                            EndUpdate();
                            throw;
                          }
                          EndUpdate();
                          reader->ReadListEnd();
                        }),
                        TWriterProc::Lambda([this](TWriter* writer) {
                          writer->WriteListBegin();
                          for (int32_t i = 0; i < Count(); ++i) writer->WriteString(Strings(i));
                          writer->WriteListEnd();
                        }),
                        hasData);
}
