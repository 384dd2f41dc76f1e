// The property editor's paths beyond the page round trips: its file pickers with the dialogs
// answered, the log buttons, the channel statistics, the layout page's popup menu and the
// translation of its texts.
#include <gtest/gtest.h>

#include <functional>

#include "platform/runtime/SysUtils.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotEditor.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutViewer.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotMasterManager.h"
#include "plot/iPlotTable.h"
#include "plot/iPlotToolBar.h"
#include "plot/iPlotTranslation.h"
#include "tests/plot/channel/ChannelFilesSupport.h"
#include "tests/plot/editor/EditorTest.h"
#include "tests/support/UiPump.h"

namespace {

using ui_test::Pump;

class EditorPaths : public plot_editor_test::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    // A file dialog takes the name in `answer` (cancelled while it is empty) and is remembered.
    dialogAnswer_ = [this](TObject* Dialog) -> TModalResult {
      auto* d = dynamic_cast<TOpenDialog*>(Dialog);
      if (!d) return mrCancel;
      asked.push_back({dynamic_cast<TSaveDialog*>(Dialog) != nullptr, d->GetFilter(), d->GetDefaultExt(),
                       d->GetFileName()});
      if (answer.empty()) return mrCancel;
      d->SetFileName(answer);
      return mrOk;
    };
    OpenEditor();
  }
  AnsiString Caption(const char* Label) { return C<TCustomLabel>(Label)->GetCaption(); }
  // The log controls of the page with Prefix ("Control" or "Channel") as they are while its
  // log runs (Logging) or not: only the button that changes the state is enabled.
  void ExpectLogControls(const char* Prefix, bool Logging) {
    const auto enabled = [&](const char* Name) {
      return C<TControl>((AnsiString(Prefix) + Name).c_str())->GetEnabled();
    };
    EXPECT_EQ(enabled("LogActivateButton"), !Logging) << Prefix;
    EXPECT_EQ(enabled("LogDeactivateButton"), Logging) << Prefix;
    EXPECT_EQ(enabled("LogFileNameEdit"), !Logging) << Prefix;
    EXPECT_EQ(enabled("LogFileNamePicker"), !Logging) << Prefix;
  }
  // Runs the picker's dialog, answered with File in the test's folder.
  void Pick(const char* Picker, const char* File) {
    answer = File ? dir.Path(File) : "";
    C<TButton>(Picker)->Click();
  }

  struct Asked {
    bool Save;
    AnsiString Filter, Ext, FileName;
  };
  std::vector<Asked> asked;
  std::string answer;
  TChannelTempDir dir;
};

// ------------------------------------------------------------------------------------------
// file pickers
// ------------------------------------------------------------------------------------------

TEST_F(EditorPaths, FilePickersRunTheirActionOnceTheDialogIsConfirmed) {
  TiPlotChannelCustom* ch = nullptr;  // channel 0 once the plot's properties were loaded
  // Loading the plot's properties builds its channels anew: always ask for channel 0.
  const auto points = [&](int32_t n) {
    TiPlotChannelCustom* c = plot->GetChannel(0);
    for (int32_t i = 0; i < n; ++i) c->AddPointXY(c->GetCount() + 1, 10 * i);
  };
  plot->GetXAxis(0)->SetSpan(42.5);
  const char* config = "Config (*.cfg)|*.cfg|All Files (*.*)|*.*";
  const char* data = "Data (*.dat)|*.dat|All Files (*.*)|*.*";
  const char* notes = "Annotations (*.ano)|*.ano|All Files (*.*)|*.*";
  const char* log = "Log (*.log)|*.log|All Files (*.*)|*.*";
  const struct {
    const char* Picker;
    bool Save;
    const char* Filter;
    const char* Ext;
    const char* File;
    std::function<void()> Before, After;
  } steps[] = {
      {"ControlPropertiesSavePicker", true, config, "cfg", "plot.cfg", [&] {},
       [&] { plot->GetXAxis(0)->SetSpan(10); }},
      {"ControlPropertiesOpenPicker", false, config, "cfg", "plot.cfg", [&] {},
       [&] {
         EXPECT_EQ(plot->GetXAxis(0)->GetSpan(), 42.5);
         EXPECT_EQ(C<TiComponentEditorEdit>("XAxisSpanEdit")->GetText(), "42.5");  // pages reloaded
       }},
      {"ControlDataSavePicker", true, data, "dat", "plot.dat", [&] { points(3); }, [&] { points(2); }},
      {"ControlDataOpenPicker", false, "Data (*.dat)|*.dat|Log (*.log)|*.log|All Files (*.*)|*.*", "dat",
       "plot.dat", [&] {}, [&] { EXPECT_EQ(plot->GetChannel(0)->GetCount(), 3); }},
      {"ControlAnnotationSavePicker", true, notes, "dat", "notes.ano",
       [&] {
         plot->AddAnnotation();
         plot->AddAnnotation();
       },
       [&] { plot->AddAnnotation(); }},
      {"ControlAnnotationOpenPicker", false, notes, "dat", "notes.ano", [&] {},
       [&] { EXPECT_EQ(plot->AnnotationCount(), 2); }},
      {"ControlLogFileNamePicker", true, log, "log", "plot.log", [&] {},
       [&] {
         EXPECT_EQ(C<TiComponentEditorEdit>("ControlLogFileNameEdit")->GetText(), dir.Path("plot.log"));
         EXPECT_EQ(plot->GetLogFileName(), dir.Path("plot.log"));
       }},
      {"ChannelPropertiesSavePicker", true, config, "cfg", "channel.cfg", [&] { ch = plot->GetChannel(0); },
       [&] { ch->SetColor(clLime); }},
      {"ChannelPropertiesOpenPicker", false, config, "cfg", "channel.cfg", [&] {},
       [&] { EXPECT_NE(ch->GetColor(), clLime); }},
      {"ChannelDataSavePicker", true, data, "dat", "channel.dat", [&] {}, [&] { points(4); }},
      {"ChannelDataOpenPicker", false, data, "dat", "channel.dat", [&] {},
       [&] { EXPECT_EQ(ch->GetCount(), 3); }},  // cleared first
      {"ChannelLogFileNamePicker", true, log, "log", "channel.log", [&] {},
       [&] {
         EXPECT_EQ(C<TiComponentEditorEdit>("ChannelLogFileNameEdit")->GetText(), dir.Path("channel.log"));
         EXPECT_EQ(ch->GetLogFileName(), dir.Path("channel.log"));
       }},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.Picker);
    s.Before();
    asked.clear();
    Pick(s.Picker, s.File);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Save, s.Save);
    EXPECT_EQ(asked[0].Filter, s.Filter);
    EXPECT_EQ(asked[0].Ext, s.Ext);
    s.After();
  }
  // A cancelled dialog does nothing: no data cleared, no name taken.
  Pick("ControlDataOpenPicker", nullptr);
  Pick("ChannelLogFileNamePicker", nullptr);
  EXPECT_EQ(plot->GetChannel(0)->GetCount(), 3);
  EXPECT_EQ(ch->GetLogFileName(), dir.Path("channel.log"));
  // A failing load ends the action with its error and leaves the data as it was.
  answer = dir.Path("missing.dat");
  EXPECT_THROW(C<TButton>("ChannelDataOpenPicker")->Click(), Exception);
  EXPECT_EQ(ch->GetCount(), 3);
}

TEST_F(EditorPaths, LogNamePickersOpenOnTheNameTheEditShows) {
  C<TiComponentEditorEdit>("ControlLogFileNameEdit")->SetAsString(dir.Path("typed.log"));
  form->GeneralChanged(nullptr);
  C<TiComponentEditorEdit>("ChannelLogFileNameEdit")->SetAsString(dir.Path("chan.log"));
  form->ChangePage(ipepChannel);
  Pick("ControlLogFileNamePicker", nullptr);
  Pick("ChannelLogFileNamePicker", nullptr);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].FileName, dir.Path("typed.log"));
  EXPECT_EQ(asked[1].FileName, dir.Path("chan.log"));
}

// ------------------------------------------------------------------------------------------
// logs
// ------------------------------------------------------------------------------------------

TEST_F(EditorPaths, LogButtonsStartAndStopThePlotLog) {
  form->LoadControlPage();
  try {
    C<TButton>("ControlLogActivateButton")->Click();
    ADD_FAILURE() << "no file name, yet activated";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Log File Name not Defined");
  }
  EXPECT_FALSE(plot->GetLoggingActive());

  C<TiComponentEditorEdit>("ControlLogFileNameEdit")->SetAsString(dir.Path("plot.log"));
  form->GeneralChanged(nullptr);
  C<TButton>("ControlLogActivateButton")->Click();
  ASSERT_TRUE(plot->GetLoggingActive());
  EXPECT_EQ(TChannelTempDir::Read(dir.Path("plot.log")),
            "(X)\t" + plot->GetChannel(0)->GetTitleText() + "(Y)\r\n");
  ExpectLogControls("Control", true);
  // The rest of the page stays editable while the plot logs.
  C<TiComponentEditorColorPicker>("BackGroundColorPicker")->SetAsColor(clNavy);
  form->GeneralChanged(nullptr);
  EXPECT_EQ(plot->GetBackGroundColor(), clNavy);

  for (int32_t i = 1; i <= 3; ++i) plot->GetChannel(0)->AddPointXY(i, 2 * i);
  C<TButton>("ControlLogDeactivateButton")->Click();
  EXPECT_FALSE(plot->GetLoggingActive());
  EXPECT_EQ(TChannelTempDir::Read(dir.Path("plot.log")),
            "(X)\t" + plot->GetChannel(0)->GetTitleText() + "(Y)\r\n1\t2\r\n2\t4\r\n3\t6\r\n");
  ExpectLogControls("Control", false);
}

TEST_F(EditorPaths, LogButtonsStartAndStopTheSelectedChannelsLog) {
  plot->AddChannel();
  TiPlotChannelCustom* ch = plot->GetChannel(1);
  ASSERT_EQ(form->SelectedObject(ipepChannel), ch);
  const std::string file = dir.Path("channel.log");
  TChannelTempDir::Write(file, "old rows\r\n");
  C<TiComponentEditorEdit>("ChannelLogFileNameEdit")->SetAsString(file);
  form->ChangePage(ipepChannel);
  C<TButton>("ChannelLogActivateButton")->Click();
  ASSERT_TRUE(ch->GetLoggingActive());
  EXPECT_FALSE(plot->GetChannel(0)->GetLoggingActive());
  EXPECT_EQ(TChannelTempDir::Read(file), "");  // started afresh, not appended
  ExpectLogControls("Channel", true);
  // Writing the page back while the channel logs keeps its log.
  C<TiComponentEditorEdit>("ChannelTitleEdit")->SetAsString("Logged");
  form->ChangePage(ipepChannel);
  EXPECT_EQ(ch->GetTitleText(), "Logged");
  EXPECT_TRUE(ch->GetLoggingActive());
  // The buttons follow the channel selected.
  form->PageList(ipepChannel)->SetItemIndex(0);
  form->LoadChannelPage();
  ExpectLogControls("Channel", false);
  form->PageList(ipepChannel)->SetItemIndex(1);
  form->LoadChannelPage();

  ch->AddPointXY(1, 5);
  ch->AddPointXY(2, 7);
  C<TButton>("ChannelLogDeactivateButton")->Click();
  EXPECT_FALSE(ch->GetLoggingActive());
  EXPECT_EQ(TChannelTempDir::Read(file), "1\t5\r\n2\t7\r\n");
  ExpectLogControls("Channel", false);
}

// ------------------------------------------------------------------------------------------
// channel statistics
// ------------------------------------------------------------------------------------------

TEST_F(EditorPaths, StatisticsShowTheSelectedChannelWhenRefreshed) {
  TiPlotChannelCustom* ch = plot->GetChannel(0);
  ch->SetXAxisName("");  // X in general float text; Y as its axis labels it
  for (double x : {1.5, 2.5, 3.5, 9.0}) ch->AddPointXY(x, 4 * x);
  ch->SetPointNull(3, true);  // counted as a point, left out of the values
  for (const char* d : kChannelStatsDisplays) EXPECT_EQ(Caption(d), "Click Refresh") << d;

  C<TButton>("ChannelStatsRefreshButton")->Click();
  TiPlotAxis* y = ch->GetYAxis();
  const AnsiString shown[] = {"4",
                              IntToStr(ch->GetCapacity()),
                              IntToStr(ch->GetCapacity() * ch->GetElementSize()) + " Bytes",
                              IntToStr(ch->GetElementSize()) + " Bytes",
                              IntToStr(ch->GetMaxCount()),
                              "1.5",
                              "3.5",
                              "2.5",
                              y->LabelText(6),
                              y->LabelText(14),
                              y->LabelText(10)};
  for (size_t i = 0; i < std::size(shown); ++i) EXPECT_EQ(Caption(kChannelStatsDisplays[i]), shown[i]) << i;
  EXPECT_GT(ch->GetElementSize(), 0);
  // Points added later show at the next refresh only.
  ch->AddPointXY(20, 1);
  EXPECT_EQ(Caption("ChannelStatsPointCountDisplay"), "4");
  C<TButton>("ChannelStatsRefreshButton")->Click();
  EXPECT_EQ(Caption("ChannelStatsPointCountDisplay"), "5");
  EXPECT_EQ(Caption("ChannelStatsXMaxDisplay"), "20");

  // Another channel selected, however it came to be selected, shows no figures of the first.
  plot->AddChannel();
  ASSERT_EQ(form->SelectedObject(ipepChannel), plot->GetChannel(1));
  EXPECT_EQ(Caption("ChannelStatsPointCountDisplay"), "Click Refresh");
  // A channel without values shows its counts and no values.
  C<TButton>("ChannelStatsRefreshButton")->Click();
  EXPECT_EQ(Caption("ChannelStatsPointCountDisplay"), "0");
  for (const char* d : {"ChannelStatsXMinDisplay", "ChannelStatsXMeanDisplay", "ChannelStatsYMaxDisplay"})
    EXPECT_EQ(Caption(d), "") << d;
  form->PageList(ipepChannel)->SetItemIndex(0);
  form->ListBoxClick(form->PageList(ipepChannel));
  EXPECT_EQ(Caption("ChannelStatsPointCountDisplay"), "Click Refresh");
  // No channel left: nothing to show.
  C<TButton>("ChannelRemoveButton")->Click();
  C<TButton>("ChannelRemoveButton")->Click();
  ASSERT_EQ(plot->ChannelCount(), 0);
  C<TButton>("ChannelStatsRefreshButton")->Click();
  for (const char* d : kChannelStatsDisplays) EXPECT_EQ(Caption(d), "") << d;
}

// ------------------------------------------------------------------------------------------
// layout page popup
// ------------------------------------------------------------------------------------------

class EditorLayoutPopup : public EditorPaths {
 protected:
  void SetUp() override {
    EditorPaths::SetUp();
    plot->AddTable();
    plot->AddLabel();
    plot->SetEditorFormStyle(ipfsStayOnTop);
    master()->ShowEditor();
    form = master()->GetEditorForm();
    form->PageControl()->SetActivePageIndex(1);  // "Layout"
    Pump();
  }
  // Presses on Obj in the viewer (false when the viewer shows it nowhere), then opens the popup.
  bool PressOn(TiPlotObject* Obj) {
    TiPlotLayoutViewer* v = form->LayoutViewer();
    v->Repaint();
    Pump();
    for (int32_t y = 0; y < v->GetClientHeight(); y += 2)
      for (int32_t x = 0; x < v->GetClientWidth(); x += 2)
        if (v->ObjectAt(x, y) == Obj) {
          form->iPlotLayoutViewerMouseDown(v, mbRight, {}, x, y);
          form->LayoutPopupMenuPopup(form->LayoutPopupMenu());
          return true;
        }
    return false;
  }
  TMenuItem* Item(const char* Name) { return C<TMenuItem>(Name); }
  // Every list holds the objects of its kind in their manager's order, one of them selected.
  void ExpectListsInStep() {
    TiPlotMasterManager* m = master();
    const std::pair<int32_t, TiPlotObjectManagerCustom*> kinds[] = {
        {ipepChannel, m->GetChannelManager()}, {ipepDataCursor, m->GetDataCursorManager()},
        {ipepLimit, m->GetLimitManager()},     {ipepLabel, m->GetLabelManager()},
        {ipepXAxis, m->GetXAxisManager()},     {ipepYAxis, m->GetYAxisManager()},
        {ipepLegend, m->GetLegendManager()},   {ipepTable, m->GetTableManager()},
        {ipepToolBar, m->GetToolBarManager()}, {ipepDataView, m->GetDataViewManager()}};
    for (const auto& [page, objects] : kinds) {
      TiComponentEditorListBox* list = form->PageList(page);
      const char* caption = PlotEditorPages()[size_t(page)].Caption;
      ASSERT_EQ(list->Count(), objects->Count()) << caption;
      for (int32_t i = 0; i < objects->Count(); ++i)
        EXPECT_EQ(list->GetItems()->Objects(i), objects->Items(i)) << caption << i;
      EXPECT_EQ(list->GetItemIndex() >= 0, objects->Count() > 0) << caption;
    }
  }
};

TEST_F(EditorLayoutPopup, EnablesDeleteAndVisibleByTheObjectPressed) {
  const struct {
    const char* Kind;
    TiPlotObject* Obj;
    bool Delete, Visible;
  } cases[] = {
      {"x axis", plot->GetXAxis(0), true, true},       {"y axis", plot->GetYAxis(0), true, true},
      {"table", plot->GetTable(0), true, true},        {"title label", plot->GetLabel(0), false, true},
      {"second label", plot->GetLabel(1), true, true}, {"legend", plot->GetLegend(0), false, true},
      {"toolbar", plot->GetToolBar(0), false, true},   {"data view", plot->GetDataView(0), false, false},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(PressOn(c.Obj)) << c.Kind;
    EXPECT_EQ(form->LayoutHitObject(), c.Obj) << c.Kind;
    EXPECT_EQ(Item("DeleteMenuItem")->GetEnabled(), c.Delete) << c.Kind;
    EXPECT_EQ(Item("VisibleMenuItem")->GetEnabled(), c.Visible) << c.Kind;
    EXPECT_TRUE(Item("EditMenuItem")->GetEnabled()) << c.Kind;
  }
  master()->SetXYAxesReverse(true);
  form->LayoutPopupMenuPopup(nullptr);
  EXPECT_TRUE(Item("XYAxesReverseMenuItem")->GetChecked());
  Item("XYAxesReverseMenuItem")->Click();
  EXPECT_FALSE(master()->GetXYAxesReverse());
}

TEST_F(EditorLayoutPopup, AddDeleteAndVisibleKeepTheListsInStep) {
  // Add: the new object is selected in its list and its page loaded.
  Item("AddXAxisMenuItem")->Click();
  Item("AddYAxisMenuItem")->Click();
  Item("AddLabelMenuItem")->Click();
  ASSERT_EQ(plot->XAxisCount(), 2);
  ASSERT_EQ(plot->YAxisCount(), 2);
  ASSERT_EQ(plot->LabelCount(), 3);
  ExpectListsInStep();
  EXPECT_EQ(form->SelectedObject(ipepXAxis), plot->GetXAxis(1));
  EXPECT_EQ(C<TiComponentEditorEdit>("XAxisNameEdit")->GetText(), plot->GetXAxis(1)->GetName());
  EXPECT_EQ(form->SelectedObject(ipepLabel), plot->GetLabel(2));

  // Delete: the object goes, the lists and pages follow and the popup forgets it.
  for (TiPlotObject* gone :
       std::initializer_list<TiPlotObject*>{plot->GetXAxis(1), plot->GetLabel(1), plot->GetTable(0)}) {
    ASSERT_TRUE(PressOn(gone));
    ASSERT_TRUE(Item("DeleteMenuItem")->GetEnabled());
    Item("DeleteMenuItem")->Click();
    EXPECT_EQ(form->LayoutHitObject(), nullptr);
    form->LayoutPopupMenuPopup(nullptr);
    EXPECT_FALSE(Item("DeleteMenuItem")->GetEnabled());
    ExpectListsInStep();
  }
  EXPECT_EQ(plot->XAxisCount(), 1);
  EXPECT_EQ(plot->LabelCount(), 2);
  EXPECT_EQ(plot->TableCount(), 0);
  EXPECT_EQ(C<TiComponentEditorEdit>("XAxisNameEdit")->GetText(), plot->GetXAxis(0)->GetName());
  EXPECT_FALSE(C<TiComponentEditorEdit>("TableNameEdit")->GetEnabled());  // no table left: blank page

  // Visible: toggles the object and its page shows it.
  TiPlotAxis* y = plot->GetYAxis(1);
  ASSERT_TRUE(PressOn(y));
  EXPECT_TRUE(Item("VisibleMenuItem")->GetChecked());
  Item("VisibleMenuItem")->Click();
  EXPECT_FALSE(y->GetVisible());
  EXPECT_FALSE(C<TiComponentEditorCheckBox>("YAxisVisibleCheckBox")->GetAsBoolean());
  form->LayoutPopupMenuPopup(nullptr);
  EXPECT_FALSE(Item("VisibleMenuItem")->GetChecked());
  Item("VisibleMenuItem")->Click();
  EXPECT_TRUE(y->GetVisible());
  ExpectListsInStep();
}

TEST_F(EditorLayoutPopup, HidingTheTitleIsNotUndoneByTheControlPage) {
  ASSERT_TRUE(PressOn(plot->GetLabel(0)));
  Item("VisibleMenuItem")->Click();
  EXPECT_FALSE(plot->GetTitleVisible());
  EXPECT_FALSE(C<TiComponentEditorCheckBox>("TitleVisibleCheckBox")->GetAsBoolean());
  // Any later change on the "Control" page writes the whole page back.
  C<TiComponentEditorColorPicker>("BackGroundColorPicker")->SetAsColor(clTeal);
  form->GeneralChanged(nullptr);
  EXPECT_EQ(plot->GetBackGroundColor(), clTeal);
  EXPECT_FALSE(plot->GetTitleVisible());
}

// ------------------------------------------------------------------------------------------
// translation
// ------------------------------------------------------------------------------------------

TEST_F(EditorPaths, ALoadedTranslationChangesTheTextsItKnowsAndNoOthers) {
  TiPlotTranslationManager* t = plot->GetTranslationManager();
  const struct {
    const char* Original;
    const char* Replacement;
  } pairs[] = {{"Plot", "Diagramm"},         {"Channels", "Kanaele"},
               {"Y-Axes", "Y-Achsen"},       {"Visible", "Sichtbar"},
               {"Refresh", "Aktualisieren"}, {"Scale Type", "Skalentyp"},
               {"Log10", "Logarithmisch"},   {"Solid", "Durchgezogen"},
               {"Delete", "Loeschen"},       {"Click Refresh", "Bitte aktualisieren"},
               {"<None>", "<Keine>"}};
  for (const auto& p : pairs) t->NewPair(p.Original, p.Replacement);
  OpenEditor();

  const auto tab = [&](TPageControl* Pages, int32_t Index) { return Pages->Pages(Index)->GetCaption(); };
  auto* radio = C<TiComponentEditorRadioGroup>("XAxisScaleTypeRadioGroup");
  auto* menu = form->LayoutPopupMenu()->Items();
  const struct {
    const char* What;
    AnsiString Shown, Expected;
  } texts[] = {
      {"form caption", form->GetCaption(), "Diagramm"},
      {"page tab", tab(form->PageControl(), 2), "Kanaele"},
      {"untranslated page tab", tab(form->PageControl(), 1), "Layout"},
      {"check box", C<TiComponentEditorCheckBox>("ChannelVisibleCheckBox")->GetCaption(), "Sichtbar"},
      {"button", C<TButton>("ChannelStatsRefreshButton")->GetCaption(), "Aktualisieren"},
      {"untranslated button", C<TButton>("ChannelRemoveButton")->GetCaption(), "Remove"},
      {"radio group", radio->GetCaption(), "Skalentyp"},
      {"radio item", radio->GetItems()->Strings(1), "Logarithmisch"},
      {"untranslated radio item", radio->GetItems()->Strings(0), "Linear"},
      {"combo item", C<TiComponentEditorComboBox>("LimitLineStyleComboBox")->GetItems()->Strings(0),
       "Durchgezogen"},
      {"untranslated combo item",
       C<TiComponentEditorComboBox>("LimitLineStyleComboBox")->GetItems()->Strings(1), "Dash"},
      {"name chooser", C<TiComponentEditorComboBox>("ChannelXAxisNameComboBox")->GetItems()->Strings(0),
       "<Keine>"},
      {"label", C<TCustomLabel>("ChannelStatsPointCountDisplay")->GetCaption(), "Bitte aktualisieren"},
      {"popup item", menu->Items(4)->GetCaption(), "Loeschen"},
      {"untranslated popup item", menu->Items(1)->GetCaption(), "Add X-Axis"},
  };
  for (const auto& x : texts) EXPECT_EQ(x.Shown, x.Expected) << x.What;

  // The translated form still finds its pages: "Edit..." opens on the object's page.
  form->ShowObject(plot->GetYAxis(0), false);
  EXPECT_EQ(form->PageControl()->GetActivePage()->GetCaption(), "Y-Achsen");
}

}  // namespace
