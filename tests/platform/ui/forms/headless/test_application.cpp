// The application and the screen: timers, exceptions shown in message boxes, the message form,
// calls from other threads, minimising, and what the screen tells.
#include <functional>
#include <stdexcept>
#include <thread>

#include "platform/runtime/Files.h"
#include "platform/runtime/Threads.h"
#include "tests/platform/ui/forms/headless/FormsSupport.h"
#include "tests/support/TestOutput.h"

namespace ui_test {
namespace {

using App = UiTest;

TEST_F(App, TimersFireEveryIntervalAndKeepTheirPhaseUnlessReallyChanged) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(100);
  timer.SetOnTimer(TNotifyEvent::Lambda([&](TObject*) { ++ticks; }));
  auto run = [&](int ms) {
    for (int i = 0; i < ms / 10; ++i) {
      clock_.Advance(10);
      Pump();
    }
  };
  struct Case {
    const char* what;
    std::function<void()> before;  // after 60 ms of a fresh 100 ms period
    int after;                     // ms until the next tick
  } cases[] = {
      {"nothing", [] {}, 40},
      {"Enabled set again", [&] { timer.SetEnabled(true); }, 40},
      {"Interval set again", [&] { timer.SetInterval(100); }, 40},
      {"a new Interval", [&] { timer.SetInterval(150); }, 150},
      {"disabled and enabled",
       [&] {
         timer.SetEnabled(false);
         timer.SetEnabled(true);
       },
       100},
  };
  for (const Case& c : cases) {
    timer.SetInterval(100);
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    run(60);
    c.before();
    ticks = 0;
    run(c.after - 10);
    EXPECT_EQ(ticks, 0) << c.what;
    run(10);
    EXPECT_EQ(ticks, 1) << c.what;
  }
  ticks = 0;
  timer.SetInterval(0);
  run(500);
  timer.SetInterval(100);
  timer.SetEnabled(false);
  run(500);
  EXPECT_EQ(ticks, 0) << "an interval of 0 and a disabled timer never fire";
  EXPECT_FALSE(timer.Running());
}

TEST_F(App, ExceptionsOfHandlersAreShownInAMessageBoxOrGivenToOnException) {
  TForm* f = NewForm();
  auto* b = Make<TTestButton>(f, f, "B", Bounds(10, 10, 75, 25));
  ShowForm(f);
  AnsiString title = Application->GetTitle();
  Application->SetTitle("Power");
  auto raise = [&](std::function<void()> thrower) {
    b->OnClick = TNotifyEvent::Lambda([thrower](TObject*) { thrower(); });
    clock_.Advance(1000);
    Press(At(b, 5, 5));
    Release(At(b, 5, 5));
  };
  raise([] { throw EConvertError("'x' is not a valid integer value"); });
  raise([] { throw EAbort("silent"); });
  raise([] { throw std::runtime_error("plain"); });
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[0].Text, "'x' is not a valid integer value.");
  EXPECT_EQ(boxes_[0].Caption, "Power");
  EXPECT_EQ(boxes_[0].DlgType, mtError);
  EXPECT_EQ(boxes_[0].Buttons, TMsgDlgButtons{mbOK});
  EXPECT_EQ(boxes_[1].Text, "plain.");

  std::vector<AnsiString> seen;
  Application->OnException = TExceptionEvent::Lambda([&](TObject* sender, Exception* e) {
    EXPECT_EQ(sender, b);
    seen.push_back(e->Message);
  });
  raise([] { throw EInOutError("File not found", 2); });
  Application->OnException = nullptr;
  EXPECT_EQ(seen, std::vector<AnsiString>{"File not found"});
  EXPECT_EQ(boxes_.size(), 2u);
  ApplicationHandleException(nullptr, std::make_exception_ptr(Exception("From a component")));
  EXPECT_EQ(boxes_.back().Text, "From a component.") << "the runtime's handler is the application's";
  Application->SetTitle(title);
}

// The message form itself, answered by keys typed once it is up.
TEST_F(App, MessageBoxesShowTheirFormAndAnswerWithTheButtonPressed) {
  SetDialogResponder(nullptr);
  TForm* owner = NewForm();
  ShowForm(owner);
  bool shot = false;
  std::vector<UINT> pending;
  Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
    done = false;
    TCustomForm* box = Screen->ActiveCustomForm();
    if (!box || box == owner || pending.empty()) return;
    if (!shot) {
      shot = true;
      SaveWindowPng(box->Handle(), OutputPath("ui-message-box.png"));
    }
    for (UINT k : std::exchange(pending, {})) {
      InputKey(k, true);
      InputKey(k, false);
    }
  });
  struct Case {
    UINT type;
    std::vector<UINT> keys;
    int answer;
  } cases[] = {
      {MB_YESNO | MB_ICONQUESTION, {VK_RETURN}, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
      {MB_YESNOCANCEL, {'N'}, IDNO},
      {MB_OKCANCEL | MB_ICONWARNING, {VK_ESCAPE}, IDCANCEL},
      {MB_OK, {VK_ESCAPE}, IDOK},
      {MB_RETRYCANCEL, {VK_TAB, VK_RETURN}, IDCANCEL},
      {MB_YESNO, {VK_ESCAPE, VK_TAB, VK_SPACE}, IDNO},
  };
  for (const Case& c : cases) {
    pending = c.keys;
    EXPECT_EQ(MessageBoxA(owner->Handle(), "Delete Table Run1?", "Confirm", c.type), c.answer)
        << std::hex << c.type;
  }
  pending = {VK_ESCAPE};
  EXPECT_EQ(MessageDlg("Save the changes?", mtConfirmation, mbYesNoCancel, 0), mrCancel);
  Application->OnIdle = nullptr;
  EXPECT_TRUE(shot);
  EXPECT_TRUE(owner->GetEnabled() && IsWindowEnabled(owner->Handle()));

  TForm* dialog = CreateMessageDialog("Text", mtWarning, mbOKCancel);
  EXPECT_EQ(dialog->GetCaption(), "Warning");
  EXPECT_EQ(dialog->ControlCount(), 2);
  EXPECT_EQ(dialog->Controls(0)->GetCaption(), "OK");
  EXPECT_EQ(dialog->Controls(1)->GetCaption(), "Cancel");
  dialog->Free();
}

TEST_F(App, ProcessMessagesRunsCallsQueuedByOtherThreads) {
  int calls = 0;
  std::thread worker([&] { TThread::Synchronize(nullptr, std::function<void()>([&] { ++calls; })); });
  while (calls == 0) Application->ProcessMessages();
  worker.join();
  EXPECT_EQ(calls, 1);
}

TEST_F(App, MinimizeHidesTheFormsAndRestoreBringsThemBack) {
  TTestMainForm* main = nullptr;
  Application->CreateForm(main);
  TForm* other = NewForm();
  main->Show();
  ShowForm(other);
  std::vector<std::string> events;
  Application->OnMinimize = TNotifyEvent::Lambda([&](TObject*) { events.push_back("minimize"); });
  Application->OnRestore = TNotifyEvent::Lambda([&](TObject*) { events.push_back("restore"); });
  Application->Minimize();
  Pump();
  EXPECT_TRUE(IsIconic(main->Handle()));
  EXPECT_FALSE(IsWindowVisible(other->Handle()));
  Application->Restore();
  Pump();
  EXPECT_FALSE(IsIconic(main->Handle()));
  EXPECT_TRUE(IsWindowVisible(other->Handle()));
  EXPECT_EQ(events, (std::vector<std::string>{"minimize", "restore"}));
  Application->OnMinimize = Application->OnRestore = nullptr;
}

TEST_F(App, TheScreenAndTheApplicationDescribeThemselves) {
  EXPECT_EQ(Screen->Width(), GetDisplayDriver()->ScreenRect().Width());
  EXPECT_EQ(Screen->Height(), GetDisplayDriver()->ScreenRect().Height());
  EXPECT_EQ(Screen->WorkAreaRect(), GetDisplayDriver()->WorkArea());
  EXPECT_EQ(Screen->Monitors(0)->BoundsRect(), GetDisplayDriver()->ScreenRect());
  struct Cursor {
    TCursor cursor;
    LPCSTR id;
  } cursors[] = {{crDefault, IDC_ARROW},  {crHandPoint, IDC_HAND}, {crSizeWE, IDC_SIZEWE},
                 {crHourGlass, IDC_WAIT}, {crIBeam, IDC_IBEAM},    {crSizeNESW, IDC_SIZENESW}};
  for (const Cursor& c : cursors)
    EXPECT_EQ(Screen->Cursors(c.cursor), LoadCursorA(nullptr, c.id)) << c.cursor;
  HCURSOR custom = LoadCursorA(nullptr, IDC_CROSS);
  Screen->SetCursors(8000, custom);
  EXPECT_EQ(Screen->Cursors(8000), custom);
  Screen->SetCursors(8000, nullptr);
  EXPECT_EQ(Screen->Cursors(8000), Screen->Cursors(crDefault));
  EXPECT_GT(Screen->Fonts()->Count(), 0);
  EXPECT_TRUE(Screen->ReferenceDC() != nullptr);

  EXPECT_EQ(ExtractFileName(Application->ExeName()), "test_ui_forms");
  EXPECT_EQ(Application->GetTitle(), "test_ui_forms");
  Application->SetTitle("RZ4180");
  EXPECT_EQ(GetWindowCaption(Application->Handle()), "RZ4180");
  EXPECT_FALSE(IsWindowVisible(Application->Handle())) << "the application window stays hidden";
  Application->SetTitle("test_ui_forms");
}

}  // namespace
}  // namespace ui_test
