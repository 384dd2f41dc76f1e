// The plot control: an instrument component that owns a master manager and through it every plot
// object.  This unit holds its construction, published properties, streaming in a stored
// definition, the per-kind operations (count, access, add, delete, remove all), the events the
// objects raise through it, and the paint of the whole plot.
//
// Sections: enumerations and event types / construction / per-kind operations / properties /
// events / host interface / painting / copy, save as image and printing / streaming.
//
// Thread contract: UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/ImgList.h"
#include "platform/ui/Printers.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotMasterManager.h"
#include "plot/iPlotToolBar.h"
#include "widgets/iCustomComponent.h"

class TiPlotLabel;
class TiPlotLegend;
class TiPlotTable;
class TiPlotDataView;
class TiPlotDataCursor;
class TiPlotLimit;
class TiPlotAnnotation;
class TiComponentEditorSavePicker;

// ============================================================================================
// enumerations and event types
// ============================================================================================

enum TiPlotFormStyle : uint8_t { ipfsModal, ipfsStayOnTop };
enum TiPlotExportFormat : uint8_t { ipefMetaFile, ipefBitmap, ipefJPEG };
enum TiPlotDataFileColumnSeparator : uint8_t { ipdfcsTab, ipdfcsComma };
enum TiPlotDataFileFormat : uint8_t { ipdffText, ipdffCompactInterval };
template <>
const EnumNames& EnumNamesOf<TiPlotFormStyle>();
template <>
const EnumNames& EnumNamesOf<TiPlotExportFormat>();
template <>
const EnumNames& EnumNamesOf<TiPlotDataFileColumnSeparator>();
template <>
const EnumNames& EnumNamesOf<TiPlotDataFileFormat>();

// The plot's object events pass the object's index in its kind's manager, no sender.
using TiPlotObjectMouseEvent = TEvent<int32_t, TMouseButton, TShiftState, int32_t, int32_t>;
using TiPlotObjectMouseMoveEvent = TEvent<int32_t, TShiftState, int32_t, int32_t>;
using TiPlotObjectEvent = TEvent<int32_t>;
using TiPlotClickDataPointEvent = TEvent<int32_t, int32_t>;
using TiPlotPopupMenuEvent = TEvent<int32_t, bool&, int32_t, int32_t>;
using TiPlotObjectDoubleValueChangeEvent = TEvent<int32_t, double, double>;
using TiPlotAxesMinSpanChangeEvent = TEvent<int32_t, double, double, double, double>;
using TiPlotAxesCustomizeLabelEvent = TEvent<int32_t, double, AnsiString&>;
using TiPlotObjectCustomizeTextEvent = TEvent<int32_t, AnsiString&>;
using TiPlotToolBarButtonEvent = TEvent<int32_t, TiPlotToolBarButtonType>;
using TiPlotZoomBoxEvent = TEvent<TRect&, bool&>;

// The kinds that have object events, in the order the plot tests them.
enum TiPlotEventKind : uint8_t {
  ipekChannel,
  ipekXAxis,
  ipekYAxis,
  ipekDataCursor,
  ipekDataView,
  ipekLegend,
  ipekLimit,
  ipekAnnotation,
  ipekNone
};

// A rectangle the axes keep out of reach of later labels during one paint.
struct TiPlotRectObject {
  TRect Rect{0, 0, 0, 0};
};

class TiPlotComponent : public TiCustomComponent,
                        public TiPlotObjectHost,
                        public TiPlotAxisHost,
                        public TiPlotChannelHost {
  PL_CLASS(TiPlotComponent)
 public:
  explicit TiPlotComponent(TComponent* AOwner);
  ~TiPlotComponent() override;

  TiPlotMasterManager* Master() const { return FMaster.get(); }
  TiPlotObjectManager* GetObjectManager() const { return FMaster->GetObjectManager(); }
  TiPlotTranslationManager* GetTranslationManager() const { return FMaster->GetTranslationManager(); }
  void DisableLayout();
  void EnableLayout();

  // ---- per-kind operations ------------------------------------------------------------------
  // Item accessors raise EStringListError for a bad index.  Delete frees the object (its managers
  // drop it) and repaints; DeleteLabel(0) raises "Label Index 0 can not be Deleted (Resevered for
  // Title)".  Remove-all frees every object of the kind (labels: all but the title).
  int32_t ToolBarCount() const;
  int32_t LegendCount() const;
  int32_t TableCount() const;
  int32_t XAxisCount() const;
  int32_t YAxisCount() const;
  int32_t DataViewCount() const;
  int32_t DataCursorCount() const;
  int32_t ChannelCount() const;
  int32_t AnnotationCount() const;
  int32_t LimitCount() const;
  int32_t LabelCount() const;
  TiPlotToolBar* GetToolBar(int32_t Index) const;
  TiPlotLegend* GetLegend(int32_t Index) const;
  TiPlotTable* GetTable(int32_t Index) const;
  TiPlotXAxis* GetXAxis(int32_t Index) const;
  TiPlotYAxis* GetYAxis(int32_t Index) const;
  TiPlotDataView* GetDataView(int32_t Index) const;
  TiPlotDataCursor* GetDataCursor(int32_t Index) const;
  TiPlotChannelCustom* GetChannel(int32_t Index) const;
  TiPlotAnnotation* GetAnnotation(int32_t Index) const;
  TiPlotLimit* GetLimit(int32_t Index) const;
  TiPlotLabel* GetLabel(int32_t Index) const;

  // Virtual in this order: object-removed, object-changed, remove-all, delete, add.
  virtual void ObjectRemoved(TObject* Obj);
  virtual void ObjectChanged(TObject* Sender);
  virtual void RemoveAllToolBars();
  virtual void RemoveAllLegends();
  virtual void RemoveAllTables();
  virtual void RemoveAllXAxes();
  virtual void RemoveAllYAxes();
  virtual void RemoveAllDataViews();
  virtual void RemoveAllDataCursors();
  virtual void RemoveAllChannels();
  virtual void RemoveAllAnnotations();
  virtual void RemoveAllLimits();
  virtual void RemoveAllLabels();
  virtual void RemoveAllTranslations();
  virtual void DeleteToolBar(int32_t Index);
  virtual void DeleteLegend(int32_t Index);
  virtual void DeleteTable(int32_t Index);
  virtual void DeleteXAxis(int32_t Index);
  virtual void DeleteYAxis(int32_t Index);
  virtual void DeleteDataView(int32_t Index);
  virtual void DeleteDataCursor(int32_t Index);
  virtual void DeleteChannel(int32_t Index);
  virtual void DeleteAnnotation(int32_t Index);
  virtual void DeleteLimit(int32_t Index);
  virtual void DeleteLabel(int32_t Index);
  virtual void DeleteTranslation(int32_t Index);
  virtual int32_t AddChannel();
  virtual int32_t AddDataView();
  virtual int32_t AddDataCursor();
  virtual int32_t AddXAxis();
  virtual int32_t AddYAxis();
  virtual int32_t AddLegend();
  virtual int32_t AddTable();
  virtual int32_t AddToolBar();
  // Also gives the new annotation the plot's annotation defaults.
  virtual int32_t AddAnnotation();
  virtual int32_t AddLimit();
  virtual int32_t AddLabel();

  // Finds by Name ignoring case; nullptr when none.
  TiPlotChannelCustom* FindChannel(const AnsiString& Name) const;
  TiPlotAxis* FindXAxis(const AnsiString& Name) override;
  TiPlotAxis* FindYAxis(const AnsiString& Name) override;

  // ---- data, property and annotation files, logging -----------------------------------------------
  // Every failure of the file routines raises one Exception whose message is the routine's prefix
  // ("Error Saving Data - ", "Error Loading Data - ", "Error Saving Properties - ", ...) followed
  // by the failure's own.  A data file is read whole before any point is added: a damaged one
  // changes nothing.
  //
  // The data file in DataFileFormat: a text table (Title(X), Title(Y) per channel) or the compact
  // binary form (singles; X only in the first two rows).  Fires OnAfterSaveData.
  void SaveDataToFile(const AnsiString& FileName);
  // Appends the file's points to the existing channels (column i to channel i).  Fires
  // OnAfterLoadData.
  void LoadDataFromFile(const AnsiString& FileName);
  // Stops logging, empties every channel and resets every axis's first value.
  void ClearAllData();
  // The "Plot Config" file: the plot's properties, the object counts and every object's
  // properties.  Loading replaces the objects (and drops the annotations, which the file does not
  // hold); a file of another type or with impossible counts changes nothing.
  void SavePropertyFile(const AnsiString& FileName) override;
  void LoadPropertyFile(const AnsiString& FileName) override;
  void SaveAnnotationsToFile(const AnsiString& FileName);
  void LoadAnnotationsFromFile(const AnsiString& FileName);
  // The plot's log, in DataFileFormat: row k holds the k-th point each channel took since logging
  // started (channel 0's X, every channel's Y; a channel without it gives an empty cell).  A row
  // is written once channel 0 begins the next (or at FlushLog and StopLogging), at least
  // LogBufferSize rows at a time.
  void StartLogging(bool Append);
  void StopLogging();
  void FlushLog();
  int64_t GetLogPendingCount() const;
  // The column separator's character: Tab or ",".
  char DataFileSeparatorChar() const { return FDataFileColumnSeparator == ipdfcsComma ? ',' : '\t'; }
  void ChannelPointAdded(TiPlotChannelCustom* Channel) override;

  // ---- published properties ---------------------------------------------------------------------
  int32_t GetDataViewZHorz() const;
  void SetDataViewZHorz(int32_t Value);
  int32_t GetDataViewZVert() const;
  void SetDataViewZVert(int32_t Value);
  bool GetXYAxesReverse() const { return FMaster->GetXYAxesReverse(); }
  void SetXYAxesReverse(bool Value) { FMaster->SetXYAxesReverse(Value); }
  bool GetUserCanEditObjects() const { return FMaster->GetUserCanEditObjects(); }
  void SetUserCanEditObjects(bool Value) { FMaster->SetUserCanEditObjects(Value); }
  bool GetUserCanAddRemoveChannels() const { return FUserCanAddRemoveChannels; }
  void SetUserCanAddRemoveChannels(bool Value) { FUserCanAddRemoveChannels = Value; }
  int32_t GetOuterMarginLeft() const { return FOuterMarginLeft; }
  void SetOuterMarginLeft(int32_t Value) { SetIntProperty(Value, FOuterMarginLeft, 0); }
  int32_t GetOuterMarginTop() const { return FOuterMarginTop; }
  void SetOuterMarginTop(int32_t Value) { SetIntProperty(Value, FOuterMarginTop, 0); }
  int32_t GetOuterMarginRight() const { return FOuterMarginRight; }
  void SetOuterMarginRight(int32_t Value) { SetIntProperty(Value, FOuterMarginRight, 0); }
  int32_t GetOuterMarginBottom() const { return FOuterMarginBottom; }
  void SetOuterMarginBottom(int32_t Value) { SetIntProperty(Value, FOuterMarginBottom, 0); }
  TPrinterOrientation GetPrintOrientation() const { return FPrintOrientation; }
  void SetPrintOrientation(TPrinterOrientation Value) { FPrintOrientation = Value; }
  double GetPrintMarginLeft() const { return FPrintMarginLeft; }
  void SetPrintMarginLeft(double Value) { FPrintMarginLeft = Value; }
  double GetPrintMarginTop() const { return FPrintMarginTop; }
  void SetPrintMarginTop(double Value) { FPrintMarginTop = Value; }
  double GetPrintMarginRight() const { return FPrintMarginRight; }
  void SetPrintMarginRight(double Value) { FPrintMarginRight = Value; }
  double GetPrintMarginBottom() const { return FPrintMarginBottom; }
  void SetPrintMarginBottom(double Value) { FPrintMarginBottom = Value; }
  bool GetPrintShowDialog() const { return FPrintShowDialog; }
  void SetPrintShowDialog(bool Value) { FPrintShowDialog = Value; }
  const AnsiString& GetPrintDocumentName() const { return FPrintDocumentName; }
  void SetPrintDocumentName(const AnsiString& Value) { FPrintDocumentName = Value; }
  const AnsiString& GetPrinterName() const { return FPrinterName; }
  void SetPrinterName(const AnsiString& Value) { FPrinterName = Value; }
  int32_t GetHintsPause() const { return FHintsPause; }
  void SetHintsPause(int32_t Value) { SetIntProperty(Value, FHintsPause, 2); }
  int32_t GetHintsHidePause() const { return FHintsHidePause; }
  void SetHintsHidePause(int32_t Value) { SetIntProperty(Value, FHintsHidePause, 2); }
  bool GetHintsShow() const { return FHintsShow; }
  void SetHintsShow(bool Value) { SetBoolProperty(Value, FHintsShow, 2); }
  TFont* GetHintsFont() const { return FHintsFont.get(); }
  void SetHintsFont(TFont* Value) { FHintsFont->Assign(Value); }
  TiPlotFormStyle GetEditorFormStyle() const { return FEditorFormStyle; }
  void SetEditorFormStyle(TiPlotFormStyle Value) { FEditorFormStyle = Value; }
  TiPlotExportFormat GetCopyToClipBoardFormat() const { return FCopyToClipBoardFormat; }
  void SetCopyToClipBoardFormat(TiPlotExportFormat Value) { FCopyToClipBoardFormat = Value; }
  // The title is label 0: without labels writes do nothing and reads give empty values.
  bool GetTitleVisible() const;
  void SetTitleVisible(bool Value);
  AnsiString GetTitleText() const;
  void SetTitleText(const AnsiString& Value);
  TFont* GetTitleFont() const;
  void SetTitleFont(TFont* Value);
  double GetTitleMargin() const;
  void SetTitleMargin(double Value);
  const AnsiString& GetLogFileName() const { return FLogFileName; }
  // Raises Exception "Log File Name can not be changed while logging is active." for a new name
  // while logging.
  void SetLogFileName(const AnsiString& Value);
  int32_t GetLogBufferSize() const { return FLogBufferSize; }
  void SetLogBufferSize(int32_t Value) { SetIntProperty(Value, FLogBufferSize, 2); }
  bool GetLoggingActive() const { return FLoggingActive; }
  TFont* GetAnnotationDefaultFont() const { return FAnnotationDefaultFont.get(); }
  void SetAnnotationDefaultFont(TFont* Value) { FAnnotationDefaultFont->Assign(Value); }
  TBrushStyle GetAnnotationDefaultBrushStlye() const { return FAnnotationDefaultBrushStyle; }
  void SetAnnotationDefaultBrushStlye(TBrushStyle Value) { FAnnotationDefaultBrushStyle = Value; }
  TColor GetAnnotationDefaultBrushColor() const { return FAnnotationDefaultBrushColor; }
  void SetAnnotationDefaultBrushColor(TColor Value) { FAnnotationDefaultBrushColor = Value; }
  TPenStyle GetAnnotationDefaultPenStlye() const { return FAnnotationDefaultPenStyle; }
  void SetAnnotationDefaultPenStlye(TPenStyle Value) { FAnnotationDefaultPenStyle = Value; }
  TColor GetAnnotationDefaultPenColor() const { return FAnnotationDefaultPenColor; }
  void SetAnnotationDefaultPenColor(TColor Value) { FAnnotationDefaultPenColor = Value; }
  int32_t GetAnnotationDefaultPenWidth() const { return FAnnotationDefaultPenWidth; }
  void SetAnnotationDefaultPenWidth(int32_t Value) { FAnnotationDefaultPenWidth = Value; }
  bool GetClipAnnotationsToAxes() const { return FClipAnnotationsToAxes; }
  void SetClipAnnotationsToAxes(bool Value) { SetBoolProperty(Value, FClipAnnotationsToAxes, 0); }
  bool GetBackGroundGradientEnabled() const { return FBackGroundGradientEnabled; }
  void SetBackGroundGradientEnabled(bool Value) { SetBoolProperty(Value, FBackGroundGradientEnabled, 0); }
  TiFillDirection GetBackGroundGradientDirection() const { return FBackGroundGradientDirection; }
  void SetBackGroundGradientDirection(TiFillDirection Value);
  TColor GetBackGroundGradientStartColor() const { return FBackGroundGradientStartColor; }
  void SetBackGroundGradientStartColor(TColor Value) {
    SetColorProperty(Value, FBackGroundGradientStartColor, 0);
  }
  TColor GetBackGroundGradientStopColor() const { return FBackGroundGradientStopColor; }
  void SetBackGroundGradientStopColor(TColor Value) {
    SetColorProperty(Value, FBackGroundGradientStopColor, 0);
  }
  TiPlotDataFileColumnSeparator GetDataFileColumnSeparator() const { return FDataFileColumnSeparator; }
  // Both raise while logging, even for the present value.
  void SetDataFileColumnSeparator(TiPlotDataFileColumnSeparator Value);
  TiPlotDataFileFormat GetDataFileFormat() const { return FDataFileFormat; }
  void SetDataFileFormat(TiPlotDataFileFormat Value);
  TCustomImageList* ImageList(int32_t Index) const;
  TPopupMenu* GetPopupMenuObject() const { return FPopupMenu.get(); }

  // ---- events ----------------------------------------------------------------------------------
  TiPlotObjectMouseEvent OnMouseDownChannel, OnMouseDownXAxis, OnMouseDownYAxis, OnMouseDownDataCursor,
      OnMouseDownDataView, OnMouseDownLegend, OnMouseDownLimit, OnMouseDownAnnotation;
  TiPlotObjectMouseMoveEvent OnMouseMoveChannel, OnMouseMoveXAxis, OnMouseMoveYAxis, OnMouseMoveDataCursor,
      OnMouseMoveDataView, OnMouseMoveLegend, OnMouseMoveLimit, OnMouseMoveAnnotation;
  TiPlotObjectMouseEvent OnMouseUpChannel, OnMouseUpXAxis, OnMouseUpYAxis, OnMouseUpDataCursor,
      OnMouseUpDataView, OnMouseUpLegend, OnMouseUpLimit, OnMouseUpAnnotation;
  TiPlotObjectEvent OnClickChannel, OnClickXAxis, OnClickYAxis, OnClickDataCursor, OnClickDataView,
      OnClickLegend, OnClickLimit, OnClickAnnotation;
  TiPlotObjectEvent OnDblClickChannel, OnDblClickXAxis, OnDblClickYAxis, OnDblClickDataCursor,
      OnDblClickDataView, OnDblClickLegend, OnDblClickLimit, OnDblClickAnnotation;
  TiPlotClickDataPointEvent OnClickDataPoint, OnDblClickDataPoint;
  TiPlotPopupMenuEvent OnPopupMenuChannel, OnPopupMenuXAxis, OnPopupMenuYAxis, OnPopupMenuDataCursor,
      OnPopupMenuDataView, OnPopupMenuLegend, OnPopupMenuLimit, OnPopupMenuAnnotation;
  TiPlotObjectEvent OnGotFocusChannel, OnGotFocusXAxis, OnGotFocusYAxis, OnGotFocusDataCursor,
      OnGotFocusDataView, OnGotFocusLegend, OnGotFocusAnnotation;
  TiPlotObjectEvent OnLostFocusChannel, OnLostFocusXAxis, OnLostFocusYAxis, OnLostFocusDataCursor,
      OnLostFocusDataView, OnLostFocusLegend, OnLostFocusAnnotation;
  TiPlotObjectEvent OnDataCursorChange, OnBeforeDataCursorUpdate;
  TiPlotObjectCustomizeTextEvent OnDataCursorCustomizeHint;
  TiPlotObjectDoubleValueChangeEvent OnXAxisMinChange, OnXAxisSpanChange, OnYAxisMinChange, OnYAxisSpanChange;
  TiPlotAxesMinSpanChangeEvent OnXAxisMinSpanChange, OnYAxisMinSpanChange;
  TiPlotAxesCustomizeLabelEvent OnXAxisCustomizeLabel, OnYAxisCustomizeLabel;
  TiPlotObjectCustomizeTextEvent OnXAxisCustomizeHint, OnYAxisCustomizeHint;
  TiPlotObjectCustomizeTextEvent OnToolBarCustomizeHint;
  TiPlotToolBarButtonEvent OnToolBarButtonClick;
  TiPlotZoomBoxEvent OnBeforeZoomBox;
  TiPlotObjectDoubleValueChangeEvent OnLimitLine1PositionChange, OnLimitLine2PositionChange;
  TiPlotObjectEvent OnAnnotationCoordinatesChange, OnAnnotationCoordinatesChangeFinished;
  TNotifyEvent OnBeforePrint, OnAfterPrint, OnBeforeLoadProperties, OnAfterLoadProperties,
      OnAfterSaveProperties, OnAfterLoadData, OnAfterSaveData, OnAfterOpenEditor, OnAfterCloseEditor;

  // The kind whose events an object raises, and its index in that kind's manager.
  TiPlotEventKind EventKindOf(const TiPlotObject* Obj, int32_t& Index) const;
  // Set by the press handling when a double click is in progress; the click raiser clears it.
  bool GetDblClickActive() const { return FDblClickActive; }
  void SetDblClickActive(bool Value) { FDblClickActive = Value; }
  void DoClickDataPoint(int32_t ChannelIndex, int32_t DataIndex);
  void DoToolBarButtonClick(int32_t Index, TiPlotToolBarButtonType ButtonType);
  void DoToolBarCustomizeHint(int32_t Index, AnsiString& AText);
  // The data cursors' events, with the cursor's index.
  void DoBeforeDataCursorUpdate(TiPlotDataCursor* Cursor);
  void DoDataCursorChange(TiPlotDataCursor* Cursor);
  void DoDataCursorCustomizeHint(TiPlotDataCursor* Cursor, AnsiString& AText);

  // ---- host interface --------------------------------------------------------------------------
  AnsiString TranslateText(const AnsiString& Text) override;
  void DoObjectMouseDown(TiPlotObject* Obj, TMouseButton Button, TShiftState Shift, int32_t X,
                         int32_t Y) override;
  void DoObjectMouseMove(TiPlotObject* Obj, TShiftState Shift, int32_t X, int32_t Y) override;
  void DoObjectMouseUp(TiPlotObject* Obj, TMouseButton Button, TShiftState Shift, int32_t X,
                       int32_t Y) override;
  void DoObjectClick(TiPlotObject* Obj) override;
  void DoObjectPopupMenu(TiPlotObject* Obj, bool& Cancel, int32_t ScreenX, int32_t ScreenY) override;
  void DoObjectGotFocus(TiPlotObject* Obj) override;
  void DoObjectLostFocus(TiPlotObject* Obj) override;
  void ShowPopupMenu(TPopupMenu* Menu, int32_t ScreenX, int32_t ScreenY) override;
  TiPlotComponent* PlotComponent() override { return this; }

  // ---- what the axes need of the plot ---------------------------------------------------------
  bool IsStreaming() override { return TiComponent::IsStreaming(); }
  bool IsPlot() override { return false; }
  void DoAxisMinChange(TiPlotAxis* Axis, double OldValue, double NewValue) override;
  void DoAxisSpanChange(TiPlotAxis* Axis, double OldValue, double NewValue) override;
  void DoAxisMinSpanChange(TiPlotAxis* Axis, double OldMin, double OldSpan, double NewMin,
                           double NewSpan) override;
  void DoAxisCustomizeLabel(TiPlotAxis* Axis, double Value, AnsiString& ALabel) override;
  void DoAxisCustomizeHint(TiPlotAxis* Axis, AnsiString& AText) override;
  int32_t AxisCount(bool XAxes) override;
  TiPlotAxis* GetAxis(bool XAxes, int32_t Index) override;
  void AxisDataRange(TiPlotAxis* Axis, bool Fast, double& Lo, double& Hi) override;
  void InvalidateNow() override { TiComponent::InvalidateNow(); }

  // ---- what the channels need of the plot -----------------------------------------------------
  char DataFileColumnSeparator() override { return DataFileSeparatorChar(); }
  bool SelectModeActive() override { return SelectMode(); }
  void DoClickDataPoint(TiPlotChannelCustom* Channel, int32_t PointIndex) override;

  // ---- what limits and annotations need of the plot -------------------------------------------
  // OnLimitLine1PositionChange or OnLimitLine2PositionChange (Line 1 or 2); nothing while streaming.
  void DoLimitLinePositionChange(TiPlotLimit* Limit, int32_t Line, double OldValue, double NewValue);
  // OnAnnotationCoordinatesChange, or OnAnnotationCoordinatesChangeFinished when Finished.
  void DoAnnotationCoordinatesChange(TiPlotAnnotation* Annotation, bool Finished);

  // ---- toolbar actions -------------------------------------------------------------------------
  // Tracking off (Pause) or on (Resume) on every X axis, then every Y axis.
  void PauseAllAxes();
  void ResumeAllAxes();
  // Toolbar 0's Select button is down (False without a toolbar); setting presses it when its
  // state differs.
  bool SelectMode() const;
  void SetSelectMode(bool Value);

  // ---- mouse, keys and hints --------------------------------------------------------------------
  // The object under the point of MouseRecord: an enabled, visible, selected object, else any
  // enabled, visible object, and data views and legends last; the match's sub-object (a button
  // it holds) when there is one.
  TiPlotObject* ObjectAtPoint(const TiMouseRecord& MouseRecord);
  // The same, with the matched object itself in Owner (nullptr when nothing matched).
  TiPlotObject* ObjectAtPoint(const TiMouseRecord& MouseRecord, TiPlotObject*& Owner);
  // The mouse record of a client point: oriented X and Y exchanged when the axes are reversed.
  TiMouseRecord MouseRecordAt(int32_t X, int32_t Y, TShiftState Shift) const;
  bool HintShowing() const { return FHintShowing; }
  const AnsiString& HintText() const { return FHintText; }
  TPoint HintPosition() const { return TPoint{FHintX, FHintY}; }
  // Stops the hint timer and takes a shown hint away.
  void HideHint();
  void Dispatch(TMessage& Message) override;

  // ---- painting -------------------------------------------------------------------------------
  void PaintToCanvas(TCanvas* Canvas) override;
  void AddToPaintOrder(const AnsiString& Key, TiPlotObject* Obj);
  // The objects of the last paint in drawing order (keys kept for tests and the layout viewer).
  const std::vector<std::pair<AnsiString, TiPlotObject*>>& PaintOrder() const { return FPaintOrder; }
  void ClearOccupiedRects() { FOccupiedRects.clear(); }
  void AddOccupiedRect(const TRect& Rect) override { FOccupiedRects.push_back({Rect}); }
  const std::vector<TiPlotRectObject>& OccupiedRects() const { return FOccupiedRects; }
  // Accepts Rect when it meets no occupied rectangle and lies inside data view 0 (the first
  // rectangle of a paint is taken without the inside test), and then occupies it.
  bool ReserveRect(const TRect& Rect) override;
  void DrawFrameObjects(TCanvas* Canvas);
  // The hover hint the paint draws (the mouse handling sets it).
  void SetHint(bool Showing, const AnsiString& Text, int32_t X, int32_t Y);
  bool HintDrawn() const { return FHintDrawn; }
  // The objects the mouse handling remembers; an object that goes is forgotten.
  TiPlotObject* HoverObject() const { return FHoverObject; }
  void SetHoverObject(TiPlotObject* Value) { FHoverObject = Value; }
  TiPlotObject* PressedObject() const { return FPressedObject; }
  void SetPressedObject(TiPlotObject* Value) { FPressedObject = Value; }
  TiPlotObject* HintObject() const { return FHintObject; }
  void SetHintObject(TiPlotObject* Value) { FHintObject = Value; }

  // ---- copy, save as image and printing --------------------------------------------------------
  // The toolbar's Copy, Save, Print and Preview buttons start these; virtual, so that a plot class
  // can take them over.
  // Each draws the whole plot with PaintToCanvas on another canvas.  Copy and print hide every
  // toolbar and deselect every object while they draw; each toolbar gets its own visibility back.
  // The picture on the clipboard follows CopyToClipBoardFormat.
  virtual void CopyToClipboard();
  // Asks for a file and saves the picture by the name's ending: bmp, emf, jpg (quality 100,
  // progressive) or png (level 9), in any case.  Cancelling saves nothing.
  virtual void SaveImageDialog();
  // One page on the printer (its dialog first when PrintShowDialog; cancelling prints nothing).
  // Failures are raised as "Error Printing : " + the reason.
  virtual void Print();
  // One page of a print job on the current printer, scaled into the page less the print margins.
  void PrintPage();
  // The preview window, modal.
  virtual void PrintPreview();
  // The plot drawn into the plot's own metafile, held by the plot's picture (both the plot's).
  TPicture* RenderMetafile();

  // ---- streaming --------------------------------------------------------------------------------
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;

 protected:
  void HandleMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleDblClick() override;
  bool HandleMouseWheel(int32_t WheelDelta, TShiftState Shift, TPoint MousePos) override;
  // Claims the four arrow keys.
  void WantSpecialKey(WORD& CharCode, LRESULT& Result) override;
  void HandleKeyDown(WORD& Key, TShiftState Shift) override;
  void WMCaptureChanged(TMessage& Message);
  void BeginStreaming();
  // After a write the layout runs and the lock ends again (the plot stays live).
  void EndWriting();

 private:
  void HintTimerTick(TObject* Sender);
  void DoDelete(TiPlotObjectManagerCustom* Manager, int32_t Index, bool Repaint);
  TiPlotLayoutObject* Placeholder(bool Horizontal) const;
  void ReadDataViewZHorz(TReader* Reader);
  void WriteDataViewZHorz(TWriter* Writer);
  void ReadDataViewZVert(TReader* Reader);
  void WriteDataViewZVert(TWriter* Writer);
  void ReadImageList(int32_t Index, TStream* Stream);
  void WriteImageList(int32_t Index, TStream* Stream);
  void ReadImageList0(TStream* S) { ReadImageList(0, S); }
  void WriteImageList0(TStream* S) { WriteImageList(0, S); }
  void ReadImageList1(TStream* S) { ReadImageList(1, S); }
  void WriteImageList1(TStream* S) { WriteImageList(1, S); }
  void ReadImageList2(TStream* S) { ReadImageList(2, S); }
  void WriteImageList2(TStream* S) { WriteImageList(2, S); }
  void ReadManager(TiPlotObjectManagerCustom* Manager, TReader* Reader);
  void ReadToolBars(TReader* R);
  void WriteToolBars(TWriter* W);
  void ReadLegends(TReader* R);
  void WriteLegends(TWriter* W);
  void ReadTables(TReader* R);
  void WriteTables(TWriter* W);
  void ReadXAxes(TReader* R);
  void WriteXAxes(TWriter* W);
  void ReadYAxes(TReader* R);
  void WriteYAxes(TWriter* W);
  void ReadChannels(TReader* R);
  void WriteChannels(TWriter* W);
  void ReadDataViews(TReader* R);
  void WriteDataViews(TWriter* W);
  void ReadDataCursors(TReader* R);
  void WriteDataCursors(TWriter* W);
  void ReadLimits(TReader* R);
  void WriteLimits(TWriter* W);
  void ReadLabels(TReader* R);
  void WriteLabels(TWriter* W);
  void ReadTranslations(TReader* R);
  void WriteTranslations(TWriter* W);
  void PaintObject(TCanvas* Canvas, TiPlotObject* Obj, const TRect* Clip);
  // Hides every toolbar, answering their visibility, which RestoreToolBars gives back.
  std::vector<bool> HideToolBars();
  void RestoreToolBars(const std::vector<bool>& Visible);
  // Writes the log rows before row Upto.
  void WriteLogRows(int64_t Upto);
  // The index data cursor events pass: -1 (nothing fires) while streaming or for a cursor the
  // plot does not hold.
  int32_t DataCursorEventIndex(const TiPlotDataCursor* Cursor) const;

  std::unique_ptr<TiPlotMasterManager> FMaster;
  std::vector<std::pair<AnsiString, TiPlotObject*>> FPaintOrder;
  std::vector<TiPlotRectObject> FOccupiedRects;
  std::unique_ptr<TPopupMenu> FPopupMenu;
  std::unique_ptr<TFont> FHintsFont;
  std::unique_ptr<TImageList> FImageLists[3];
  std::unique_ptr<TFont> FAnnotationDefaultFont;
  // Made on first use: the metafile of the copy and the preview, its picture, the save button.
  std::unique_ptr<TMetafile> FMetafile;
  std::unique_ptr<TPicture> FPicture;
  TiComponentEditorSavePicker* FSavePicker = nullptr;

  bool FUserCanAddRemoveChannels = false;
  int32_t FOuterMarginLeft = 5, FOuterMarginTop = 5, FOuterMarginRight = 5, FOuterMarginBottom = 5;
  TPrinterOrientation FPrintOrientation = poLandscape;
  double FPrintMarginLeft = 1.0, FPrintMarginTop = 1.0, FPrintMarginRight = 1.0, FPrintMarginBottom = 1.0;
  bool FPrintShowDialog = true;
  AnsiString FPrintDocumentName = "Untitled";
  AnsiString FPrinterName;
  int32_t FHintsPause = 500, FHintsHidePause = 2500;
  bool FHintsShow = true;
  TiPlotFormStyle FEditorFormStyle = ipfsModal;
  TiPlotExportFormat FCopyToClipBoardFormat = ipefMetaFile;
  AnsiString FLogFileName;
  int32_t FLogBufferSize = 0;
  bool FLoggingActive = false;
  // The log's rows: row k holds the k-th point each channel took since logging started.
  std::vector<int64_t> FLogAdded;  // points each channel took since then
  int64_t FLogRowsWritten = 0;
  int32_t FLogFileRows = 0;  // rows in the log file (the binary form gives X in the first two only)
  TBrushStyle FAnnotationDefaultBrushStyle = bsSolid;
  TColor FAnnotationDefaultBrushColor = 0xFFFFFF;
  TPenStyle FAnnotationDefaultPenStyle = psSolid;
  TColor FAnnotationDefaultPenColor = 0xFFFFFF;
  int32_t FAnnotationDefaultPenWidth = 1;
  bool FClipAnnotationsToAxes = true;
  bool FBackGroundGradientEnabled = false;
  TiFillDirection FBackGroundGradientDirection = ifdTopBottom;
  TColor FBackGroundGradientStartColor = 0xFF0000;
  TColor FBackGroundGradientStopColor = 0;
  TiPlotDataFileColumnSeparator FDataFileColumnSeparator = ipdfcsTab;
  TiPlotDataFileFormat FDataFileFormat = ipdffText;

  bool FDblClickActive = false;
  bool FHintShowing = false, FHintDrawn = false;
  AnsiString FHintText;
  int32_t FHintX = 0, FHintY = 0;
  TiPlotObject* FHoverObject = nullptr;
  TiPlotObject* FPressedObject = nullptr;
  TiPlotObject* FHintObject = nullptr;
  // Input state: a press in progress, a Shift or Ctrl press on an axis (moves ignored until the
  // release), the next hover starting no hint.
  // The objects that hold the pressed and the hovered object when those are buttons inside them.
  TiPlotObject* FPressedOwner = nullptr;
  TiPlotObject* FHoverOwner = nullptr;
  bool FMouseDown = false;
  bool FAxisClick = false;
  bool FHintSuppress = false;
};
