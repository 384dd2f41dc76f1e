// Save and Open of parameter files through the main window's toolbar, the file dialogs answered
// by a responder: what a round trip keeps, the names Save gives, and files that are refused whole.
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "app/MainForm.h"
#include "app/Settings.h"
#include "platform/runtime/Exceptions.h"
#include "tests/app/mainform/MainWindowTest.h"
#include "widgets/iAnalogOutput.h"

namespace {

using namespace mainform_test;

std::string ParFileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void ParWriteBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

TParameterBody ParSampleBody() {
  TParameterBody body = DefaultParameterBody();
  body.HotKeyCaptions[2] = "12.5V/1.5A";
  body.HotKeyCaptions[9] = "3V/0.25A";
  body.ScanStart = 2, body.ScanStop = 8, body.ScanStep = 0.5, body.ScanDelay = 3;
  const struct {
    const char *v, *a;
    double t;
  } program[] = {{"5", "0.5", 2}, {"7.5", "1", 3}, {"10", "1.2", 60}};
  body.ProgramSteps.resize(3);
  for (size_t i = 0; i < 3; ++i) {
    body.ProgramSteps[i].SetVoltage(program[i].v);
    body.ProgramSteps[i].SetCurrent(program[i].a);
    body.ProgramSteps[i].Time = program[i].t;
  }
  body.GoNGSteps.resize(2);
  body.GoNGSteps[1].SetVoltage("6");
  body.GoNGSteps[1].SetMaxCurrent("1");
  body.GoNGSteps[1].SetMinCurrent("0.5");
  body.GoNGSteps[1].Time = 10;
  return body;
}

class ParameterFiles : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    previous_ = SetDialogResponder([this](TObject* dialog) -> TModalResult {
      if (auto* d = dynamic_cast<TOpenDialog*>(dialog)) {
        seenFolder_ = d->GetInitialDir();
        seenFilter_ = d->GetFilter();
        seenSave_ = dynamic_cast<TSaveDialog*>(dialog) != nullptr;
        if (answer_.empty()) return mrCancel;
        d->SetFileName(answer_);
        return mrOk;
      }
      return mrCancel;
    });
  }
  void TearDown() override {
    SetDialogResponder(previous_);
    MainWindow::TearDown();
  }
  void Open(const fs::path& p) {
    answer_ = p.string();
    Click("tbOpen");
    EXPECT_FALSE(seenSave_);
  }
  void Save(const fs::path& p) {
    answer_ = p.string();
    Click("tbSave");
    EXPECT_TRUE(seenSave_);
  }
  // What the window shows of a parameter body, as one text.
  std::string Shown() {
    TForm_Main* f = Form();
    std::string out;
    for (TSpeedButton* key : f->tbFastKey) out += key->GetCaption() + "|" + key->GetHint() + ";";
    for (TiAnalogOutput* e : {f->iAnalogOutput_ScanVoltStart, f->iAnalogOutput_ScanVoltStop,
                              f->iAnalogOutput_ScanVoltStep, f->iAnalogOutput_ScanVoltDelay})
      out += std::to_string(e->GetValue()) + ";";
    for (TAdvStringGrid* g : {f->TeThemeStringGridList, f->TeThemeStringGridGoNg}) {
      out += "\n";
      for (int32_t r = 1; r < g->GetRowCount(); ++r) {
        for (int32_t c = 0; c < g->GetColCount(); ++c) out += g->GetCells(c, r) + ",";
        out += "/";
      }
    }
    return out;
  }

  TDialogResponder previous_;
  std::string answer_;
  AnsiString seenFolder_, seenFilter_;
  bool seenSave_ = false;
};

TEST_F(ParameterFiles, RoundTripThroughTheWindowKeepsHotKeysScanValuesAndLists) {
  TForm_Main* f = Form();
  SaveParameterFile((folder_ / "in.PAR").string(), TLinkSettings(), ParSampleBody());
  Open(folder_ / "in.PAR");
  EXPECT_EQ(fs::path(seenFolder_.c_str()).lexically_normal(), (folder_ / "").lexically_normal());
  EXPECT_EQ(f->OpenDialog->GetFilter(), "Param files (*.Par)|*.Par");

  EXPECT_EQ(f->tbFastKey[2]->GetCaption(), "12.5V/1.5A");
  EXPECT_EQ(f->tbFastKey[9]->GetHint(), "3V/0.25A");
  EXPECT_EQ(f->tbFastKey[0]->GetCaption(), "0V/0A");
  EXPECT_EQ(f->iAnalogOutput_ScanVoltStart->GetValue(), 2.0);
  EXPECT_EQ(f->iAnalogOutput_ScanVoltStop->GetValue(), 8.0);
  EXPECT_EQ(f->iAnalogOutput_ScanVoltStep->GetValue(), 0.5);
  EXPECT_EQ(f->iAnalogOutput_ScanVoltDelay->GetValue(), 3.0);
  TAdvStringGrid* list = f->TeThemeStringGridList;
  ASSERT_EQ(list->GetRowCount(), 4);
  for (int32_t c = 0; c < 4; ++c)
    EXPECT_EQ(list->GetCells(c, 3), (std::vector<std::string>{"3", "10", "1.2", "60"}[size_t(c)]));
  TAdvStringGrid* goNG = f->TeThemeStringGridGoNg;
  ASSERT_EQ(goNG->GetRowCount(), 3);
  for (int32_t c = 0; c < 7; ++c)
    EXPECT_EQ(goNG->GetCells(c, 2),
              (std::vector<std::string>{"2", "6", "", "1", "0.5", "10", ""}[size_t(c)]));

  // Saved back, the file is the one opened, byte for byte; a name without ".PAR" gets it.
  Save(folder_ / "out");
  EXPECT_EQ(seenFilter_, "Param files (*.Par)|*.Par");
  EXPECT_EQ(ParFileBytes(folder_ / "out.PAR"), ParFileBytes(folder_ / "in.PAR"));
  EXPECT_EQ(fs::file_size(folder_ / "out.PAR"), 1000u + 32 + 4 + 3 * 32 + 4 + 2 * 40);
  Save(folder_ / "low.par");
  EXPECT_TRUE(fs::exists(folder_ / "low.par.PAR")) << "the test for the extension is case-sensitive";
  EXPECT_EQ(ParFileBytes(folder_ / "low.par.PAR"), ParFileBytes(folder_ / "in.PAR"));

  // What the window changed since is saved too; reopening the file brings the old values back.
  f->tbFastKey[4]->SetCaption("1V/1A");
  f->tbFastKey[4]->SetHint("1V/1A");
  f->iAnalogOutput_ScanVoltDelay->SetValue(0.5);
  Save(folder_ / "changed.PAR");
  const std::string changed = Shown();
  Open(folder_ / "in.PAR");
  EXPECT_EQ(f->tbFastKey[4]->GetCaption(), "0V/0A");
  EXPECT_EQ(f->iAnalogOutput_ScanVoltDelay->GetValue(), 3.0);
  Open(folder_ / "changed.PAR");
  EXPECT_EQ(Shown(), changed);

  // A cancelled dialog does nothing.
  answer_.clear();
  Click("tbOpen");
  Click("tbSave");
  EXPECT_EQ(Shown(), changed);
}

TEST_F(ParameterFiles, AFileWithoutRowsKeepsTheListsAsTheyAre) {
  TForm_Main* f = Form();
  SaveParameterFile((folder_ / "in.PAR").string(), TLinkSettings(), ParSampleBody());
  Open(folder_ / "in.PAR");
  TParameterBody empty = DefaultParameterBody();
  empty.HotKeyCaptions[0] = "9V/1A";
  empty.ProgramSteps.clear();
  empty.GoNGSteps.clear();
  SaveParameterFile((folder_ / "empty.PAR").string(), TLinkSettings(), empty);
  Open(folder_ / "empty.PAR");
  EXPECT_EQ(f->tbFastKey[0]->GetCaption(), "9V/1A");
  EXPECT_EQ(f->TeThemeStringGridList->GetRowCount(), 4);
  EXPECT_EQ(f->TeThemeStringGridGoNg->GetRowCount(), 3);
  Save(folder_ / "again.PAR");
  EXPECT_EQ(fs::file_size(folder_ / "again.PAR"), fs::file_size(folder_ / "in.PAR"))
      << "the kept rows are saved";
}

TEST_F(ParameterFiles, AHostileOrTruncatedFileIsRefusedWithItsNameAndChangesNothing) {
  Form();
  SaveParameterFile((folder_ / "in.PAR").string(), TLinkSettings(), ParSampleBody());
  Open(folder_ / "in.PAR");
  const std::string before = Shown();
  const std::string good = ParFileBytes(folder_ / "in.PAR");
  auto with = [&](size_t offset, const auto& value) {
    std::string bytes = good;
    std::memcpy(bytes.data() + offset, &value, sizeof value);
    return bytes;
  };
  const struct {
    const char* name;
    std::string bytes;
    const char* says;
  } cases[] = {
      {"cut short", good.substr(0, good.size() - 10), "more GO/NG steps than it holds"},
      {"cut in the hot keys", good.substr(0, 500), "cut short"},
      {"empty", "", "cut short"},
      {"huge program count", with(1032, int32_t(0x7fffffff)), "announces more program steps"},
      {"GO/NG count beyond the file", with(1036 + 3 * 32, int32_t(3)), "announces more GO/NG steps"},
      {"no number as scan start", with(1000, std::numeric_limits<double>::quiet_NaN()), "no number"},
      {"infinite step time", with(1036 + 24, std::numeric_limits<double>::infinity()), "no number"},
      {"bytes beyond the counts", good + "xy", "more than its counts"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ParWriteBytes(folder_ / "bad.PAR", c.bytes);
    try {
      Open(folder_ / "bad.PAR");
      ADD_FAILURE() << "the file was taken";
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message.find(c.says), std::string::npos) << e.Message;
      EXPECT_NE(e.Message.find("bad.PAR"), std::string::npos) << e.Message;
    }
    EXPECT_EQ(Shown(), before);
  }
}

}  // namespace
