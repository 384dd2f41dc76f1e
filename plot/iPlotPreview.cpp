#include "plot/iPlotPreview.h"

#include <algorithm>

#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "plot/iPlotComponent.h"
#include "widgets/iGPFunctions.h"

// The stored definitions live in this unit, so that they are linked wherever the forms are.
#include "plot/defs/iPlotPreviewForm_def.inc"
#include "plot/defs/iPlotPreviewSettingsForm_def.inc"

// Sections: preview window / settings window.

// ============================================================================================
// preview window
// ============================================================================================

const TClassInfo& TiPlotPreviewForm::ClassInfo() {
  using F = TiPlotPreviewForm;
  static const TClassInfo info = TClassInfo::Of<F, TForm>("TiPlotPreviewForm")
                                     .Field("TopPanel", &F::TopPanel)
                                     .Field("PrintButton", &F::PrintButton)
                                     .Field("SettingsButton", &F::SettingsButton)
                                     .Field("CloseButton", &F::CloseButton)
                                     .Field("Preview", &F::Preview)
                                     .Method("FormCreate", &F::FormCreate)
                                     .Method("PrintButtonClick", &F::PrintButtonClick)
                                     .Method("SettingsButtonClick", &F::SettingsButtonClick)
                                     .Method("CloseButtonClick", &F::CloseButtonClick)
                                     .Method("PreviewPaint", &F::PreviewPaint);
  return info;
}

TiPlotPreviewForm::TiPlotPreviewForm(TComponent* AOwner) : TForm(AOwner) {}

void TiPlotPreviewForm::FormCreate(TObject*) {
  // The print button's glyph: a small printer, paper coming out of it.
  TBitmap glyph;
  glyph.SetSize(16, 16);
  TCanvas* c = glyph.GetCanvas();
  c->GetBrush()->SetColor(clOlive);
  c->FillRect(TRect{0, 0, 16, 16});
  c->GetPen()->SetColor(clBlack);
  c->GetBrush()->SetColor(clWhite);
  c->Rectangle(4, 1, 12, 7);
  c->GetBrush()->SetColor(clSilver);
  c->Rectangle(1, 6, 15, 12);
  c->GetBrush()->SetColor(clWhite);
  c->Rectangle(4, 10, 12, 15);
  c->SetPixel(12, 8, clLime);
  PrintButton->SetGlyph(&glyph);
}

void TiPlotPreviewForm::SetPlot(TiPlotComponent* Value) {
  FPlot = Value;
  if (!FPlot) return;
  PrintMarginLeft = FPlot->GetPrintMarginLeft();
  PrintMarginTop = FPlot->GetPrintMarginTop();
  PrintMarginRight = FPlot->GetPrintMarginRight();
  PrintMarginBottom = FPlot->GetPrintMarginBottom();
  Orientation = FPlot->GetPrintOrientation() == poLandscape ? 1 : 0;
  DocumentName = FPlot->GetPrintDocumentName();
}

int32_t TiPlotPreviewForm::PaperCode(int32_t PaperSizeIndex) {
  static const int32_t kCodes[] = {1, 5, 8, 9, 11};
  return PaperSizeIndex >= 0 && PaperSizeIndex < 5 ? kCodes[PaperSizeIndex] : 1;
}

TiPlotPreviewGeometry TiPlotPreviewForm::Geometry(int32_t BoxWidth, int32_t BoxHeight, int32_t PictureWidth,
                                                  int32_t PictureHeight) const {
  TiPlotPreviewGeometry g;
  double paperW = 0, paperH = 0;
  PaperSizeInches(PaperCode(PaperSizeIndex), paperW, paperH);
  if (Orientation == 1) std::swap(paperW, paperH);
  const int32_t aw = BoxWidth - 20, ah = BoxHeight - 20;
  int32_t pageW, pageH;
  if (ah / paperH > aw / paperW) {
    pageW = aw;
    pageH = int32_t(Round(paperH * aw / paperW));
  } else {
    pageH = ah;
    pageW = int32_t(Round(ah / paperH * paperW));
  }
  const int32_t d = int32_t(Round(pageW / paperW));
  g.Dpi = d;
  const double left = FPlot ? FPlot->GetPrintMarginLeft() : PrintMarginLeft;
  const double top = FPlot ? FPlot->GetPrintMarginTop() : PrintMarginTop;
  const double right = FPlot ? FPlot->GetPrintMarginRight() : PrintMarginRight;
  const double bottom = FPlot ? FPlot->GetPrintMarginBottom() : PrintMarginBottom;
  const int32_t cw = pageW - int32_t(Round((left + right) * d));
  const int32_t ch = pageH - int32_t(Round((top + bottom) * d));
  const int32_t cx = BoxWidth / 2, cy = BoxHeight / 2;
  g.Page = {cx - pageW / 2 - 5, cy - pageH / 2 - 5, cx + pageW / 2 - 5, cy + pageH / 2 - 5};
  int32_t w = cw, h = ch;
  if (PictureWidth > 0 && PictureHeight > 0) {
    const double s = double(cw) / PictureWidth;
    if (s >= double(ch) / PictureHeight) {
      w = int32_t(Round(double(PictureWidth) * ch / PictureHeight));
      h = ch;
    } else {
      w = cw;
      h = int32_t(Round(double(PictureHeight) * cw / PictureWidth));
    }
  }
  const int32_t x = g.Page.Left + int32_t(Round(d * left)), y = g.Page.Top + int32_t(Round(d * top));
  g.Picture = {x, y, x + w, y + h};
  return g;
}

void TiPlotPreviewForm::PreviewPaint(TObject*) {
  const int32_t bw = Preview->Width(), bh = Preview->Height();
  TBitmap bitmap;
  bitmap.SetSize(bw, bh);
  TCanvas* c = bitmap.GetCanvas();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(clBtnFace);
  c->GetPen()->SetColor(clBlack);
  c->GetPen()->SetWidth(1);
  c->FillRect(TRect{0, 0, bw, bh});
  if (FPlot) {
    TiPlotToolBar* bar = FPlot->ToolBarCount() > 0 ? FPlot->GetToolBar(0) : nullptr;
    const bool barVisible = bar && bar->GetVisible();
    if (bar) bar->SetVisible(false);
    try {
      FPlot->OnBeforePrint(this);
      TPicture* picture = FPlot->RenderMetafile();
      const TiPlotPreviewGeometry g = Geometry(bw, bh, picture->GetWidth(), picture->GetHeight());
      c->GetBrush()->SetColor(clBlack);
      c->Rectangle(g.Page.Left + 7, g.Page.Top + 7, g.Page.Right + 7, g.Page.Bottom + 7);
      c->GetBrush()->SetColor(clWhite);
      c->Rectangle(g.Page);
      c->StretchDraw(g.Picture, picture->GetGraphic());
    } catch (...) {
      if (bar) bar->SetVisible(barVisible);
      throw;
    }
    if (bar) bar->SetVisible(barVisible);
  }
  Preview->GetCanvas()->Draw(0, 0, &bitmap);
  if (FPlot) FPlot->OnAfterPrint(this);
}

void TiPlotPreviewForm::PrintButtonClick(TObject*) {
  if (FPlot) FPlot->Print();
  Preview->Invalidate();
}

void TiPlotPreviewForm::CloseButtonClick(TObject*) { SetModalResult(mrOk); }

void TiPlotPreviewForm::SettingsButtonClick(TObject*) {
  auto* settings = TCustomForm::Create<TiPlotPreviewSettingsForm>(Application);
  try {
    if (FPlot) FPlot->Master()->TranslateForm(settings);
    settings->PrintMarginLeftEdit->SetAsFloat(PrintMarginLeft);
    settings->PrintMarginTopEdit->SetAsFloat(PrintMarginTop);
    settings->PrintMarginRightEdit->SetAsFloat(PrintMarginRight);
    settings->PrintMarginBottomEdit->SetAsFloat(PrintMarginBottom);
    settings->PrintOrientationRadioGroup->SetAsInteger(Orientation);
    settings->PrintDocumentNameEdit->SetAsString(DocumentName);
    settings->PrintPaperSizeComboBox->SetAsInteger(PaperSizeIndex);
    if (settings->ShowModal() == mrOk) {
      PrintMarginLeft = settings->PrintMarginLeftEdit->GetAsFloat();
      PrintMarginTop = settings->PrintMarginTopEdit->GetAsFloat();
      PrintMarginRight = settings->PrintMarginRightEdit->GetAsFloat();
      PrintMarginBottom = settings->PrintMarginBottomEdit->GetAsFloat();
      Orientation = settings->PrintOrientationRadioGroup->GetAsInteger();
      DocumentName = settings->PrintDocumentNameEdit->GetAsString();
      PaperSizeIndex = settings->PrintPaperSizeComboBox->GetAsInteger();
      if (FPlot) {
        FPlot->SetPrintMarginLeft(PrintMarginLeft);
        FPlot->SetPrintMarginTop(PrintMarginTop);
        FPlot->SetPrintMarginRight(PrintMarginRight);
        FPlot->SetPrintMarginBottom(PrintMarginBottom);
        FPlot->SetPrintOrientation(Orientation == 1 ? poLandscape : poPortrait);
        FPlot->SetPrintDocumentName(DocumentName);
      }
      Preview->Invalidate();
    }
  } catch (...) {
    settings->Free();
    throw;
  }
  settings->Free();
}

// ============================================================================================
// settings window
// ============================================================================================

const TClassInfo& TiPlotPreviewSettingsForm::ClassInfo() {
  using F = TiPlotPreviewSettingsForm;
  static const TClassInfo info = TClassInfo::Of<F, TForm>("TiPlotPreviewSettingsForm")
                                     .Field("PrintOrientationRadioGroup", &F::PrintOrientationRadioGroup)
                                     .Field("PrinterMarginGroupBox", &F::PrinterMarginGroupBox)
                                     .Field("PrintMarginTopEdit", &F::PrintMarginTopEdit)
                                     .Field("PrintMarginLeftEdit", &F::PrintMarginLeftEdit)
                                     .Field("PrintMarginRightEdit", &F::PrintMarginRightEdit)
                                     .Field("PrintMarginBottomEdit", &F::PrintMarginBottomEdit)
                                     .Field("PrintDocumentNameLabel", &F::PrintDocumentNameLabel)
                                     .Field("PrintDocumentNameEdit", &F::PrintDocumentNameEdit)
                                     .Field("PrintPaperSizeLabel", &F::PrintPaperSizeLabel)
                                     .Field("PrintPaperSizeComboBox", &F::PrintPaperSizeComboBox)
                                     .Field("OKButton", &F::OKButton)
                                     .Field("CancelButton", &F::CancelButton);
  return info;
}

TiPlotPreviewSettingsForm::TiPlotPreviewSettingsForm(TComponent* AOwner) : TForm(AOwner) {}
