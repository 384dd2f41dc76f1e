// Stored definitions holding the standard controls, and a screenshot of one of each.
#include "platform/display/Display.h"
#include "platform/runtime/FormText.h"
#include "platform/ui/ComCtrls.h"
#include "tests/platform/ui/stdctrls/StdCtrlsHarness.h"
#include "tests/support/TestOutput.h"

namespace ui_test {
namespace {

class StoredControls : public StdCtrlsTest {
 protected:
  template <class T>
  T* Find(TComponent* root, const char* name) {
    auto* c = dynamic_cast<T*>(root->FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
};

TEST_F(StoredControls, ADefinitionSetsTheStoredValuesAndWritingKeepsOnlyWhatDiffers) {
  const char* text =
      "object Dlg: TForm\n"
      "  Caption = 'Stored'\n"
      "  object Label1: TLabel\n"
      "    Left = 8\n"
      "    Top = 8\n"
      "    Caption = '&Port:'\n"
      "    FocusControl = Check1\n"
      "  end\n"
      "  object Check1: TCheckBox\n"
      "    Left = 60\n"
      "    Top = 8\n"
      "    Caption = 'Echo'\n"
      "    AllowGrayed = True\n"
      "    State = cbGrayed\n"
      "    TabOrder = 0\n"
      "  end\n"
      "  object Group1: TGroupBox\n"
      "    Left = 8\n"
      "    Top = 40\n"
      "    Caption = 'Mode'\n"
      "    TabOrder = 1\n"
      "    object Radio1: TRadioButton\n"
      "      Left = 8\n"
      "      Top = 16\n"
      "      Caption = 'Local'\n"
      "    end\n"
      "    object Radio2: TRadioButton\n"
      "      Left = 8\n"
      "      Top = 36\n"
      "      Caption = 'Remote'\n"
      "      Checked = True\n"
      "    end\n"
      "  end\n"
      "  object VScrollBar: TScrollBar\n"
      "    Left = 300\n"
      "    Top = 0\n"
      "    Width = 16\n"
      "    Height = 200\n"
      "    Kind = sbVertical\n"
      "    LargeChange = 200\n"
      "    Max = 32000\n"
      "    Position = 500\n"
      "    SmallChange = 10\n"
      "    TabStop = False\n"
      "  end\n"
      "  object Modes: TRadioGroup\n"
      "    Left = 8\n"
      "    Top = 150\n"
      "    Width = 180\n"
      "    Height = 80\n"
      "    Caption = 'Speed'\n"
      "    Columns = 2\n"
      "    ItemIndex = 1\n"
      "    Items.Strings = (\n"
      "      'Slow'\n"
      "      'Fast'\n"
      "      'Faster')\n"
      "  end\n"
      "  object Bevel1: TBevel\n"
      "    Shape = bsTopLine\n"
      "    Style = bsRaised\n"
      "  end\n"
      "  object Shape1: TShape\n"
      "    Brush.Color = clRed\n"
      "    Shape = stCircle\n"
      "  end\n"
      "  object Speed1: TSpeedButton\n"
      "    AllowAllUp = True\n"
      "    GroupIndex = 3\n"
      "    Down = True\n"
      "    Flat = True\n"
      "  end\n"
      "  object OkBtn: TBitBtn\n"
      "    Caption = 'Start'\n"
      "    Kind = bkOK\n"
      "  end\n"
      "  object CloseBtn: TBitBtn\n"
      "    Kind = bkCancel\n"
      "  end\n"
      "  object Static1: TStaticText\n"
      "    BorderStyle = sbsSunken\n"
      "    Caption = 'Ready'\n"
      "  end\n"
      "  object Image1: TImage\n"
      "    Stretch = True\n"
      "  end\n"
      "  object Box1: TScrollBox\n"
      "    BorderStyle = bsNone\n"
      "  end\n"
      "end\n";
  TForm* f = TCustomForm::CreateNew<TForm>(Application);
  ReadComponentText(text, f);
  auto* label = Find<TLabel>(f, "Label1");
  auto* check = Find<TCheckBox>(f, "Check1");
  ASSERT_TRUE(label && check);
  EXPECT_EQ(label->GetFocusControl(), check);
  EXPECT_TRUE(label->GetAutoSize());
  EXPECT_EQ(check->GetState(), cbGrayed);
  EXPECT_TRUE(check->GetAllowGrayed());
  EXPECT_FALSE(Find<TRadioButton>(f, "Radio1")->GetChecked());
  EXPECT_TRUE(Find<TRadioButton>(f, "Radio2")->GetChecked());
  auto* bar = Find<TScrollBar>(f, "VScrollBar");
  EXPECT_EQ(bar->GetKind(), sbVertical);
  EXPECT_EQ(bar->GetBoundsRect(), Bounds(300, 0, 16, 200)) << "a stored kind does not turn the bar";
  EXPECT_EQ(bar->GetMax(), 32000);
  EXPECT_EQ(bar->GetPosition(), 500) << "read before Max, kept once the range is known";
  EXPECT_EQ(bar->GetSmallChange(), 10);
  EXPECT_EQ(bar->GetLargeChange(), 200);
  auto* modes = Find<TRadioGroup>(f, "Modes");
  EXPECT_EQ(modes->GetItemIndex(), 1);
  ASSERT_EQ(modes->ButtonCount(), 3);
  EXPECT_TRUE(modes->Buttons(1)->GetChecked());
  EXPECT_EQ(Find<TBevel>(f, "Bevel1")->GetShape(), bsTopLine);
  EXPECT_EQ(Find<TShape>(f, "Shape1")->GetShape(), stCircle);
  EXPECT_EQ(Find<TShape>(f, "Shape1")->GetBrush()->GetColor(), clRed);
  auto* speed = Find<TSpeedButton>(f, "Speed1");
  EXPECT_TRUE(speed->GetDown());
  EXPECT_EQ(speed->State(), bsExclusive);
  auto* ok = Find<TBitBtn>(f, "OkBtn");
  EXPECT_EQ(ok->GetCaption(), "Start") << "a stored caption survives the kind";
  EXPECT_EQ(ok->GetModalResult(), mrOk);
  EXPECT_TRUE(ok->GetDefault());
  auto* close = Find<TBitBtn>(f, "CloseBtn");
  EXPECT_EQ(close->GetCaption(), "Cancel");
  EXPECT_TRUE(close->GetCancel());
  EXPECT_EQ(Find<TStaticText>(f, "Static1")->GetBorderStyle(), sbsSunken);
  EXPECT_TRUE(Find<TImage>(f, "Image1")->GetStretch());
  EXPECT_EQ(Find<TScrollBox>(f, "Box1")->GetBorderStyle(), bsNone);

  AnsiString written = WriteComponentText(f);
  for (const char* line : {"State = cbGrayed", "Kind = sbVertical", "Max = 32000", "Position = 500",
                           "ItemIndex = 1", "'Faster'", "Shape = bsTopLine", "Kind = bkOK",
                           "Caption = 'Start'", "Down = True", "FocusControl = Check1", "Checked = True"})
    EXPECT_NE(written.find(line), AnsiString::npos) << line << "\n" << written;
  for (const char* absent : {"Caption = 'Cancel'", "Min = ", "PageSize", "Checked = False", "AutoSize"})
    EXPECT_EQ(written.find(absent), AnsiString::npos) << absent << " keeps its default\n" << written;
}

TEST_F(StoredControls, AGalleryOfEveryControlForPeopleToLookAt) {
  TForm* f = NewForm(560, 330);
  f->SetCaption("Standard controls");
  f->SetColor(clBtnFace);
  auto* label = Make<TLabel>(f, f, "Label1", Bounds(12, 12, 10, 10));
  label->SetCaption("&Label with accelerator");
  auto* st = Make<TStaticText>(f, f, "Static1", Bounds(12, 34, 10, 10));
  st->SetCaption("Static text, sunken");
  st->SetBorderStyle(sbsSunken);
  auto* b1 = Make<TButton>(f, f, "Button1", Bounds(12, 60, 75, 25));
  b1->SetCaption("&Default");
  b1->SetDefault(true);
  auto* b2 = Make<TButton>(f, f, "Button2", Bounds(95, 60, 75, 25));
  b2->SetCaption("Disabled");
  b2->SetEnabled(false);
  auto* c1 = Make<TCheckBox>(f, f, "Check1", Bounds(12, 96, 110, 17));
  c1->SetCaption("&Checked");
  c1->SetChecked(true);
  auto* c2 = Make<TCheckBox>(f, f, "Check2", Bounds(12, 116, 110, 17));
  c2->SetCaption("Grayed");
  c2->SetAllowGrayed(true);
  c2->SetState(cbGrayed);
  auto* c3 = Make<TCheckBox>(f, f, "Check3", Bounds(12, 136, 110, 17));
  c3->SetCaption("Disabled");
  c3->SetEnabled(false);
  auto* group = Make<TGroupBox>(f, f, "Group1", Bounds(180, 8, 150, 80));
  group->SetCaption("&Group box");
  for (int i = 0; i < 2; ++i) {
    auto* r =
        Make<TRadioButton>(f, group, ("Radio" + std::to_string(i)).c_str(), Bounds(10, 22 + 24 * i, 120, 17));
    r->SetCaption(i ? "Second" : "First");
    r->SetChecked(i == 1);
  }
  auto* rg = Make<TRadioGroup>(f, f, "RadioGroup1", Bounds(180, 96, 150, 70));
  rg->SetCaption("Radio group");
  for (const char* s : {"One", "Two", "Three", "Four"}) rg->GetItems()->Add(s);
  rg->SetColumns(2);
  rg->SetItemIndex(2);
  auto* hs = Make<TScrollBar>(f, f, "HScroll", Bounds(12, 176, 318, 17));
  hs->SetParams(30, 0, 100);
  auto* vs = Make<TScrollBar>(f, f, "VScroll", Bounds(340, 8, 17, 185));
  vs->SetKind(sbVertical);
  vs->SetBounds(340, 8, 17, 185);
  vs->SetPageSize(20);
  vs->SetPosition(60);
  TSpeedButton* sb[3];
  for (int i = 0; i < 3; ++i) {
    sb[i] = Make<TSpeedButton>(f, f, ("Speed" + std::to_string(i)).c_str(), Bounds(12 + 25 * i, 204, 23, 22));
    sb[i]->SetGroupIndex(1);
    sb[i]->SetCaption(std::string(1, char('A' + i)));
  }
  sb[1]->SetDown(true);
  auto* flat = Make<TSpeedButton>(f, f, "Flat", Bounds(90, 204, 60, 22));
  flat->SetFlat(true);
  flat->SetCaption("Flat");
  TBitBtnKind kinds[] = {bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll};
  for (int i = 0; i < 10; ++i) {
    auto* bb = Make<TBitBtn>(f, f, ("Bit" + std::to_string(i)).c_str(),
                             Bounds(12 + 90 * (i % 5), 236 + 32 * (i / 5), 84, 27));
    bb->SetKind(kinds[i]);
    if (kinds[i] == bkIgnore) bb->SetEnabled(false);
  }
  auto* bevel = Make<TBevel>(f, f, "Bevel1", Bounds(370, 8, 80, 40));
  bevel->SetShape(bsFrame);
  auto* line = Make<TBevel>(f, f, "Bevel2", Bounds(370, 56, 180, 2));
  line->SetShape(bsTopLine);
  auto* shape = Make<TShape>(f, f, "Shape1", Bounds(460, 8, 40, 40));
  shape->SetShape(stCircle);
  shape->GetBrush()->SetColor(clYellow);
  auto* rect = Make<TShape>(f, f, "Shape2", Bounds(505, 8, 45, 40));
  rect->SetShape(stRoundRect);
  rect->GetBrush()->SetColor(clAqua);
  auto* image = Make<TImage>(f, f, "Image1", Bounds(370, 66, 64, 48));
  TBitmap pic;
  pic.SetSize(32, 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 32; ++x) pic.GetCanvas()->SetPixel(x, y, TColor(RGB(x * 8, y * 10, 160)));
  image->GetPicture()->SetGraphic(&pic);
  image->SetStretch(true);
  auto* box = Make<TScrollBox>(f, f, "Box1", Bounds(370, 124, 180, 100));
  auto* inner = Make<TButton>(f, box, "Inner", Bounds(120, 110, 90, 25));
  inner->SetCaption("In the box");
  auto* list = Make<TListBox>(f, f, "List1", Bounds(12, 302, 110, 60));
  for (const char* s : {"Volts", "Amperes", "Watts", "Ohms", "Seconds"}) list->GetItems()->Add(s);
  list->SetItemIndex(1);
  auto* combo = Make<TComboBox>(f, f, "Combo1", Bounds(130, 302, 120, 24));
  for (const char* s : {"COM1", "COM2", "COM3"}) combo->GetItems()->Add(s);
  combo->SetItemIndex(0);
  auto* fixed = Make<TComboBox>(f, f, "Combo2", Bounds(130, 336, 120, 24));
  fixed->SetStyle(csDropDownList);
  fixed->GetItems()->Add("9600 baud");
  fixed->SetItemIndex(0);
  auto* picker = Make<TDateTimePicker>(f, f, "Date1", Bounds(260, 302, 120, 24));
  picker->SetFormat("yyyy-MM-dd");
  picker->SetDate(EncodeDate(2024, 5, 17));
  auto* time = Make<TDateTimePicker>(f, f, "Time1", Bounds(260, 336, 120, 24));
  time->SetKind(dtkTime);
  time->SetDateMode(dmUpDown);
  time->SetShowCheckbox(true);
  time->SetFormat("hh:nn:ss");
  time->SetTime(EncodeTime(13, 45, 30, 0));
  auto* simple = Make<TComboBox>(f, f, "Combo3", Bounds(466, 232, 88, 130));
  simple->SetStyle(csSimple);
  simple->SetBounds(466, 232, 88, 130);
  for (const char* s : {"Simple", "combo", "list"}) simple->GetItems()->Add(s);
  simple->SetItemIndex(2);
  f->SetClientHeight(372);
  ShowForm(f);
  c1->SetFocus();
  Pump();
  EXPECT_TRUE(box->GetVertScrollBar()->IsScrollBarVisible());
  EXPECT_TRUE(SaveWindowPng(f->Handle(), OutputPath("ui-stdctrls-gallery.png")));
}

}  // namespace
}  // namespace ui_test
