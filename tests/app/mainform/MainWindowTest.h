// The main window's test fixture: the program's data files in a folder of their own, the
// simulated instrument on a pseudo-terminal as COM1, and the fake clock driving the link's waits
// and the window's timers.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/InstrumentLink.h"
#include "app/MainForm.h"
#include "platform/display/Display.h"
#include "platform/os/user/DisplayDriver.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Threads.h"
#include "platform/ui/Dialogs.h"
#include "tests/support/UiPump.h"
#include "tools/instrument_sim/core/PtySimulator.h"

namespace mainform_test {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Answers every message box with OK while it lives, keeping the texts.
class MessageLog {
 public:
  MessageLog()
      : before_(SetDialogResponder([this](TObject* d) -> TModalResult {
          if (auto* box = dynamic_cast<TMessageBoxDialog*>(d)) Texts.push_back(box->Request.Text);
          return mrOk;
        })) {}
  ~MessageLog() { SetDialogResponder(before_); }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;
  Lines Texts;

 private:
  TDialogResponder before_;
};

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!GetDisplayDriver()) StartDisplay(TDisplayKind::Headless);
    Application->Initialize();
    sim_ = std::make_unique<TPtySimulator>(SimConfig());
    folder_ = fs::temp_directory_path() / ("mainform-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    for (const char* name : {"PowerType.dat", "CountryName.Txt", "English.lng", "Deutsch.lng"})
      fs::copy_file(fs::path(APP_DATA_DIR) / name, folder_ / name, fs::copy_options::overwrite_existing);
    TForm_Main::DataFolder() = folder_.string();
    TForm_Main::LanguageId() = 0x0409;
    setenv("PL_PORT_MAP", ("COM1=" + sim_->DevicePath()).c_str(), 1);
  }
  void TearDown() override {
    if (form_) form_->Free();
    unsetenv("PL_PORT_MAP");
    TForm_Main::DataFolder().clear();
    TForm_Main::LanguageId() = -1;
    fs::remove_all(folder_);
  }
  virtual TInstrumentConfig SimConfig() {
    TInstrumentConfig c;
    c.Settle = 1;
    return c;
  }

  // The window, created once; its link waits on the fake clock.
  TForm_Main* Form() {
    if (!form_) {
      form_ = TCustomForm::Create<TForm_Main>(nullptr);
      form_->Link()->WaitHook = [this](uint32_t ms) { Run(ms); };
    }
    return form_;
  }
  // Shows the window and waits for the start-up queries and the first polling cycle.
  TForm_Main* Started() {
    Form()->Show();
    EXPECT_TRUE(WireHas(8));
    return form_;
  }

  static void Pump() { ui_pump::Pump(); }
  // Fake time passes in steps of 10 ms, each followed by the messages it brings.
  void Run(uint32_t ms) { ui_pump::Run(clock_, ms); }
  // Seconds of readings at a time: a tenth of a second a step keeps the timers and the link as
  // they are while the plot, which follows the clock, repaints ten times a second, not sixty.
  void RunSeconds(uint32_t seconds) { ui_pump::Run(clock_, seconds * 1000, 100); }
  static bool Until(const std::function<bool()>& done) { return ui_pump::Until(done); }
  const Lines& Wire() {
    for (std::string& l : sim_->TakeReceivedLines()) wire_.push_back(std::move(l));
    return wire_;
  }
  bool WireHas(size_t count) {
    return Until([&] { return Wire().size() >= count; });
  }
  size_t CountOnWire(const std::string& line, size_t from) {
    return size_t(std::count(Wire().begin() + long(from), Wire().end(), line));
  }
  // The lines on the wire from index from on that begin with prefix.
  Lines WireLinesStarting(const std::string& prefix, size_t from = 0) {
    Lines out;
    for (size_t i = from; i < Wire().size(); ++i)
      if (Wire()[i].rfind(prefix, 0) == 0) out.push_back(Wire()[i]);
    return out;
  }
  // Waits until every queued command has gone out and been answered (the queue holds polling
  // queries only).
  bool QueueDrained() {
    return Until([&] {
      TStringList* q = form_->Link()->CommandQueue();
      for (int32_t i = 0; i < q->Count(); ++i)
        if (q->Get(i).find(";:") != std::string::npos) return false;
      return true;
    });
  }
  void Click(const char* name) { static_cast<TControl*>(Form()->FindComponent(name))->Click(); }

  TFakeClock clock_{1000000};
  TClockScope clockScope_{clock_};
  std::unique_ptr<TPtySimulator> sim_;
  fs::path folder_;
  Lines wire_;
  TForm_Main* form_ = nullptr;
};

}  // namespace mainform_test
