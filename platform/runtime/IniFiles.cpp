// Sections: TIniDocument / TCustomIniFile / TIniFile.
#include "platform/runtime/IniFiles.h"

#include <cerrno>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"

// ============================================================ TIniDocument

namespace {

// Whether a line starts a section: "[name]", or "[name" without its bracket, which ends the
// section before it but names none (its keys belong to no section).
bool StartsSection(const AnsiString& line) {
  AnsiString t = TrimLeft(line);
  return !t.empty() && t[0] == '[';
}

// "[name]".
bool IsHeader(const AnsiString& line, AnsiString& name) {
  AnsiString t = Trim(line);
  if (t.empty() || t[0] != '[') return false;
  size_t close = t.find(']');
  if (close == AnsiString::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

// A name with a line break can be neither written nor found: lookups miss it rather than trim
// the break away and reach another name.
bool IniNameHasBreak(const AnsiString& name) { return name.find_first_of("\r\n") != AnsiString::npos; }

constexpr const char kUtf8Bom[] = "\xEF\xBB\xBF";

bool IsEntry(const AnsiString& line, AnsiString& key, AnsiString& value) {
  AnsiString t = Trim(line);
  if (t.empty() || t[0] == ';' || t[0] == '[') return false;
  size_t eq = t.find('=');
  if (eq == AnsiString::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return true;
}

void AddOnce(std::vector<AnsiString>& names, const AnsiString& name) {
  for (const AnsiString& n : names)
    if (AnsiSameText(n, name)) return;
  names.push_back(name);
}

}  // namespace

void TIniDocument::SetText(const AnsiString& Text) {
  TStringList lines;
  // A byte-order mark is no part of the first line; it goes back on when the text is written.
  bom_ = Text.compare(0, 3, kUtf8Bom) == 0;
  lines.SetText(bom_ ? Text.substr(3) : Text);
  lines_.clear();
  for (int32_t i = 0; i < lines.Count(); ++i) lines_.push_back(lines[i]);
}

AnsiString TIniDocument::GetText() const {
  AnsiString text = bom_ ? kUtf8Bom : "";
  for (const AnsiString& line : lines_) text += line + "\r\n";
  return text;
}

void TIniDocument::LoadFromFile(const AnsiString& FileName) {
  if (!FileExists(FileName)) {
    Clear();
    return;
  }
  TStringStream text;
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  text.CopyFrom(&file, 0);
  SetText(text.DataString());
}

void TIniDocument::SaveToFile(const AnsiString& FileName) const { SaveFileDurably(FileName, GetText()); }

std::vector<size_t> TIniDocument::FindSections(const AnsiString& Section) const {
  std::vector<size_t> headers;
  if (IniNameHasBreak(Section)) return headers;
  AnsiString name;
  AnsiString wanted = Trim(Section);
  for (size_t i = 0; i < lines_.size(); ++i)
    if (IsHeader(lines_[i], name) && AnsiSameText(name, wanted)) headers.push_back(i);
  return headers;
}

bool TIniDocument::FindEntry(const AnsiString& Section, const AnsiString& Key, size_t& line) const {
  for (size_t header : FindSections(Section)) {
    int32_t at = FindKey(header, Key);
    if (at >= 0) {
      line = size_t(at);
      return true;
    }
  }
  return false;
}

size_t TIniDocument::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && !StartsSection(lines_[i])) i++;
  return i;
}

int32_t TIniDocument::FindKey(size_t header, const AnsiString& Key) const {
  if (IniNameHasBreak(Key)) return -1;
  AnsiString key, value, wanted = Trim(Key);
  for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i)
    if (IsEntry(lines_[i], key, value) && AnsiSameText(key, wanted)) return int32_t(i);
  return -1;
}

bool TIniDocument::SectionExists(const AnsiString& Section) const { return !FindSections(Section).empty(); }

void TIniDocument::AddSection(const AnsiString& Section) {
  if (SectionExists(Section)) return;
  // A blank line keeps sections apart, as people write them.
  if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
  lines_.push_back("[" + Section + "]");
}

bool TIniDocument::ReadValue(const AnsiString& Section, const AnsiString& Key, AnsiString& Value) const {
  size_t line;
  AnsiString key;
  return FindEntry(Section, Key, line) && IsEntry(lines_[line], key, Value);
}

void TIniDocument::WriteValue(const AnsiString& Section, const AnsiString& Key, const AnsiString& Value) {
  AnsiString entry = Key + "=" + Value;
  size_t line;
  if (FindEntry(Section, Key, line)) {
    lines_[line] = entry;
    return;
  }
  AddSection(Section);
  size_t header = FindSections(Section).front();
  // After the section's last non-blank line, so the blank line before the next header stays.
  size_t at = SectionEnd(header);
  while (at > header + 1 && Trim(lines_[at - 1]).empty()) at--;
  lines_.insert(lines_.begin() + ptrdiff_t(at), entry);
}

// Every copy's entry goes: a later copy's would otherwise show through.
bool TIniDocument::DeleteKey(const AnsiString& Section, const AnsiString& Key) {
  bool found = false;
  for (size_t line; FindEntry(Section, Key, line); found = true)
    lines_.erase(lines_.begin() + ptrdiff_t(line));
  return found;
}

bool TIniDocument::EraseSection(const AnsiString& Section) {
  std::vector<size_t> headers = FindSections(Section);
  for (auto it = headers.rbegin(); it != headers.rend(); ++it)
    lines_.erase(lines_.begin() + ptrdiff_t(*it), lines_.begin() + ptrdiff_t(SectionEnd(*it)));
  return !headers.empty();
}

std::vector<AnsiString> TIniDocument::Sections() const {
  std::vector<AnsiString> names;
  AnsiString name;
  for (const AnsiString& line : lines_)
    if (IsHeader(line, name)) AddOnce(names, name);
  return names;
}

std::vector<AnsiString> TIniDocument::Keys(const AnsiString& Section) const {
  std::vector<AnsiString> keys;
  AnsiString key, value;
  for (size_t header : FindSections(Section))
    for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i)
      if (IsEntry(lines_[i], key, value)) AddOnce(keys, key);
  return keys;
}

void TIniDocument::CheckEntry(const AnsiString& Section, const AnsiString& Key, const AnsiString& Value) {
  auto hasBreak = [](const AnsiString& s) { return s.find_first_of("\r\n") != AnsiString::npos; };
  AnsiString key = Trim(Key);
  if (hasBreak(Section) || Section.find(']') != AnsiString::npos)
    throw EIniFileException("Invalid section name \"" + Section + "\"");
  if (hasBreak(Key) || key.empty() || key.find('=') != AnsiString::npos || key[0] == '[' || key[0] == ';')
    throw EIniFileException("Invalid key name \"" + Key + "\"");
  if (hasBreak(Value))
    throw EIniFileException("Invalid value for \"" + Key + "\": line breaks cannot be stored");
}

// ============================================================ TCustomIniFile

void ReplaceStrings(TStrings* Strings, const std::vector<AnsiString>& Items) {
  Strings->Updating([&] {
    Strings->Clear();
    for (const AnsiString& item : Items) Strings->Add(item);
  });
}

const TClassInfo& TCustomIniFile::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomIniFile, TObject>("TCustomIniFile");
  return info;
}

int32_t TCustomIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Default) {
  return StrToIntDef(ReadString(Section, Ident, AnsiString()), Default);
}

void TCustomIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default) {
  AnsiString text = ReadString(Section, Ident, AnsiString());
  double value;
  return !text.empty() && TryStrToFloat(text, value) ? value : Default;
}

void TCustomIniFile::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

void TCustomIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) {
  TStringList keys;
  ReadSection(Section, &keys);
  std::vector<AnsiString> entries;
  for (int32_t i = 0; i < keys.Count(); ++i)
    entries.push_back(keys[i] + "=" + ReadString(Section, keys[i], AnsiString()));
  ReplaceStrings(Strings, entries);
}

bool TCustomIniFile::SectionExists(const AnsiString& Section) {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.IndexOf(Ident) >= 0;
}

// ============================================================ TIniFile

const TClassInfo& TIniFile::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TIniFile, TCustomIniFile>("TIniFile");
  return info;
}

TIniFile::TIniFile(const AnsiString& FileName) : TCustomIniFile(FileName) {}

void TIniFile::Save() {
  try {
    document_.SaveToFile(FileName());
  } catch (const EFCreateError&) {
    throw EIniFileException("Unable to write to " + FileName());
  }
}

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) {
  document_.LoadFromFile(FileName());
  AnsiString value;
  if (!document_.ReadValue(Section, Ident, value)) return Default;
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    value = value.substr(1, value.size() - 2);
  return value;
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) {
  TIniDocument::CheckEntry(Section, Ident, Value);
  document_.LoadFromFile(FileName());
  document_.WriteValue(Section, Ident, Value);
  Save();
}

void TIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) {
  document_.LoadFromFile(FileName());
  ReplaceStrings(Strings, document_.Keys(Section));
}

void TIniFile::ReadSections(TStrings* Strings) {
  document_.LoadFromFile(FileName());
  ReplaceStrings(Strings, document_.Sections());
}

void TIniFile::EraseSection(const AnsiString& Section) {
  document_.LoadFromFile(FileName());
  if (document_.EraseSection(Section)) Save();
}

void TIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
  document_.LoadFromFile(FileName());
  if (document_.DeleteKey(Section, Ident)) Save();
}
