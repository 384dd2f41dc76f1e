// The serial port's settings as stored: the input is an INI file (before its first NUL) and a
// settings store file (after it), both holding a port "ComPort1".  Loading takes what it can;
// what a port then stores, another port loads to the same settings.  The enumeration texts read
// back what they write.
#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/IniFiles.h"
#include "platform/runtime/Registry.h"
#include "serial/CPort.h"

namespace {

const TStoredProps kSerialAll{spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers};

// The port's settings as the INI text StoreToIniFile gives.
AnsiString SerialStored(TComPort& port, const std::string& path) {
  std::remove(path.c_str());
  TIniFile ini(path);
  port.StoreToIniFile(&ini);
  TIniDocument doc;
  doc.LoadFromFile(path);
  return doc.GetText();
}

void SerialCheckTexts(const AnsiString& s) {
  auto same = [&](const char* what, int a, int b) {
    if (a != b) fuzz::Fail(std::string(what) + " does not read back what it writes for '" + s + "'");
  };
  same("BaudRate", StrToBaudRate(BaudRateToStr(StrToBaudRate(s))), StrToBaudRate(s));
  same("StopBits", StrToStopBits(StopBitsToStr(StrToStopBits(s))), StrToStopBits(s));
  same("DataBits", StrToDataBits(DataBitsToStr(StrToDataBits(s))), StrToDataBits(s));
  same("Parity", StrToParity(ParityToStr(StrToParity(s))), StrToParity(s));
  same("FlowControl", StrToFlowControl(FlowControlToStr(StrToFlowControl(s))), StrToFlowControl(s));
  same("RTS", StrToRTS(RTSToStr(StrToRTS(s))), StrToRTS(s));
  same("DTR", StrToDTR(DTRToStr(StrToDTR(s))), StrToDTR(s));
  same("ComBool", StrToComBool(ComBoolToStr(StrToComBool(s))), StrToComBool(s));
  same("ComChar", StrToComChar(ComCharToStr(StrToComChar(s))), StrToComChar(s));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  AnsiString iniText, storeText;
  fuzz::SplitAtNul(data, size, iniText, storeText);
  static const std::string iniPath = fuzz::TempPath("port.ini"), outPath = fuzz::TempPath("stored.ini");
  fuzz::WriteTempFile(iniPath, reinterpret_cast<const uint8_t*>(iniText.data()), iniText.size());
  fuzz::WriteTempFile(RegistryStoreFileName(), reinterpret_cast<const uint8_t*>(storeText.data()),
                      storeText.size());

  TComPort port(nullptr);
  port.SetName("ComPort1");
  port.SetStoredProps(kSerialAll);
  bool loaded = false;
  fuzz::Expect([&] {
    TIniFile ini(iniPath);
    port.LoadFromIniFile(&ini);
    loaded = true;
  });
  fuzz::Expect([&] {
    TRegistry reg;
    if (reg.OpenKeyReadOnly("\\Software\\Fuzz\\ComPort1")) port.LoadFromRegistry(&reg);
  });
  if (loaded) {
    AnsiString first = SerialStored(port, outPath);
    TComPort back(nullptr);
    back.SetName("ComPort1");
    back.SetStoredProps(kSerialAll);
    TIniFile ini(outPath);
    try {
      back.LoadFromIniFile(&ini);
    } catch (const Exception& e) {
      fuzz::Fail("stored settings do not load: " + e.Message + "\n" + first);
    }
    AnsiString second = SerialStored(back, outPath);
    if (first != second) fuzz::Fail("stored settings load differently:\n" + first + "----\n" + second);
  }
  // Each line of the INI text as a setting's text.
  size_t start = 0;
  for (int n = 0; start <= iniText.size() && n < 64; ++n) {
    size_t end = iniText.find('\n', start);
    if (end == AnsiString::npos) end = iniText.size();
    SerialCheckTexts(iniText.substr(start, end - start));
    start = end + 1;
  }
  return 0;
}
