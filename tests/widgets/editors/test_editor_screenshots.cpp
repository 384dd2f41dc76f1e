// The editor controls on one form and the value converter form's pages, saved for people to
// look at.
#include "tests/support/TestOutput.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iEditorBasicComponents.h"
#include "widgets/iValueConverterEditForm.h"

namespace widgets_test {
namespace {

using EditorGallery = ui_test::UiTest;

TEST_F(EditorGallery, EditorControlsScreenshot) {
  TForm* f = NewForm(440, 300);
  f->SetCaption("Editor controls");
  auto* pages = ui_test::Make<TiComponentEditorPageControl>(f, f, "Pages", Rect(8, 8, 432, 292));
  auto* page = new TTabSheet(f);
  page->SetCaption("General");
  page->SetPageControl(pages);
  auto* other = new TTabSheet(f);
  other->SetCaption("Other");
  other->SetPageControl(pages);
  pages->SetActivePageIndex(0);

  auto* group = ui_test::Make<TiComponentEditorGroupBox>(f, page, "Group", Rect(8, 4, 200, 100));
  group->SetCaption("Value");
  auto* edit = ui_test::Make<TiComponentEditorEdit>(f, group, "Edit", Rect(10, 20, 70, 41));
  edit->SetAsFloat(12.5);
  auto* upDown = new TiUpDown(f);
  upDown->SetParent(group);
  upDown->SetAssociate(edit);
  auto* converted = ui_test::Make<TiComponentEditorEdit>(f, group, "Conv", Rect(100, 20, 160, 41));
  converted->SetAsFloat(1.5);
  auto* picker = new TiComponentEditorValueConverterPicker(f);
  picker->SetParent(group);
  picker->SetAssociate(converted);
  auto* blank = ui_test::Make<TiComponentEditorEdit>(f, group, "Blank", Rect(10, 50, 70, 71));
  blank->Disable();
  auto* check = ui_test::Make<TiComponentEditorCheckBox>(f, group, "Check", Rect(100, 52, 190, 69));
  check->SetCaption("Visible");
  check->SetAsBoolean(true);
  auto* combo = ui_test::Make<TiComponentEditorComboBox>(f, group, "Combo", Rect(10, 74, 180, 95));
  for (const char* s : {"Linear", "Logarithmic"}) combo->GetItems()->Add(s);
  combo->SetAsInteger(1);

  auto* radio = ui_test::Make<TiComponentEditorRadioGroup>(f, page, "Radio", Rect(208, 4, 408, 100));
  radio->SetCaption("Style");
  for (const char* s : {"Line", "Points", "Bars", "Steps"}) radio->GetItems()->Add(s);
  radio->SetColumns(2);
  radio->SetAsInteger(2);

  auto* list = ui_test::Make<TiComponentEditorListBox>(f, page, "List", Rect(8, 108, 200, 200));
  for (const char* s : {"Channel 1", "Channel 2", "Channel 3", "Annotation"}) list->GetItems()->Add(s);
  list->OnGetData = TiListBoxGetDataEvent::Lambda([](int32_t i, bool& box, TColor& c, AnsiString&) {
    if (i == 1) c = clBlue;
    if (i == 2) c = clLime;
    box = i != 3;
  });
  list->SetItemIndex(1);

  auto* color = ui_test::Make<TiComponentEditorColorPicker>(f, page, "Color", Rect(208, 108, 255, 129));
  color->SetAsColor(clTeal);
  auto* font = ui_test::Make<TiComponentEditorFontPicker>(f, page, "Font", Rect(208, 136, 283, 161));
  auto* open = ui_test::Make<TiComponentEditorOpenPicker>(f, page, "Open", Rect(290, 136, 365, 161));
  auto* save = ui_test::Make<TiComponentEditorSavePicker>(f, page, "Save", Rect(208, 168, 283, 193));
  auto* button = ui_test::Make<TiComponentEditorButton>(f, page, "Apply", Rect(290, 168, 365, 193));
  button->SetCaption("Apply");
  auto* paint = ui_test::Make<TiPaintBox>(f, page, "Paint", Rect(8, 208, 408, 250));
  paint->OnPaint = TNotifyEvent::Lambda([paint](TObject*) {
    TCanvas* c = paint->GetCanvas();
    c->GetBrush()->SetColor(clWhite);
    c->FillRect(TRect{0, 0, paint->Width(), paint->Height()});
    c->GetPen()->SetColor(clNavy);
    c->MoveTo(0, paint->Height() - 1);
    for (int x = 0; x < paint->Width(); x += 20) c->LineTo(x, (x / 20) % 2 ? 8 : paint->Height() - 8);
  });
  (void)font;
  (void)open;
  (void)save;
  ShowForm(f);
  list->SetFocus();
  ui_test::Pump();
  EXPECT_TRUE(SaveWindowPng(f->GetHandle(), OutputPath("widgets_editor_controls.png")));
}

TEST_F(EditorGallery, ValueConverterScreenshots) {
  auto* f = TCustomForm::Create<TiValueConverterEditForm>(Application);
  f->SetValue(100.5 + 3.0 / 256);
  f->SetLeft(100);
  f->SetTop(100);
  f->Show();
  const char* names[] = {"widgets_value_converter_interval.png", "widgets_value_converter_datetime.png",
                         "widgets_value_converter_price.png"};
  for (int page = 0; page < 3; ++page) {
    f->ShowPage(TiValueConverterPageType(page));
    ui_test::Pump();
    EXPECT_TRUE(SaveWindowPng(f->GetHandle(), OutputPath(names[page])));
  }
}

}  // namespace
}  // namespace widgets_test
