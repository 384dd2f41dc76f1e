// The editor controls: quiet setters, the edit's commit rules and keys, the up-down's repeat,
// the list box's deleting, removing and reordering, Tab, and pickers that were cancelled.
#include <tuple>

#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iEditorBasicComponents.h"
#include "widgets/iValueConverterEditForm.h"

namespace widgets_test {
namespace {

using ui_test::UiTest;

class TCountingEditorForm : public TiCustomEditorForm {
 public:
  explicit TCountingEditorForm(TComponent* AOwner) : TiCustomEditorForm(AOwner) {}
  int Changed = 0;
  void EditorControlChanged() override { ++Changed; }
};

class EditorControls : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = TCustomForm::CreateNew<TCountingEditorForm>(Application);
    form_->SetBounds(100, 100, 400, 300);
    edit_ = ui_test::Make<TiComponentEditorEdit>(form_, form_, "E", Rect(10, 10, 110, 31));
    other_ = ui_test::Make<TiComponentEditorEdit>(form_, form_, "O", Rect(10, 50, 110, 71));
    edit_->SetTabStop(true);
    other_->SetTabStop(true);
    edit_->OnChange = TNotifyEvent::Lambda([this](TObject*) { ++changes_; });
    edit_->OnUpdate = TNotifyEvent::Lambda([this](TObject*) { ++updates_; });
  }
  void Type(const char* s) {
    for (; *s; ++s) ui_test::Key(UINT(*s == '.' ? VK_OEM_PERIOD : *s));
  }
  TCountingEditorForm* form_ = nullptr;
  TiComponentEditorEdit *edit_ = nullptr, *other_ = nullptr;
  int changes_ = 0, updates_ = 0;
};

TEST_F(EditorControls, QuietSettersFireNothingAndRestoreEventsAfterAFailure) {
  edit_->SetAsFloat(1.5);
  edit_->SetAsInteger(-7);
  EXPECT_EQ(edit_->GetAsString(), "-7");
  EXPECT_EQ(edit_->CommittedText(), "-7");
  EXPECT_EQ(changes_ + updates_ + form_->Changed, 0);
  EXPECT_TRUE(edit_->OnChange);

  auto* check = ui_test::Make<TiComponentEditorCheckBox>(form_, form_, "C", Rect(10, 80, 110, 97));
  int clicks = 0;
  check->OnClick = TNotifyEvent::Lambda([&](TObject*) { ++clicks; });
  check->SetAsBoolean(true);
  EXPECT_TRUE(check->GetAsBoolean());
  EXPECT_EQ(clicks, 0);
  // A failing property hook inside the quiet set: the event comes back.
  check->OnPropertyChanged =
      TiPropertyChangedEvent::Lambda([](TObject*, const AnsiString&) { throw EConvertError("x"); });
  EXPECT_THROW(check->SetAsBoolean(false), EConvertError);
  EXPECT_TRUE(check->OnClick);
  check->OnPropertyChanged = nullptr;
  check->SetChecked(true);  // a change that is not quiet
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form_->Changed, 1);
  check->Disable();
  EXPECT_FALSE(check->GetAsBoolean());
  EXPECT_FALSE(check->GetEnabled());
  EXPECT_EQ(clicks, 1);

  auto* radio = ui_test::Make<TiComponentEditorRadioGroup>(form_, form_, "R", Rect(150, 10, 250, 90));
  radio->GetItems()->Add("a");
  radio->GetItems()->Add("b");
  int radioEvents = 0;
  radio->OnChange = radio->OnClick = TNotifyEvent::Lambda([&](TObject*) { ++radioEvents; });
  radio->SetAsInteger(1);
  EXPECT_EQ(radio->GetAsInteger(), 1);
  EXPECT_EQ(radioEvents, 0);
  radio->OnChange = nullptr;  // blanking suspends OnClick only
  radio->Disable();
  EXPECT_EQ(radio->GetAsInteger(), -1);
  EXPECT_EQ(radioEvents, 0);

  auto* combo = ui_test::Make<TiComponentEditorComboBox>(form_, form_, "B", Rect(150, 100, 250, 121));
  combo->GetItems()->Add("one");
  combo->GetItems()->Add("two");
  int comboEvents = 0;
  combo->OnChange = TNotifyEvent::Lambda([&](TObject*) { ++comboEvents; });
  combo->SetAsInteger(1);
  EXPECT_EQ(combo->GetAsString(), "two");
  combo->Disable();
  EXPECT_EQ(combo->GetAsInteger(), -1);
  EXPECT_EQ(combo->GetColor(), clBtnFace);
  EXPECT_EQ(comboEvents, 0);

  edit_->Disable();
  EXPECT_EQ(edit_->GetAsString(), "");
  EXPECT_EQ(edit_->GetColor(), clBtnFace);
  edit_->Enable();
  EXPECT_EQ(edit_->GetColor(), clWindow);
  EXPECT_EQ(changes_ + updates_, 0);
}

TEST_F(EditorControls, EditCommitsOnEnterAndFocusLossOnlyForNewText) {
  edit_->SetAsFloat(1.5);
  form_->Show();
  edit_->SetFocus();
  ui_test::Pump();
  EXPECT_EQ(edit_->GetText(), "1.5");
  ui_test::Key(VK_RETURN);
  EXPECT_EQ(updates_, 0);  // the same text commits nothing

  edit_->SelectAll();
  Type("42");
  EXPECT_EQ(updates_, 0);
  ui_test::Key(VK_RETURN);
  EXPECT_EQ(updates_, 1);
  EXPECT_EQ(form_->Changed, 1);
  EXPECT_EQ(edit_->GetAsInteger(), 42);

  // Escape goes back to the committed text without any event.
  Type("9");
  EXPECT_EQ(edit_->GetText(), "9");
  ui_test::Key(VK_ESCAPE);
  EXPECT_EQ(edit_->GetText(), "42");
  EXPECT_EQ(updates_, 1);

  // Leaving commits once.
  edit_->SelectAll();
  Type("7");
  other_->SetFocus();
  ui_test::Pump();
  EXPECT_EQ(updates_, 2);
  EXPECT_EQ(edit_->CommittedText(), "7");

  // No number reads as 0.
  edit_->SetAsString("  abc ");
  EXPECT_EQ(edit_->GetAsInteger(), 0);
  EXPECT_EQ(edit_->GetAsFloat(), 0);
}

TEST_F(EditorControls, TabMovesTheFocusBothWays) {
  auto* button = ui_test::Make<TiComponentEditorButton>(form_, form_, "Btn", Rect(10, 90, 85, 115));
  button->SetTabStop(true);
  form_->Show();
  edit_->SetFocus();
  ui_test::Pump();
  ui_test::Key(VK_TAB);
  EXPECT_TRUE(other_->Focused());
  ui_test::Key(VK_TAB);
  EXPECT_TRUE(button->Focused());
  ui_test::KeyWith(VK_SHIFT, VK_TAB);
  EXPECT_TRUE(other_->Focused());
  ui_test::KeyWith(VK_SHIFT, VK_TAB);
  EXPECT_TRUE(edit_->Focused());
}

TEST_F(EditorControls, UpDownStepsAtOnceThenRepeatsWhileHeld) {
  auto* ud = ui_test::Make<TiUpDown>(form_, form_, "U", Rect(0, 0, 15, 21));
  ud->SetAssociate(edit_);
  EXPECT_EQ(ud->Left(), edit_->Left() + edit_->Width());
  EXPECT_EQ(ud->Height(), edit_->Height());
  edit_->SetAsInteger(10);
  form_->Show();
  ui_test::Pump();

  ui_test::Press(At(ud, 7, 3));
  EXPECT_EQ(edit_->GetAsInteger(), 11);
  EXPECT_EQ(updates_, 1);
  clock_.Advance(499);
  ui_test::Pump();
  EXPECT_EQ(edit_->GetAsInteger(), 11);
  clock_.Advance(1);
  ui_test::Pump();
  EXPECT_EQ(edit_->GetAsInteger(), 12);
  clock_.Advance(50);
  ui_test::Pump();
  clock_.Advance(50);
  ui_test::Pump();
  EXPECT_EQ(edit_->GetAsInteger(), 14);
  ui_test::Release(At(ud, 7, 3));
  clock_.Advance(500);
  ui_test::Pump();
  EXPECT_EQ(edit_->GetAsInteger(), 14);

  // The row between the buttons steps down.
  ui_test::Press(At(ud, 7, 10));
  ui_test::Release(At(ud, 7, 10));
  EXPECT_EQ(edit_->GetAsInteger(), 13);

  struct Case {
    int16_t min, max;
    int32_t value, expected;
  } cases[] = {{0, 0, 150, 150}, {0, 0, -5, -5}, {1, 50, 80, 50}, {1, 50, -3, 1}, {0, 100, 101, 100}};
  for (const Case& c : cases) {
    ud->SetMin(c.min);
    ud->SetMax(c.max);
    ud->SetValue(c.value);
    EXPECT_EQ(ud->GetValue(), c.expected) << c.min << ".." << c.max << " " << c.value;
  }
  EXPECT_EQ(updates_, 5);  // SetValue by code is quiet

  // Unbounded steps stop at the ends of the 32-bit range.
  ud->SetMin(0);
  ud->SetMax(0);
  for (auto [text, y, expected] : {std::tuple{"2147483647", 3, 2147483647}, {"-2147483648", 17, INT32_MIN}}) {
    edit_->SetAsString(text);
    ui_test::Press(At(ud, 7, y));
    ui_test::Release(At(ud, 7, y));
    EXPECT_EQ(edit_->GetAsInteger(), expected) << text;
  }

  delete edit_;
  edit_ = nullptr;
  EXPECT_EQ(ud->GetAssociate(), nullptr);
  EXPECT_EQ(ud->GetValue(), 0);
}

class TOwned : public TObject {
 public:
  explicit TOwned(int* Count) : count_(Count) {}
  ~TOwned() override { ++*count_; }

 private:
  int* count_;
};

TEST_F(EditorControls, ListBoxDeletesRemovesAndReorders) {
  auto* list = ui_test::Make<TiComponentEditorListBox>(form_, form_, "L", Rect(150, 10, 300, 200));
  list->DeleteSelected();  // empty: nothing
  list->GetItems()->Add("unselected");
  list->DeleteSelected();  // nothing selected: nothing
  EXPECT_EQ(list->Count(), 1);
  list->GetItems()->Clear();
  int freed = 0;
  TOwned* objects[3];
  for (int i = 0; i < 3; ++i) {
    objects[i] = new TOwned(&freed);
    list->GetItems()->AddObject(AnsiString(1, char('a' + i)), objects[i]);
  }
  list->SelectLast();
  list->DeleteSelected();
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(list->GetItemIndex(), 1);
  list->SetItemIndex(0);
  list->DeleteSelected();
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(list->GetItemIndex(), 0);
  EXPECT_EQ(list->GetItems()->Strings(0), "b");

  list->RemoveObject(objects[0]);  // already gone: nothing
  list->RemoveObject(objects[1]);
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(list->Count(), 0);
  delete objects[1];

  for (const char* s : {"a", "b", "c", "d"}) list->GetItems()->Add(s);
  int moves = 0;
  list->OnItemMove = TNotifyEvent::Lambda([&](TObject*) { ++moves; });
  const int h = list->GetItemHeight();
  list->SetItemIndex(0);
  list->DragDrop(list, 5, h * 10);  // below the last item
  EXPECT_EQ(list->GetItems()->GetText(), "b\r\nc\r\nd\r\na\r\n");
  EXPECT_EQ(list->GetItemIndex(), 3);
  list->DragDrop(list, 5, h * 3 + 1);  // onto itself
  list->DragDrop(form_, 5, 0);         // from elsewhere
  EXPECT_EQ(moves, 1);
  bool accept = true;
  list->DragOver(form_, 5, 5, dsDragMove, accept);
  EXPECT_FALSE(accept);
}

TEST_F(EditorControls, CancelledPickersChangeNothing) {
  std::vector<AnsiString> offered;
  dialogAnswer_ = [&](TObject* d) -> TModalResult {
    if (auto* f = dynamic_cast<TOpenDialog*>(d)) offered.push_back(f->GetFileName());
    return mrCancel;
  };
  form_->Show();
  auto* open = ui_test::Make<TiComponentEditorOpenPicker>(form_, form_, "Op", Rect(10, 100, 85, 125));
  auto* save = ui_test::Make<TiComponentEditorSavePicker>(form_, form_, "Sp", Rect(10, 130, 85, 155));
  auto* color = ui_test::Make<TiComponentEditorColorPicker>(form_, form_, "Cp", Rect(10, 160, 57, 181));
  int changes = 0;
  open->OnChange = save->OnChange = color->OnChange = TNotifyEvent::Lambda([&](TObject*) { ++changes; });
  open->FileName = "/tmp/logs/";
  save->FileName = "/tmp/plot.bmp";
  open->Execute();
  EXPECT_FALSE(save->Execute());
  color->PickerButton()->Click();
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_EQ(offered[0], "/tmp/logs/Untitled");
  EXPECT_EQ(open->FileName, "/tmp/logs/");
  EXPECT_EQ(save->FileName, "/tmp/plot.bmp");
  EXPECT_EQ(color->GetAsColor(), TColor(0x0000FF));
  EXPECT_EQ(changes + form_->Changed, 0);

  dialogAnswer_ = [&](TObject* d) -> TModalResult {
    if (auto* c = dynamic_cast<TColorDialog*>(d)) c->SetColor(clLime);
    return mrOk;
  };
  color->Execute();
  EXPECT_EQ(color->GetAsColor(), clLime);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(form_->Changed, 1);
}

TEST_F(EditorControls, ValueConverterPickerHandsTheValueToItsEdit) {
  auto* picker = ui_test::Make<TiComponentEditorValueConverterPicker>(form_, form_, "V", Rect(0, 0, 21, 21));
  picker->SetAssociate(edit_);
  edit_->SetAsFloat(1.5);
  form_->Show();
  for (TModalResult answer : {mrCancel, mrOk}) {
    picker->TranslationMethod = TFormTranslationMethod::Lambda([&](TCustomForm* f) {
      auto* vc = static_cast<TiValueConverterEditForm*>(f);
      EXPECT_EQ(vc->PageControl->GetActivePageIndex(), 2);
      // The user's part, once the modal loop waits for input.
      Application->OnIdle = TIdleEvent::Lambda([this, vc, answer](TObject*, bool& done) {
        done = false;
        clock_.Advance(10);
        if (vc->GetModalResult() != mrNone) return;
        vc->DaysEdit->EnterInteger(3);
        vc->SetModalResult(answer);
      });
    });
    picker->DefaultPage = ivcptPrice32nd;
    picker->Click();
    Application->OnIdle = nullptr;
  }
  EXPECT_DOUBLE_EQ(edit_->GetAsFloat(), 3.5);
  EXPECT_EQ(updates_, 1);
  EXPECT_DOUBLE_EQ(picker->DateTime, 3.5);
}

}  // namespace
}  // namespace widgets_test
