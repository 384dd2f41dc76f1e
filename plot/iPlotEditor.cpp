// The plot's property editor form.
//
// Sections: construction | building the pages | loading and writing | object lists |
// "Control" page | layout page | page memory and activation | master manager's editor operations
#include "plot/iPlotEditor.h"

#include <map>

#include "platform/runtime/NumText.h"
#include "platform/runtime/TypInfo.h"
#include "platform/ui/StdButtons.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotComponent.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutViewer.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotMasterManager.h"
#include "plot/iPlotTable.h"
#include "plot/iPlotToolBar.h"

#include "plot/defs/iPlotEditorForm_def.inc"

// ============================================================================================
// construction
// ============================================================================================

const TClassInfo& TiPlotEditorForm::ClassInfo() {
  using E = TiPlotEditorForm;
  static const TClassInfo info = TClassInfo::Of<E, TiCustomEditorForm>("TiPlotEditorForm")
                                     .Field("PageControl", &E::FPageControl)
                                     .Method("FormCreate", &E::FormCreate);
  return info;
}

TiPlotEditorForm::TiPlotEditorForm(TComponent* AOwner) : TiCustomEditorForm(AOwner) {}

TiPlotEditorForm::~TiPlotEditorForm() = default;

void TiPlotEditorForm::FormCreate(TObject*) {
  SetBorderStyle(bsDialog);
  BuildPages();
}

void TiPlotEditorForm::DoDestroy() {
  TiCustomEditorForm::DoDestroy();
  if (FMaster) FMaster->EditorDestroyed(this);
  if (FPlot) FPlot->OnAfterCloseEditor(this);
}

// ============================================================================================
// building the pages
// ============================================================================================

namespace {

constexpr int32_t kRowHeight = 22;  // one row of a sheet or group
constexpr int32_t kGap = 6;         // between a label and its control
constexpr int32_t kColumnGap = 12;  // between columns
constexpr int32_t kNumberWidth = 64;
constexpr int32_t kTextWidth = 112;  // names, titles, file names
constexpr int32_t kListWidth = 112;
constexpr int32_t kGroupSide = 6;  // a group's inner margin left, right and below
constexpr int32_t kGroupTop = 18;  // room for a group's caption

AnsiString CompactName(const AnsiString& Text) {
  AnsiString out;
  for (char c : Text)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) out += c;
  return out;
}

bool StartsWithNoCase(const AnsiString& Text, const AnsiString& Prefix) {
  return Text.size() >= Prefix.size() && SameText(Text.substr(0, Prefix.size()), Prefix);
}

void SplitItems(TStrings* Target, const char* Items) {
  if (!Items) return;
  AnsiString item;
  for (const char* p = Items;; ++p) {
    if (*p == '|' || *p == 0) {
      Target->Add(item);
      item.clear();
      if (*p == 0) break;
    } else {
      item += *p;
    }
  }
}

template <class T>
T* MakeControl(TiPlotEditorForm* Form, TWinControl* Parent, const AnsiString& Name) {
  auto* c = new T(Form);
  if (!Name.empty()) c->SetName(Name);
  c->SetParent(Parent);
  return c;
}

// The name a file picker's dialog opens on; the log pickers are save pickers.
void SetPickerFileName(TComponent* Picker, const AnsiString& Name) {
  if (auto* open = dynamic_cast<TiComponentEditorOpenPicker*>(Picker)) open->FileName = Name;
  if (auto* save = dynamic_cast<TiComponentEditorSavePicker*>(Picker)) save->FileName = Name;
}

// The edits a value converter picker writes into, and the page it opens on.
const TiValueConverterPageType* ConverterPageOf(const AnsiString& Edit) {
  static const TiValueConverterPageType dateTime = ivcptDateTime, interval = ivcptInterval;
  if (Edit == "XAxisMinEdit" || Edit == "YAxisMinEdit") return &dateTime;
  static const char* const intervals[] = {"XAxisSpanEdit",
                                          "XAxisDesiredIncrementEdit",
                                          "XAxisDesiredStartEdit",
                                          "XAxisCartesianChildRefValueEdit",
                                          "YAxisSpanEdit",
                                          "YAxisDesiredIncrementEdit",
                                          "YAxisDesiredStartEdit",
                                          "YAxisCartesianChildRefValueEdit",
                                          "ChannelBarWidthEdit",
                                          "ChannelHighLowOpenWidthEdit",
                                          "ChannelHighLowOpenHeightEdit",
                                          "ChannelHighLowCloseWidthEdit",
                                          "ChannelHighLowCloseHeightEdit",
                                          "ChannelHighLowBarWidthEdit"};
  for (const char* name : intervals)
    if (Edit == name) return &interval;
  return nullptr;
}

// The class whose properties a page edits, by the page's prefix ("" for the plot itself).
const TClassInfo& PageClass(const AnsiString& Prefix) {
  static const std::pair<const char*, const TClassInfo& (*)()> classes[] = {
      {"Channel", &TiPlotChannel::ClassInfo}, {"DataCursor", &TiPlotDataCursor::ClassInfo},
      {"Limit", &TiPlotLimit::ClassInfo},     {"Label", &TiPlotLabel::ClassInfo},
      {"XAxis", &TiPlotXAxis::ClassInfo},     {"YAxis", &TiPlotYAxis::ClassInfo},
      {"Legend", &TiPlotLegend::ClassInfo},   {"Table", &TiPlotTable::ClassInfo},
      {"ToolBar", &TiPlotToolBar::ClassInfo}, {"DataView", &TiPlotDataView::ClassInfo}};
  for (const auto& [prefix, info] : classes)
    if (Prefix == prefix) return info();
  return TiPlotComponent::ClassInfo();
}

// Properties shown in a wide edit; every other edit holds a number.
bool IsTextProperty(const AnsiString& Property) {
  for (const char* p : {"Name", "TitleText", "Title", "Caption", "PrintDocumentName", "LogFileName"})
    if (Property == p) return true;
  return false;
}

int32_t TextWidthIn(TFont* Font, const AnsiString& Text) {
  TBitmap scratch;
  scratch.SetSize(1, 1);
  TCanvas* c = scratch.GetCanvas();
  c->SetFont(Font);
  return c->TextWidth(Text);
}

// The width a control needs to show its whole text.
int32_t NaturalWidth(TControl* C) {
  if (auto* check = dynamic_cast<TiCheckBox*>(C))
    return TextWidthIn(check->GetFont(), check->GetCaption()) + 22;
  if (auto* radio = dynamic_cast<TiRadioGroup*>(C)) {
    // Each item's mark is centred 14 pixels into its column and its text starts 12 pixels after
    // the centre; the next column's mark reaches 5 pixels left of its centre.
    int32_t item = 0;
    for (int32_t i = 0; i < radio->GetItems()->Count(); ++i)
      item = std::max(item, TextWidthIn(radio->GetFont(), radio->GetItems()->Strings(i)));
    const int32_t columns = std::max(1, radio->GetColumns());
    const int32_t caption =
        TextWidthIn(radio->GetFont(), radio->GetCaption()) + 2 * TextWidthIn(radio->GetFont(), "A");
    return std::max(14 + columns * (item + 28), caption + 4);
  }
  if (auto* combo = dynamic_cast<TComboBox*>(C)) {
    int32_t item = 0;
    for (int32_t i = 0; i < combo->GetItems()->Count(); ++i)
      item = std::max(item, TextWidthIn(combo->GetFont(), combo->GetItems()->Strings(i)));
    // Name choosers are filled later, from the plot's object names.
    return combo->GetItems()->Count() == 0 ? 96 : std::max(kNumberWidth, item + 30);
  }
  if (auto* button = dynamic_cast<TButtonControl*>(C))
    return std::max(kNumberWidth, TextWidthIn(button->GetFont(), button->GetCaption()) + 20);
  if (auto* group = dynamic_cast<TCustomGroupBox*>(C))
    return TextWidthIn(group->GetFont(), group->GetCaption()) + 2 * kGroupSide + 8;
  if (Is<TiComponentEditorColorPicker>(C)) return kNumberWidth;
  if (auto* label = dynamic_cast<TCustomLabel*>(C))
    return std::max(110, TextWidthIn(label->GetFont(), label->GetCaption()));
  return kNumberWidth;
}

int32_t LabelWidth(TControl* Label) {
  auto* l = dynamic_cast<TCustomLabel*>(Label);
  return l ? TextWidthIn(l->GetFont(), l->GetCaption()) + 2 : 0;
}

}  // namespace

// One row of a container: an optional caption label, the control and the small buttons at its
// right; a group box's row is laid out from the group's own rows; an inner page control takes
// what the rows leave on the right.
struct TiEditorRow {
  TControl* Label = nullptr;
  TControl* Control = nullptr;
  std::vector<TControl*> Extras;
  int32_t Width = 0;  // 0: as the control's text needs
  bool Group = false;
  bool Fill = false;
};

struct TiEditorLayoutPlan {
  std::map<TWinControl*, std::vector<TiEditorRow>> Rows;
  std::map<std::pair<TWinControl*, AnsiString>, TWinControl*> Groups;
};

TWinControl* TiPlotEditorForm::SheetFor(TPageControl* Pages, const char* Caption) {
  for (int32_t i = 0; i < Pages->PageCount(); ++i)
    if (Pages->Pages(i)->GetCaption() == Caption) return Pages->Pages(i);
  auto* sheet = new TTabSheet(this);
  sheet->SetPageControl(Pages);
  sheet->SetCaption(Caption);
  return sheet;
}

TWinControl* TiPlotEditorForm::GroupFor(TWinControl* Sheet, const char* Path) {
  TWinControl* parent = Sheet;
  const AnsiString path = Path;
  size_t from = 0;
  while (from <= path.size()) {
    const size_t to = std::min(path.find('>', from), path.size());
    const AnsiString caption = path.substr(from, to - from);
    TWinControl*& group = FPlan->Groups[{parent, caption}];
    if (!group) {
      auto* box = MakeControl<TiComponentEditorGroupBox>(this, parent, "");
      box->SetCaption(caption);
      FPlan->Rows[parent].push_back(TiEditorRow{nullptr, box, {}, 0, true, false});
      group = box;
    }
    parent = group;
    from = to + 1;
  }
  return parent;
}

void TiPlotEditorForm::PlaceRow(TWinControl* Container, TControl* Control, TControl* Label, int32_t Width) {
  // A caption belongs to its control: it is hidden with it and its accelerator focuses it.
  if (auto* caption = dynamic_cast<TCustomLabel*>(Label))
    if (auto* win = dynamic_cast<TWinControl*>(Control)) caption->SetFocusControl(win);
  FPlan->Rows[Container].push_back(TiEditorRow{Label, Control, {}, Width, false, false});
}

void TiPlotEditorForm::AttachRight(TControl* Control, TControl* Extra) {
  for (auto& [container, rows] : FPlan->Rows)
    for (TiEditorRow& r : rows)
      if (r.Control == Control) {
        r.Extras.push_back(Extra);
        return;
      }
}

// Lays the rows of Container out in columns, top to bottom, a new column when the next row would
// pass Bottom; captions of a column share one width so that their controls line up.  Returns the
// right and bottom edges used.  With Place false it only measures.
TSize TiPlotEditorForm::Arrange(TWinControl* Container, int32_t Left, int32_t Top, int32_t Bottom,
                                bool Place) {
  auto found = FPlan->Rows.find(Container);
  if (found == FPlan->Rows.end()) return {Left, Top};
  std::vector<TiEditorRow>& rows = found->second;
  struct Slot {
    TiEditorRow* Row;
    int32_t Y, Height;
    TSize Content;  // a group's rows
  };
  std::vector<std::vector<Slot>> columns(1);
  int32_t y = Top;
  for (TiEditorRow& r : rows) {
    if (r.Fill) continue;
    Slot s{&r, 0, kRowHeight, {}};
    if (r.Group) {
      // A group may take a whole column's height.
      s.Content = Arrange(static_cast<TWinControl*>(r.Control), kGroupSide, kGroupTop,
                          Bottom - Top - kGroupSide, false);
      s.Height = s.Content.cy + kGroupSide;
    } else if (Is<TiRadioGroup>(r.Control)) {
      s.Height = 2 * kRowHeight;
    }
    if (y + s.Height > Bottom && !columns.back().empty()) {
      columns.emplace_back();
      y = Top;
    }
    s.Y = y;
    y += s.Height + (r.Group ? 4 : 0);
    columns.back().push_back(s);
  }
  int32_t x = Left, right = Left, bottom = Top;
  for (auto& column : columns) {
    if (column.empty()) continue;
    int32_t labels = 0, controls = 0, whole = 0;
    for (const Slot& s : column) {
      const TiEditorRow& r = *s.Row;
      int32_t w = r.Group ? std::max(s.Content.cx + kGroupSide, NaturalWidth(r.Control))
                          : (r.Width ? r.Width : NaturalWidth(r.Control));
      for (TControl* e : r.Extras) w += e->Width();
      if (r.Label) {
        labels = std::max(labels, LabelWidth(r.Label));
        controls = std::max(controls, w);
      } else {
        whole = std::max(whole, w);
      }
    }
    const int32_t width = std::max(whole, labels ? labels + kGap + controls : controls);
    for (const Slot& s : column) {
      const TiEditorRow& r = *s.Row;
      bottom = std::max(bottom, s.Y + s.Height);
      if (!Place) continue;
      if (r.Group) {
        r.Control->SetBounds(x, s.Y, width, s.Height);
        Arrange(static_cast<TWinControl*>(r.Control), kGroupSide, kGroupTop, s.Height - kGroupSide, true);
        continue;
      }
      int32_t cx = x, w = r.Width ? r.Width : NaturalWidth(r.Control);
      if (r.Label) {
        r.Label->SetBounds(x, s.Y + 3, labels, kRowHeight - 6);
        cx = x + labels + kGap;
      } else if (!Is<TiRadioGroup>(r.Control) && !Is<TButtonControl>(r.Control)) {
        w = width;  // check boxes take the column's width
      }
      r.Control->SetBounds(cx, s.Y, w, s.Height - 2);
      for (TControl* e : r.Extras) {
        e->SetBounds(cx + w, s.Y, e->Width(), s.Height - 2);
        w += e->Width();
      }
    }
    right = x + width;
    x = right + kColumnGap;
  }
  if (Place)
    for (TiEditorRow& r : rows)
      if (r.Fill) {
        // An inner page control takes the rest of the sheet: below a few rows, else beside them.
        const int32_t w = Container->GetClientWidth(), h = Container->GetClientHeight();
        if (right == Left)
          r.Control->SetBounds(0, 0, w, h);
        else if (columns.size() == 1 && bottom < h / 2)
          r.Control->SetBounds(0, bottom + 2, w, h - bottom - 2);
        else
          r.Control->SetBounds(right + kColumnGap - 4, 0, w - right - kColumnGap + 4, h);
        LayOutTree(static_cast<TWinControl*>(r.Control));
      }
  return {right, bottom};
}

// Every sheet below Container gets its rows laid out, inner sheets after their page control.
void TiPlotEditorForm::LayOutTree(TWinControl* Container) {
  if (auto* pages = dynamic_cast<TPageControl*>(Container)) {
    // Hidden sheets are not aligned until shown: give them their size now.
    const TRect inside = pages->DisplayRect();
    for (int32_t i = 0; i < pages->PageCount(); ++i) {
      TTabSheet* sheet = pages->Pages(i);
      sheet->SetBounds(inside.Left, inside.Top, inside.Width(), inside.Height());
      LayOutTree(sheet);
    }
    return;
  }
  if (FPlan->Rows.count(Container)) {
    Arrange(Container, 4, 4, Container->GetClientHeight() - 2, true);
    return;
  }
  for (int32_t i = 0; i < Container->ControlCount(); ++i)
    if (auto* child = dynamic_cast<TWinControl*>(Container->Controls(i))) LayOutTree(child);
}

void TiPlotEditorForm::BuildFields(const std::vector<TiPlotEditorField>& Fields, TPageControl* SubPages,
                                   TWinControl* Single, const TNotifyEvent& Change, const AnsiString& Prefix,
                                   bool HideName) {
  for (const TiPlotEditorField& f : Fields) {
    TWinControl* parent = Single;
    if (SubPages) {
      const AnsiString sheet = f.Sheet && *f.Sheet ? f.Sheet : "General";
      const size_t split = sheet.find('>');
      TWinControl* outer =
          SheetFor(SubPages, split == AnsiString::npos ? sheet.c_str() : sheet.substr(0, split).c_str());
      parent = outer;
      if (split != AnsiString::npos) {
        // A sheet of its own page control, named after the outer sheet.
        const AnsiString outerName = sheet.substr(0, split);
        AnsiString pcName =
            Prefix + CompactName(outerName) + (Prefix == "DataView" ? "CustomPageControl" : "PageControl");
        auto* inner = dynamic_cast<TPageControl*>(FindComponent(pcName));
        if (!inner) {
          inner = MakeControl<TiComponentEditorPageControl>(this, outer, pcName);
          FPlan->Rows[outer].push_back(TiEditorRow{nullptr, inner, {}, 0, false, true});
        }
        parent = SheetFor(inner, sheet.substr(split + 1).c_str());
      }
    }
    if (f.Group) parent = GroupFor(parent, f.Group);
    const auto label = [&]() -> TCustomLabel* {
      auto* l = MakeControl<TLabel>(this, parent, "");
      l->SetCaption(f.Caption);
      return l;
    };
    switch (f.Kind) {
      case ipefEdit: {
        TCustomLabel* l = label();
        auto* e = MakeControl<TiComponentEditorEdit>(this, parent, f.Control);
        e->OnUpdate = Change;
        if (HideName && f.Property == "Name") {
          // Pages that always edit their first object show neither list nor name.
          l->SetVisible(false);
          e->SetVisible(false);
          break;
        }
        PlaceRow(parent, e, l, IsTextProperty(f.Property) ? kTextWidth : kNumberWidth);
        int16_t lo, hi;
        int32_t inc;
        const bool listed = PlotEditorUpDownBounds(f.Control, lo, hi, inc);
        // Whole-number steps would drop a fraction: Double properties get no up-down.
        const TPropInfo* prop = GetPropInfo(PageClass(Prefix), f.Property);
        const bool whole = !prop || prop->Kind() == tkInteger || prop->Kind() == tkInt64;
        const bool integer = whole && f.Control.size() > 4 &&
                             f.Control.substr(f.Control.size() - 4) == "Edit" &&
                             (listed || f.Control.find("Percent") != AnsiString::npos ||
                              f.Control.find("Margin") != AnsiString::npos);
        if (const TiValueConverterPageType* page = ConverterPageOf(f.Control)) {
          auto* picker = MakeControl<TiComponentEditorValueConverterPicker>(
              this, parent, f.Control.substr(0, f.Control.size() - 4) + "ValueConverterPicker");
          picker->SetCaption("...");
          picker->SetWidth(18);
          picker->DefaultPage = *page;
          picker->SetAssociate(e);
          AttachRight(e, picker);
        }
        if (integer) {
          auto* ud =
              MakeControl<TiUpDown>(this, parent, f.Control.substr(0, f.Control.size() - 4) + "UpDown");
          ud->SetMin(lo);
          ud->SetMax(hi);
          ud->SetIncrement(inc);
          ud->SetAssociate(e);
          AttachRight(e, ud);
        }
        break;
      }
      case ipefCheck: {
        auto* c = MakeControl<TiComponentEditorCheckBox>(this, parent, f.Control);
        c->SetCaption(f.Caption);
        c->OnClick = Change;
        PlaceRow(parent, c);
        break;
      }
      case ipefRadio: {
        auto* r = MakeControl<TiComponentEditorRadioGroup>(this, parent, f.Control);
        r->SetCaption(f.Caption);
        SplitItems(r->GetItems(), f.Items);
        r->SetColumns(r->GetItems()->Count());
        r->OnClick = Change;
        PlaceRow(parent, r);
        break;
      }
      case ipefColor: {
        TCustomLabel* l = label();
        auto* c = MakeControl<TiComponentEditorColorPicker>(this, parent, f.Control);
        c->OnChange = Change;
        PlaceRow(parent, c, l);
        break;
      }
      case ipefFont: {
        TCustomLabel* l = label();
        auto* c = MakeControl<TiComponentEditorFontPicker>(this, parent, f.Control);
        c->SetCaption("Font...");
        c->OnChange = Change;
        PlaceRow(parent, c, l);
        break;
      }
      default: {  // combo boxes
        TCustomLabel* l = label();
        auto* c = MakeControl<TiComponentEditorComboBox>(this, parent, f.Control);
        c->SetStyle(f.Kind == ipefText ? csDropDown : csDropDownList);
        SplitItems(c->GetItems(), f.Items);
        c->OnChange = Change;
        if (f.Kind >= ipefXAxes) c->OnDropDown = TNotifyEvent(this, &TiPlotEditorForm::NameComboBoxDropDown);
        PlaceRow(parent, c, l);
        break;
      }
    }
  }
}

void TiPlotEditorForm::BuildPages() {
  FPlan = std::make_unique<TiEditorLayoutPlan>();
  if (!FPageControl) {
    FPageControl = MakeControl<TiComponentEditorPageControl>(this, this, "PageControl");
    FPageControl->SetAlign(alClient);
  }
  // The sheets' size is known once the page control has a tab.
  TWinControl* controlSheet = SheetFor(FPageControl, "Control");
  const TRect inside = FPageControl->DisplayRect();
  const int32_t sheetW = inside.Width(), sheetH = inside.Height();
  // The file pickers' groups come before the "Log" group that the log rows open.
  const auto fileGroups = [this](TPageControl* Pages, std::initializer_list<const char*> Groups) {
    for (int32_t i = 0; i < Pages->PageCount(); ++i)
      if (Pages->Pages(i)->GetCaption() == "File I/O")
        for (const char* g : Groups) GroupFor(Pages->Pages(i), g);
  };

  // "Control"
  {
    auto* pages = MakeControl<TiComponentEditorPageControl>(this, controlSheet, "ControlPageControl");
    pages->SetBounds(0, 0, sheetW, sheetH);
    for (const char* s :
         {"General", "Title", "Background", "Print", "Hints", "File I/O", "Annotation Defaults"})
      SheetFor(pages, s);
    fileGroups(pages, {"Properties", "Data", "Annotations"});
    std::vector<TiPlotEditorField> general, title;
    for (const TiPlotEditorField& f : PlotEditorControlFields())
      (AnsiString(f.Sheet) == "Title" ? title : general).push_back(f);
    BuildFields(general, pages, nullptr, TNotifyEvent(this, &TiPlotEditorForm::GeneralChanged), "");
    BuildFields(title, pages, nullptr, TNotifyEvent(this, &TiPlotEditorForm::TitleChange), "");
  }

  // "Layout"
  {
    TWinControl* sheet = SheetFor(FPageControl, "Layout");
    FLayoutViewer = MakeControl<TiPlotLayoutViewer>(this, sheet, "iPlotLayoutViewer");
    FLayoutViewer->SetAlign(alClient);
    FLayoutViewer->OnChange = TNotifyEvent(this, &TiPlotEditorForm::iPlotLayoutViewerChange);
    FLayoutViewer->OnMouseDown = TMouseEvent(this, &TiPlotEditorForm::iPlotLayoutViewerMouseDown);
    FLayoutPopupMenu = new TPopupMenu(this);
    FLayoutPopupMenu->SetName("LayoutPopupMenu");
    FLayoutPopupMenu->OnPopup = TNotifyEvent(this, &TiPlotEditorForm::LayoutPopupMenuPopup);
    const struct {
      const char* Name;
      const char* Caption;
      void (TiPlotEditorForm::*Click)(TObject*);
    } items[] = {
        {"XYAxesReverseMenuItem", "XY-Axes Reverse", &TiPlotEditorForm::XYAxesReverseMenuItemClick},
        {"AddXAxisMenuItem", "Add X-Axis", &TiPlotEditorForm::AddXAxisMenuItemClick},
        {"AddYAxisMenuItem", "Add Y-Axis", &TiPlotEditorForm::AddYAxisMenuItemClick},
        {"AddLabelMenuItem", "Add Label", &TiPlotEditorForm::AddLabelMenuItemClick},
        {"DeleteMenuItem", "Delete", &TiPlotEditorForm::DeleteMenuItemClick},
        {"VisibleMenuItem", "Visible", &TiPlotEditorForm::VisibleMenuItemClick},
        {"EditMenuItem", "Edit", &TiPlotEditorForm::EditMenuItemClick},
    };
    for (const auto& it : items) {
      auto* item = new TMenuItem(this);
      item->SetName(it.Name);
      item->SetCaption(it.Caption);
      item->OnClick = TNotifyEvent(this, it.Click);
      FLayoutPopupMenu->Items()->Add(item);
    }
    FLayoutViewer->SetPopupMenu(FLayoutPopupMenu);
  }

  // the object pages
  const auto& pages = PlotEditorPages();
  for (int32_t p = 0; p < ipepCount; ++p) {
    const TiPlotEditorPage& page = pages[size_t(p)];
    TWinControl* sheet = SheetFor(FPageControl, page.Caption);
    FPageSheets[size_t(p)] = dynamic_cast<TTabSheet*>(sheet);
    const AnsiString prefix = page.Prefix;
    auto* list = MakeControl<TiComponentEditorListBox>(this, sheet, prefix + "ListBox");
    list->SetBounds(4, 4, kListWidth, sheetH - 40);
    list->SetVisible(page.ListVisible);
    list->OnClick = TNotifyEvent(this, &TiPlotEditorForm::ListBoxClick);
    using GetData = void (TiPlotEditorForm::*)(int32_t, bool&, TColor&, AnsiString&);
    static constexpr GetData kGetData[ipepCount] = {
        &TiPlotEditorForm::ListBoxGetData<0>, &TiPlotEditorForm::ListBoxGetData<1>,
        &TiPlotEditorForm::ListBoxGetData<2>, &TiPlotEditorForm::ListBoxGetData<3>,
        &TiPlotEditorForm::ListBoxGetData<4>, &TiPlotEditorForm::ListBoxGetData<5>,
        &TiPlotEditorForm::ListBoxGetData<6>, &TiPlotEditorForm::ListBoxGetData<7>,
        &TiPlotEditorForm::ListBoxGetData<8>, &TiPlotEditorForm::ListBoxGetData<9>};
    list->OnGetData = TiListBoxGetDataEvent(this, kGetData[p]);
    FLists[size_t(p)] = list;
    if (page.AddButton) {
      auto* add = MakeControl<TiComponentEditorButton>(this, sheet, page.AddButton);
      add->SetCaption("Add");
      add->SetBounds(4, sheetH - 32, kListWidth / 2 - 2, 22);
      add->OnClick = TNotifyEvent(this, &TiPlotEditorForm::AddButtonClick);
      auto* remove = MakeControl<TiComponentEditorButton>(this, sheet, page.RemoveButton);
      remove->SetCaption("Remove");
      remove->SetBounds(4 + kListWidth / 2, sheetH - 32, kListWidth / 2 - 2, 22);
      remove->OnClick = TNotifyEvent(this, &TiPlotEditorForm::RemoveButtonClick);
    }
    const int32_t left = page.ListVisible ? kListWidth + 8 : 0;
    bool hasSheets = false;
    for (const auto& f : page.Fields) hasSheets = hasSheets || (f.Sheet && *f.Sheet);
    const TNotifyEvent change(this, &TiPlotEditorForm::PageChanged);
    if (hasSheets) {
      auto* sub = MakeControl<TiComponentEditorPageControl>(this, sheet, prefix + "PageControl");
      sub->SetBounds(left, 0, sheetW - left, sheetH);
      // The sheets take the order of their first rows.
      for (const auto& f : page.Fields) {
        const AnsiString s = f.Sheet;
        SheetFor(sub, s.substr(0, s.find('>')).c_str());
      }
      fileGroups(sub, {"Properties", "Data"});
      FSubPages[size_t(p)] = sub;
      BuildFields(page.Fields, sub, nullptr, change, prefix, !page.ListVisible);
    } else {
      auto* panel = MakeControl<TPanel>(this, sheet, "");
      panel->SetBounds(left, 0, sheetW - left, sheetH);
      panel->SetBevelOuter(bvNone);
      BuildFields(page.Fields, nullptr, panel, change, prefix, !page.ListVisible);
    }
  }
  BuildFileControls();
  LayOutPages();
}

void TiPlotEditorForm::LayOutPages() {
  if (FPlan && FPageControl) LayOutTree(FPageControl);
}

// ============================================================================================
// loading and writing
// ============================================================================================

namespace {

// The first item equal to Text regardless of case, -1 when none.
int32_t IndexOfTextNoCase(TStrings* Items, const AnsiString& Text) {
  for (int32_t i = 0; i < Items->Count(); ++i)
    if (SameText(Items->Strings(i), Text)) return i;
  return -1;
}

AnsiString ChooserSpecial(TiPlotMasterManager* Master, const char* Text) {
  TiPlotTranslationManager* t = Master ? Master->GetTranslationManager() : nullptr;
  return t ? t->TranslateText(Text) : AnsiString(Text);
}

}  // namespace

void TiPlotEditorForm::FillChooser(TiComponentEditorComboBox* Combo, TiPlotEditorFieldKind Kind) {
  if (!FMaster || !Combo) return;
  TiPlotObjectManagerCustom* source = nullptr;
  switch (Kind) {
    case ipefXAxes:
    case ipefGridXAxes:
      source = FMaster->GetXAxisManager();
      break;
    case ipefYAxes:
    case ipefGridYAxes:
      source = FMaster->GetYAxisManager();
      break;
    case ipefChannels:
      source = FMaster->GetChannelManager();
      break;
    default:
      return;
  }
  if (!source) return;
  const AnsiString shown = Combo->GetAsString();
  TStrings* items = Combo->GetItems();
  items->BeginUpdate();
  items->Clear();
  if (Kind == ipefChannels)
    items->Add(ChooserSpecial(FMaster, "<All>"));
  else
    items->Add(ChooserSpecial(FMaster, "<None>"));
  for (int32_t i = 0; i < source->Count(); ++i) items->Add(source->Items(i)->GetName());
  if (Kind == ipefGridXAxes || Kind == ipefGridYAxes) items->Add(ChooserSpecial(FMaster, "<All>"));
  items->EndUpdate();
  Combo->SetAsInteger(IndexOfTextNoCase(items, shown));
}

void TiPlotEditorForm::NameComboBoxDropDown(TObject* Sender) {
  for (const auto& page : PlotEditorPages())
    for (const auto& f : page.Fields)
      if (f.Kind >= ipefXAxes && FindComponent(f.Control) == Sender)
        FillChooser(static_cast<TiComponentEditorComboBox*>(Sender), f.Kind);
}

void TiPlotEditorForm::LoadField(const TiPlotEditorField& Field, TObject* Target) {
  TComponent* c = FindComponent(Field.Control);
  const TPropInfo* prop = c ? GetPropInfo(Target, Field.Property) : nullptr;
  if (!prop) return;
  switch (Field.Kind) {
    case ipefEdit: {
      auto* e = static_cast<TiComponentEditorEdit*>(c);
      switch (prop->Kind()) {
        case tkInteger:
        case tkInt64:
          e->SetAsInteger(int32_t(GetOrdProp(Target, prop)));
          break;
        case tkFloat:
          e->SetAsFloat(double(GetFloatProp(Target, prop)));
          break;
        default:
          e->SetAsString(GetStrProp(Target, prop));
      }
      break;
    }
    case ipefCheck:
      static_cast<TiComponentEditorCheckBox*>(c)->SetAsBoolean(GetOrdProp(Target, prop) != 0);
      break;
    case ipefRadio:
      static_cast<TiComponentEditorRadioGroup*>(c)->SetAsInteger(int32_t(GetOrdProp(Target, prop)));
      break;
    case ipefCombo:
      static_cast<TiComponentEditorComboBox*>(c)->SetAsInteger(int32_t(GetOrdProp(Target, prop)));
      break;
    case ipefText:
      static_cast<TiComponentEditorComboBox*>(c)->SetAsString(GetStrProp(Target, prop));
      break;
    case ipefColor:
      static_cast<TiComponentEditorColorPicker*>(c)->SetAsColor(TColor(GetOrdProp(Target, prop)));
      break;
    case ipefFont:
      if (auto* font = dynamic_cast<TFont*>(GetObjectProp(Target, prop)))
        static_cast<TiComponentEditorFontPicker*>(c)->GetPickerFont()->Assign(font);
      break;
    default: {  // name choosers
      auto* combo = static_cast<TiComponentEditorComboBox*>(c);
      combo->SetAsInteger(IndexOfTextNoCase(combo->GetItems(), GetStrProp(Target, prop)));
    }
  }
}

void TiPlotEditorForm::WriteField(const TiPlotEditorField& Field, TObject* Target) {
  TComponent* c = FindComponent(Field.Control);
  const TPropInfo* prop = c ? GetPropInfo(Target, Field.Property) : nullptr;
  if (!prop) return;
  switch (Field.Kind) {
    case ipefEdit: {
      auto* e = static_cast<TiComponentEditorEdit*>(c);
      switch (prop->Kind()) {
        case tkInteger:
        case tkInt64:
          SetOrdProp(Target, prop, e->GetAsInteger());
          break;
        case tkFloat:
          SetFloatProp(Target, prop, e->GetAsFloat());
          break;
        default:
          SetStrProp(Target, prop, e->GetAsString());
      }
      break;
    }
    case ipefCheck:
      SetOrdProp(Target, prop, static_cast<TiComponentEditorCheckBox*>(c)->GetAsBoolean() ? 1 : 0);
      break;
    case ipefRadio:
    case ipefCombo: {
      const int32_t index = Field.Kind == ipefRadio
                                ? static_cast<TiComponentEditorRadioGroup*>(c)->GetAsInteger()
                                : static_cast<TiComponentEditorComboBox*>(c)->GetAsInteger();
      // An empty choice names no value of the enumeration.
      if (index >= 0) SetOrdProp(Target, prop, index);
      break;
    }
    case ipefColor:
      SetOrdProp(Target, prop, int64_t(static_cast<TiComponentEditorColorPicker*>(c)->GetAsColor()));
      break;
    case ipefFont:
      SetObjectProp(Target, prop, static_cast<TiComponentEditorFontPicker*>(c)->GetPickerFont());
      break;
    default:  // the date/time format and the name choosers write the displayed text
      SetStrProp(Target, prop, static_cast<TiComponentEditorComboBox*>(c)->GetAsString());
  }
}

// The channel rows a TiPlotChannel adds begin at "FillEnabled".
static bool IsChannelDrawField(const TiPlotEditorField& Field) {
  static const AnsiString first = "ChannelFillEnabledCheckBox";
  const auto& rows = PlotEditorPages()[ipepChannel].Fields;
  for (const auto& f : rows) {
    if (f.Control == first) return false;  // reached before Field: Field is of the first group
    if (&f == &Field) return false;
  }
  return true;
}

void TiPlotEditorForm::LoadPage(int32_t Page) {
  const TiPlotEditorPage& page = PlotEditorPages()[size_t(Page)];
  for (const auto& f : page.Fields)
    if (f.Kind >= ipefXAxes && !((Page == ipepXAxis || Page == ipepYAxis)))
      FillChooser(static_cast<TiComponentEditorComboBox*>(FindComponent(f.Control)), f.Kind);
  TiPlotObject* obj = SelectedObject(Page);
  if (!obj) {
    DisablePageControls(page.Prefix);
    if (Page == ipepChannel) SetPageVisibleParts(Page);
    FLists[size_t(Page)]->Invalidate();
    return;
  }
  EnablePageControls(page.Prefix);
  if (Page == ipepXAxis || Page == ipepYAxis)
    for (const auto& f : page.Fields)
      if (f.Kind >= ipefXAxes)
        FillChooser(static_cast<TiComponentEditorComboBox*>(FindComponent(f.Control)), f.Kind);
  const bool drawn = dynamic_cast<TiPlotChannel*>(obj) != nullptr;
  for (const auto& f : page.Fields)
    if (Page != ipepChannel || drawn || !IsChannelDrawField(f)) LoadField(f, obj);
  SetPageVisibleParts(Page);
  // The statistics show one channel's figures: another one selected, however, shows none.
  if (Page == ipepChannel && FStatsChannel && FStatsChannel != obj) ResetChannelStats();
  if (auto* channel = dynamic_cast<TiPlotChannelCustom*>(obj); channel && Page == ipepChannel) {
    const bool logging = channel->GetLoggingActive();
    const auto enable = [this](const char* Name, bool Value) {
      if (auto* c = dynamic_cast<TControl*>(FindComponent(Name))) c->SetEnabled(Value);
    };
    enable("ChannelLogFileNameEdit", !logging);
    enable("ChannelLogFileNamePicker", !logging);
    enable("ChannelLogActivateButton", !logging);
    enable("ChannelLogDeactivateButton", logging);
  }
  FLists[size_t(Page)]->Invalidate();
}

void TiPlotEditorForm::SetPageVisibleParts(int32_t Page) {
  if (Page == ipepLabel) {
    if (auto* b = dynamic_cast<TControl*>(FindComponent("LabelRemoveButton")))
      b->SetEnabled(FLists[ipepLabel]->GetItemIndex() > 0);
  }
  if (Page != ipepChannel || !FMaster) return;
  // The fill, digital, high/low and bar drawing belong to the Y-T channel and its descendants.
  const TiPlotObjectClass* cls = FMaster->GetChannelClass();
  const bool xy = cls && cls->Info && !cls->Info().InheritsFrom(TiPlotChannel::ClassInfo());
  if (TPageControl* sub = FSubPages[ipepChannel])
    for (int32_t i = 0; i < sub->PageCount(); ++i) {
      const AnsiString cap = sub->Pages(i)->GetCaption();
      if (cap == "Fill" || cap == "Digital" || cap == "High/Low" || cap == "Bar")
        sub->Pages(i)->SetTabVisible(!xy);
    }
  for (const char* name : {"ChannelFastDrawCheckBox", "ChannelInterpolationStyleComboBox"})
    if (auto* c = dynamic_cast<TWinControl*>(FindComponent(name))) {
      c->SetVisible(!xy);
      for (int32_t i = 0; i < ComponentCount(); ++i)
        if (auto* caption = dynamic_cast<TCustomLabel*>(Components(i));
            caption && caption->GetFocusControl() == c)
          caption->SetVisible(!xy);
    }
}

void TiPlotEditorForm::ChangePage(int32_t Page) {
  TiPlotObject* obj = SelectedObject(Page);
  if (!obj || FLoading) return;
  const bool drawn = dynamic_cast<TiPlotChannel*>(obj) != nullptr;
  for (const auto& f : PlotEditorPages()[size_t(Page)].Fields)
    if (Page != ipepChannel || drawn || !IsChannelDrawField(f)) WriteField(f, obj);
  if (auto* channel = dynamic_cast<TiPlotChannelCustom*>(obj))
    SetPickerFileName(FindComponent("ChannelLogFileNamePicker"), channel->GetLogFileName());
  switch (Page) {
    case ipepDataCursor:
    case ipepLimit:
    case ipepLabel:
      if (Page == ipepLabel && FLists[ipepLabel]->GetItemIndex() == 0) LoadControlPage();
      LoadPage(Page);
      break;
    case ipepTable:
      break;
    default:
      LoadAllPages();
  }
}

void TiPlotEditorForm::PageChanged(TObject* Sender) {
  auto* c = dynamic_cast<TComponent*>(Sender);
  if (!c) return;
  // The longest matching prefix: "DataCursorChannel..." belongs to the data-cursor page.
  int32_t best = -1;
  size_t length = 0;
  for (int32_t p = 0; p < ipepCount; ++p) {
    const AnsiString prefix = PlotEditorPages()[size_t(p)].Prefix;
    if (prefix.size() > length && StartsWithNoCase(c->GetName(), prefix)) {
      best = p;
      length = prefix.size();
    }
  }
  if (best >= 0) ChangePage(best);
}

void TiPlotEditorForm::LoadAllPages() {
  for (int32_t p : {ipepToolBar, ipepLegend, ipepXAxis, ipepYAxis, ipepChannel, ipepDataView, ipepDataCursor,
                    ipepLimit, ipepLabel, ipepTable})
    LoadPage(p);
}

void TiPlotEditorForm::DisablePageControls(const AnsiString& Prefix) {
  SetPageControlsEnabled(Prefix, false);
}

void TiPlotEditorForm::EnablePageControls(const AnsiString& Prefix) { SetPageControlsEnabled(Prefix, true); }

// The editor controls blank themselves when disabled; others only grey.
template <class T>
static bool EditorEnable(TComponent* C, bool Value) {
  auto* t = dynamic_cast<T*>(C);
  if (!t) return false;
  if (Value)
    t->Enable();
  else
    t->Disable();
  return true;
}

void TiPlotEditorForm::SetPageControlsEnabled(const AnsiString& Prefix, bool Value) {
  for (int32_t i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (!StartsWithNoCase(c->GetName(), Prefix)) continue;
    if (dynamic_cast<TPageControl*>(c) || dynamic_cast<TTabSheet*>(c) || dynamic_cast<TCustomLabel*>(c))
      continue;
    if (EditorEnable<TiComponentEditorComboBox>(c, Value) ||
        EditorEnable<TiComponentEditorRadioGroup>(c, Value) ||
        EditorEnable<TiComponentEditorEdit>(c, Value) || EditorEnable<TiComponentEditorCheckBox>(c, Value) ||
        EditorEnable<TiComponentEditorColorPicker>(c, Value) ||
        EditorEnable<TiComponentEditorPickerButton>(c, Value) || EditorEnable<TiUpDown>(c, Value))
      continue;
    if (auto* ctl = dynamic_cast<TControl*>(c)) ctl->SetEnabled(Value);
  }
}

void TiPlotEditorForm::SetTranslationMethods(const TFormTranslationMethod& Method) {
  for (int32_t i = 0; i < ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TiComponentEditorValueConverterPicker*>(Components(i)))
      p->TranslationMethod = Method;
}

// ============================================================================================
// object lists
// ============================================================================================

TiPlotKindManager* TiPlotEditorForm::ManagerOf(int32_t Page) const {
  if (!FMaster) return nullptr;
  switch (Page) {
    case ipepChannel:
      return FMaster->GetChannelManager();
    case ipepDataCursor:
      return FMaster->GetDataCursorManager();
    case ipepLimit:
      return FMaster->GetLimitManager();
    case ipepLabel:
      return FMaster->GetLabelManager();
    case ipepXAxis:
      return FMaster->GetXAxisManager();
    case ipepYAxis:
      return FMaster->GetYAxisManager();
    case ipepLegend:
      return FMaster->GetLegendManager();
    case ipepTable:
      return FMaster->GetTableManager();
    case ipepToolBar:
      return FMaster->GetToolBarManager();
    case ipepDataView:
      return FMaster->GetDataViewManager();
    default:
      return nullptr;
  }
}

TiPlotObject* TiPlotEditorForm::SelectedObject(int32_t Page) const {
  TiComponentEditorListBox* list = FLists[size_t(Page)];
  const int32_t i = list ? list->GetItemIndex() : -1;
  return i < 0 ? nullptr : static_cast<TiPlotObject*>(list->GetItems()->Objects(i));
}

int32_t TiPlotEditorForm::PageOf(const TiPlotObject* Obj) const {
  for (int32_t p = 0; p < ipepCount; ++p)
    if (TiPlotKindManager* m = ManagerOf(p))
      if (m->IsKind(Obj)) return p;
  return -1;
}

void TiPlotEditorForm::ObjectInserted(TiPlotObject* Obj) {
  const int32_t p = PageOf(Obj);
  if (p < 0) return;
  TiComponentEditorListBox* list = FLists[size_t(p)];
  if (list->GetItems()->IndexOfObject(Obj) >= 0) return;
  list->GetItems()->AddObject("", Obj);
  list->SelectLast();
  LoadPage(p);
}

void TiPlotEditorForm::ObjectRemoved(TiPlotObject* Obj) {
  if (FLayoutHitObject == Obj) FLayoutHitObject = nullptr;
  for (TiComponentEditorListBox* list : FLists)
    if (list) list->RemoveObject(Obj);
  if (FStatsChannel == Obj) ResetChannelStats();
}

void TiPlotEditorForm::ObjectRenamed(TiPlotObject* Obj) {
  const AnsiString before = Obj->GetPreviousName();
  for (const auto& page : PlotEditorPages())
    for (const auto& f : page.Fields) {
      if (f.Kind < ipefXAxes) continue;
      auto* combo = dynamic_cast<TiComponentEditorComboBox*>(FindComponent(f.Control));
      if (!combo || !SameText(combo->GetAsString(), before)) continue;
      FillChooser(combo, f.Kind);
      const int32_t at = combo->GetItems()->IndexOf(Obj->GetName());
      combo->SetAsInteger(at);
    }
  for (TiComponentEditorListBox* list : FLists)
    if (list) list->Invalidate();
}

namespace {

using TPlotEditorAdd = int32_t (TiPlotMasterManager::*)();

// The add operation of each page with an Add button.
TPlotEditorAdd PlotEditorAddOperation(int32_t Page) {
  switch (Page) {
    case ipepChannel:
      return &TiPlotMasterManager::AddChannel;
    case ipepDataCursor:
      return &TiPlotMasterManager::AddDataCursor;
    case ipepLimit:
      return &TiPlotMasterManager::AddLimit;
    case ipepLabel:
      return &TiPlotMasterManager::AddLabel;
    case ipepXAxis:
      return &TiPlotMasterManager::AddXAxis;
    case ipepYAxis:
      return &TiPlotMasterManager::AddYAxis;
    case ipepTable:
      return &TiPlotMasterManager::AddTable;
    default:
      return nullptr;
  }
}

}  // namespace

void TiPlotEditorForm::AddButtonClick(TObject* Sender) {
  if (!FMaster) return;
  auto* c = dynamic_cast<TComponent*>(Sender);
  for (int32_t p = 0; p < ipepCount; ++p) {
    const TiPlotEditorPage& page = PlotEditorPages()[size_t(p)];
    if (!page.AddButton || !c || c->GetName() != page.AddButton) continue;
    if (const TPlotEditorAdd add = PlotEditorAddOperation(p)) (FMaster->*add)();
    FLists[size_t(p)]->SelectLast();
    LoadPage(p);
    if (p == ipepChannel) ResetChannelStats();
  }
}

void TiPlotEditorForm::RemoveButtonClick(TObject* Sender) {
  auto* c = dynamic_cast<TComponent*>(Sender);
  for (int32_t p = 0; p < ipepCount; ++p) {
    const TiPlotEditorPage& page = PlotEditorPages()[size_t(p)];
    if (!page.RemoveButton || !c || c->GetName() != page.RemoveButton) continue;
    // Destroying the object takes its item out of the list through the remove handler.
    if (TiPlotObject* obj = SelectedObject(p)) TiPlotObject::FreeObject(obj);
    LoadPage(p);
    if (p == ipepXAxis || p == ipepYAxis) LoadPage(ipepChannel);
    if (p == ipepChannel) ResetChannelStats();
  }
}

void TiPlotEditorForm::ListBoxClick(TObject* Sender) {
  for (int32_t p = 0; p < ipepCount; ++p)
    if (FLists[size_t(p)] == Sender) {
      LoadPage(p);
      if (p == ipepChannel) ResetChannelStats();
    }
}

void TiPlotEditorForm::GetListData(int32_t Page, int32_t Index, bool& DrawColorBox, TColor& AColor,
                                   AnsiString& AText) {
  TiComponentEditorListBox* list = FLists[size_t(Page)];
  auto* obj = static_cast<TiPlotObject*>(list->GetItems()->Objects(Index));
  if (!obj) return;
  AText = obj->GetName();
  DrawColorBox = false;
  if (Page == ipepChannel || Page == ipepDataCursor || Page == ipepLimit) {
    DrawColorBox = true;
    AColor = TColor(GetOrdProp(obj, "Color"));
  } else if (auto* axis = dynamic_cast<TiPlotAxis*>(obj)) {
    DrawColorBox = true;
    AColor = axis->GetLabelsFont()->GetColor();
  }
}

// ============================================================================================
// "Control" page, file actions and channel statistics
// ============================================================================================

void TiPlotEditorForm::LoadControlPage() {
  if (!FPlot) return;
  FLoading = true;
  try {
    for (const auto& f : PlotEditorControlFields()) LoadField(f, FPlot);
  } catch (...) {
    FLoading = false;
    throw;
  }
  FLoading = false;
  ControlPageLogButtons();
}

void TiPlotEditorForm::ApplyControlPage() {
  if (!FPlot) return;
  const bool logging = FPlot->GetLoggingActive();
  for (const auto& f : PlotEditorControlFields()) {
    // While the plot logs, its log format setters refuse even the value they hold; writing it
    // back would end every change of the page there, the log buttons' own included.
    if (logging && f.Kind == ipefCombo &&
        static_cast<TiComponentEditorComboBox*>(FindComponent(f.Control))->GetAsInteger() ==
            GetOrdProp(FPlot, f.Property))
      continue;
    WriteField(f, FPlot);
  }
  ControlPageLogButtons();
}

void TiPlotEditorForm::ControlPageLogButtons() {
  if (!FPlot) return;
  const bool logging = FPlot->GetLoggingActive();
  const auto enable = [this](const char* Name, bool Value) {
    if (auto* c = dynamic_cast<TControl*>(FindComponent(Name))) c->SetEnabled(Value);
  };
  enable("ControlLogActivateButton", !logging);
  enable("ControlLogDeactivateButton", logging);
  enable("ControlLogFileNameEdit", !logging);
  enable("ControlLogFileNamePicker", !logging);
}

void TiPlotEditorForm::GeneralChanged(TObject*) {
  if (FMaster) FMaster->ApplyEditor();
  if (auto* edit = dynamic_cast<TiComponentEditorEdit*>(FindComponent("ControlLogFileNameEdit")))
    SetPickerFileName(FindComponent("ControlLogFileNamePicker"), edit->GetAsString());
}

void TiPlotEditorForm::TitleChange(TObject*) {
  TiComponentEditorListBox* labels = FLists[ipepLabel];
  if (!labels || labels->Count() == 0) return;
  auto* title = static_cast<TiPlotLabel*>(labels->GetItems()->Objects(0));
  const auto* visible = static_cast<TiComponentEditorCheckBox*>(FindComponent("TitleVisibleCheckBox"));
  auto* text = static_cast<TiComponentEditorEdit*>(FindComponent("TitleTextEdit"));
  auto* margin = static_cast<TiComponentEditorEdit*>(FindComponent("TitleMarginEdit"));
  const auto* font = static_cast<TiComponentEditorFontPicker*>(FindComponent("TitleFontPicker"));
  title->SetVisible(visible->GetAsBoolean());
  title->SetCaption(text->GetAsString());
  title->SetMarginBottom(margin->GetAsFloat());
  title->GetFont()->Assign(font->GetPickerFont());
  LoadPage(ipepLabel);
}

namespace {

constexpr const char* kConfigFilter = "Config (*.cfg)|*.cfg|All Files (*.*)|*.*";
constexpr const char* kDataFilter = "Data (*.dat)|*.dat|All Files (*.*)|*.*";
constexpr const char* kLogFilter = "Log (*.log)|*.log|All Files (*.*)|*.*";
constexpr const char* kAnnotationFilter = "Annotations (*.ano)|*.ano|All Files (*.*)|*.*";

// The file pickers, their dialogs and what a confirmed dialog does.
struct TiEditorFileAction {
  const char* Name;
  const char* Caption;
  const char* Filter;
  const char* Ext;
  bool Save;
  void (*Run)(TiPlotEditorForm* Form, const AnsiString& FileName);
};

TiPlotChannelCustom* SelectedChannel(TiPlotEditorForm* Form) {
  return dynamic_cast<TiPlotChannelCustom*>(Form->SelectedObject(ipepChannel));
}

void SetEditText(TiPlotEditorForm* Form, const char* Edit, const AnsiString& Text) {
  if (auto* e = dynamic_cast<TiComponentEditorEdit*>(Form->FindComponent(Edit))) e->SetAsString(Text);
}

const TiEditorFileAction kFileActions[] = {
    {"ControlPropertiesOpenPicker", "Load", kConfigFilter, "cfg", false,
     [](TiPlotEditorForm* F, const AnsiString& N) {
       F->Plot()->LoadPropertyFile(N);
       F->LoadAllPages();
     }},
    {"ControlPropertiesSavePicker", "Save", kConfigFilter, "cfg", true,
     [](TiPlotEditorForm* F, const AnsiString& N) { F->Plot()->SavePropertyFile(N); }},
    {"ControlDataOpenPicker", "Load", "Data (*.dat)|*.dat|Log (*.log)|*.log|All Files (*.*)|*.*", "dat",
     false,
     [](TiPlotEditorForm* F, const AnsiString& N) {
       F->Plot()->ClearAllData();
       F->Plot()->LoadDataFromFile(N);
     }},
    {"ControlDataSavePicker", "Save", kDataFilter, "dat", true,
     [](TiPlotEditorForm* F, const AnsiString& N) { F->Plot()->SaveDataToFile(N); }},
    {"ControlAnnotationOpenPicker", "Load", kAnnotationFilter, "dat", false,
     [](TiPlotEditorForm* F, const AnsiString& N) { F->Plot()->LoadAnnotationsFromFile(N); }},
    {"ControlAnnotationSavePicker", "Save", kAnnotationFilter, "dat", true,
     [](TiPlotEditorForm* F, const AnsiString& N) { F->Plot()->SaveAnnotationsToFile(N); }},
    {"ControlLogFileNamePicker", "...", kLogFilter, "log", true,
     [](TiPlotEditorForm* F, const AnsiString& N) {
       SetEditText(F, "ControlLogFileNameEdit", N);
       F->Master()->ApplyEditor();
     }},
    {"ChannelPropertiesOpenPicker", "Load", kConfigFilter, "cfg", false,
     [](TiPlotEditorForm* F, const AnsiString& N) {
       if (TiPlotChannelCustom* c = SelectedChannel(F)) c->LoadPropertiesFromFile(N);
       F->PageList(ipepChannel)->Invalidate();
     }},
    {"ChannelPropertiesSavePicker", "Save", kConfigFilter, "cfg", true,
     [](TiPlotEditorForm* F, const AnsiString& N) {
       if (TiPlotChannelCustom* c = SelectedChannel(F)) c->SavePropertiesToFile(N);
     }},
    {"ChannelDataOpenPicker", "Load", kDataFilter, "dat", false,
     [](TiPlotEditorForm* F, const AnsiString& N) {
       if (TiPlotChannelCustom* c = SelectedChannel(F)) c->LoadDataFromFile(N, true);
     }},
    {"ChannelDataSavePicker", "Save", kDataFilter, "dat", true,
     [](TiPlotEditorForm* F, const AnsiString& N) {
       if (TiPlotChannelCustom* c = SelectedChannel(F)) c->SaveDataToFile(N);
     }},
    {"ChannelLogFileNamePicker", "...", kLogFilter, "log", true,
     [](TiPlotEditorForm* F, const AnsiString& N) {
       SetEditText(F, "ChannelLogFileNameEdit", N);
       F->ChangePage(ipepChannel);
     }},
};

}  // namespace

void TiPlotEditorForm::FilePickerChange(TObject* Sender) {
  for (const auto& a : kFileActions) {
    TComponent* c = FindComponent(a.Name);
    if (c != Sender) continue;
    if (auto* open = dynamic_cast<TiComponentEditorOpenPicker*>(c)) a.Run(this, open->FileName);
    if (auto* save = dynamic_cast<TiComponentEditorSavePicker*>(c)) a.Run(this, save->FileName);
  }
}

// The file pickers' group on their "File I/O" sheet, from their names ("ControlDataOpenPicker").
static const char* FileGroupOf(const AnsiString& Name) {
  for (const char* g : {"Properties", "Data", "Annotation"})
    if (Name.find(g) == AnsiString(Name.rfind("Control", 0) == 0 ? "Control" : "Channel").size())
      return AnsiString(g) == "Annotation" ? "Annotations" : g;
  return "Log";
}

// "ChannelStatsPointCountDisplay" -> "Point Count", "ChannelStatsXMinDisplay" -> "X Min"
static AnsiString StatsCaption(const AnsiString& Name) {
  const AnsiString core = Name.substr(12, Name.size() - 12 - 7);
  const auto upper = [&](size_t i) { return i < core.size() && core[i] >= 'A' && core[i] <= 'Z'; };
  AnsiString out;
  for (size_t i = 0; i < core.size(); ++i) {
    if (i > 0 && upper(i) && (!upper(i - 1) || !upper(i + 1))) out += ' ';
    out += core[i];
  }
  return out;
}

void TiPlotEditorForm::BuildFileControls() {
  const auto sheetOf = [this](const char* PageControl) -> TWinControl* {
    auto* pc = dynamic_cast<TPageControl*>(FindComponent(PageControl));
    return pc ? SheetFor(pc, "File I/O") : nullptr;
  };
  TWinControl* control = sheetOf("ControlPageControl");
  TWinControl* channel = sheetOf("ChannelPageControl");
  for (const auto& a : kFileActions) {
    TWinControl* sheet = AnsiString(a.Name).rfind("Control", 0) == 0 ? control : channel;
    if (!sheet) continue;
    TWinControl* parent = GroupFor(sheet, FileGroupOf(a.Name));
    TiComponentEditorPickerButton* b;
    if (a.Save) {
      auto* s = MakeControl<TiComponentEditorSavePicker>(this, parent, a.Name);
      s->Filter = a.Filter;
      s->DefaultExt = a.Ext;
      b = s;
    } else {
      auto* o = MakeControl<TiComponentEditorOpenPicker>(this, parent, a.Name);
      o->Filter = a.Filter;
      o->DefaultExt = a.Ext;
      b = o;
    }
    b->SetCaption(a.Caption);
    b->OnChange = TNotifyEvent(this, &TiPlotEditorForm::FilePickerChange);
    // The log file's "..." sits at the right of its name.
    const AnsiString name = a.Name;
    if (name.find("LogFileNamePicker") != AnsiString::npos) {
      b->SetWidth(21);
      AttachRight(dynamic_cast<TControl*>(FindComponent(name.substr(0, name.size() - 6) + "Edit")), b);
    } else {
      PlaceRow(parent, b);
    }
  }
  const struct {
    const char* Name;
    const char* Caption;
    TWinControl* Sheet;
  } buttons[] = {{"ControlLogActivateButton", "Activate", control},
                 {"ControlLogDeactivateButton", "Deactivate", control},
                 {"ChannelLogActivateButton", "Activate", channel},
                 {"ChannelLogDeactivateButton", "Deactivate", channel}};
  for (const auto& it : buttons) {
    if (!it.Sheet) continue;
    TWinControl* parent = GroupFor(it.Sheet, "Log");
    auto* b = MakeControl<TiComponentEditorButton>(this, parent, it.Name);
    b->SetCaption(it.Caption);
    b->OnClick = TNotifyEvent(this, &TiPlotEditorForm::LogButtonClick);
    PlaceRow(parent, b);
  }
  for (const char* axis : {"XAxis", "YAxis"})
    if (auto* pc = dynamic_cast<TPageControl*>(FindComponent(AnsiString(axis) + "LabelsPageControl")))
      for (const char* set : {"Cursor", "Legend"}) {
        TWinControl* sheet = SheetFor(pc, set);
        auto* b =
            MakeControl<TiComponentEditorButton>(this, sheet, AnsiString(axis) + set + "CopyDefaultButton");
        b->SetCaption("Copy Default");
        b->OnClick = TNotifyEvent(this, &TiPlotEditorForm::CopyDefaultButtonClick);
        PlaceRow(sheet, b);
      }
  // Statistics: the eleven value labels and the refresh button.
  if (auto* pc = dynamic_cast<TPageControl*>(FindComponent("ChannelPageControl"))) {
    TWinControl* stats = SheetFor(pc, "Stats");
    for (const char* name : kChannelStatsDisplays) {
      auto* l = MakeControl<TLabel>(this, stats, "");
      l->SetCaption(StatsCaption(name));
      auto* v = MakeControl<TLabel>(this, stats, name);
      PlaceRow(stats, v, l);
    }
    auto* refresh = MakeControl<TiComponentEditorButton>(this, stats, "ChannelStatsRefreshButton");
    refresh->SetCaption("Refresh");
    refresh->OnClick = TNotifyEvent(this, &TiPlotEditorForm::ChannelStatsRefreshButtonClick);
    PlaceRow(stats, refresh);
  }
}

void TiPlotEditorForm::CopyDefaultButtonClick(TObject* Sender) {
  auto* c = dynamic_cast<TComponent*>(Sender);
  if (!c) return;
  const AnsiString name = c->GetName();
  const AnsiString axis = name.substr(0, 5);
  const AnsiString set = name.substr(5, 6);  // "Cursor" or "Legend"
  const auto combo = [&](const AnsiString& Name) {
    return static_cast<TiComponentEditorComboBox*>(FindComponent(axis + Name));
  };
  const auto edit = [&](const AnsiString& Name) {
    return static_cast<TiComponentEditorEdit*>(FindComponent(axis + Name));
  };
  combo(set + "FormatStyleComboBox")->SetAsInteger(combo("LabelFormatStyleComboBox")->GetAsInteger());
  combo(set + "DateTimeFormatComboBox")->SetAsString(combo("DateTimeFormatComboBox")->GetAsString());
  combo(set + "PrecisionStyleComboBox")->SetAsInteger(combo("LabelPrecisionStyleComboBox")->GetAsInteger());
  edit(set + "PrecisionEdit")->SetAsString(edit("LabelPrecisionEdit")->GetAsString());
  edit(set + "MinLengthEdit")->SetAsString(edit("LabelMinLengthEdit")->GetAsString());
  static_cast<TiComponentEditorCheckBox*>(FindComponent(axis + set + "MinLengthAutoAdjustCheckBox"))
      ->SetAsBoolean(
          static_cast<TiComponentEditorCheckBox*>(FindComponent(axis + "LabelMinLengthAutoAdjustCheckBox"))
              ->GetAsBoolean());
  ChangePage(axis == "XAxis" ? ipepXAxis : ipepYAxis);
}

void TiPlotEditorForm::LogButtonClick(TObject* Sender) {
  auto* c = dynamic_cast<TComponent*>(Sender);
  if (!c || !FPlot) return;
  const AnsiString name = c->GetName();
  if (name == "ControlLogActivateButton") {
    FPlot->StartLogging(false);
    FMaster->ApplyEditor();
  } else if (name == "ControlLogDeactivateButton") {
    FPlot->StopLogging();
    FMaster->ApplyEditor();
  } else if (TiPlotChannelCustom* channel = SelectedChannel(this)) {
    if (name == "ChannelLogActivateButton")
      channel->ActivateLog(false);
    else
      channel->DeactivateLog();
    LoadChannelPage();
  }
}

void TiPlotEditorForm::ResetChannelStats() {
  FStatsChannel = nullptr;
  const bool any = SelectedObject(ipepChannel) != nullptr;
  for (const char* name : kChannelStatsDisplays)
    if (auto* l = dynamic_cast<TCustomLabel*>(FindComponent(name))) l->SetCaption(any ? "Click Refresh" : "");
}

void TiPlotEditorForm::ChannelStatsRefreshButtonClick(TObject*) {
  TiPlotChannelCustom* c = SelectedChannel(this);
  if (!c) {
    ResetChannelStats();
    return;
  }
  c->RecalcStatistics();
  FStatsChannel = c;
  // Without a counted point the minima, maxima and means hold no value to show.
  const bool counted = c->GetRunningCount() > 0;
  const auto axisText = [counted](TiPlotAxis* Axis, double Value) {
    return !counted ? AnsiString() : Axis ? Axis->LabelText(Value) : FloatToStr(Value);
  };
  const AnsiString values[] = {IntToStr(c->GetCount()),
                               IntToStr(c->GetCapacity()),
                               IntToStr(c->GetMemoryUsed()) + " Bytes",
                               IntToStr(c->GetElementSize()) + " Bytes",
                               IntToStr(c->GetMaxCount()),
                               axisText(c->GetXAxis(), c->GetXMinValue()),
                               axisText(c->GetXAxis(), c->GetXMaxValue()),
                               axisText(c->GetXAxis(), c->GetXMean()),
                               axisText(c->GetYAxis(), c->GetYMinValue()),
                               axisText(c->GetYAxis(), c->GetYMaxValue()),
                               axisText(c->GetYAxis(), c->GetYMean())};
  for (size_t i = 0; i < std::size(values); ++i)
    if (auto* l = dynamic_cast<TCustomLabel*>(FindComponent(kChannelStatsDisplays[i])))
      l->SetCaption(values[i]);
}

// ============================================================================================
// layout page
// ============================================================================================

void TiPlotEditorForm::iPlotLayoutViewerMouseDown(TObject*, TMouseButton, TShiftState, int32_t X, int32_t Y) {
  FLayoutHitObject = FLayoutViewer ? FLayoutViewer->ObjectAt(X, Y) : nullptr;
}

void TiPlotEditorForm::iPlotLayoutViewerChange(TObject*) { LoadAllPages(); }

void TiPlotEditorForm::LayoutPopupMenuPopup(TObject*) {
  const auto item = [this](const char* Name) { return static_cast<TMenuItem*>(FindComponent(Name)); };
  item("XYAxesReverseMenuItem")->SetChecked(FMaster && FMaster->GetXYAxesReverse());
  TMenuItem* del = item("DeleteMenuItem");
  TMenuItem* vis = item("VisibleMenuItem");
  TMenuItem* edit = item("EditMenuItem");
  del->SetEnabled(false);
  vis->SetEnabled(false);
  edit->SetEnabled(false);
  TiPlotLayoutObject* hit = FLayoutHitObject;
  if (!hit) return;
  const bool firstLabel = FLists[ipepLabel]->Count() > 0 && FLists[ipepLabel]->GetItems()->Objects(0) == hit;
  del->SetEnabled(dynamic_cast<TiPlotAxis*>(hit) || dynamic_cast<TiPlotTable*>(hit) ||
                  (dynamic_cast<TiPlotLabel*>(hit) && !firstLabel));
  vis->SetEnabled(!dynamic_cast<TiPlotDataView*>(hit));
  vis->SetChecked(hit->GetVisible());
  edit->SetEnabled(true);
}

void TiPlotEditorForm::XYAxesReverseMenuItemClick(TObject*) {
  if (FMaster) FMaster->SetXYAxesReverse(!FMaster->GetXYAxesReverse());
}
void TiPlotEditorForm::AddXAxisMenuItemClick(TObject*) {
  if (FMaster) FMaster->AddXAxis();
}
void TiPlotEditorForm::AddYAxisMenuItemClick(TObject*) {
  if (FMaster) FMaster->AddYAxis();
}
void TiPlotEditorForm::AddLabelMenuItemClick(TObject*) {
  if (FMaster) FMaster->AddLabel();
}

void TiPlotEditorForm::DeleteMenuItemClick(TObject*) {
  if (!FLayoutHitObject) return;
  TiPlotObject::FreeObject(FLayoutHitObject);  // the remove handler clears the hit object
  LoadAllPages();
}

void TiPlotEditorForm::VisibleMenuItemClick(TObject*) {
  if (!FLayoutHitObject) return;
  FLayoutHitObject->SetVisible(!FLayoutHitObject->GetVisible());
  // The title label's visibility is also a "Control" page value, written back with that page.
  if (FLists[ipepLabel]->Count() > 0 && FLists[ipepLabel]->GetItems()->Objects(0) == FLayoutHitObject)
    LoadControlPage();
  LoadAllPages();
}

void TiPlotEditorForm::EditMenuItemClick(TObject*) {
  if (FLayoutHitObject) ShowObject(FLayoutHitObject, true);
}

// ============================================================================================
// page memory and activation
// ============================================================================================

std::array<TPageControl*, 14> TiPlotEditorForm::RememberedPageControls() const {
  static const char* const names[14] = {"PageControl",
                                        "ControlPageControl",
                                        "ChannelPageControl",
                                        "XAxisPageControl",
                                        "XAxisLabelsPageControl",
                                        "YAxisPageControl",
                                        "YAxisLabelsPageControl",
                                        "DataCursorPageControl",
                                        "LimitPageControl",
                                        "LabelPageControl",
                                        "LegendPageControl",
                                        "TablePageControl",
                                        "DataViewPageControl",
                                        "DataViewGridLinesCustomPageControl"};
  std::array<TPageControl*, 14> out{};
  for (size_t i = 0; i < 14; ++i) out[i] = dynamic_cast<TPageControl*>(FindComponent(names[i]));
  return out;
}

void TiPlotEditorForm::ShowObject(TiPlotObject* Obj, bool Labels) {
  const int32_t p = PageOf(Obj);
  if (p < 0 || (p == ipepLabel && !Labels)) return;
  if (TTabSheet* sheet = FPageSheets[size_t(p)]) FPageControl->SetActivePage(sheet);
  const int32_t at = FLists[size_t(p)]->GetItems()->IndexOfObject(Obj);
  if (at >= 0) FLists[size_t(p)]->SetItemIndex(at);
  LoadPage(p);
}

void TiPlotEditorForm::LoadIfStayOnTop() {
  if (GetFormStyle() == fsStayOnTop && FMaster) LoadAllPages();
}

void TiPlotEditorForm::Dispatch(TMessage& Message) {
  TiCustomEditorForm::Dispatch(Message);
  if (Message.Msg == WM_ACTIVATE) LoadIfStayOnTop();
}

// ============================================================================================
// master manager's editor operations
// ============================================================================================

void TiPlotMasterManager::CreateEditor() {
  auto* plot = dynamic_cast<TiPlotComponent*>(FOwner);
  if (!plot || FEditorForm) return;
  TiPlotEditorForm* form = TCustomForm::Create<TiPlotEditorForm>(plot);
  FEditorForm = form;
  form->SetMaster(this);
  form->SetPlot(plot);
  form->SetTranslationMethods(TFormTranslationMethod(this, &TiPlotMasterManager::TranslateForm));
  form->OnClose = TCloseEvent(this, &TiPlotMasterManager::EditorClosed);
  if (TiPlotLayoutViewer* viewer = form->LayoutViewer()) {
    viewer->SetMasterManager(this);
    viewer->SetLayoutManager(FLayoutManager);
    viewer->SetTranslationManager(FTranslationManager);
  }
  const std::array<TiPlotObjectManagerCustom*, ipepCount> managers = {
      FChannelManager, FDataCursorManager, FLimitManager, FLabelManager,   FXAxisManager,
      FYAxisManager,   FLegendManager,     FTableManager, FToolBarManager, FDataViewManager};
  for (int32_t p = 0; p < ipepCount; ++p) {
    TiComponentEditorListBox* list = form->PageList(p);
    if (TiPlotObjectManagerCustom* m = managers[size_t(p)])
      for (int32_t i = 0; i < m->Count(); ++i) list->GetItems()->AddObject("", m->Items(i));
    list->SetItemIndex(list->Count() > 0 ? 0 : -1);
  }
  form->LoadAllPages();
  form->ResetChannelStats();
  const auto pages = form->RememberedPageControls();
  for (size_t i = 0; i < pages.size(); ++i)
    if (pages[i] && FEditorPages[i] >= 0 && FEditorPages[i] < pages[i]->PageCount())
      pages[i]->SetActivePageIndex(FEditorPages[i]);
  const bool channels = plot->GetUserCanAddRemoveChannels();
  for (const char* name : {"iChannelAddButton", "ChannelRemoveButton"})
    if (auto* c = dynamic_cast<TControl*>(form->FindComponent(name))) c->SetVisible(channels);
  TranslateForm(form);
  // Translated captions have other widths than the ones the pages were laid out for.
  form->LayOutPages();
}

void TiPlotMasterManager::ShowEditor() {
  auto* plot = dynamic_cast<TiPlotComponent*>(FOwner);
  if (!plot) return;
  if (!FEditorForm) CreateEditor();
  TiPlotEditorForm* form = FEditorForm;
  const bool modal = plot->GetEditorFormStyle() == ipfsModal;
  try {
    form->LoadControlPage();
    form->LoadAllPages();
    form->SetLeft(Screen->Width() / 2 - form->GetWidth() / 2);
    form->SetTop(Screen->Height() / 2 - form->GetHeight() / 2);
    plot->OnAfterOpenEditor(this);
    if (modal) {
      form->ShowModal();
    } else {
      form->SetFormStyle(fsStayOnTop);
      form->Show();
    }
    if (FEditorForm == form) {
      const auto pages = form->RememberedPageControls();
      for (size_t i = 0; i < pages.size(); ++i)
        if (pages[i]) FEditorPages[i] = pages[i]->GetActivePageIndex();
    }
  } catch (...) {
    if (modal && FEditorForm == form) {
      FEditorForm = nullptr;
      form->Free();
    }
    throw;
  }
  if (modal && FEditorForm == form) {
    FEditorForm = nullptr;
    form->Free();
  }
}

void TiPlotMasterManager::ShowEditorFor(TObject* Sender) {
  if (!dynamic_cast<TiPlotComponent*>(FOwner)) return;
  if (!FEditorForm) CreateEditor();
  if (auto* obj = dynamic_cast<TiPlotObject*>(Sender)) FEditorForm->ShowObject(obj, false);
  ShowEditor();
}

void TiPlotMasterManager::ApplyEditor() {
  if (FEditorForm && dynamic_cast<TiPlotComponent*>(FOwner)) FEditorForm->ApplyControlPage();
}

void TiPlotMasterManager::EditorClosed(TObject*, TCloseAction&) {
  auto* plot = dynamic_cast<TiPlotComponent*>(FOwner);
  if (!plot || !FEditorForm || plot->GetEditorFormStyle() != ipfsStayOnTop) return;
  // Released once the close has returned, so the form is not used after it is freed.
  FEditorForm->Release();
  FEditorForm = nullptr;
}

void TiPlotMasterManager::EditorObjectInserted(TiPlotObject* Obj) {
  if (FEditorForm) FEditorForm->ObjectInserted(Obj);
}

void TiPlotMasterManager::EditorObjectRemoved(TiPlotObject* Obj) {
  if (FEditorForm) FEditorForm->ObjectRemoved(Obj);
}

void TiPlotMasterManager::EditorObjectRenamed(TiPlotObject* Obj) {
  if (FEditorForm) FEditorForm->ObjectRenamed(Obj);
}

void TiPlotMasterManager::FreeEditor() {
  TiPlotEditorForm* form = FEditorForm;
  FEditorForm = nullptr;
  if (form) form->Free();
}
