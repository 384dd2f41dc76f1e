// The files the program reads and writes: settings and parameter files, the model table, the
// language list and files, and the data files shipped beside the program.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <future>
#include <limits>

#include "app/LoadSource.h"
#include "app/PowerType.h"
#include "app/Settings.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Strings.h"
#include "tests/platform/runtime/TestFolder.h"
#include "tools/instrument_sim/core/Instrument.h"

namespace {

void WriteBytes(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

template <class T>
T At(const std::string& bytes, size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

// ------------------------------------------------------------------- settings and parameters

TEST(ParameterFiles, DefaultsGiveTheStoredLayoutByteForByte) {
  TestFolder dir;
  const TParameterBody body = DefaultParameterBody();
  SaveParameterFile(dir.Path("Config.dat"), TLinkSettings(), body);
  SaveParameterFile(dir.Path("Set1.PAR"), TLinkSettings(), body);
  const std::string config = ReadBytes(dir.Path("Config.dat"));
  ASSERT_EQ(config.size(), 1176u);
  EXPECT_EQ(ReadBytes(dir.Path("Set1.PAR")), config.substr(64));

  EXPECT_EQ(At<int32_t>(config, 0), 1);
  EXPECT_EQ(config.substr(4, 12), std::string("COM1\0\0\0\0\0\0\0\0", 12));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(At<double>(config, 16 + 8 * i), 0.01);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(config.substr(64 + 100 * k, 6), std::string("0V/0A\0", 6)) << k;
  EXPECT_EQ(At<double>(config, 1064), 1.0);
  EXPECT_EQ(At<double>(config, 1072), 6.0);
  EXPECT_EQ(At<double>(config, 1080), 1.0);
  EXPECT_EQ(At<double>(config, 1088), 1.0);
  EXPECT_EQ(At<int32_t>(config, 1096), 1);
  EXPECT_EQ(config.substr(1100, 24), std::string("1\0\0\0\0\0\0\0\0\0"
                                                 "1\0\0\0\0\0\0\0\0\0\0\0\0\0",
                                                 24));
  EXPECT_EQ(At<double>(config, 1124), 1.0);
  EXPECT_EQ(At<int32_t>(config, 1132), 1);
  EXPECT_EQ(config.substr(1136, 30), std::string("1\0\0\0\0\0\0\0\0\0"
                                                 "1\0\0\0\0\0\0\0\0\0"
                                                 "0\0\0\0\0\0\0\0\0\0",
                                                 30));
  EXPECT_EQ(At<double>(config, 1168), 1.0);
}

TEST(ParameterFiles, EveryFieldReadsBackAndOnlyTheFileNameTellsAParameterFile) {
  TestFolder dir;
  TLinkSettings link;
  link.BaudIndex = 3;
  link.SetPortName("COM12");
  for (int i = 0; i < 6; ++i) link.Steps[i] = 0.5 * (i + 1);
  TParameterBody body = DefaultParameterBody();
  body.HotKeyCaptions[0] = "12.5V/1.5A";
  body.HotKeyCaptions[9] = std::string(99, 'x');
  body.ScanStart = -2.5;
  body.ScanDelay = 3;
  body.ProgramSteps.resize(3);
  body.ProgramSteps[2].SetVoltage("123456789");
  body.ProgramSteps[2].Time = 7;
  body.GoNGSteps.resize(2);
  body.GoNGSteps[1].SetMinCurrent("0.25");

  struct Case {
    const char* name;
    bool holdsLink;
  } cases[] = {{"Config.dat", true},
               {"a.PAR", false},
               {"b.par.PAR", false},
               {"c.Par", false},
               {"my.params/Config.dat", true}};
  for (const Case& c : cases) {
    ForceDirectories(ExtractFileDir(dir.Path(c.name)));
    SaveParameterFile(dir.Path(c.name), link, body);
    EXPECT_EQ(IsParameterFileName(dir.Path(c.name)), !c.holdsLink) << c.name;
    TLinkSettings readLink;
    TParameterBody readBody;
    bool hasLink = !c.holdsLink;
    LoadParameterFile(dir.Path(c.name), readLink, readBody, hasLink);
    EXPECT_EQ(hasLink, c.holdsLink) << c.name;
    EXPECT_EQ(readLink.GetPortName(), c.holdsLink ? "COM12" : "COM1") << c.name;
    EXPECT_EQ(readLink.Steps[5], c.holdsLink ? 3.0 : 0.01) << c.name;
    EXPECT_EQ(readBody.HotKeyCaptions, body.HotKeyCaptions) << c.name;
    EXPECT_EQ(readBody.ScanStart, -2.5);
    EXPECT_EQ(readBody.ScanDelay, 3.0);
    ASSERT_EQ(readBody.ProgramSteps.size(), 3u);
    EXPECT_EQ(readBody.ProgramSteps[2].GetVoltage(), "123456789");
    EXPECT_EQ(readBody.ProgramSteps[2].Time, 7.0);
    ASSERT_EQ(readBody.GoNGSteps.size(), 2u);
    EXPECT_EQ(readBody.GoNGSteps[1].GetMinCurrent(), "0.25");
  }
  // Longer captions are cut to what a block holds; texts longer than their field are refused.
  body.HotKeyCaptions[3] = std::string(150, 'y');
  TLinkSettings readLink;
  TParameterBody readBody;
  ReadParameterBytes(WriteParameterBytes(nullptr, body), false, readLink, readBody);
  EXPECT_EQ(readBody.HotKeyCaptions[3], std::string(99, 'y'));
  EXPECT_NO_THROW(link.SetPortName("/dev/ttyS10"));
  EXPECT_EQ(link.GetPortName(), "/dev/ttyS10");
  EXPECT_THROW(link.SetPortName("/dev/ttyUSB0"), EConvertError);
  EXPECT_EQ(link.GetPortName(), "/dev/ttyS10");
  EXPECT_THROW(body.ProgramSteps[0].SetCurrent("1234567890"), EConvertError);
  EXPECT_THROW(body.GoNGSteps[0].SetMaxCurrent("1234567890"), EConvertError);
}

TEST(ParameterFiles, AShortOrHostileFileIsRefusedAndNothingIsTaken) {
  TParameterBody body = DefaultParameterBody();
  body.ProgramSteps.resize(2);
  const std::string good = WriteParameterBytes(nullptr, body);  // 1144 bytes: n at 1032, m at 1100
  auto withInt = [&](size_t at, int32_t v) {
    std::string b = good;
    std::memcpy(b.data() + at, &v, 4);
    return b;
  };
  auto withDouble = [&](size_t at, double v) {
    std::string b = good;
    std::memcpy(b.data() + at, &v, 8);
    return b;
  };
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"cut in the captions", good.substr(0, 500)},
      {"cut in the scan values", good.substr(0, 1030)},
      {"cut in a program step", good.substr(0, 1050)},
      {"cut before the GO/NG count", good.substr(0, 1100)},
      {"cut in the GO/NG step", good.substr(0, good.size() - 1)},
      {"a byte more", good + "x"},
      {"huge program count", withInt(1032, 0x7FFFFFFF)},
      {"program count one too many", withInt(1032, 3)},
      {"huge GO/NG count", withInt(1100, 50000000)},
      {"no number as scan start", withDouble(1000, std::numeric_limits<double>::quiet_NaN())},
      {"infinite step time", withDouble(1036 + 24, INFINITY)},
  };
  for (const Case& c : cases) {
    TLinkSettings link;
    link.BaudIndex = 2;
    TParameterBody kept = DefaultParameterBody();
    kept.HotKeyCaptions[0] = "kept";
    EXPECT_THROW(ReadParameterBytes(c.bytes, false, link, kept), EReadError) << c.what;
    EXPECT_EQ(kept.HotKeyCaptions[0], "kept") << c.what;
    EXPECT_EQ(kept.ProgramSteps.size(), 1u) << c.what;
    EXPECT_THROW(ReadParameterBytes(std::string(64, '\0') + c.bytes, true, link, kept), EReadError) << c.what;
    EXPECT_EQ(link.BaudIndex, 2) << c.what;
  }
  // A count of 0 or below announces no records: the list is kept as it is.
  for (int32_t n : {0, -1, INT32_MIN}) {
    std::string b = good.substr(0, 1032) + withInt(1032, n).substr(1032, 4) + good.substr(1100);
    TLinkSettings link;
    TParameterBody read;
    ReadParameterBytes(b, false, link, read);
    EXPECT_TRUE(read.ProgramSteps.empty()) << n;
    EXPECT_EQ(read.GoNGSteps.size(), 1u) << n;
  }

  // Through the file: the saved file stays as it was when loading fails.
  TestFolder dir;
  WriteBytes(dir.Path("Config.dat"), std::string(64, '\0') + withInt(1032, 9));
  TLinkSettings link;
  TParameterBody kept = DefaultParameterBody();
  bool hasLink = false;
  try {
    LoadParameterFile(dir.Path("Config.dat"), link, kept, hasLink);
    FAIL() << "a bad file loaded";
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message.find("Config.dat"), std::string::npos) << e.Message;
  }
  EXPECT_FALSE(hasLink);
  EXPECT_EQ(link.GetPortName(), "COM1");
  EXPECT_THROW(LoadParameterFile(dir.Path("Missing.dat"), link, kept, hasLink), EFOpenError);
}

// Whether read raised within five seconds.  A reader stuck opening the pipe at path is released
// by opening the pipe's other end here, so a fault fails the test instead of hanging the suite.
bool RaisesWithoutWaitingOnPipe(const std::string& path, const std::function<void()>& read) {
  auto done = std::async(std::launch::async, [&] {
    try {
      read();
    } catch (const Exception&) {
      return true;
    }
    return false;
  });
  if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return done.get();
  int other = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
  if (other >= 0) ::close(other);
  done.wait();
  ADD_FAILURE() << "reading " << path << " waited for a writer";
  return false;
}

TEST(FilesBesideTheProgram, APipeInPlaceOfAFileIsRefusedAtOnce) {
  TestFolder dir;
  TLinkSettings link;
  TParameterBody body = DefaultParameterBody();
  bool hasLink = false;
  TStringList strings;
  for (int i = 0; i < kLanguageStringCount; ++i) strings.Add("s");
  WriteBytes(dir.Path("English.lng"), WriteLanguageBytes(strings));
  WriteBytes(dir.Path("CountryName.Txt"), "0x0409 English.lng\n");
  struct Case {
    const char* name;
    std::function<void()> read;
  } cases[] = {
      {"Config.dat", [&] { LoadParameterFile(dir.Path("Config.dat"), link, body, hasLink); }},
      {"PowerType.dat", [&] { ReadPowerTypeFile(dir.Path("PowerType.dat")); }},
      {"CountryName.Txt", [&] { TLoadSource(dir.Path(), 0x0409); }},
      {"English.lng", [&] { TLoadSource(dir.Path(), 0x0409).LoadStrings(); }},
  };
  for (const Case& c : cases) {
    const std::string path = dir.Path(c.name);
    std::filesystem::path saved = path + ".saved";
    if (std::filesystem::exists(path)) std::filesystem::rename(path, saved);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << c.name;
    EXPECT_TRUE(RaisesWithoutWaitingOnPipe(path, c.read)) << c.name;
    std::filesystem::remove(path);
    if (std::filesystem::exists(saved)) std::filesystem::rename(saved, path);
  }
  EXPECT_EQ(body.HotKeyCaptions[0], "0V/0A");
  EXPECT_FALSE(hasLink);
}

// ------------------------------------------------------------------------------ model table

std::string ModelTable(uint32_t count, std::initializer_list<std::initializer_list<const char*>> records) {
  std::string b(reinterpret_cast<const char*>(&count), 4);
  for (auto& r : records)
    for (const char* f : r) {
      b += char(std::strlen(f));
      b += '\0';
      b += f;
      b += '#';  // the skipped byte may hold anything
    }
  return b;
}

TEST(ModelTable, TheLastRecordNamingTheModelWinsWhateverTheCase) {
  const std::string table =
      ModelTable(0x7703, {{"M1", "10", "2.5", "", "1", ""}, {"M2", " 30 ", "3", "x", "7", "y"}});
  std::vector<TPowerTypeRecord> records = ReadPowerTypeBytes(table);
  ASSERT_EQ(records.size(), 2u);  // only the low byte of the count counts
  TModelLimits limits;
  ASSERT_TRUE(FindModelLimits(records, "m2", limits));
  EXPECT_EQ(limits.MaxVoltage, 30.0);
  EXPECT_EQ(limits.MaxCurrent, 3.0);
  EXPECT_FALSE(FindModelLimits(records, "M3", limits));
  EXPECT_EQ(limits.MaxVoltage, 30.0);

  records = ReadPowerTypeBytes(ModelTable(
      4, {{"M1", "10", "1", "", "1", ""}, {"X", "no", "no", "", "1.5", ""}, {"m1", "12", "2", "", "1", ""}}));
  ASSERT_TRUE(FindModelLimits(records, "M1", limits));
  EXPECT_EQ(limits.MaxVoltage, 12.0);
  // A record that names the model must hold numbers: nothing is taken from it otherwise.
  for (auto bad : {std::initializer_list<const char*>{"M1", "1,5", "1", "", "1", ""},
                   std::initializer_list<const char*>{"M1", "10", "", "", "1", ""},
                   std::initializer_list<const char*>{"M1", "10", "1", "", "1.5", ""}}) {
    TModelLimits untouched;
    EXPECT_THROW(FindModelLimits(ReadPowerTypeBytes(ModelTable(3, {{"M1", "5", "1", "", "1", ""}, bad})),
                                 "M1", untouched),
                 EConvertError);
    EXPECT_EQ(untouched.MaxVoltage, 0.0);
  }
  for (uint32_t count : {0u, 1u, 0x100u})
    EXPECT_TRUE(ReadPowerTypeBytes(ModelTable(count, {})).empty()) << count;
  EXPECT_THROW(ReadPowerTypeBytes(table.substr(0, table.size() - 1)), EReadError);
  EXPECT_THROW(ReadPowerTypeBytes(ModelTable(255, {{"M1", "10", "1", "", "1", ""}})), EReadError);
  EXPECT_THROW(ReadPowerTypeBytes("\x02\0"), EReadError);
  EXPECT_EQ(ReadPowerTypeBytes(WritePowerTypeBytes(records)).at(2).Name, "m1");

  TestFolder dir;
  EXPECT_THROW(ReadPowerTypeFile(dir.Path("PowerType.dat")), EFOpenError);
}

TEST(ModelTable, LimitsOutsideWhatASupplyCanHaveAreRefusedWithTheirModel) {
  struct Case {
    const char *voltage, *current;
    bool taken;
  } cases[] = {
      {"30", "3", true},       {"10000", "0.001", true}, {"1e308", "3", false},
      {"30", "-1", false},     {"0", "3", false},        {"30", "0", false},
      {"10000.5", "3", false}, {"-30", "3", false},      {"30", "1E5", false},
  };
  for (const Case& c : cases) {
    TModelLimits limits;
    const auto records = ReadPowerTypeBytes(ModelTable(2, {{"M1", c.voltage, c.current, "", "1", ""}}));
    if (c.taken) {
      ASSERT_TRUE(FindModelLimits(records, "M1", limits)) << c.voltage << " " << c.current;
      EXPECT_GT(limits.MaxVoltage, 0.0);
      continue;
    }
    try {
      FindModelLimits(records, "M1", limits);
      ADD_FAILURE() << c.voltage << " " << c.current << " taken";
    } catch (const EConvertError& e) {
      EXPECT_NE(e.Message.find("model M1 is out of range"), std::string::npos) << e.Message;
    }
    EXPECT_EQ(limits.MaxVoltage, 0.0) << "nothing taken";
  }
}

// ---------------------------------------------------------------------------------- language

TEST(Language, TheFirstLineWithTheSystemsCodeNamesTheFile) {
  struct Case {
    const char* list;
    const char* code;
    const char* file;  // null: no line matches
  } cases[] = {
      {"0x0409 English.lng\n0x0804 zh.lng\n", "0x0804", "zh.lng"},
      {"0x0804 first.lng\r\n0x0804 second.lng\r\n", "0x0804", "first.lng"},
      {"0x080a es.lng\n", "0x080A", nullptr},
      {"0x0409\tlang\\en.lng", "0x0409", "lang/en.lng"},
      {"", "0x0409", nullptr},
      {"0x04", "0x0409", nullptr},
  };
  for (const Case& c : cases) {
    AnsiString file;
    EXPECT_EQ(FindCountryLine(c.list, c.code, file), c.file != nullptr) << c.list;
    if (c.file) {
      EXPECT_EQ(file, c.file) << c.list;
    }
  }
  EXPECT_EQ(LanguageCodeText(0x80A), "0x080A");

  TestFolder dir;
  EXPECT_THROW(TLoadSource(dir.Path(), 0x0409), EInOutError);
  WriteBytes(dir.Path("CountryName.Txt"), "0x0409 English.lng\r\n0x0407 Missing.lng\r\n");
  TStringList strings;
  for (int i = 0; i < kLanguageStringCount; ++i) strings.Add("s" + IntToStr(i));
  WriteBytes(dir.Path("English.lng"), WriteLanguageBytes(strings));
  TLoadSource english(dir.Path(), 0x0409);
  EXPECT_TRUE(english.FileFound());
  ASSERT_TRUE(english.LoadStrings());
  EXPECT_EQ(english.GetString(88), "s88");
  EXPECT_THROW(english.GetString(89), EStringListError);
  TLoadSource german(dir.Path(), 0x0407);
  EXPECT_EQ(german.FileName(), "Missing.lng");
  EXPECT_FALSE(german.FileFound());
  EXPECT_FALSE(german.LoadStrings());
  TLoadSource french(dir.Path(), 0x040C);
  EXPECT_EQ(french.FindLanguageFile(), "");
  EXPECT_FALSE(french.LoadStrings());
}

TEST(Language, AFileWithTooFewStringsOrCutShortIsRefusedWhole) {
  TestFolder dir;
  WriteBytes(dir.Path("CountryName.Txt"), "0x0409 English.lng\n");
  TStringList strings;
  for (int i = 0; i < 300; ++i) strings.Add(i == 88 ? AnsiString("last") : AnsiString("x"));
  TStringList full;
  for (int i = 0; i < 254; ++i) full.Add(strings[i]);
  const std::string complete = WriteLanguageBytes(full);
  // A count byte of 0 announces 255 strings.
  std::string announces255 = complete;
  announces255[0] = '\0';
  announces255 += std::string("\x03\0abc", 5);

  struct Case {
    const char* what;
    std::string bytes;
    bool loads;
  } cases[] = {
      {"254 strings", complete, true},
      {"count 0 and 255 strings", announces255, true},
      {"count 0 and 254 strings", complete.substr(0, 0) + '\0' + complete.substr(1), false},
      {"one string", std::string("\x02\0\x01\0z", 5), false},
      {"count 1: none", std::string("\x01\0", 2), false},
      {"cut in a string", complete.substr(0, complete.size() - 1), false},
      {"no count", "", false},
  };
  for (const Case& c : cases) {
    WriteBytes(dir.Path("English.lng"), c.bytes);
    TLoadSource source(dir.Path(), 0x0409);
    if (c.loads) {
      EXPECT_TRUE(source.LoadStrings()) << c.what;
      EXPECT_EQ(source.GetString(88), "last") << c.what;
    } else {
      EXPECT_THROW(source.LoadStrings(), EReadError) << c.what;
      EXPECT_EQ(source.Count(), 0) << c.what;
      EXPECT_THROW(source.GetString(0), EStringListError) << c.what;
    }
  }
}

TEST(Language, OverlongTextsAreCutWhenRead) {
  TStringList strings;
  for (int i = 0; i < kLanguageStringCount; ++i)
    strings.Add(i % 2 ? AnsiString(0xFFFF, char('a' + i % 26)) : AnsiString("short"));
  TStringList read;
  ReadLanguageBytes(WriteLanguageBytes(strings), read);
  ASSERT_EQ(read.Count(), kLanguageStringCount);
  for (int i = 0; i < kLanguageStringCount; ++i) {
    if (i % 2) {
      EXPECT_EQ(read[i], AnsiString(kLanguageMaxText, char('a' + i % 26))) << i;
    } else {
      EXPECT_EQ(read[i], "short") << i;
    }
  }
}

// ------------------------------------------------------------------ files beside the program

TEST(ShippedData, ModelTableLanguagesAndListAgreeWithTheSimulator) {
  const AnsiString folder = APP_DATA_DIR;
  std::vector<TPowerTypeRecord> records = ReadPowerTypeFile(folder + "/PowerType.dat");
  for (const TModelInfo& m : BuiltInModels()) {
    TModelLimits limits;
    ASSERT_TRUE(FindModelLimits(records, m.Name, limits)) << m.Name;
    EXPECT_EQ(limits.MaxVoltage, m.MaxVoltage) << m.Name;
    EXPECT_EQ(limits.MaxCurrent, m.MaxCurrent) << m.Name;
  }
  struct Case {
    uint16_t language;
    const char* file;
    const char* run;
  } cases[] = {
      {0x0409, "English.lng", "Run"}, {0x0809, "English.lng", "Run"}, {0x0407, "Deutsch.lng", "Start"}};
  for (const Case& c : cases) {
    TLoadSource source(folder, c.language);
    EXPECT_EQ(source.FileName(), c.file);
    ASSERT_TRUE(source.LoadStrings()) << c.file;
    EXPECT_EQ(source.Count(), kLanguageStringCount);
    EXPECT_EQ(source.GetString(0), "RZ4180");
    EXPECT_EQ(source.GetString(23), c.run);
  }
  EXPECT_EQ(TLoadSource(folder, 0x0409).FileFound(), true);
  TLoadSource english(folder, 0x0409);
  english.LoadStrings();
  EXPECT_EQ(english.GetString(10),
            "You can use the Mouse wheel ,Arrow or Page Up/Down key to change the setup value.");
  EXPECT_TRUE(FileExists(folder + "/About.bmp"));
}

}  // namespace
