#include "fuzz/support/Definitions.h"

#include "fuzz/support/FuzzSupport.h"
#include "platform/data/DBGrids.h"
#include "platform/data/DBTables.h"
#include "platform/runtime/FormText.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/ImgList.h"

namespace fuzz {

const TClassInfo& TFuzzPictureBox::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFuzzPictureBox, TGraphicControl>("TFuzzPictureBox")
                                     .Object("Picture", &TFuzzPictureBox::GetPicture,
                                             &TFuzzPictureBox::SetPicture);
  return info;
}

TFuzzPictureBox::TFuzzPictureBox(TComponent* AOwner) : TGraphicControl(AOwner), picture_(new TPicture) {}

TFuzzPictureBox::~TFuzzPictureBox() { delete picture_; }

void TFuzzPictureBox::Paint() {
  if (TGraphic* g = picture_->GetGraphic()) GetCanvas()->StretchDraw(GetClientRect(), g);
}

// Queries are left out: their SQL, read from a definition, could reach any file.
void RegisterDefinitionClasses() {
  static const bool done = [] {
    RegisterClasses({&TForm::ClassInfo(), &TPanel::ClassInfo(), &TPaintBox::ClassInfo(), &TTimer::ClassInfo(),
                     &TDrawGrid::ClassInfo(), &TStringGrid::ClassInfo(), &TDBGrid::ClassInfo(),
                     &TDatabase::ClassInfo(), &TTable::ClassInfo(),
                     &TDataSource::ClassInfo(), &TImageList::ClassInfo(), &TFuzzPictureBox::ClassInfo()});
    return true;
  }();
  (void)done;
}

namespace {

// Frees the form and lets the window system forget it.
void DefinitionsFreeForm(TForm* form) {
  if (form) form->Free();
  PumpUi();
}

}  // namespace

void ReadDefinition(const AnsiString& Definition) {
  StartUi();
  RegisterDefinitionClasses();
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetName("FuzzForm");
  AnsiString written;
  try {
    ReadComponentText(Definition, form, "fuzz");
    PumpUi();
    written = WriteComponentText(form);
  } catch (const Exception&) {
    DefinitionsFreeForm(form);
    return;
  }
  DefinitionsFreeForm(form);

  TForm* again = TCustomForm::CreateNew<TForm>(Application);
  again->SetName("FuzzForm");
  try {
    ReadComponentText(written, again, "written");
  } catch (const Exception& e) {
    DefinitionsFreeForm(again);
    Fail("the written definition does not read back: " + e.Message + "\n" + written);
  }
  DefinitionsFreeForm(again);
}

void DrawGraphic(TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  TBitmap target;
  target.SetSize(48, 32);
  TCanvas* canvas = target.GetCanvas();
  canvas->Draw(2, 2, Graphic);
  canvas->StretchDraw(Rect(0, 0, 48, 32), Graphic);
  canvas->StretchDraw(Rect(40, 30, 1, 1), Graphic);
}

}  // namespace fuzz
