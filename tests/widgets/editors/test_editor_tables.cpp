// What the editor controls publish (names, order, declared defaults, stored rules), and the value
// converter form as its stored definition builds it.
#include <set>
#include <tuple>

#include "platform/runtime/FormText.h"
#include "platform/runtime/TypInfo.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iEditorBasicComponents.h"
#include "widgets/iValueConverterEditForm.h"

namespace widgets_test {
namespace {

using ui_test::UiTest;

struct TablesProp {
  const char* Name;
  bool HasDefault = false;
  int64_t Default = 0;
};

struct TablesClass {
  const TClassInfo* Class;
  std::vector<TablesProp> Props;  // in declaration order
};

TEST(EditorTables, EachClassPublishesItsNamesWithTheirDefaults) {
  const std::vector<TablesProp> pickerTail = {
      {"OnChange"}, {"Caption"}, {"Font"}, {"TabOrder", true, -1}, {"TabStop", true, 1}};
  auto withTail = [&](std::vector<TablesProp> head) {
    head.insert(head.end(), pickerTail.begin(), pickerTail.end());
    return head;
  };
  const TablesClass classes[] = {
      {&TiCustomEditorForm::ClassInfo(),
       {{"Caption"},
        {"ClientHeight"},
        {"ClientWidth"},
        {"PixelsPerInch"},
        {"OnCreate"},
        {"OnDestroy"},
        {"OnClose"},
        {"AutoScroll", true, 1}}},
      {&TiComponentEditorEdit::ClassInfo(),
       {{"OnUpdate"},
        {"TabOrder", true, -1},
        {"ReadOnly", true, 0},
        {"Height", true, 21},
        {"Visible", true, 1}}},
      {&TiUpDown::ClassInfo(),
       {{"Associate"},
        {"Min", true, 0},
        {"Max", true, 100},
        {"Increment", true, 1},
        {"Width", true, 15},
        {"Height", true, 21}}},
      {&TiComponentEditorPageControl::ClassInfo(), {{"TabIndex", true, -1}}},
      {&TiComponentEditorButton::ClassInfo(), {}},
      {&TiComponentEditorCheckBox::ClassInfo(), {}},
      {&TiComponentEditorRadioGroup::ClassInfo(), {}},
      {&TiComponentEditorComboBox::ClassInfo(), {{"Visible", true, 1}}},
      {&TiComponentEditorListBox::ClassInfo(),
       {{"Enabled", true, 1},
        {"Font"},
        {"TabOrder", true, -1},
        {"TabStop", true, 0},
        {"Visible", true, 1},
        {"OnClick"},
        {"OnDblClick"},
        {"Style", true, lbOwnerDrawFixed},
        {"Sorted", true, 0},
        {"OnGetData"},
        {"OnItemMove"},
        {"OnDrawItem"},
        {"DragMode", true, dmAutomatic}}},
      {&TiComponentEditorColorPicker::ClassInfo(), {{"OnChange"}, {"TabOrder", true, -1}}},
      {&TiComponentEditorFontPicker::ClassInfo(), {{"OnChange"}}},
      {&TiComponentEditorOpenPicker::ClassInfo(),
       withTail(
           {{"FileName"}, {"Filter"}, {"DefaultExt"}, {"FileMustExist"}, {"AllowMultiSelect"}, {"Files"}})},
      {&TiComponentEditorSavePicker::ClassInfo(), withTail({{"FileName"}, {"Filter"}, {"DefaultExt"}})},
      {&TiComponentEditorValueConverterPicker::ClassInfo(),
       withTail({{"Associate"}, {"DateTime"}, {"DefaultPage"}, {"TranslationMethod"}})},
      {&TiComponentEditorGroupBox::ClassInfo(), {}},
      {&TiPaintBox::ClassInfo(), {{"OnPaint"}, {"Canvas"}, {"Align", true, alNone}}},
  };
  for (const TablesClass& c : classes) {
    SCOPED_TRACE(c.Class->Name());
    // What the class itself publishes; a name its base publishes too keeps the base's place.
    std::multiset<std::string> own, expected;
    std::vector<std::string> added, expectedAdded;
    for (const TPropInfo* p : c.Class->Properties()) {
      if (p->Owner != c.Class) continue;
      own.insert(p->Name);
      if (!c.Class->Parent()->FindProperty(p->Name)) added.push_back(p->Name);
    }
    for (const TablesProp& e : c.Props) {
      expected.insert(e.Name);
      if (!c.Class->Parent()->FindProperty(e.Name)) expectedAdded.push_back(e.Name);
      const TPropInfo* p = c.Class->FindProperty(e.Name);
      ASSERT_NE(p, nullptr) << e.Name;
      EXPECT_EQ(p->HasDefault, e.HasDefault) << e.Name;
      if (e.HasDefault) {
        EXPECT_EQ(p->Default, e.Default) << e.Name;
      }
    }
    EXPECT_EQ(own, expected);
    EXPECT_EQ(added, expectedAdded) << "declaration order";
  }
  // The pickers' shared step publishes nothing of its own.
  for (const TPropInfo* p : TiComponentEditorPickerButton::ClassInfo().Properties())
    EXPECT_NE(p->Owner, &TiComponentEditorPickerButton::ClassInfo()) << p->Name;
}

class EditorDefinitions : public UiTest {};

TEST_F(EditorDefinitions, ConstructorsAgreeWithTheDeclaredDefaults) {
  TForm* f = NewForm();
  auto* edit = new TiComponentEditorEdit(f);
  auto* upDown = new TiUpDown(f);
  auto* list = new TiComponentEditorListBox(f);
  auto* picker = new TiComponentEditorValueConverterPicker(f);
  EXPECT_EQ(edit->Height(), 21);
  EXPECT_EQ(upDown->Width(), 15);
  EXPECT_EQ(upDown->Height(), 21);
  EXPECT_EQ(upDown->GetMin(), 0);
  EXPECT_EQ(upDown->GetMax(), 100);
  EXPECT_EQ(upDown->GetIncrement(), 1);
  EXPECT_EQ(list->GetStyle(), lbOwnerDrawFixed);
  EXPECT_EQ(list->GetDragMode(), dmAutomatic);
  EXPECT_FALSE(list->GetSorted());
  EXPECT_TRUE(picker->GetTabStop());
  EXPECT_EQ(picker->GetCaption(), "...");
}

// The up-down and the converter picker store their edit by name, and a bound at 0 (no limit)
// unlike the declared 100; what equals its default is left out.
TEST_F(EditorDefinitions, AssociatesAreStoredByNameAndReadBack) {
  RegisterClasses({&TiComponentEditorEdit::ClassInfo(), &TiUpDown::ClassInfo(),
                   &TiComponentEditorValueConverterPicker::ClassInfo(),
                   &TiComponentEditorOpenPicker::ClassInfo()});
  TForm* f = NewForm();
  auto* edit = ui_test::Make<TiComponentEditorEdit>(f, f, "Days", Rect(10, 10, 60, 31));
  auto* upDown = new TiUpDown(f);
  upDown->SetName("DaysUpDown");
  upDown->SetParent(f);
  upDown->SetMax(0);
  upDown->SetAssociate(edit);
  auto* picker = new TiComponentEditorValueConverterPicker(f);
  picker->SetName("Pick");
  picker->SetParent(f);
  picker->SetAssociate(edit);
  picker->DefaultPage = ivcptPrice32nd;
  auto* open = new TiComponentEditorOpenPicker(f);  // its empty file list stores nothing
  open->SetName("Open");
  open->SetParent(f);
  EXPECT_EQ(upDown->Left(), 60);
  EXPECT_EQ(picker->Left(), 60);
  const AnsiString text = WriteComponentText(f);
  EXPECT_NE(text.find("Associate = Days\r\n    Max = 0\r\n"), std::string::npos) << text;
  for (const char* absent : {"Min =", "Increment =", "Width = 15", "Height = 21"})
    EXPECT_EQ(text.find(absent), std::string::npos) << absent << "\n" << text;
  EXPECT_NE(text.find("DefaultPage = ivcptPrice32nd"), std::string::npos) << text;
  EXPECT_EQ(text.find("Files"), std::string::npos) << text;

  delete edit;  // a destroyed associate is forgotten
  EXPECT_EQ(upDown->GetAssociate(), nullptr);
  EXPECT_EQ(picker->GetAssociate(), nullptr);
  f->Free();

  TForm* g = TCustomForm::CreateNew<TForm>(Application);
  ReadComponentText(text, g);
  auto* edit2 = dynamic_cast<TiComponentEditorEdit*>(g->FindComponent("Days"));
  auto* upDown2 = dynamic_cast<TiUpDown*>(g->FindComponent("DaysUpDown"));
  auto* picker2 = dynamic_cast<TiComponentEditorValueConverterPicker*>(g->FindComponent("Pick"));
  ASSERT_TRUE(edit2 && upDown2 && picker2);
  EXPECT_EQ(upDown2->GetAssociate(), edit2);
  EXPECT_EQ(picker2->GetAssociate(), edit2);
  EXPECT_EQ(upDown2->GetMax(), 0);
  EXPECT_EQ(upDown2->GetMin(), 0);
  EXPECT_EQ(upDown2->Left(), 60);
  EXPECT_EQ(picker2->DefaultPage, ivcptPrice32nd);
}

TEST_F(EditorDefinitions, ConverterFormComesFromItsDefinition) {
  auto* f = TCustomForm::Create<TiValueConverterEditForm>(Application);
  EXPECT_EQ(f->GetCaption(), "Value Converter");
  EXPECT_EQ(f->Width(), 269);
  EXPECT_EQ(f->Height(), 264);
  ASSERT_TRUE(f->PageControl && f->ValueEdit && f->ButtonPanel);
  EXPECT_EQ(f->PageControl->GetBoundsRect(), Rect(4, 2, 257, 169));
  ASSERT_EQ(f->PageControl->PageCount(), 3);
  EXPECT_EQ(f->PageControl->Pages(0), f->IntervalPage);
  EXPECT_EQ(f->IntervalPage->GetCaption(), "Interval");
  EXPECT_EQ(f->DateTimePage->GetCaption(), "Date/Time");
  EXPECT_EQ(f->PricePage->GetCaption(), "Price 32nds");
  EXPECT_EQ(f->PageControl->GetActivePageIndex(), 0);
  EXPECT_EQ(f->ValueEdit->GetBoundsRect(), Rect(4, 176, 257, 197));
  EXPECT_EQ(f->ButtonPanel->Height(), 39);
  EXPECT_EQ(f->ButtonPanel->GetAlign(), alBottom);
  for (auto [button, caption, result] :
       {std::tuple{f->OkButton, "OK", mrOk}, {f->CancelButton, "Cancel", mrCancel}}) {
    ASSERT_TRUE(button);
    EXPECT_EQ(button->GetParent(), f->ButtonPanel);
    EXPECT_EQ(button->GetCaption(), caption);
    EXPECT_EQ(button->GetModalResult(), result);
    EXPECT_EQ(button->Width(), 80);
    EXPECT_EQ(button->Height(), 25);
  }

  // Each edit with its label, its up-down beside it and the handler its page needs.
  struct Row {
    TiComponentEditorEdit* Edit;
    TiUpDown* UpDown;
    TTabSheet* Page;
    const char* Label;
    int Max, Increment;
  } rows[] = {
      {f->HoursEdit, f->HoursUpDown, f->IntervalPage, "Hours", 23, 1},
      {f->MinutesEdit, f->MinutesUpDown, f->IntervalPage, "Minutes", 59, 1},
      {f->SecondsEdit, f->SecondsUpDown, f->IntervalPage, "Seconds", 59, 1},
      {f->MilliSecondsEdit, f->MilliSecondsUpDown, f->IntervalPage, "mSec", 999, 100},
      {f->DaysEdit, f->DaysUpDown, f->IntervalPage, "Days", 0, 1},
      {f->WeeksEdit, f->WeeksUpDown, f->IntervalPage, "Weeks", 0, 1},
      {f->PriceIntegerEdit, f->PriceIntegerUpDown, f->PricePage, "Integer", 10000, 1},
      {f->Price32ndsEdit, f->Price32ndsUpDown, f->PricePage, "32nds", 31, 1},
      {f->Price256thsEdit, f->Price256thsUpDown, f->PricePage, "256ths", 7, 1},
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(r.Edit && r.UpDown) << r.Label;
    SCOPED_TRACE(r.Edit->GetName());
    EXPECT_EQ(r.Edit->GetParent(), r.Page);
    EXPECT_EQ(r.UpDown->GetAssociate(), r.Edit);
    EXPECT_EQ(r.UpDown->GetMin(), 0);
    EXPECT_EQ(r.UpDown->GetMax(), r.Max);
    EXPECT_EQ(r.UpDown->GetIncrement(), r.Increment);
    EXPECT_EQ(r.UpDown->Left(), r.Edit->Left() + r.Edit->Width());
    EXPECT_EQ(r.UpDown->Top(), r.Edit->Top());
    EXPECT_TRUE(r.Edit->OnUpdate);
    EXPECT_EQ(r.Edit->OnUpdate.Data(), static_cast<void*>(f));
    bool labelled = false;
    for (int i = 0; i < r.Page->ControlCount(); ++i)
      if (auto* l = dynamic_cast<TLabel*>(r.Page->Controls(i)))
        labelled |= l->GetCaption() == r.Label && l->Top() > r.Edit->Top() && l->Top() < r.Edit->Top() + 21 &&
                    l->Left() < r.Edit->Left();
    EXPECT_TRUE(labelled) << r.Label;
  }
  EXPECT_EQ(f->ZeroButton->GetCaption(), "Set All To 0");
  EXPECT_EQ(f->ZeroButton->GetParent(), f->IntervalPage);
  EXPECT_EQ(f->NowButton->GetCaption(), "Now");
  EXPECT_EQ(f->NowButton->GetParent(), f->DateTimePage);
  EXPECT_TRUE(f->ZeroButton->OnClick && f->NowButton->OnClick);

  // The pickers are made with the form, beside their labels.
  for (auto [picker, label] : {std::pair{f->DatePicker, f->DateLabel}, {f->TimePicker, f->TimeLabel}}) {
    ASSERT_TRUE(picker && label);
    EXPECT_EQ(picker->GetParent(), f->DateTimePage);
    EXPECT_EQ(picker->Width(), 137);
    EXPECT_EQ(picker->Left(), label->Left() + label->Width() + 5);
    EXPECT_EQ(picker->Top(), label->Top() - 3);
  }
  EXPECT_EQ(f->DateLabel->GetCaption(), "Date");
  EXPECT_EQ(f->TimeLabel->GetCaption(), "Time");
  EXPECT_EQ(f->DatePicker->GetKind(), dtkDate);
  EXPECT_EQ(f->TimePicker->GetKind(), dtkTime);
}

}  // namespace
}  // namespace widgets_test
