#include "app/DisplayPlotForm.h"

#include "app/LoadSource.h"
#include "app/MainForm.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotToolBar.h"

TForm_DisplayPlot* Form_DisplayPlot = nullptr;

const TClassInfo& TForm_DisplayPlot::ClassInfo() {
  using F = TForm_DisplayPlot;
  static const TClassInfo info = TClassInfo::Of<TForm_DisplayPlot, TForm>("TForm_DisplayPlot")
                                     .Field("sbZoomOut", &F::sbZoomOut)
                                     .Field("sbZoomIn", &F::sbZoomIn)
                                     .Field("sbZoomRectange", &F::sbZoomRectange)
                                     .Field("sbResume", &F::sbResume)
                                     .Field("sbTrack", &F::sbTrack)
                                     .Field("sbPrint", &F::sbPrint)
                                     .Field("sbSave", &F::sbSave)
                                     .Field("TeThemeSpeedButton2", &F::TeThemeSpeedButton2)
                                     .Field("TeThemeSpeedButton1", &F::TeThemeSpeedButton1)
                                     .Field("iPlotScanVoltage", &F::iPlotScanVoltage)
                                     .Field("tbCancel", &F::tbCancel)
                                     .Field("OpenDialog1", &F::OpenDialog1)
                                     .Field("SaveDialog1", &F::SaveDialog1)
                                     .Method("sbZoomOutClick", &F::sbZoomOutClick)
                                     .Method("sbZoomInClick", &F::sbZoomInClick)
                                     .Method("sbZoomRectangeClick", &F::sbZoomRectangeClick)
                                     .Method("sbResumeClick", &F::sbResumeClick)
                                     .Method("sbTrackClick", &F::sbTrackClick)
                                     .Method("sbPrintClick", &F::sbPrintClick)
                                     .Method("sbSaveClick", &F::sbSaveClick)
                                     .Method("TeThemeSpeedButton2Click", &F::TeThemeSpeedButton2Click)
                                     .Method("TeThemeSpeedButton1Click", &F::TeThemeSpeedButton1Click)
                                     .Method("FormShow", &F::FormShow);
  return info;
}

TForm_DisplayPlot::TForm_DisplayPlot(TComponent* AOwner) : TForm(AOwner) {}

void TForm_DisplayPlot::sbZoomOutClick(TObject*) { iPlotScanVoltage->GetToolBar(0)->ClickZoomIn(); }
void TForm_DisplayPlot::sbZoomInClick(TObject*) { iPlotScanVoltage->GetToolBar(0)->ClickZoomOut(); }
void TForm_DisplayPlot::sbZoomRectangeClick(TObject*) { iPlotScanVoltage->GetToolBar(0)->ClickZoomBox(); }

void TForm_DisplayPlot::sbResumeClick(TObject*) {
  iPlotScanVoltage->GetXAxis(0)->ZoomToFit();
  iPlotScanVoltage->GetYAxis(0)->ZoomToFit();
}

void TForm_DisplayPlot::sbTrackClick(TObject*) { iPlotScanVoltage->GetToolBar(0)->ClickResume(); }
void TForm_DisplayPlot::sbPrintClick(TObject*) { iPlotScanVoltage->GetToolBar(0)->ClickPrint(); }
void TForm_DisplayPlot::sbSaveClick(TObject*) { iPlotScanVoltage->GetToolBar(0)->ClickSave(); }

void TForm_DisplayPlot::TeThemeSpeedButton2Click(TObject*) {
  OpenDialog1->SetInitialDir(Form_Main->DataFile(""));
  if (OpenDialog1->Execute()) iPlotScanVoltage->LoadDataFromFile(OpenDialog1->GetFileName());
}

void TForm_DisplayPlot::TeThemeSpeedButton1Click(TObject*) {
  SaveDialog1->SetInitialDir(Form_Main->DataFile(""));
  if (SaveDialog1->Execute()) iPlotScanVoltage->SaveDataToFile(SaveDialog1->GetFileName());
}

void TForm_DisplayPlot::CopyPoints(TiPlot* Source) {
  for (int32_t k = 0; k < 3; ++k) {
    TiPlotChannel* from = Source->GetChannel(k);
    TiPlotChannel* to = iPlotScanVoltage->GetChannel(k);
    to->Clear();
    for (int32_t i = 0; i < from->GetCount(); ++i) to->AddPointXY(from->GetPointX(i), from->GetPointY(i));
  }
}

void TForm_DisplayPlot::FormShow(TObject*) {
  if (Form_Main && Form_Main->FLanguageLoaded) ApplyLanguage();
}

void TForm_DisplayPlot::ApplyLanguage() {
  const TLoadSource* texts = Form_Main->LanguageSource();
  iPlotScanVoltage->SetTitleText(texts->GetString(5));
  iPlotScanVoltage->GetYAxis(0)->SetTitle(texts->GetString(6));
  iPlotScanVoltage->GetXAxis(0)->SetTitle(texts->GetString(7));
  tbCancel->SetCaption(texts->GetString(28));
  SetCaption(texts->GetString(74));
  TControl* const hinted[] = {sbZoomOut, sbZoomIn, sbZoomRectange,      sbResume,           sbTrack,
                              sbPrint,   sbSave,   TeThemeSpeedButton2, TeThemeSpeedButton1};
  for (int32_t i = 0; i < 9; ++i) hinted[i]->SetHint(texts->GetString(75 + i));
}
