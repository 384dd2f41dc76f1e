// The plot's property editor: its pages load and write back every property of their objects,
// its lists follow the plot, blank pages follow the name prefixes, and it opens from the plot.
#include <gtest/gtest.h>

#include <map>

#include "platform/display/Display.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/TypInfo.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotEditor.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutViewer.h"
#include "plot/iPlotMasterManager.h"
#include "plot/iPlotTable.h"
#include "plot/iPlotToolBar.h"
#include "tests/platform/ui/controls/UiHarness.h"
#include "tests/plot/editor/EditorTest.h"
#include "tests/support/TestOutput.h"
#include "tests/support/UiPump.h"

namespace {

using ui_test::Pump;

// A property's value as text, fonts by the parts the editor copies.
AnsiString PropText(TObject* Obj, const AnsiString& Name) {
  const TPropInfo* p = GetPropInfo(Obj, Name);
  if (!p) return "<missing>";
  switch (p->Kind()) {
    case tkFloat:
      return FloatToStr(double(GetFloatProp(Obj, p)));
    case tkString:
    case tkLString:
    case tkWString:
      return GetStrProp(Obj, p);
    case tkClass:
      if (auto* f = dynamic_cast<TFont*>(GetObjectProp(Obj, p)))
        return f->GetName() + "/" + IntToStr(f->GetSize()) + "/" + IntToStr(int32_t(f->GetColor())) + "/" +
               IntToStr(int32_t(f->GetStyle().Contains(fsBold)));
      return "<object>";
    default:
      return IntToStr(GetOrdProp(Obj, p));
  }
}

using Snapshot = std::map<AnsiString, AnsiString>;

Snapshot Take(TObject* Obj, const std::vector<TiPlotEditorField>& Fields) {
  Snapshot s;
  for (const auto& f : Fields) s[f.Property] = PropText(Obj, f.Property);
  return s;
}

class PlotEditor : public plot_editor_test::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    AddOneOfEveryKind();
    plot->GetChannel(0)->SetTitleText("Volts");
    plot->GetXAxis(0)->SetSpan(42.5);
    plot->GetYAxis(0)->SetTitle("Amps");
    OpenEditor();
  }
};

// Changes a control the way a user would leave it changed, to a value the property accepts.
void Nudge(TiPlotEditorForm* Form, const TiPlotEditorField& F, TObject* Target) {
  TComponent* c = Form->FindComponent(F.Control);
  switch (F.Kind) {
    case ipefEdit: {
      auto* e = static_cast<TiComponentEditorEdit*>(c);
      const TPropInfo* p = GetPropInfo(Target, F.Property);
      if (p->Kind() == tkInteger)
        e->SetAsInteger(e->GetAsInteger() == 100 ? 99 : e->GetAsInteger() + 1);  // percents stop at 100
      else if (p->Kind() == tkFloat)
        e->SetAsFloat(e->GetAsFloat() >= 100 ? e->GetAsFloat() - 1.5 : e->GetAsFloat() + 1.5);
      else
        e->SetAsString(e->GetAsString() + "Z");
      break;
    }
    case ipefCheck: {
      auto* k = static_cast<TiComponentEditorCheckBox*>(c);
      k->SetAsBoolean(!k->GetAsBoolean());
      break;
    }
    case ipefRadio: {
      auto* r = static_cast<TiComponentEditorRadioGroup*>(c);
      r->SetAsInteger((r->GetAsInteger() + 1) % r->GetItems()->Count());
      break;
    }
    case ipefColor: {
      auto* k = static_cast<TiComponentEditorColorPicker*>(c);
      k->SetAsColor(TColor(int32_t(k->GetAsColor()) ^ 0x102030));
      break;
    }
    case ipefFont: {
      TFont* f = static_cast<TiComponentEditorFontPicker*>(c)->GetPickerFont();
      f->SetSize(f->GetSize() + 3);
      break;
    }
    case ipefText:
      static_cast<TiComponentEditorComboBox*>(c)->SetAsString("nn:ss");
      break;
    default: {
      auto* k = static_cast<TiComponentEditorComboBox*>(c);
      k->SetAsInteger((k->GetAsInteger() + 1) % k->GetItems()->Count());
    }
  }
}

// ------------------------------------------------------------------------------------------
// pages, table by table
// ------------------------------------------------------------------------------------------

TEST_F(PlotEditor, EveryRowNamesAControlAndAPropertyOfItsObject) {
  for (int32_t p = 0; p < ipepCount; ++p) {
    TiPlotObject* obj = form->SelectedObject(p);
    ASSERT_NE(obj, nullptr) << PlotEditorPages()[size_t(p)].Caption;
    for (const auto& f : PlotEditorPages()[size_t(p)].Fields) {
      EXPECT_NE(form->FindComponent(f.Control), nullptr) << f.Control;
      EXPECT_NE(GetPropInfo(obj, f.Property), nullptr) << f.Control << " -> " << f.Property;
    }
  }
  for (const auto& f : PlotEditorControlFields()) {
    EXPECT_NE(form->FindComponent(f.Control), nullptr) << f.Control;
    EXPECT_NE(GetPropInfo(plot, f.Property), nullptr) << f.Property;
  }
}

TEST_F(PlotEditor, WritingBackALoadedPageChangesNothing) {
  for (int32_t p = 0; p < ipepCount; ++p) {
    TiPlotObject* obj = form->SelectedObject(p);
    const auto& fields = PlotEditorPages()[size_t(p)].Fields;
    form->LoadPage(p);
    const Snapshot before = Take(obj, fields);
    form->ChangePage(p);
    EXPECT_EQ(Take(obj, fields), before) << PlotEditorPages()[size_t(p)].Caption;
  }
  form->LoadControlPage();
  const Snapshot before = Take(plot, PlotEditorControlFields());
  master()->ApplyEditor();
  EXPECT_EQ(Take(plot, PlotEditorControlFields()), before);
}

// Properties one setter keeps in step with another.
bool Coupled(const AnsiString& Changed, const AnsiString& Other) {
  static const std::pair<const char*, const char*> pairs[] = {
      {"WrapRowSpacingMin", "RowSpacing"},
  };
  for (const auto& [a, b] : pairs)
    if ((Changed == a && Other == b) || (Changed == b && Other == a)) return true;
  return false;
}

TEST_F(PlotEditor, EachControlChangesExactlyItsProperty) {
  for (int32_t p = 0; p < ipepCount; ++p) {
    const auto& fields = PlotEditorPages()[size_t(p)].Fields;
    for (const auto& f : fields) {
      TiPlotObject* obj = form->SelectedObject(p);
      form->LoadPage(p);
      const Snapshot before = Take(obj, fields);
      Nudge(form, f, obj);
      form->ChangePage(p);
      obj = form->SelectedObject(p);
      const Snapshot after = Take(obj, fields);
      // Other objects' references follow a rename only once resolved: keep the names fixed.
      if (f.Property == "Name") obj->SetName(before.at("Name"));
      EXPECT_NE(after.at(f.Property), before.at(f.Property)) << f.Control;
      for (const auto& [name, value] : before) {
        if (name != f.Property && !Coupled(f.Property, name)) {
          EXPECT_EQ(after.at(name), value) << f.Control << " also changed " << name;
        }
      }
    }
  }
  form->LoadControlPage();
  for (const auto& f : PlotEditorControlFields()) {
    if (AnsiString(f.Sheet) == "Title") continue;  // the title controls write through TitleChange
    form->LoadControlPage();
    const Snapshot before = Take(plot, PlotEditorControlFields());
    Nudge(form, f, plot);
    master()->ApplyEditor();
    const Snapshot after = Take(plot, PlotEditorControlFields());
    EXPECT_NE(after.at(f.Property), before.at(f.Property)) << f.Control;
    for (const auto& [name, value] : before) {
      if (name != f.Property) {
        EXPECT_EQ(after.at(name), value) << f.Control << " also changed " << name;
      }
    }
  }
}

TEST_F(PlotEditor, ListItemsFixTheOrdinalsTheyWrite) {
  const struct {
    int32_t Page;
    const char* Control;
    int32_t Index;
    const char* Property;
    int64_t Ordinal;
  } cases[] = {
      {ipepXAxis, "XAxisScaleTypeRadioGroup", 1, "ScaleType", 1},
      {ipepChannel, "ChannelMarkersPenStyleComboBox", 6, "MarkersPenStyle", 6},
      {ipepLimit, "LimitLineStyleComboBox", 6, "LineStyle", 6},
      {ipepDataCursor, "DataCursorStyleComboBox", 5, "Style", 5},
  };
  for (const auto& c : cases) {
    form->LoadPage(c.Page);
    TComponent* control = form->FindComponent(c.Control);
    if (auto* combo = dynamic_cast<TiComponentEditorComboBox*>(control)) {
      combo->SetAsInteger(c.Index);
    } else {
      static_cast<TiComponentEditorRadioGroup*>(control)->SetAsInteger(c.Index);
    }
    form->ChangePage(c.Page);
    EXPECT_EQ(GetOrdProp(form->SelectedObject(c.Page), c.Property), c.Ordinal) << c.Control;
  }
  EXPECT_EQ(C<TiComponentEditorComboBox>("ChannelMarkersPenStyleComboBox")->GetItems()->Strings(6),
            "InsideFrame");
  EXPECT_EQ(C<TiComponentEditorComboBox>("LimitLineStyleComboBox")->GetItems()->Strings(6), "Inside Frame");
  // A typed date/time format goes in as typed.
  C<TiComponentEditorComboBox>("XAxisDateTimeFormatComboBox")->SetAsString("nn:ss");
  form->ChangePage(ipepXAxis);
  EXPECT_EQ(plot->GetXAxis(0)->GetDateTimeFormat(), "nn:ss");
}

TEST_F(PlotEditor, UpDownBounds) {
  auto* limit = C<TiUpDown>("ChannelMarkersTurnOffLimitUpDown");
  EXPECT_EQ(limit->GetMax(), 20000);
  EXPECT_EQ(limit->GetIncrement(), 100);
  EXPECT_EQ(C<TiUpDown>("XAxisInnerMarginUpDown")->GetMin(), -1000);
  EXPECT_EQ(C<TiUpDown>("HintsPauseUpDown")->GetMax(), 0);
}

TEST_F(PlotEditor, CopyDefaultCopiesTheLabelFormatIntoTheCursorFormat) {
  TiPlotAxis* y = plot->GetYAxis(0);
  y->SetLabelsPrecision(7);
  y->SetDateTimeFormat("nn:ss");
  y->SetLabelsMinLengthAutoAdjust(!y->GetCursorMinLengthAutoAdjust());
  form->LoadYAxisPage();
  C<TButton>("YAxisCursorCopyDefaultButton")->Click();
  EXPECT_EQ(y->GetCursorPrecision(), 7);
  EXPECT_EQ(y->GetCursorDateTimeFormat(), "nn:ss");
  EXPECT_EQ(y->GetCursorMinLengthAutoAdjust(), y->GetLabelsMinLengthAutoAdjust());
  EXPECT_NE(y->GetLegendPrecision(), 7);
  // the pickers beside the edits open on their pages and write into their edit
  auto* span = C<TiComponentEditorValueConverterPicker>("XAxisSpanValueConverterPicker");
  EXPECT_EQ(span->GetAssociate(), C<TiComponentEditorEdit>("XAxisSpanEdit"));
  EXPECT_EQ(span->DefaultPage, ivcptInterval);
  EXPECT_EQ(C<TiComponentEditorValueConverterPicker>("YAxisMinValueConverterPicker")->DefaultPage,
            ivcptDateTime);
}

// ------------------------------------------------------------------------------------------
// numbers typed in
// ------------------------------------------------------------------------------------------

TEST_F(PlotEditor, TextThatIsNoNumberWritesZero) {
  plot->GetXAxis(0)->SetMin(5);
  form->LoadPage(ipepXAxis);
  C<TiComponentEditorEdit>("XAxisMinEdit")->SetAsString("abc");
  form->ChangePage(ipepXAxis);
  EXPECT_EQ(plot->GetXAxis(0)->GetMin(), 0);
}

TEST_F(PlotEditor, NegativeRingBufferSizeIsRefusedAndChangesNothingAfterIt) {
  TiPlotChannelCustom* ch = plot->GetChannel(0);
  form->LoadPage(ipepChannel);
  C<TiComponentEditorEdit>("ChannelRingBufferSizeEdit")->SetAsString("-5");
  C<TiComponentEditorEdit>("ChannelTitleEdit")->SetAsString("Before");
  C<TiComponentEditorEdit>("ChannelTraceLineWidthEdit")->SetAsInteger(4);
  EXPECT_THROW(form->ChangePage(ipepChannel), Exception);
  EXPECT_EQ(ch->GetRingBufferSize(), 0);
  EXPECT_EQ(ch->GetTitleText(), "Before");  // written before the failing one
  EXPECT_NE(ch->GetTraceLineWidth(), 4);    // after it: not reached
}

// ------------------------------------------------------------------------------------------
// blank pages and lists in step
// ------------------------------------------------------------------------------------------

TEST_F(PlotEditor, AChannelPageWithoutChannelsIsBlankButAddStaysEnabled) {
  TiPlotObject::FreeObject(plot->GetChannel(0));
  form->LoadChannelPage();
  EXPECT_EQ(form->PageList(ipepChannel)->Count(), 0);
  EXPECT_FALSE(C<TiComponentEditorEdit>("ChannelNameEdit")->GetEnabled());
  EXPECT_EQ(C<TiComponentEditorEdit>("ChannelNameEdit")->GetText(), "");
  EXPECT_FALSE(C<TiComponentEditorCheckBox>("ChannelVisibleCheckBox")->GetEnabled());
  EXPECT_FALSE(C<TControl>("ChannelRemoveButton")->GetEnabled());
  EXPECT_TRUE(C<TControl>("iChannelAddButton")->GetEnabled());
  form->ResetChannelStats();
  EXPECT_EQ(C<TCustomLabel>("ChannelStatsPointCountDisplay")->GetCaption(), "");

  C<TButton>("iChannelAddButton")->Click();
  ASSERT_EQ(form->PageList(ipepChannel)->Count(), 1);
  EXPECT_EQ(form->SelectedObject(ipepChannel), plot->GetChannel(0));
  EXPECT_TRUE(C<TiComponentEditorEdit>("ChannelNameEdit")->GetEnabled());
  EXPECT_EQ(C<TiComponentEditorEdit>("ChannelNameEdit")->GetText(), plot->GetChannel(0)->GetName());
  EXPECT_EQ(C<TCustomLabel>("ChannelStatsPointCountDisplay")->GetCaption(), "Click Refresh");
}

TEST_F(PlotEditor, ListsFollowObjectsAddedRenamedAndDeletedAnywhere) {
  // added by the plot
  plot->AddChannel();
  plot->AddChannel();
  TiComponentEditorListBox* channels = form->PageList(ipepChannel);
  ASSERT_EQ(channels->Count(), 3);
  EXPECT_EQ(channels->GetItemIndex(), 2);
  // removed from the editor: the same index, or the new last one
  channels->SetItemIndex(1);
  TiPlotObject* third = plot->GetChannel(2);
  C<TButton>("ChannelRemoveButton")->Click();
  EXPECT_EQ(plot->ChannelCount(), 2);
  EXPECT_EQ(form->SelectedObject(ipepChannel), third);
  C<TButton>("ChannelRemoveButton")->Click();
  EXPECT_EQ(form->SelectedObject(ipepChannel), plot->GetChannel(0));
  // deleted by the plot
  plot->AddXAxis();
  ASSERT_EQ(form->PageList(ipepXAxis)->Count(), 2);
  TiPlotObject::FreeObject(plot->GetXAxis(1));
  EXPECT_EQ(form->PageList(ipepXAxis)->Count(), 1);
  // renamed in the editor: the list and the channel's axis chooser follow
  ASSERT_EQ(plot->GetChannel(0)->GetXAxis(), plot->GetXAxis(0));
  form->PageList(ipepXAxis)->SetItemIndex(0);
  form->LoadXAxisPage();
  form->LoadChannelPage();
  auto* chooser = C<TiComponentEditorComboBox>("ChannelXAxisNameComboBox");
  EXPECT_TRUE(SameText(chooser->GetAsString(), plot->GetXAxis(0)->GetName()));
  C<TiComponentEditorEdit>("XAxisNameEdit")->SetAsString("Time");
  form->ChangePage(ipepXAxis);
  EXPECT_EQ(plot->GetXAxis(0)->GetName(), "Time");
  bool drawBox = false;
  TColor color = clNone;
  AnsiString text;
  form->GetListData(ipepXAxis, 0, drawBox, color, text);
  EXPECT_EQ(text, "Time");
  EXPECT_EQ(chooser->GetAsString(), "Time");
  EXPECT_EQ(chooser->GetItems()->Strings(0), "<None>");
}

TEST_F(PlotEditor, TitleControlsAndTheFirstLabelStayInStep) {
  form->LoadControlPage();
  C<TiComponentEditorEdit>("TitleTextEdit")->SetAsString("Supply");
  form->TitleChange(nullptr);
  EXPECT_EQ(plot->GetLabel(0)->GetCaption(), "Supply");
  EXPECT_EQ(C<TiComponentEditorEdit>("LabelCaptionMemo")->GetText(), "Supply");
  // the label page's first label writes back into the title controls
  form->PageList(ipepLabel)->SetItemIndex(0);
  form->LoadLabelPage();
  EXPECT_FALSE(C<TControl>("LabelRemoveButton")->GetEnabled());
  C<TiComponentEditorEdit>("LabelCaptionMemo")->SetAsString("Load");
  form->ChangePage(ipepLabel);
  EXPECT_EQ(C<TiComponentEditorEdit>("TitleTextEdit")->GetText(), "Load");
}

TEST_F(PlotEditor, LayoutPopupEnablesByTheHitObject) {
  TMenuItem* del = C<TMenuItem>("DeleteMenuItem");
  TMenuItem* vis = C<TMenuItem>("VisibleMenuItem");
  form->LayoutPopupMenuPopup(nullptr);
  EXPECT_FALSE(del->GetEnabled());
  EXPECT_FALSE(vis->GetEnabled());
  // An "Edit" on a table opens its page with it selected.
  plot->AddTable();
  ASSERT_GE(plot->TableCount(), 2);
  TiPlotObject* table = plot->GetTable(0);
  form->PageList(ipepTable)->SetItemIndex(1);
  form->ShowObject(table, true);
  EXPECT_EQ(form->SelectedObject(ipepTable), table);
  EXPECT_EQ(form->PageControl()->GetActivePage()->GetCaption(), "Tables");
}

// ------------------------------------------------------------------------------------------
// opening and closing
// ------------------------------------------------------------------------------------------

TEST_F(PlotEditor, ToolbarEditOpensAModalEditorAndRemembersItsPages) {
  int opened = 0, closed = 0;
  plot->OnAfterOpenEditor = TNotifyEvent::Lambda([&](TObject*) { ++opened; });
  plot->OnAfterCloseEditor = TNotifyEvent::Lambda([&](TObject*) { ++closed; });
  bool ran = false;
  Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
    done = false;
    TiPlotEditorForm* f = master()->GetEditorForm();
    if (!f || !f->FormState().Contains(fsModal)) return;
    ran = true;
    f->PageControl()->SetActivePageIndex(4);
    f->SetModalResult(mrOk);
  });
  plot->GetToolBar(0)->Button(iptbbtEdit)->OnClick(nullptr);
  Application->OnIdle = nullptr;
  EXPECT_TRUE(ran);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(master()->GetEditorForm(), nullptr);
  EXPECT_EQ(master()->EditorPages()[0], 4);
  // the next opening starts on the remembered page
  master()->CreateEditor();
  EXPECT_EQ(master()->GetEditorForm()->PageControl()->GetActivePageIndex(), 4);
}

TEST_F(PlotEditor, PopupEditOpensTheEditorOnTheObject) {
  plot->GetYAxis(0)->SetUserCanEdit(true);
  TPopupMenu menu(nullptr);
  plot->GetYAxis(0)->AddEditMenuItem(&menu);
  ASSERT_EQ(menu.Items()->Count(), 1);
  plot->SetEditorFormStyle(ipfsStayOnTop);
  menu.Items()->Items(0)->Click();
  TiPlotEditorForm* f = master()->GetEditorForm();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->PageControl()->GetActivePage()->GetCaption(), "Y-Axes");
  EXPECT_EQ(f->SelectedObject(ipepYAxis), plot->GetYAxis(0));
  EXPECT_EQ(f->GetFormStyle(), fsStayOnTop);
  // a stay-on-top editor shows, on activation, what changed meanwhile
  plot->GetYAxis(0)->SetSpan(77);
  f->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  Pump();
  EXPECT_EQ(C<TiComponentEditorEdit>("YAxisSpanEdit")->GetText(), "77");
  f->Close();
  EXPECT_EQ(master()->GetEditorForm(), nullptr);
  Pump();
}

TEST_F(PlotEditor, PagesScreenshots) {
  plot->SetEditorFormStyle(ipfsStayOnTop);
  master()->ShowEditor();
  TiPlotEditorForm* f = master()->GetEditorForm();
  ASSERT_NE(f, nullptr);
  for (int32_t i = 0; i < f->PageControl()->PageCount(); ++i) {
    f->PageControl()->SetActivePageIndex(i);
    Pump();
    const AnsiString name =
        "plot_editor_" + IntToStr(i) + "_" + f->PageControl()->Pages(i)->GetCaption() + ".png";
    AnsiString file;
    for (char ch : name) file += (ch == ' ' || ch == '/') ? '_' : ch;
    EXPECT_TRUE(SaveWindowPng(f->GetHandle(), OutputPath(file.c_str())));
  }
  f->Close();
  Pump();
}

}  // namespace
