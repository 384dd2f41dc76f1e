// Settings kept outside the port: stored window definitions (and the reopening after loading),
// INI sections, the settings store, and the texts the settings are written as.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/os/comm/PtyPair.h"
#include "platform/runtime/FormText.h"
#include "platform/runtime/IniFiles.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/Registry.h"
#include "tests/platform/runtime/TestFolder.h"
#include "tests/serial/SerialTestUtil.h"

namespace {

using namespace serial_test;

// ------------------------------------------------------------------------ stored definitions

TEST(StoredPort, ADefinitionHoldsWhatIsStoredAndReopensAConnectedPort) {
  TComPort port(nullptr);
  port.SetName("PowerComPort");
  EXPECT_EQ(WriteComponentText(&port),
            "object PowerComPort: TComPort\r\n"
            "  BaudRate = br9600\r\n"
            "  Port = 'COM1'\r\n"
            "  Parity.Bits = prNone\r\n"
            "  StopBits = sbOneStopBit\r\n"
            "  DataBits = dbEight\r\n"
            "  Events = [evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, "
            "evRx80Full]\r\n"
            "  FlowControl.OutCTSFlow = False\r\n"
            "  FlowControl.OutDSRFlow = False\r\n"
            "  FlowControl.ControlDTR = dtrDisable\r\n"
            "  FlowControl.ControlRTS = rtsDisable\r\n"
            "  FlowControl.XonXoffOut = False\r\n"
            "  FlowControl.XonXoffIn = False\r\n"
            "end\r\n");

  // Connected comes first: while loading it is only a flag, so the Port after it opens nothing;
  // the port opens once everything is read.
  TPtyPair pty;
  TComPort loaded(nullptr);
  TEventLog log(loaded);
  ReadComponentText("object PowerComPort: TComPort\n  Connected = True\n  BaudRate = br4800\n  Port = '" +
                        pty.SlavePath() +
                        "'\n  Timeouts.WriteTotalConstant = 50\n  SyncMethod = smNone\nend\n",
                    &loaded);
  EXPECT_TRUE(loaded.GetConnected());
  EXPECT_EQ(loaded.GetBaudRate(), br4800);
  EXPECT_EQ(loaded.GetTimeouts()->GetWriteTotalConstant(), 50);
  EXPECT_EQ(loaded.GetSyncMethod(), smNone);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"BeforeOpen", "AfterOpen", "CTS:0", "DSR:0", "RLSD:0"}));
  EXPECT_EQ(loaded.WriteStr("OUTP?\n"), 6);
  EXPECT_EQ(pty.ReceiveLine(2000), "OUTP?\n");
}

TEST(StoredPort, AFailedReopenAfterLoadingGoesToTheApplication) {
  THandlerScope handler;
  TComPort port(nullptr);
  ReadComponentText("object P: TComPort\n  Connected = True\n  Port = 'ttyNoSuchDevice8'\nend\n", &port);
  EXPECT_FALSE(port.GetConnected());
  EXPECT_EQ(handler.Messages(), std::vector<std::string>{"1/2: Unable to open com port (win error code: 2)"});
}

// ------------------------------------------------------------------------ INI and settings store

class PortSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    port.SetName("ComPort1");
    setenv("PL_CONFIG_DIR", folder.Path().c_str(), 1);
  }
  void TearDown() override { unsetenv("PL_CONFIG_DIR"); }

  // Every setting away from its default.
  static void Configure(TCustomComPort& p) {
    p.SetPort("ttyUSB3");
    p.SetBaudRate(brCustom);
    p.SetCustomBaudRate(31250);
    p.SetStopBits(sbTwoStopBits);
    p.SetDataBits(dbSeven);
    p.SetEventChar('\r');
    p.SetDiscardNull(true);
    p.GetParity()->SetBits(prMark);
    p.GetParity()->SetCheck(true);
    p.GetParity()->SetReplace(true);
    p.GetParity()->SetReplaceChar('=');
    p.GetBuffer()->SetInputSize(2048);
    p.GetBuffer()->SetOutputSize(512);
    p.GetTimeouts()->SetReadInterval(10);
    p.GetTimeouts()->SetReadTotalConstant(20);
    p.GetTimeouts()->SetReadTotalMultiplier(30);
    p.GetTimeouts()->SetWriteTotalConstant(40);
    p.GetTimeouts()->SetWriteTotalMultiplier(50);
    p.GetFlowControl()->SetControlRTS(rtsToggle);
    p.GetFlowControl()->SetControlDTR(dtrHandshake);
    p.GetFlowControl()->SetDSRSensitivity(true);
    p.GetFlowControl()->SetOutCTSFlow(true);
    p.GetFlowControl()->SetOutDSRFlow(true);
    p.GetFlowControl()->SetTxContinueOnXoff(true);
    p.GetFlowControl()->SetXonXoffIn(true);
    p.GetFlowControl()->SetXonXoffOut(true);
    p.GetFlowControl()->SetXoffChar(';');
    p.GetFlowControl()->SetXonChar(' ');
  }

  // The settings as one line, for comparing two ports.
  static std::string Describe(TCustomComPort& p) {
    TComFlowControl* f = p.GetFlowControl();
    TComTimeouts* t = p.GetTimeouts();
    std::string s = p.GetPort() + " " + BaudRateToStr(p.GetBaudRate()) + " " +
                    std::to_string(p.GetCustomBaudRate()) + " " + StopBitsToStr(p.GetStopBits()) + " " +
                    DataBitsToStr(p.GetDataBits()) + " " + ComCharToStr(p.GetEventChar()) + " " +
                    ComBoolToStr(p.GetDiscardNull()) + " | " + ParityToStr(p.GetParity()->GetBits()) + " " +
                    ComBoolToStr(p.GetParity()->GetCheck()) + ComBoolToStr(p.GetParity()->GetReplace()) +
                    " " + ComCharToStr(p.GetParity()->GetReplaceChar()) + " | " +
                    std::to_string(p.GetBuffer()->GetInputSize()) + " " +
                    std::to_string(p.GetBuffer()->GetOutputSize()) + " | ";
    for (int32_t v : {t->GetReadInterval(), t->GetReadTotalConstant(), t->GetReadTotalMultiplier(),
                      t->GetWriteTotalConstant(), t->GetWriteTotalMultiplier()})
      s += std::to_string(v) + " ";
    s += "| " + RTSToStr(f->GetControlRTS()) + " " + DTRToStr(f->GetControlDTR()) + " ";
    for (bool b : {f->GetDSRSensitivity(), f->GetOutCTSFlow(), f->GetOutDSRFlow(), f->GetTxContinueOnXoff(),
                   f->GetXonXoffIn(), f->GetXonXoffOut()})
      s += b ? "1" : "0";
    return s + " " + ComCharToStr(f->GetXoffChar()) + ComCharToStr(f->GetXonChar());
  }

  std::vector<AnsiString> Keys(TCustomIniFile& ini) {
    TStringList keys;
    ini.ReadSection("ComPort1", &keys);
    std::vector<AnsiString> out;
    for (int32_t i = 0; i < keys.GetCount(); ++i) out.push_back(keys.Get(i));
    return out;
  }

  TestFolder folder;
  TComPort port{nullptr};
};

TEST_F(PortSettings, TheBasicGroupWritesExactlyItsKeys) {
  TIniFile ini(folder.Path("port.ini"));
  port.StoreToIniFile(&ini);
  EXPECT_EQ(Keys(ini),
            (std::vector<AnsiString>{"Port", "BaudRate", "StopBits", "DataBits", "Parity", "FlowControl"}));
  EXPECT_EQ(ini.ReadString("ComPort1", "BaudRate", ""), "9600");
  EXPECT_EQ(ini.ReadString("ComPort1", "FlowControl", ""), "None");
  port.SetBaudRate(brCustom);
  port.SetCustomBaudRate(250000);
  TIniFile custom(folder.Path("custom.ini"));
  port.StoreToIniFile(&custom);
  EXPECT_EQ(Keys(custom), (std::vector<AnsiString>{"Port", "BaudRate", "CustomBaudRate", "StopBits",
                                                   "DataBits", "Parity", "FlowControl"}));
  EXPECT_EQ(custom.ReadString("ComPort1", "BaudRate", ""), "Custom");
  EXPECT_EQ(custom.ReadInteger("ComPort1", "CustomBaudRate", 0), 250000);
}

TEST_F(PortSettings, EveryGroupRoundTripsThroughAnIniFileAndTheSettingsStore) {
  TStoredProps all{spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers};
  Configure(port);
  port.SetStoredProps(all);
  TIniFile ini(folder.Path("all.ini"));
  port.StoreToIniFile(&ini);
  EXPECT_EQ(ini.ReadString("ComPort1", "FlowControl.XonChar", ""), "#32");
  EXPECT_EQ(ini.ReadString("ComPort1", "Parity.Check", ""), "Yes");
  EXPECT_EQ(ini.ReadString("ComPort1", "FlowControl.ControlRTS", ""), "Toggle");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Test\\ComPort1", true));
  port.StoreToRegistry(&reg);

  for (int source = 0; source < 2; ++source) {
    TComPort back(nullptr);
    back.SetName("ComPort1");
    back.SetStoredProps(all);
    source == 0 ? back.LoadFromIniFile(&ini) : back.LoadFromRegistry(&reg);
    EXPECT_EQ(Describe(back), Describe(port)) << (source == 0 ? "INI" : "settings store");
  }
}

TEST_F(PortSettings, LoadingKeepsWhatIsMissingAndCustomFlowKeepsTheFlowFields) {
  TIniFile ini(folder.Path("partial.ini"));
  ini.WriteString("ComPort1", "BaudRate", "custom");
  ini.WriteString("ComPort1", "Parity", "eVeN");
  ini.WriteString("ComPort1", "FlowControl", "Custom");
  port.GetFlowControl()->SetXonXoffIn(true);
  port.SetCustomBaudRate(1234);
  port.SetPort("ttyS4");
  port.LoadFromIniFile(&ini);
  EXPECT_EQ(port.GetPort(), "ttyS4");
  EXPECT_EQ(port.GetBaudRate(), brCustom);
  EXPECT_EQ(port.GetCustomBaudRate(), 9600) << "a custom rate without its key reads 9600";
  EXPECT_EQ(port.GetParity()->GetBits(), prEven);
  EXPECT_TRUE(port.GetFlowControl()->GetXonXoffIn());
  EXPECT_EQ(port.GetStopBits(), sbOneStopBit);

  // The settings store has no defaults: a missing value is the store's error.
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Test\\Empty", true));
  EXPECT_THROW(port.LoadFromRegistry(&reg), ERegistryException);
}

// ------------------------------------------------------------------------ texts

TEST(SettingTexts, EnumerationsReadWithoutRegardToCaseAndFallBack) {
  EXPECT_EQ(BaudRateToStr(brCustom), "Custom");
  EXPECT_EQ(BaudRateToStr(br256000), "256000");
  EXPECT_EQ(StopBitsToStr(sbOne5StopBits), "1.5");
  EXPECT_EQ(DataBitsToStr(dbFive), "5");
  EXPECT_EQ(FlowControlToStr(fcHardware), "Hardware");
  EXPECT_EQ(RTSToStr(rtsToggle), "Toggle");
  EXPECT_EQ(DTRToStr(dtrHandshake), "Handshake");
  struct {
    const char* text;
    int read;
  } parity[] = {{"none", prNone}, {"NONE", prNone}, {"Space", prSpace}, {"spaces", prNone}};
  for (auto c : parity) EXPECT_EQ(StrToParity(c.text), c.read) << c.text;
  EXPECT_EQ(StrToBaudRate("2400"), br2400);
  EXPECT_EQ(StrToBaudRate("2400 "), br9600);
  EXPECT_EQ(StrToBaudRate("cUsToM"), brCustom);
  EXPECT_EQ(StrToStopBits("1.5"), sbOne5StopBits);
  EXPECT_EQ(StrToStopBits("3"), sbOneStopBit);
  EXPECT_EQ(StrToDataBits("9"), dbEight);
  EXPECT_EQ(StrToFlowControl("software"), fcSoftware);
  EXPECT_EQ(StrToFlowControl("xon"), fcCustom);
  EXPECT_EQ(StrToRTS("HANDSHAKE"), rtsHandshake);
  EXPECT_EQ(StrToRTS(""), rtsDisable);
  EXPECT_EQ(StrToDTR("enable"), dtrEnable);
  EXPECT_EQ(StrToDTR("Toggle"), dtrDisable);
}

TEST(SettingTexts, BooleansAndCharacters) {
  EXPECT_EQ(ComBoolToStr(true), "Yes");
  EXPECT_EQ(ComBoolToStr(false), "No");
  for (const char* yes : {"Yes", "YES", "yes"}) EXPECT_TRUE(StrToComBool(yes)) << yes;
  for (const char* no : {"No", "True", "1", "", "Yes "}) EXPECT_FALSE(StrToComBool(no)) << no;

  struct {
    int code;
    const char* text;
  } written[] = {{13, "#13"}, {17, "#17"},   {32, "#32"},   {0, "#0"},    {33, "!"},
                 {65, "A"},   {127, "\x7F"}, {128, "#128"}, {255, "#255"}};
  for (auto c : written) EXPECT_EQ(ComCharToStr(char(c.code)), c.text) << c.code;
  struct {
    const char* text;
    int code;
  } read[] = {{"#13", 13}, {"A", 65}, {"ABC", 65}, {"#", 35}, {"", 0}, {"#x", 0}, {"#300", 0}, {"#-1", 0}};
  for (auto c : read) EXPECT_EQ(uint8_t(StrToComChar(c.text)), c.code) << c.text;
  for (int code = 0; code < 256; ++code) EXPECT_EQ(uint8_t(StrToComChar(ComCharToStr(char(code)))), code);
}

}  // namespace
