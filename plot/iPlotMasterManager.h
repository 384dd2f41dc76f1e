// The hub of one plot: owns every object manager, the layout manager and the translation table;
// its handlers are the ones every manager and object receives, so every insertion, removal,
// rename and change of a plot object runs through it.  It creates objects for the plot's add
// operations and keeps the plot-wide flags in step in every object.
//
// Thread contract: UI thread only.
#pragma once

#include <array>

#include "plot/iPlotLayoutManager.h"

#include "plot/iPlotManagers.h"
#include "plot/iPlotTranslation.h"

// The class reference of the channel base: what the channel manager accepts (it creates none).
const TiPlotObjectClass& PlotChannelBaseClass();

class TCustomForm;
class TiPlotEditorForm;
enum TCloseAction : uint8_t;

class TiPlotMasterManager : public TObject {
  PL_CLASS(TiPlotMasterManager)
 public:
  explicit TiPlotMasterManager(TiPlotObjectHost* APlot);
  ~TiPlotMasterManager() override;

  // ---- managers ------------------------------------------------------------------------------
  TiPlotObjectManager* GetObjectManager() const { return FObjectManager; }
  TiPlotToolBarManager* GetToolBarManager() const { return FToolBarManager; }
  TiPlotLegendManager* GetLegendManager() const { return FLegendManager; }
  TiPlotTableManager* GetTableManager() const { return FTableManager; }
  TiPlotXAxisManager* GetXAxisManager() const { return FXAxisManager; }
  TiPlotYAxisManager* GetYAxisManager() const { return FYAxisManager; }
  TiPlotChannelManager* GetChannelManager() const { return FChannelManager; }
  TiPlotDataViewManager* GetDataViewManager() const { return FDataViewManager; }
  TiPlotDataCursorManager* GetDataCursorManager() const { return FDataCursorManager; }
  TiPlotLimitManager* GetLimitManager() const { return FLimitManager; }
  TiPlotLabelManager* GetLabelManager() const { return FLabelManager; }
  TiPlotAnnotationManager* GetAnnotationManager() const { return FAnnotationManager; }
  TiPlotTranslationManager* GetTranslationManager() const { return FTranslationManager; }
  TiPlotLayoutManager* GetLayoutManager() const { return FLayoutManager; }
  // The manager of Obj's kind, or nullptr.
  TiPlotKindManager* KindManagerOf(const TiPlotObject* Obj) const;

  // ---- handlers every manager and object receives ---------------------------------------------
  void InsertHandler(TObject* Sender);
  void RemoveHandler(TObject* Sender);
  void RenameHandler(TObject* Sender);
  void ChangeHandler(TObject* Sender);
  void SelectedHandler(TObject* Sender);
  // The "Edit..." item of an object's popup menu.
  void ShowEditorFor(TObject* Sender);
  // Passes a form's texts through the translation table: its caption, every control's text, the
  // editor check boxes' captions, the editor radio groups' captions and items, the editor combo
  // boxes' items and the popup menus' top-level captions.  Nothing without pairs.
  void TranslateForm(TCustomForm* Form);

  // Set by the plot: its immediate repaint, its repaint request, its forgetting of an object.
  TNotifyEvent OnSelectionChanged;
  TNotifyEvent OnChange;
  TNotifyEvent OnRemove;

  // ---- add operations: each returns the new object's index in its kind's manager --------------
  int32_t AddChannel();
  // A channel of the given class instead of the channel class (stored plots name theirs).
  int32_t AddChannelOf(const TiPlotObjectClass* Class);
  int32_t AddDataView();
  int32_t AddDataCursor();
  int32_t AddLimit();
  int32_t AddLabel();
  int32_t AddAnnotation();
  int32_t AddLegend();
  int32_t AddTable();
  int32_t AddToolBar();
  int32_t AddXAxis();
  int32_t AddYAxis();

  // ---- plot-wide state ------------------------------------------------------------------------
  bool GetUserCanEditObjects() const { return FUserCanEditObjects; }
  void SetUserCanEditObjects(bool Value);
  bool GetXYAxesReverse() const { return FXYAxesReverse; }
  void SetXYAxesReverse(bool Value);
  const TiPlotObjectClass* GetChannelClass() const { return FChannelClass; }
  void SetChannelClass(const TiPlotObjectClass* Value);
  void SetToolBarsVisible(bool Value);
  // Empties every channel, then lets every axis align on its next first value again.
  void ClearAllChannels();
  void DeselectAll();
  void SetLayoutActive(bool Value);
  // The editor's remembered page of each of its page controls.
  std::array<int32_t, 14>& EditorPages() { return FEditorPages; }

  // ---- property editor (defined with the form, iPlotEditor.cpp) --------------------------------
  void CreateEditor();
  void ShowEditor();
  void ApplyEditor();
  void EditorClosed(TObject* Sender, TCloseAction& Action);
  TiPlotEditorForm* GetEditorForm() const { return FEditorForm; }
  // The form tells of its destruction, whoever frees it (its owner, or the closing application).
  void EditorDestroyed(TiPlotEditorForm* Form) {
    if (FEditorForm == Form) FEditorForm = nullptr;
  }

 private:
  int32_t AddObject(const TiPlotObjectClass* Class, TiPlotObjectManagerCustom* Manager);
  // Every object of the kinds the plot-wide flags reach, in the order they are set.
  std::vector<TiPlotObject*> FlagObjects() const;
  std::vector<TiPlotObjectManagerCustom*> NotifyManagers() const;

  TiPlotObjectHost* FOwner;
  bool FUserCanEditObjects = false;
  bool FXYAxesReverse = false;
  const TiPlotObjectClass* FChannelClass = nullptr;
  std::array<int32_t, 14> FEditorPages{};
  // The editor keeps its lists in step with the managers through these.
  void EditorObjectInserted(TiPlotObject* Obj);
  void EditorObjectRemoved(TiPlotObject* Obj);
  void EditorObjectRenamed(TiPlotObject* Obj);
  void FreeEditor();
  TiPlotEditorForm* FEditorForm = nullptr;

  TiPlotObjectManager* FObjectManager = nullptr;
  TiPlotToolBarManager* FToolBarManager = nullptr;
  TiPlotLegendManager* FLegendManager = nullptr;
  TiPlotTableManager* FTableManager = nullptr;
  TiPlotChannelManager* FChannelManager = nullptr;
  TiPlotDataCursorManager* FDataCursorManager = nullptr;
  TiPlotDataViewManager* FDataViewManager = nullptr;
  TiPlotXAxisManager* FXAxisManager = nullptr;
  TiPlotYAxisManager* FYAxisManager = nullptr;
  TiPlotLimitManager* FLimitManager = nullptr;
  TiPlotLabelManager* FLabelManager = nullptr;
  TiPlotAnnotationManager* FAnnotationManager = nullptr;
  TiPlotLayoutManager* FLayoutManager = nullptr;
  TiPlotTranslationManager* FTranslationManager = nullptr;
};
