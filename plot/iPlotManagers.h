// The plot's object managers: one per object kind, which owns the objects of that kind, names new
// ones, applies the kind's defaults and streams them as a collection; and one of all objects,
// which hands mouse and key input to the selected objects.  The layout manager derives from the
// same base.  Managers are internal to the plot: the program reaches objects through the plot.
//
// Sections: base manager / owned manager / all-objects manager / per-kind managers.
//
// Thread contract: UI thread only.
#pragma once

#include <vector>

#include "plot/iPlotObjects.h"

class TReader;
class TWriter;

// ============================================================================================
// base manager
// ============================================================================================

class TiPlotObjectManagerCustom : public TObject {
  PL_CLASS(TiPlotObjectManagerCustom)
 public:
  // Raises Exception "Owner must be Assigned", "OnChange event handler can not be null",
  // "OnInsert ...", "OnRemove ...", "AOnRename event handler can not be null", in that order.
  TiPlotObjectManagerCustom(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                            const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                            const TNotifyEvent& AOnChange);
  // Calls the remove handler with the manager (owned managers have freed their objects first).
  ~TiPlotObjectManagerCustom() override;
  // Tells the insert handler about the manager; the master manager calls it right after
  // construction (a constructor cannot hand out the whole object).
  void AfterConstruction();

  // ---- virtual operations ---------------------------------------------------------------------
  virtual TiPlotObject* CreateObject() = 0;
  virtual AnsiString GetBaseName() = 0;
  virtual void AfterRemove(TiPlotObject* Obj);
  virtual void Remove(TiPlotObject* Obj);
  virtual void Add(TiPlotObject* Obj) = 0;
  virtual void NotifyRenamed(TiPlotObject* Obj);
  virtual void NotifySelected(TiPlotObject* Obj);
  virtual void Clear();
  // Takes entry Index out of the list without freeing the object.
  virtual void Delete(int32_t Index);

  // ---- list access ---------------------------------------------------------------------------
  int32_t Count() const { return int32_t(FList.size()); }
  // Raises EStringListError "List index out of bounds (%d)".
  TiPlotObject* Items(int32_t Index) const;
  int32_t IndexOf(const TiPlotObject* Obj) const;
  // The first object whose Name equals Name ignoring ASCII case, or nullptr.
  TiPlotObject* FindByName(const AnsiString& Name) const;
  void AddToList(TiPlotObject* Obj);
  // Base name, a blank and one more than the largest number that follows the base name in any
  // name of the list ("Channel 8" after "Channel 1" and "channel 7").
  AnsiString GetUniqueName();
  bool HasItems() const { return Count() != 0; }
  const std::vector<TiPlotObject*>& List() const { return FList; }

  // Stored definitions: a collection of the objects' stored published properties.
  void WriteCollection(TWriter* Writer);
  // Replaces the objects with the collection's; each read object is inserted (DoInserted).
  void ReadCollection(TReader* Reader);

  // The class an object is stored with so that it comes back as itself; empty where the manager
  // makes that class anyway, so that such objects store nothing more.
  virtual AnsiString StoredClassName(const TiPlotObject* Obj) const;
  // A new object of a stored class (empty: the manager's own).  Raises EReadError for a class
  // the manager cannot make.
  virtual TiPlotObject* CreateStoredObject(const AnsiString& ClassName);
  // The name under which a stored object's class is kept beside its properties.
  static const char* StoredClassKey() { return "ObjectClass"; }

  void DoChange();
  TiPlotObjectHost* GetOwnerHost() const { return FOwner; }

 protected:
  const TNotifyEvent& GetOnRename() const { return FOnRename; }
  const TNotifyEvent& GetOnRemove() const { return FOnRemove; }
  const TNotifyEvent& GetOnInsert() const { return FOnInsert; }
  const TNotifyEvent& GetOnChange() const { return FOnChange; }

 private:
  std::vector<TiPlotObject*> FList;
  TiPlotObjectHost* FOwner;
  TNotifyEvent FOnChange, FOnInsert, FOnRemove, FOnRename;
};

// ============================================================================================
// owned manager
// ============================================================================================

// Owns its objects: Clear frees them in list order.
class TiPlotObjectOwnedManager : public TiPlotObjectManagerCustom {
  PL_CLASS(TiPlotObjectOwnedManager)
 public:
  using TiPlotObjectManagerCustom::TiPlotObjectManagerCustom;
  ~TiPlotObjectOwnedManager() override;
  // Every other object hears of Obj's removal first, whether or not Obj is in this list.
  void Remove(TiPlotObject* Obj) override;
  void Clear() override;
};

// ============================================================================================
// all-objects manager
// ============================================================================================

// Every object of the plot in insertion order; hands input to the selected ones.
class TiPlotObjectManager : public TiPlotObjectManagerCustom {
  PL_CLASS(TiPlotObjectManager)
 public:
  using TiPlotObjectManagerCustom::TiPlotObjectManagerCustom;
  ~TiPlotObjectManager() override;
  // Raises Exception "Object Manager does not support creation of objects".
  TiPlotObject* CreateObject() override;
  AnsiString GetBaseName() override { return "n/a"; }
  void Add(TiPlotObject* Obj) override;

  void DeselectAll();
  void SetShiftState(TShiftState Shift);
  // Each reaches the objects that are selected at the moment the loop reaches them.
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y, int32_t ScreenX,
                 int32_t ScreenY, TPopupMenu* PopupMenu);
  void MouseMove(TiHintData& HintData, TShiftState Shift, int32_t X, int32_t Y, bool DblClick);
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  void KeyDown(WORD& Key, TShiftState Shift);
  bool MouseWheel(int32_t WheelDelta, TShiftState Shift, TPoint MousePos);
  // Clears every object's remove, layout-change and change handlers (the plot's destructor).
  void DetachAll();
};

// ============================================================================================
// per-kind managers
// ============================================================================================

// The owned manager of one kind: accepts objects of its class, names unnamed ones and gives
// them the kind's defaults.  The kind's class is a class reference so that the plot can use
// another class of the kind (the channel class).
class TiPlotKindManager : public TiPlotObjectOwnedManager {
  PL_CLASS(TiPlotKindManager)
 public:
  TiPlotKindManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                    const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange, const char* ABaseName,
                    const TiPlotObjectClass* AKindClass);
  TiPlotObject* CreateObject() override;
  AnsiString GetBaseName() override { return FBaseName; }
  void Add(TiPlotObject* Obj) override;

  const TiPlotObjectClass* GetKindClass() const { return FKindClass; }
  void SetKindClass(const TiPlotObjectClass* Value) { FKindClass = Value; }
  // Whether Obj belongs to this kind (of the kind's class; nothing while none is set).
  bool IsKind(const TiPlotObject* Obj) const { return FKindClass && FKindClass->IsInstance(Obj); }

 protected:
  // The defaults of a new object that arrived without a name (it has its unique name already).
  virtual void ApplyDefaults(TiPlotObject*) {}

 private:
  AnsiString FBaseName;
  const TiPlotObjectClass* FKindClass;
};

// The defaults that name an object's axes or channel are written through the kinds' published
// properties, so that the managers depend only on the names the kinds publish.

class TiPlotToolBarManager : public TiPlotKindManager {
  PL_CLASS(TiPlotToolBarManager)
 public:
  TiPlotToolBarManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                       const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange,
                       const TiPlotObjectClass* AClass)
      : TiPlotKindManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "Toolbar", AClass) {}
};

class TiPlotLegendManager : public TiPlotKindManager {
  PL_CLASS(TiPlotLegendManager)
 public:
  TiPlotLegendManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                      const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange,
                      const TiPlotObjectClass* AClass)
      : TiPlotKindManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "Legend", AClass) {}
};

class TiPlotTableManager : public TiPlotKindManager {
  PL_CLASS(TiPlotTableManager)
 public:
  TiPlotTableManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                     const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange,
                     const TiPlotObjectClass* AClass)
      : TiPlotKindManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "Table", AClass) {}
};

// X and Y axes: Title := Name.
class TiPlotAxisManager : public TiPlotKindManager {
  PL_CLASS(TiPlotAxisManager)
 public:
  using TiPlotKindManager::TiPlotKindManager;

 protected:
  void ApplyDefaults(TiPlotObject* Obj) override;
};

class TiPlotXAxisManager : public TiPlotAxisManager {
  PL_CLASS(TiPlotXAxisManager)
 public:
  TiPlotXAxisManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                     const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange,
                     const TiPlotObjectClass* AClass)
      : TiPlotAxisManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "X-Axis", AClass) {}
};

class TiPlotYAxisManager : public TiPlotAxisManager {
  PL_CLASS(TiPlotYAxisManager)
 public:
  TiPlotYAxisManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                     const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange,
                     const TiPlotObjectClass* AClass)
      : TiPlotAxisManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "Y-Axis", AClass) {}
};

// A colour of the channel palette and how many channels use it.
struct TiColorCountObject {
  TColor Color = 0;
  int32_t Count = 0;
};

// Channels: the kind is the channel base class; new objects are of the channel class.
class TiPlotChannelManager : public TiPlotKindManager {
  PL_CLASS(TiPlotChannelManager)
 public:
  // AKindClass: the channel base (what Add accepts); the channel class starts equal to it.
  TiPlotChannelManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                       const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange,
                       const TiPlotObjectClass* AKindClass)
      : TiPlotKindManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "Channel", AKindClass),
        FChannelClass(AKindClass) {}
  TiPlotObject* CreateObject() override;
  // A channel of a class a stored plot may name is stored with it, unless it is a Y-T channel
  // among Y-T channels (so that the usual plot stores nothing more).
  AnsiString StoredClassName(const TiPlotObject* Obj) const override;
  TiPlotObject* CreateStoredObject(const AnsiString& ClassName) override;
  // The class a stored channel names (empty: the channel class); raises EReadError for a name
  // that is no channel class.
  const TiPlotObjectClass* StoredClass(const AnsiString& ClassName) const;

  const TiPlotObjectClass* GetChannelClass() const { return FChannelClass; }
  void SetChannelClass(const TiPlotObjectClass* Value) { FChannelClass = Value; }
  void SetAxisManagers(TiPlotObjectManagerCustom* XAxes, TiPlotObjectManagerCustom* YAxes) {
    FXAxisManager = XAxes;
    FYAxisManager = YAxes;
  }

  // The 30 colours new channels are given, in order of preference.
  static const std::vector<TColor>& Palette();
  // The colour for a channel just added to the list: red while fewer than two channels exist,
  // else the first palette colour that the fewest channels use.
  TColor NextColor();

 protected:
  void ApplyDefaults(TiPlotObject* Obj) override;

 private:
  const TiPlotObjectClass* FChannelClass;
  TiPlotObjectManagerCustom* FXAxisManager = nullptr;
  TiPlotObjectManagerCustom* FYAxisManager = nullptr;
};

class TiPlotDataViewManager : public TiPlotKindManager {
  PL_CLASS(TiPlotDataViewManager)
 public:
  TiPlotDataViewManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                        const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                        const TNotifyEvent& AOnChange, const TiPlotObjectClass* AClass)
      : TiPlotKindManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "Data View", AClass) {}
  void SetAxisManagers(TiPlotObjectManagerCustom* XAxes, TiPlotObjectManagerCustom* YAxes) {
    FXAxisManager = XAxes;
    FYAxisManager = YAxes;
  }

 protected:
  void ApplyDefaults(TiPlotObject* Obj) override;

 private:
  TiPlotObjectManagerCustom* FXAxisManager = nullptr;
  TiPlotObjectManagerCustom* FYAxisManager = nullptr;
};

class TiPlotDataCursorManager : public TiPlotKindManager {
  PL_CLASS(TiPlotDataCursorManager)
 public:
  TiPlotDataCursorManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                          const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                          const TNotifyEvent& AOnChange, const TiPlotObjectClass* AClass)
      : TiPlotKindManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "Cursor", AClass) {}
  void SetReferences(TiPlotObjectManagerCustom* Channels, TiPlotObjectManagerCustom* DataViews) {
    FChannelManager = Channels;
    FDataViewManager = DataViews;
  }

 protected:
  void ApplyDefaults(TiPlotObject* Obj) override;

 private:
  TiPlotObjectManagerCustom* FChannelManager = nullptr;
  TiPlotObjectManagerCustom* FDataViewManager = nullptr;
};

class TiPlotLimitManager : public TiPlotKindManager {
  PL_CLASS(TiPlotLimitManager)
 public:
  TiPlotLimitManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                     const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange,
                     const TiPlotObjectClass* AClass)
      : TiPlotKindManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "Limit", AClass) {}
  void SetAxisManagers(TiPlotObjectManagerCustom* XAxes, TiPlotObjectManagerCustom* YAxes) {
    FXAxisManager = XAxes;
    FYAxisManager = YAxes;
  }

 protected:
  void ApplyDefaults(TiPlotObject* Obj) override;

 private:
  TiPlotObjectManagerCustom* FXAxisManager = nullptr;
  TiPlotObjectManagerCustom* FYAxisManager = nullptr;
};

// Labels: Caption := Name.
class TiPlotLabelManager : public TiPlotKindManager {
  PL_CLASS(TiPlotLabelManager)
 public:
  TiPlotLabelManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                     const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange,
                     const TiPlotObjectClass* AClass)
      : TiPlotKindManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "Label", AClass) {}

 protected:
  void ApplyDefaults(TiPlotObject* Obj) override;
};

// Annotations are appended and never named.
class TiPlotAnnotationManager : public TiPlotKindManager {
  PL_CLASS(TiPlotAnnotationManager)
 public:
  TiPlotAnnotationManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                          const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                          const TNotifyEvent& AOnChange, const TiPlotObjectClass* AClass)
      : TiPlotKindManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange, "Annotation", AClass) {}
  void Add(TiPlotObject* Obj) override;
};
