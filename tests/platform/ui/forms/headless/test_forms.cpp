// Forms: made from their definitions, shown, closed by their actions, released, and run
// modally while timers and calls from other threads go on.
#include <atomic>
#include <thread>

#include "platform/runtime/FormText.h"
#include "platform/runtime/Threads.h"
#include "tests/platform/ui/forms/headless/FormsSupport.h"
#include "tests/support/TestOutput.h"

namespace ui_test {
namespace {

class Forms : public UiTest {
 protected:
  void ClickAtButton(TTestMainForm* f) {
    Press(At(f->OkButton, 5, 5));
    Release(At(f->OkButton, 5, 5));
  }
};

TEST_F(Forms, CreateFormReadsTheDefinitionThenRunsOnCreateAndTheFirstFormIsTheMainForm) {
  TTestMainForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Application->MainForm(), form);
  EXPECT_TRUE(form->Probe1->OwnerWasListed) << "the screen lists a form while it is read";
  EXPECT_TRUE(form->Probe1->OwnerWasCreating);
  EXPECT_EQ(form->Creates, 1);
  EXPECT_TRUE(form->PanelReadAtCreate) << "OnCreate runs once everything is read";
  EXPECT_EQ(form->GetCaption(), "Main window");
  EXPECT_EQ(form->GetClientRect(), Rect(0, 0, 320, 200));
  EXPECT_EQ(form->Panel1->GetBoundsRect(), Rect(0, 0, 320, 41)) << "aligned to the client width";
  EXPECT_EQ(form->Panel1->GetColor(), clSkyBlue);
  EXPECT_EQ(form->OkButton->ModalResult, mrOk);
  EXPECT_EQ(form->OkButton->GetTabOrder(), 0);
  EXPECT_EQ(form->Panel1->GetTabOrder(), 1);
  EXPECT_EQ(form->Timer1->GetInterval(), 100u);
  EXPECT_FALSE(form->GetVisible());
  EXPECT_EQ(form->Shows, 0);

  form->Show();
  Pump();
  EXPECT_EQ(form->Shows, 1);
  EXPECT_EQ(form->GetLeft(), (Screen->Width() - form->Width()) / 2) << "poScreenCenter";
  EXPECT_EQ(form->GetTop(), (Screen->Height() - form->Height()) / 2);
  EXPECT_EQ(Screen->ActiveForm(), form);
  EXPECT_EQ(FindControl(GetFocus()), form->OkButton) << "the first tab stop takes the focus";
  ClickAtButton(form);
  EXPECT_EQ(form->Clicks, 1) << "the definition bound OnClick";

  EXPECT_TRUE(SaveWindowPng(form->Handle(), OutputPath("ui-main-form.png")));
}

TEST_F(Forms, AClassWithoutDefinitionIsRefusedAndLeavesNothingBehind) {
  int before = Screen->CustomFormCount();
  TNoDefinitionForm* form = nullptr;
  try {
    Application->CreateForm(form);
    ADD_FAILURE();
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource TNoDefinitionForm not found");
  }
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(Screen->CustomFormCount(), before);
  auto* plain = TCustomForm::CreateNew<TNoDefinitionForm>(Application);
  EXPECT_EQ(Screen->CustomFormCount(), before + 1) << "CreateNew reads nothing";
  plain->Free();
}

TEST_F(Forms, CloseFollowsOnCloseQueryAndTheActionOnClose) {
  TForm* owner = NewForm();
  owner->SetName("Owner");
  ShowForm(owner);  // the first form made is no main form here: CreateNew does not adopt
  struct Case {
    bool allow;
    TCloseAction action;
    bool visible, exists;
    TWindowState state;
  } cases[] = {
      {false, caHide, true, true, wsNormal},  {true, caNone, true, true, wsNormal},
      {true, caHide, false, true, wsNormal},  {true, caMinimize, true, true, wsMinimized},
      {true, caFree, false, false, wsNormal},
  };
  for (const Case& c : cases) {
    TForm* f = TCustomForm::CreateNew<TForm>(Application);
    bool destroyed = false;
    f->OnCloseQuery = TCloseQueryEvent::Lambda([&](TObject*, bool& can) { can = c.allow; });
    f->OnClose = TCloseEvent::Lambda([&](TObject*, TCloseAction& a) { a = c.action; });
    f->OnDestroy = TNotifyEvent::Lambda([&](TObject*) { destroyed = true; });
    f->Show();
    Pump();
    f->Close();
    if (c.action == caFree && c.allow) {
      EXPECT_FALSE(destroyed) << "released once the messages are handled";
    }
    Pump();
    EXPECT_EQ(destroyed, !c.exists) << int(c.action);
    if (destroyed) continue;
    EXPECT_EQ(f->GetVisible() && IsWindowVisible(f->Handle()), c.visible) << int(c.action);
    EXPECT_EQ(f->GetWindowState(), c.state) << int(c.action);
    f->Free();
  }
  EXPECT_FALSE(Application->Terminated());
}

TEST_F(Forms, ClosingTheMainFormEndsTheRun) {
  TTestMainForm* form = nullptr;
  Application->CreateForm(form);
  // Run shows the main form; an idle handler closes it.
  Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
    done = false;
    if (form->GetVisible()) form->Close();
  });
  Application->Run();
  Application->OnIdle = nullptr;
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(form->Shows, 1);
}

TEST_F(Forms, ReleaseFromTheFormsOwnHandlerFreesItAfterwards) {
  TForm* f = NewForm();
  auto* b = Make<TTestButton>(f, f, "B", Bounds(10, 10, 75, 25));
  bool destroyed = false, aliveInHandler = false;
  f->OnDestroy = TNotifyEvent::Lambda([&](TObject*) { destroyed = true; });
  b->OnClick = TNotifyEvent::Lambda([&](TObject*) {
    f->Release();
    aliveInHandler = !destroyed && b->GetCaption() == "B";
  });
  ShowForm(f);
  Press(At(b, 5, 5));
  Release(At(b, 5, 5));
  EXPECT_TRUE(aliveInHandler);
  EXPECT_TRUE(destroyed);
}

// The modal loop: a button opens a dialog; meanwhile a timer of the main form ticks and another
// thread's calls run; the dialog's OK button (pressed with Enter) ends it with its result.
TEST_F(Forms, AModalDialogKeepsTimersAndSynchronizeRunningAndReturnsTheModalResult) {
  TTestMainForm* main = nullptr;
  Application->CreateForm(main);
  main->Show();
  Pump();
  main->Timer1->SetEnabled(true);

  TForm* dialog = TCustomForm::CreateNew<TForm>(Application);
  dialog->SetBorderStyle(bsDialog);
  auto* ok = Make<TTestButton>(dialog, dialog, "Ok", Bounds(10, 10, 75, 25));
  ok->ModalResult = mrOk;
  ok->Default = true;
  auto* cancel = Make<TTestButton>(dialog, dialog, "Cancel", Bounds(100, 10, 75, 25));
  cancel->ModalResult = mrCancel;
  cancel->Cancel = true;

  std::atomic<int> syncs{0};
  std::thread worker;
  dialog->OnShow = TNotifyEvent::Lambda([&](TObject*) {
    worker = std::thread([&] {
      for (int i = 0; i < 3; ++i) TThread::Synchronize(nullptr, std::function<void()>([&] { ++syncs; }));
    });
  });
  std::vector<TModalResult> results;
  int ticksAtOpen = 0, ticksInside = 0;
  bool mainDisabled = false;
  UINT closeKey = VK_RETURN;
  main->OkButton->OnClick = TNotifyEvent::Lambda([&](TObject*) {
    ticksAtOpen = main->Ticks;
    bool pressed = false;
    Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
      done = false;
      clock_.Advance(50);
      mainDisabled = !IsWindowEnabled(main->Handle());
      if (!pressed && syncs == 3 && main->Ticks - ticksAtOpen >= 3) {
        pressed = true;
        ticksInside = main->Ticks - ticksAtOpen;
        InputKey(closeKey, true);
        InputKey(closeKey, false);
      }
    });
    results.push_back(dialog->ShowModal());
    Application->OnIdle = nullptr;
    worker.join();
  });
  for (UINT key : {UINT(VK_RETURN), UINT(VK_ESCAPE)}) {
    clock_.Advance(1000);  // the next press is no double click
    closeKey = key;
    syncs = 0;
    main->OkButton->SetFocus();
    Key(VK_SPACE);  // no click yet: the test button clicks on Enter and by mouse
    Press(At(main->OkButton, 5, 5));
    Release(At(main->OkButton, 5, 5));
    EXPECT_GE(ticksInside, 3) << "the main form's timer ticked inside the modal loop";
    EXPECT_EQ(syncs, 3);
    EXPECT_TRUE(mainDisabled) << "the other windows wait while the dialog runs";
  }
  EXPECT_EQ(results, (std::vector<TModalResult>{mrOk, mrCancel}));
  EXPECT_FALSE(dialog->GetVisible());
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_EQ(GetActiveWindow(), main->Handle()) << "the window that was active comes back";
  dialog->OnShow = nullptr;
  EXPECT_THROW(
      {
        dialog->Show();
        dialog->ShowModal();
      },
      EInvalidOperation);
}

}  // namespace
}  // namespace ui_test

namespace ui_test {
namespace {

TEST_F(Forms, BorderStyleIconsAndFormStyleMakeTheWindowsStylesAndKeepTheClientSize) {
  TForm* f = NewForm(300, 200);
  ShowForm(f);
  struct Case {
    TFormBorderStyle border;
    TBorderIcons icons;
    TFormStyle style;
    DWORD has, hasNot, exHas;
  } cases[] = {
      {bsSizeable,
       {biSystemMenu, biMinimize, biMaximize},
       fsNormal,
       WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
       WS_POPUP,
       0},
      {bsSingle, {biSystemMenu}, fsNormal, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MINIMIZEBOX, 0},
      {bsSingle, {}, fsNormal, WS_CAPTION, WS_SYSMENU, 0},
      {bsDialog,
       {biSystemMenu, biMinimize, biMaximize},
       fsNormal,
       WS_POPUP | WS_CAPTION | WS_SYSMENU,
       WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
       WS_EX_DLGMODALFRAME},
      {bsToolWindow, {biSystemMenu}, fsNormal, WS_CAPTION, WS_THICKFRAME, WS_EX_TOOLWINDOW},
      {bsNone, {biSystemMenu}, fsStayOnTop, WS_POPUP, WS_CAPTION | WS_SYSMENU, WS_EX_TOPMOST},
  };
  for (const Case& c : cases) {
    f->SetBorderStyle(c.border);
    f->SetBorderIcons(c.icons);
    f->SetFormStyle(c.style);
    Pump();
    DWORD style = DWORD(GetWindowLongPtrA(f->Handle(), GWL_STYLE));
    DWORD ex = DWORD(GetWindowLongPtrA(f->Handle(), GWL_EXSTYLE));
    EXPECT_EQ(style & c.has, c.has) << int(c.border);
    EXPECT_EQ(style & c.hasNot, 0u) << int(c.border);
    EXPECT_EQ(ex & c.exHas, c.exHas) << int(c.border);
    EXPECT_TRUE(IsWindowVisible(f->Handle())) << "made again and shown";
    f->SetFormStyle(fsNormal);
  }
  f->SetClientWidth(300);
  f->SetClientHeight(200);
  EXPECT_EQ(f->GetClientRect(), Rect(0, 0, 300, 200));
}

TEST_F(Forms, ActivationAndResizingRaiseTheirEvents) {
  TForm* a = NewForm();
  TForm* b = NewForm();
  std::vector<std::string> log;
  for (TForm* f : {a, b}) {
    std::string n = f == a ? "A" : "B";
    f->OnActivate = TNotifyEvent::Lambda([&log, n](TObject*) { log.push_back(n + " active"); });
    f->OnDeactivate = TNotifyEvent::Lambda([&log, n](TObject*) { log.push_back(n + " inactive"); });
    f->OnResize = TNotifyEvent::Lambda([&log, n](TObject*) { log.push_back(n + " resized"); });
  }
  ShowForm(a);
  log.clear();
  ShowForm(b);
  a->SetFocus();
  Pump();
  a->SetBounds(a->Left(), a->Top(), 500, 300);
  a->SetBounds(a->Left() + 10, a->Top(), 500, 300);
  EXPECT_EQ(log, (std::vector<std::string>{"B resized", "A inactive", "B active", "B inactive", "A active",
                                           "A resized"}))
      << "a window made reports its size; moving is no resize";
  EXPECT_EQ(Screen->ActiveForm(), a);
  EXPECT_TRUE(a->Active());
  EXPECT_FALSE(b->Active());
}

}  // namespace
}  // namespace ui_test

namespace ui_test {
namespace {

TEST_F(Forms, AFormWrittenAsADefinitionReadsBackTheSame) {
  TTestMainForm* form = nullptr;
  Application->CreateForm(form);
  form->Panel1->SetAnchors({akLeft, akTop, akRight});
  form->OkButton->SetHint("Confirm");
  AnsiString text = WriteComponentText(form);
  for (const char* expected :
       {"Caption = 'Main window'", "ClientWidth = 320", "Font.Charset = DEFAULT_CHARSET",
        "BorderStyle = bsSingle", "object Panel1: TPanel", "Align = alTop", "Color = clSkyBlue",
        "OnClick = OkButtonClick", "Hint = 'Confirm'", "object Timer1: TTimer"})
    EXPECT_NE(text.find(expected), AnsiString::npos) << expected << "\n" << text;
  for (const char* absent : {"Visible", "Enabled = True", "ParentFont = True", "ParentColor = True"})
    EXPECT_EQ(text.find(absent), AnsiString::npos) << absent << " is a default";

  auto* copy = TCustomForm::CreateNew<TTestMainForm>(Application);
  copy->SetName("Copy");
  ReadComponentText(text, copy);
  ASSERT_NE(copy->Panel1, nullptr);
  EXPECT_EQ(copy->GetCaption(), "Main window");
  EXPECT_EQ(copy->GetClientRect(), form->GetClientRect());
  EXPECT_EQ(copy->Panel1->GetBoundsRect(), form->Panel1->GetBoundsRect());
  EXPECT_EQ(copy->OkButton->GetHint(), "Confirm");
  EXPECT_EQ(copy->OkButton->ModalResult, mrOk);
  auto body = [](const AnsiString& t) { return t.substr(t.find('\n')); };  // the root's name differs
  EXPECT_EQ(body(WriteComponentText(copy)), body(text));
}

}  // namespace
}  // namespace ui_test
