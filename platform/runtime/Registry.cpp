// Sections: the store file / TRegistry / TRegIniFile / TRegistryIniFile.
//
// The store file: one section per key, named by its root and path; one entry per value, the
// name (the unnamed value is "@") and the typed text "sz:<text>" or "dword:<decimal>".  Bytes
// that the INI form cannot hold (line breaks, "%", "=", "[", "]", ";", "@", blanks at the ends)
// are written as "%XX".
#include "platform/runtime/Registry.h"

#include <cstring>
#include <mutex>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"

// ============================================================ the store file

AnsiString RegistryStoreFileName() { return UserConfigFolder() + "/registry.ini"; }

namespace {

constexpr const char* kStringTag = "sz:";
constexpr const char* kIntegerTag = "dword:";

AnsiString Escape(const AnsiString& s, const char* special) {
  static const char* hex = "0123456789ABCDEF";
  AnsiString out;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    bool edgeBlank = c == ' ' && (i == 0 || i + 1 == s.size());
    if (c < 0x20 || c == 0x7F || c == '%' || (c && std::strchr(special, c)) || edgeBlank) {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += char(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

AnsiString Unescape(const AnsiString& s) {
  AnsiString out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
      out += char(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

AnsiString EntryName(const AnsiString& name) {
  return name.empty() ? AnsiString("@") : Escape(name, "=[];@");
}
AnsiString NameOfEntry(const AnsiString& entry) { return entry == "@" ? AnsiString() : Unescape(entry); }

// "a\\b\" -> "a\b": the parts of a key path, empty ones dropped.
AnsiString NormalizePath(const AnsiString& key) {
  AnsiString path;
  size_t p = 0;
  while (p <= key.size()) {
    size_t end = key.find('\\', p);
    if (end == AnsiString::npos) end = key.size();
    if (end > p) path += (path.empty() ? "" : "\\") + key.substr(p, end - p);
    p = end + 1;
  }
  return path;
}

AnsiString RootName(HKEY root) {
  switch (root) {
    case HKEY_CLASSES_ROOT:
      return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER:
      return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE:
      return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS:
      return "HKEY_USERS";
    case HKEY_CURRENT_CONFIG:
      return "HKEY_CURRENT_CONFIG";
    default:
      return "HKEY_" + IntToHex(int64_t(root), 8);
  }
}

bool StartsWithText(const AnsiString& s, const AnsiString& prefix) {
  return s.size() >= prefix.size() && AnsiSameText(s.substr(0, prefix.size()), prefix);
}

// One call's view of the store: read under the process-wide lock, saved after a change.
class Store {
 public:
  Store() : guard_(Lock()), file_(RegistryStoreFileName()) { document_.LoadFromFile(file_); }
  TIniDocument& Document() { return document_; }
  // A failed save leaves the file as it was and raises ERegistryException with message.
  void Save(const AnsiString& message) {
    try {
      document_.SaveToFile(file_);
    } catch (const EFCreateError& e) {
      throw ERegistryException(message + ". " + e.Message);
    }
  }
  bool KeyExists(const AnsiString& section) {
    if (section.find('\\') == AnsiString::npos || document_.SectionExists(section)) return true;
    for (const AnsiString& s : document_.Sections())
      if (StartsWithText(s, section + "\\")) return true;
    return false;
  }
  // Value entry of a key: false when missing; type and text otherwise.
  bool Read(const AnsiString& section, const AnsiString& name, TRegDataType& type, AnsiString& text) {
    AnsiString raw;
    if (!document_.ReadValue(section, EntryName(name), raw)) return false;
    if (raw.compare(0, std::strlen(kIntegerTag), kIntegerTag) == 0) {
      type = rdInteger;
      text = raw.substr(std::strlen(kIntegerTag));
    } else {
      // Text without a tag (written by hand) counts as a string too.
      type = rdString;
      text = Unescape(raw.compare(0, std::strlen(kStringTag), kStringTag) == 0
                          ? raw.substr(std::strlen(kStringTag))
                          : raw);
    }
    return true;
  }

 private:
  static std::mutex& Lock() {
    static std::mutex lock;
    return lock;
  }
  std::lock_guard<std::mutex> guard_;
  AnsiString file_;
  TIniDocument document_;
};

}  // namespace

// ============================================================ TRegistry

const TClassInfo& TRegistry::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TRegistry, TObject>("TRegistry");
  return info;
}

AnsiString TRegistry::Section(const AnsiString& Path) const {
  AnsiString section = RootName(rootKey_);
  AnsiString path = NormalizePath(Path);
  size_t p = 0;
  while (p < path.size()) {
    size_t end = path.find('\\', p);
    if (end == AnsiString::npos) end = path.size();
    section += "\\" + Escape(path.substr(p, end - p), "[];");
    p = end + 1;
  }
  return section;
}

AnsiString TRegistry::ResolveKey(const AnsiString& Key) const {
  AnsiString path = NormalizePath(Key);
  bool absolute = !Key.empty() && Key[0] == '\\';
  if (absolute || !open_ || currentPath_.empty()) return path;
  return path.empty() ? currentPath_ : currentPath_ + "\\" + path;
}

void TRegistry::CheckWritable(const AnsiString& Name) const {
  if (!open_ || readOnly_) throw ERegistryException("Failed to set data for '" + Name + "'");
}

void TRegistry::SetRootKey(HKEY Value) {
  if (Value == rootKey_) return;
  CloseKey();
  rootKey_ = Value;
}

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate) {
  AnsiString path = ResolveKey(Key);
  if (CanCreate) {
    CreateKey("\\" + path);
  } else if (!KeyExists("\\" + path)) {
    return false;
  }
  currentPath_ = path;
  open_ = true;
  readOnly_ = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key) {
  if (!OpenKey(Key, false)) return false;
  readOnly_ = true;
  return true;
}

void TRegistry::CloseKey() {
  currentPath_.clear();
  open_ = false;
  readOnly_ = false;
}

bool TRegistry::CreateKey(const AnsiString& Key) {
  AnsiString section = Section(ResolveKey(Key));
  Store store;
  if (store.KeyExists(section)) return true;
  store.Document().AddSection(section);
  store.Save("Failed to create key " + Key);
  return true;
}

bool TRegistry::DeleteKey(const AnsiString& Key) {
  AnsiString path = ResolveKey(Key);
  if (path.empty()) return false;  // a root cannot go
  AnsiString section = Section(path);
  Store store;
  bool found = false;
  for (const AnsiString& s : store.Document().Sections())
    if (AnsiSameText(s, section) || StartsWithText(s, section + "\\"))
      found = store.Document().EraseSection(s) || found;
  if (found) store.Save("Failed to delete key " + Key);
  return found;
}

bool TRegistry::KeyExists(const AnsiString& Key) {
  AnsiString section = Section(ResolveKey(Key));
  return Store().KeyExists(section);
}

bool TRegistry::HasSubKeys() {
  TStringList names;
  GetKeyNames(&names);
  return names.Count() > 0;
}

void TRegistry::GetKeyNames(TStrings* Strings) {
  if (open_)
    GetKeyNamesAt(currentPath_, Strings);
  else
    Strings->Clear();
}

void TRegistry::GetValueNames(TStrings* Strings) {
  if (open_)
    GetValueNamesAt(currentPath_, Strings);
  else
    Strings->Clear();
}

void TRegistry::GetKeyNamesAt(const AnsiString& Path, TStrings* Strings) {
  AnsiString prefix = Section(Path) + "\\";
  std::vector<AnsiString> names;
  for (const AnsiString& s : Store().Document().Sections()) {
    if (!StartsWithText(s, prefix)) continue;
    AnsiString name = Unescape(s.substr(prefix.size(), s.find('\\', prefix.size()) - prefix.size()));
    // A doubled "\\" in a hand-edited section makes an empty part: no key is named so (opening
    // it would open this key again, and a walk of the keys would never end).
    if (name.empty()) continue;
    bool seen = false;
    for (const AnsiString& n : names) seen = seen || AnsiSameText(n, name);
    if (!seen) names.push_back(name);
  }
  ReplaceStrings(Strings, names);
}

void TRegistry::GetValueNamesAt(const AnsiString& Path, TStrings* Strings) {
  std::vector<AnsiString> names;
  for (const AnsiString& entry : Store().Document().Keys(Section(Path))) names.push_back(NameOfEntry(entry));
  ReplaceStrings(Strings, names);
}

bool TRegistry::ValueExists(const AnsiString& Name) { return open_ && ValueExistsAt(currentPath_, Name); }
bool TRegistry::DeleteValue(const AnsiString& Name) {
  CheckWritable(Name);
  return DeleteValueAt(currentPath_, Name);
}
TRegDataType TRegistry::GetDataType(const AnsiString& Name) {
  return open_ ? DataTypeAt(currentPath_, Name) : rdUnknown;
}

AnsiString TRegistry::ReadString(const AnsiString& Name) {
  if (!open_) throw ERegistryException("Failed to get data for '" + Name + "'");
  return ReadStringAt(currentPath_, Name);
}

int32_t TRegistry::ReadInteger(const AnsiString& Name) {
  if (!open_) throw ERegistryException("Failed to get data for '" + Name + "'");
  return ReadIntegerAt(currentPath_, Name);
}

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value) {
  CheckWritable(Name);
  WriteStringAt(currentPath_, Name, Value);
}

void TRegistry::WriteInteger(const AnsiString& Name, int32_t Value) {
  CheckWritable(Name);
  WriteIntegerAt(currentPath_, Name, Value);
}

bool TRegistry::ReadBool(const AnsiString& Name) { return ReadInteger(Name) != 0; }
void TRegistry::WriteBool(const AnsiString& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

bool TRegistry::ValueExistsAt(const AnsiString& Path, const AnsiString& Name) {
  return DataTypeAt(Path, Name) != rdUnknown;
}

TRegDataType TRegistry::DataTypeAt(const AnsiString& Path, const AnsiString& Name) {
  TRegDataType type;
  AnsiString text;
  return Store().Read(Section(Path), Name, type, text) ? type : rdUnknown;
}

namespace {

AnsiString ReadTyped(Store& store, const AnsiString& section, const AnsiString& name, TRegDataType wanted) {
  TRegDataType type;
  AnsiString text;
  if (!store.Read(section, name, type, text))
    throw ERegistryException("Failed to get data for '" + name + "'");
  if (type != wanted) throw ERegistryException("Invalid data type for '" + name + "'");
  return text;
}

}  // namespace

AnsiString TRegistry::ReadStringAt(const AnsiString& Path, const AnsiString& Name) {
  Store store;
  return ReadTyped(store, Section(Path), Name, rdString);
}

int32_t TRegistry::ReadIntegerAt(const AnsiString& Path, const AnsiString& Name) {
  Store store;
  int64_t value;
  // Stored as the 32-bit pattern; a number that does not fit in 32 bits is damaged data, not
  // one to cut.
  if (!TryStrToInt64(ReadTyped(store, Section(Path), Name, rdInteger), value) || value < INT32_MIN ||
      value > UINT32_MAX)
    throw ERegistryException("Invalid data type for '" + Name + "'");
  return int32_t(uint32_t(value));
}

void TRegistry::WriteStringAt(const AnsiString& Path, const AnsiString& Name, const AnsiString& Value) {
  Store store;
  store.Document().WriteValue(Section(Path), EntryName(Name), kStringTag + Escape(Value, ""));
  store.Save("Failed to set data for '" + Name + "'");
}

void TRegistry::WriteIntegerAt(const AnsiString& Path, const AnsiString& Name, int32_t Value) {
  Store store;
  store.Document().WriteValue(Section(Path), EntryName(Name), kIntegerTag + std::to_string(uint32_t(Value)));
  store.Save("Failed to set data for '" + Name + "'");
}

bool TRegistry::DeleteValueAt(const AnsiString& Path, const AnsiString& Name) {
  Store store;
  if (!store.Document().DeleteKey(Section(Path), EntryName(Name))) return false;
  store.Save("Failed to delete value '" + Name + "'");
  return true;
}

// ============================================================ TRegIniFile

const TClassInfo& TRegIniFile::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TRegIniFile, TRegistry>("TRegIniFile");
  return info;
}

TRegIniFile::TRegIniFile(const AnsiString& FileName) : fileName_(FileName) { OpenKey(FileName, true); }

AnsiString TRegIniFile::SectionPath(const AnsiString& Section) const {
  return Section.empty() ? CurrentPath() : ResolveKey(Section);
}

AnsiString TRegIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                   const AnsiString& Default) {
  AnsiString path = SectionPath(Section);
  switch (DataTypeAt(path, Ident)) {
    case rdString:
      return ReadStringAt(path, Ident);
    case rdInteger:
      return IntToStr(ReadIntegerAt(path, Ident));
    default:
      return Default;
  }
}

void TRegIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) {
  WriteStringAt(SectionPath(Section), Ident, Value);
}

int32_t TRegIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Default) {
  AnsiString path = SectionPath(Section);
  switch (DataTypeAt(path, Ident)) {
    case rdString:
      return StrToIntDef(ReadStringAt(path, Ident), Default);
    case rdInteger:
      return ReadIntegerAt(path, Ident);
    default:
      return Default;
  }
}

void TRegIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TRegIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
  WriteInteger(Section, Ident, Value ? 1 : 0);
}

void TRegIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) {
  GetValueNamesAt(SectionPath(Section), Strings);
}

void TRegIniFile::ReadSections(TStrings* Strings) { GetKeyNamesAt(CurrentPath(), Strings); }

void TRegIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) {
  TStringList names;
  ReadSection(Section, &names);
  std::vector<AnsiString> entries;
  for (int32_t i = 0; i < names.Count(); ++i)
    entries.push_back(names[i] + "=" + ReadString(Section, names[i], ""));
  ReplaceStrings(Strings, entries);
}

void TRegIniFile::EraseSection(const AnsiString& Section) { TRegistry::DeleteKey(Section); }

void TRegIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
  DeleteValueAt(SectionPath(Section), Ident);
}

// ============================================================ TRegistryIniFile

const TClassInfo& TRegistryIniFile::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TRegistryIniFile, TCustomIniFile>("TRegistryIniFile");
  return info;
}

TRegistryIniFile::TRegistryIniFile(const AnsiString& FileName)
    : TCustomIniFile(FileName), regIniFile_(std::make_unique<TRegIniFile>(FileName)) {}

AnsiString TRegistryIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                        const AnsiString& Default) {
  return regIniFile_->ReadString(Section, Ident, Default);
}

void TRegistryIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident,
                                   const AnsiString& Value) {
  regIniFile_->WriteString(Section, Ident, Value);
}

int32_t TRegistryIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Default) {
  return regIniFile_->ReadInteger(Section, Ident, Default);
}

void TRegistryIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Value) {
  AnsiString path = regIniFile_->SectionPath(Section);
  if (regIniFile_->DataTypeAt(path, Ident) == rdString)
    regIniFile_->WriteStringAt(path, Ident, IntToStr(Value));
  else
    regIniFile_->WriteIntegerAt(path, Ident, Value);
}

void TRegistryIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) {
  regIniFile_->ReadSection(Section, Strings);
}
void TRegistryIniFile::ReadSections(TStrings* Strings) { regIniFile_->ReadSections(Strings); }
void TRegistryIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) {
  regIniFile_->ReadSectionValues(Section, Strings);
}
void TRegistryIniFile::EraseSection(const AnsiString& Section) { regIniFile_->EraseSection(Section); }
void TRegistryIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
  regIniFile_->DeleteKey(Section, Ident);
}
