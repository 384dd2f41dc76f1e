// Sections: fixed text fields / records / images / files.
#include "app/Settings.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"

static_assert(std::endian::native == std::endian::little, "the records are stored as they lie in memory");

// ====================================================================== fixed text fields ======

namespace {

template <size_t N>
AnsiString SettingsFieldText(const char (&field)[N]) {
  return AnsiString(field, strnlen(field, N - 1));
}

template <size_t N>
void SettingsSetField(char (&field)[N], const AnsiString& text, const char* what) {
  if (text.size() > N - 1)
    throw EConvertError(AnsiString(what) + " \"" + text + "\" is too long: at most " +
                        IntToStr(int64_t(N - 1)) + " characters");
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), text.size());
}

}  // namespace

// ================================================================================ records ======

AnsiString TLinkSettings::GetPortName() const { return SettingsFieldText(PortName); }
void TLinkSettings::SetPortName(const AnsiString& name) { SettingsSetField(PortName, name, "Port name"); }

AnsiString TProgramStep::GetVoltage() const { return SettingsFieldText(Voltage); }
AnsiString TProgramStep::GetCurrent() const { return SettingsFieldText(Current); }
void TProgramStep::SetVoltage(const AnsiString& text) { SettingsSetField(Voltage, text, "Voltage"); }
void TProgramStep::SetCurrent(const AnsiString& text) { SettingsSetField(Current, text, "Current"); }

AnsiString TGoNGStep::GetVoltage() const { return SettingsFieldText(Voltage); }
AnsiString TGoNGStep::GetMaxCurrent() const { return SettingsFieldText(MaxCurrent); }
AnsiString TGoNGStep::GetMinCurrent() const { return SettingsFieldText(MinCurrent); }
void TGoNGStep::SetVoltage(const AnsiString& text) { SettingsSetField(Voltage, text, "Voltage"); }
void TGoNGStep::SetMaxCurrent(const AnsiString& text) {
  SettingsSetField(MaxCurrent, text, "Maximum current");
}
void TGoNGStep::SetMinCurrent(const AnsiString& text) {
  SettingsSetField(MinCurrent, text, "Minimum current");
}

TParameterBody DefaultParameterBody() {
  TParameterBody body;
  body.HotKeyCaptions.fill("0V/0A");
  body.ProgramSteps.resize(1);
  body.GoNGSteps.resize(1);
  return body;
}

bool IsParameterFileName(const AnsiString& fileName) {
  return Pos(".PAR", UpperCase(ExtractFileName(fileName))) > 0;
}

// ================================================================================= images ======

namespace {

constexpr size_t kBodyFixedSize = kHotKeyCount * kCaptionBlock + 4 * 8;
// Beyond any list a person edits; keeps a hostile count from reaching the allocator.
constexpr int64_t kSettingsMaxFileSize = 64 << 20;

template <class T>
void SettingsPut(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Reads the image front to back; every read is checked against what is left.
class TSettingsReader {
 public:
  explicit TSettingsReader(std::string_view bytes) : bytes_(bytes) {}
  template <class T>
  void Get(T& value, const char* what) {
    Need(sizeof value, what);
    std::memcpy(&value, bytes_.data(), sizeof value);
    bytes_.remove_prefix(sizeof value);
  }
  std::string_view Take(size_t count, const char* what) {
    Need(count, what);
    std::string_view part = bytes_.substr(0, count);
    bytes_.remove_prefix(count);
    return part;
  }
  size_t Left() const { return bytes_.size(); }
  void Need(size_t count, const char* what) const {
    if (bytes_.size() < count) throw EReadError(AnsiString("Parameter file cut short in ") + what);
  }

 private:
  std::string_view bytes_;
};

void SettingsCheckNumber(double value, const char* what) {
  if (!std::isfinite(value)) throw EReadError(AnsiString("Parameter file holds no number as ") + what);
}

// A count, checked against the bytes left for its records and the count field after them.
size_t SettingsCount(TSettingsReader& in, size_t recordSize, size_t after, const char* what) {
  int32_t count;
  in.Get(count, what);
  if (count <= 0) return 0;
  if (in.Left() < after || uint64_t(count) > (in.Left() - after) / recordSize)
    throw EReadError(AnsiString("Parameter file announces more ") + what + " than it holds (" +
                     IntToStr(count) + ")");
  return size_t(count);
}

}  // namespace

std::string WriteParameterBytes(const TLinkSettings* link, const TParameterBody& body) {
  std::string out;
  if (link) SettingsPut(out, *link);
  for (const AnsiString& caption : body.HotKeyCaptions) {
    char block[kCaptionBlock] = {};
    std::memcpy(block, caption.data(), std::min(caption.size(), kCaptionBlock - 1));
    out.append(block, kCaptionBlock);
  }
  for (double v : {body.ScanStart, body.ScanStop, body.ScanStep, body.ScanDelay}) SettingsPut(out, v);
  SettingsPut(out, int32_t(body.ProgramSteps.size()));
  for (const TProgramStep& s : body.ProgramSteps) SettingsPut(out, s);
  SettingsPut(out, int32_t(body.GoNGSteps.size()));
  for (const TGoNGStep& s : body.GoNGSteps) SettingsPut(out, s);
  return out;
}

void ReadParameterBytes(std::string_view bytes, bool withLink, TLinkSettings& link, TParameterBody& body) {
  TSettingsReader in(bytes);
  TLinkSettings newLink;
  if (withLink) {
    in.Get(newLink, "the settings record");
    for (double step : newLink.Steps) SettingsCheckNumber(step, "a step size");
  }
  in.Need(kBodyFixedSize + 4, "the hot keys and scan values");
  TParameterBody newBody;
  for (AnsiString& caption : newBody.HotKeyCaptions) {
    std::string_view block = in.Take(kCaptionBlock, "the hot keys");
    caption = AnsiString(block.substr(0, std::min(block.find('\0'), kCaptionBlock - 1)));
  }
  for (double* v : {&newBody.ScanStart, &newBody.ScanStop, &newBody.ScanStep, &newBody.ScanDelay}) {
    in.Get(*v, "the scan values");
    SettingsCheckNumber(*v, "a scan value");
  }
  size_t n = SettingsCount(in, sizeof(TProgramStep), 4, "program steps");
  newBody.ProgramSteps.resize(n);
  for (TProgramStep& s : newBody.ProgramSteps) {
    in.Get(s, "the program list");
    SettingsCheckNumber(s.Time, "a step time");
  }
  size_t m = SettingsCount(in, sizeof(TGoNGStep), 0, "GO/NG steps");
  newBody.GoNGSteps.resize(m);
  for (TGoNGStep& s : newBody.GoNGSteps) {
    in.Get(s, "the GO/NG list");
    SettingsCheckNumber(s.Time, "a step time");
  }
  if (in.Left() != 0)
    throw EReadError("Parameter file holds " + IntToStr(int64_t(in.Left())) +
                     " bytes more than its counts announce");
  if (withLink) link = newLink;
  body = std::move(newBody);
}

// ================================================================================== files ======

void SaveParameterFile(const AnsiString& fileName, const TLinkSettings& link, const TParameterBody& body) {
  SaveFileDurably(fileName, WriteParameterBytes(IsParameterFileName(fileName) ? nullptr : &link, body));
}

void LoadParameterFile(const AnsiString& fileName, TLinkSettings& link, TParameterBody& body, bool& hasLink) {
  std::string bytes;
  {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    int64_t size = stream.Size();
    if (size > kSettingsMaxFileSize) throw EReadError("Parameter file " + fileName + " is too large");
    bytes.resize(size_t(size));
    stream.ReadBuffer(bytes.data(), int32_t(size));
  }
  const bool withLink = !IsParameterFileName(fileName);
  try {
    ReadParameterBytes(bytes, withLink, link, body);
  } catch (const EReadError& e) {
    throw EReadError(e.Message + " (" + fileName + ")");
  }
  hasLink = withLink;
}
