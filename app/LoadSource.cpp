#include "app/LoadSource.h"

#include <algorithm>

#include "platform/os/kernel/Kernel.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"

namespace {

// Far beyond 254 strings of any window text; refused before it is read.
constexpr int64_t kLoadSourceMaxFile = 1 << 24;

std::string LoadSourceReadFile(const AnsiString& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  int64_t size = stream.Size();
  if (size > kLoadSourceMaxFile) throw EReadError("File " + fileName + " is too large");
  std::string bytes(size_t(size), '\0');
  stream.ReadBuffer(bytes.data(), int32_t(size));
  return bytes;
}

}  // namespace

AnsiString LanguageCodeText(uint16_t languageId) {
  static const char kHex[] = "0123456789ABCDEF";
  AnsiString code = "0x";
  for (int shift = 12; shift >= 0; shift -= 4) code += kHex[(languageId >> shift) & 0xF];
  return code;
}

bool FindCountryLine(std::string_view text, const AnsiString& code, AnsiString& fileName) {
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.substr(0, 6) != code) continue;
    fileName = AnsiString(line.size() > 7 ? line.substr(7) : std::string_view());
    // Lists written elsewhere may separate folders with backslashes.
    for (char& c : fileName)
      if (c == '\\') c = '/';
    return true;
  }
  return false;
}

void ReadLanguageBytes(std::string_view bytes, TStrings& strings) {
  if (bytes.size() < 2) throw EReadError("Language file too short: no count");
  int count = uint8_t(bytes[0]);
  count = count == 0 ? 255 : count - 1;
  bytes.remove_prefix(2);
  TStringList read;
  for (int i = 0; i < count; ++i) {
    if (bytes.size() < 2) throw EReadError("Language file cut short at string " + IntToStr(i));
    size_t length = uint8_t(bytes[0]) | (size_t(uint8_t(bytes[1])) << 8);
    if (bytes.size() < 2 + length) throw EReadError("Language file cut short in string " + IntToStr(i));
    read.Add(AnsiString(bytes.substr(2, std::min(length, kLanguageMaxText))));
    bytes.remove_prefix(2 + length);
  }
  strings.Assign(&read);
}

std::string WriteLanguageBytes(const TStrings& strings) {
  if (strings.Count() > 254) throw EConvertError("A language file holds at most 254 strings");
  std::string out;
  const int count = strings.Count() + 1;
  out += char(count);
  out += '\0';
  for (int i = 0; i < strings.Count(); ++i) {
    AnsiString s = strings[i];
    if (s.size() > 0xFFFF) throw EConvertError("Language string " + IntToStr(i) + " is too long");
    out += char(s.size() & 0xFF);
    out += char(s.size() >> 8);
    out += s;
  }
  return out;
}

TLoadSource::TLoadSource() : TLoadSource(ProgramFolder(), GetSystemDefaultLangID()) {}

TLoadSource::TLoadSource(const AnsiString& folder, uint16_t languageId)
    : FFolder(IncludeTrailingPathDelimiter(folder)), FLanguageId(languageId), FStrings(new TStringList) {
  FindLanguageFile();
}

TLoadSource::~TLoadSource() = default;

AnsiString TLoadSource::FindLanguageFile() {
  FFileFound = false;
  FLanguageCode = LanguageCodeText(FLanguageId);
  const AnsiString list = FFolder + "CountryName.Txt";
  std::string text;
  try {
    text = LoadSourceReadFile(list);
  } catch (const EStreamError& e) {
    throw EInOutError("Cannot read the language list " + list + ": " + e.Message, 2);
  }
  AnsiString name;
  if (!FindCountryLine(text, FLanguageCode, name)) return AnsiString();
  FFileName = name;
  FFileFound = !name.empty() && FileExists(FFolder + name);
  return name;
}

bool TLoadSource::LoadStrings() {
  if (!FFileFound) return false;
  FStrings->Clear();
  const AnsiString path = FFolder + FFileName;
  TStringList read;
  try {
    ReadLanguageBytes(LoadSourceReadFile(path), read);
  } catch (const EReadError& e) {
    throw EReadError(e.Message + " (" + path + ")");
  }
  if (read.Count() < kLanguageStringCount)
    throw EReadError("Language file " + path + " holds " + IntToStr(read.Count()) +
                     " strings; the windows need " + IntToStr(kLanguageStringCount));
  FStrings->Assign(&read);
  return true;
}

AnsiString TLoadSource::GetString(int32_t Index) const { return FStrings->Get(Index); }
