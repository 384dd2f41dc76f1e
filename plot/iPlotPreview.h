// The plot's print preview: a page of the chosen paper with the plot drawn inside the print
// margins, and the settings window that changes the margins, orientation, document name and the
// preview's paper.  Both come from their stored definitions (forms/iPlotPreviewForm.dfm and
// forms/iPlotPreviewSettingsForm.dfm): create them with TCustomForm::Create.
//
// Thread contract: UI thread only.
#pragma once

#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "widgets/iEditorBasicComponents.h"

class TiPlotComponent;

// The page in the preview box: where the page goes and where the plot's picture goes in it.
struct TiPlotPreviewGeometry {
  TRect Page{0, 0, 0, 0};
  TRect Picture{0, 0, 0, 0};
  // Pixels per inch of the page as shown.
  int32_t Dpi = 0;
};

class TiPlotPreviewForm : public TForm {
  PL_CLASS(TiPlotPreviewForm)
 public:
  explicit TiPlotPreviewForm(TComponent* AOwner);

  // Takes the plot (not owned) with its print margins, orientation and document name.
  void SetPlot(TiPlotComponent* Value);
  TiPlotComponent* GetPlot() const { return FPlot; }
  // The paper codes of the paper size list: Letter, Legal, A3, A4, A5.
  static int32_t PaperCode(int32_t PaperSizeIndex);
  // The page for a box of BoxWidth x BoxHeight and a picture of PictureWidth x PictureHeight.
  TiPlotPreviewGeometry Geometry(int32_t BoxWidth, int32_t BoxHeight, int32_t PictureWidth,
                                 int32_t PictureHeight) const;

  double PrintMarginLeft = 0, PrintMarginTop = 0, PrintMarginRight = 0, PrintMarginBottom = 0;
  // 0 portrait, 1 landscape.
  int32_t Orientation = 1;
  AnsiString DocumentName;
  // 0 Letter, 1 Legal, 2 A3, 3 A4, 4 A5.
  int32_t PaperSizeIndex = 0;

  TPanel* TopPanel = nullptr;
  TSpeedButton* PrintButton = nullptr;
  TButton *SettingsButton = nullptr, *CloseButton = nullptr;
  TiPaintBox* Preview = nullptr;

  // The button handlers (the definition binds them).
  void PrintButtonClick(TObject* Sender);
  void SettingsButtonClick(TObject* Sender);
  void CloseButtonClick(TObject* Sender);
  void PreviewPaint(TObject* Sender);

 private:
  void FormCreate(TObject* Sender);
  TiPlotComponent* FPlot = nullptr;
};

class TiPlotPreviewSettingsForm : public TForm {
  PL_CLASS(TiPlotPreviewSettingsForm)
 public:
  explicit TiPlotPreviewSettingsForm(TComponent* AOwner);

  TiComponentEditorRadioGroup* PrintOrientationRadioGroup = nullptr;
  TiComponentEditorGroupBox* PrinterMarginGroupBox = nullptr;
  TiComponentEditorEdit *PrintMarginTopEdit = nullptr, *PrintMarginLeftEdit = nullptr,
                        *PrintMarginRightEdit = nullptr, *PrintMarginBottomEdit = nullptr;
  TLabel *PrintDocumentNameLabel = nullptr, *PrintPaperSizeLabel = nullptr;
  TiComponentEditorEdit* PrintDocumentNameEdit = nullptr;
  TiComponentEditorComboBox* PrintPaperSizeComboBox = nullptr;
  TButton *OKButton = nullptr, *CancelButton = nullptr;
};
