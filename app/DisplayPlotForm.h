// The plot window: a large copy of the main window's plot that zooms, tracks, prints and saves
// and loads plot data files.  The main window fills it when it opens and feeds it while it
// shows; Close answers modal result 2.
#pragma once

#include "platform/ui/Buttons.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "plot/iPlot.h"

class TForm_DisplayPlot : public TForm {
  PL_CLASS(TForm_DisplayPlot)
 public:
  explicit TForm_DisplayPlot(TComponent* AOwner);

  // ---- stored components
  TSpeedButton* sbZoomOut = nullptr;
  TSpeedButton* sbZoomIn = nullptr;
  TSpeedButton* sbZoomRectange = nullptr;
  TSpeedButton* sbResume = nullptr;
  TSpeedButton* sbTrack = nullptr;
  TSpeedButton* sbPrint = nullptr;
  TSpeedButton* sbSave = nullptr;
  TSpeedButton* TeThemeSpeedButton2 = nullptr;
  TSpeedButton* TeThemeSpeedButton1 = nullptr;
  TiPlot* iPlotScanVoltage = nullptr;
  TButton* tbCancel = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;

  // Each acts on the plot's (hidden) toolbar 0 or its first axes.  As the window always paired
  // them, the button hinted "Zoom out" halves the spans and the one hinted "Zoom in" doubles them.
  void sbZoomOutClick(TObject* Sender);
  void sbZoomInClick(TObject* Sender);
  void sbZoomRectangeClick(TObject* Sender);
  void sbResumeClick(TObject* Sender);
  void sbTrackClick(TObject* Sender);
  void sbPrintClick(TObject* Sender);
  void sbSaveClick(TObject* Sender);
  // Load and save a plot data file through the file dialogs (in the program's folder).
  void TeThemeSpeedButton2Click(TObject* Sender);
  void TeThemeSpeedButton1Click(TObject* Sender);
  void FormShow(TObject* Sender);
  void ApplyLanguage();

  // Channels 0 to 2 emptied and given Source's points of the same channels, in index order.
  void CopyPoints(TiPlot* Source);
};

extern TForm_DisplayPlot* Form_DisplayPlot;
