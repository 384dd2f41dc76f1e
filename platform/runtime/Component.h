// TComponent: a named object with an owner that frees it, the list of components it owns in
// creation order, loading and destroying states, and notifications when a related component
// joins or goes away.  Also the global list of roots (forms, data modules, read definitions)
// that cross-root references are looked up in.
//
// Read-only properties are plain accessors (Owner(), ComponentCount(), Components(i),
// ComponentState()); read/write ones are GetX/SetX (GetName/SetName, GetTag/SetTag).
// Thread contract: components belong to the main thread.
#pragma once

#include <functional>
#include <vector>

#include "platform/runtime/Persistent.h"

class TComponent;
class TReader;
class TWriter;

enum TComponentStateItem : uint8_t {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem, 16>;

enum TComponentStyleItem : uint8_t { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleItem, 8>;

enum TOperation : uint8_t { opInsert, opRemove };

using TGetChildProc = std::function<void(TComponent*)>;

class TComponent : public TPersistent {
  PL_CLASS(TComponent)

 public:
  // Joins AOwner's list (last) when AOwner is given.
  explicit TComponent(TComponent* AOwner);
  // Owned components are freed last-created first; components that asked for free notification
  // are told, and the owner's list loses this one.  A derived class whose Notification must see
  // its owned components go calls DestroyComponents() in its own destructor.
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  TComponent* GetOwner() override { return owner_; }
  const AnsiString& GetName() const { return name_; }
  // Raises EComponentError "'X' is not a valid component name" or "A component named X already
  // exists" (names compare without regard to case among the owner's components).
  virtual void SetName(const AnsiString& NewName);
  int32_t GetTag() const { return tag_; }
  void SetTag(int32_t Value) { tag_ = Value; }

  int32_t ComponentCount() const { return int32_t(components_.size()); }
  // Raises EListError "List index out of bounds (%d)".
  TComponent* Components(int32_t Index) const;
  // Position in the owner's list, -1 without an owner; setting moves it there.
  int32_t GetComponentIndex() const;
  void SetComponentIndex(int32_t Value);
  // Among the owned components, without regard to case; nullptr for "" or none.
  TComponent* FindComponent(const AnsiString& AName) const;

  TComponentState ComponentState() const { return state_; }
  TComponentStyle ComponentStyle() const { return style_; }

  // Called on every component once a stored definition has been read; clears csLoading.
  virtual void Loaded();
  // A component joined (opInsert) or is going (opRemove); passed on to every owned component.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // AComponent gets Notification(this, opRemove) when this one is freed, and the other way
  // round; components of one owner are told through the owner and need no entry.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  // Marks this component and everything it owns as being destroyed.
  void Destroying();

  // What a stored definition lists inside this component: none here; roots and containers
  // list theirs.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual void SetChildOrder(TComponent*, int32_t) {}
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual bool HasParent() const { return false; }
  virtual void SetParentComponent(TComponent*) {}
  // Reading and writing this component's part of a stored definition.
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  // The position a form designer shows a non-visual component at: Left in the low word, Top in
  // the high word.  Stored as "Left" and "Top" wherever the class publishes no such property.
  int32_t GetDesignInfo() const { return designInfo_; }
  void SetDesignInfo(int32_t Value) { designInfo_ = Value; }
  void DefineProperties(TFiler* Filer) override;

  AnsiString GetNamePath() override { return name_; }
  // A component that is a property of another and stored inside it, not by reference.
  void SetSubComponent(bool IsSubComponent);
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetInline(bool Value);

 protected:
  virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName);
  virtual void ValidateContainer(TComponent* AComponent);
  virtual void ValidateInsert(TComponent*) {}
  // Sets or clears the owner's published field of this component's name.
  void SetReference(bool Enable);

 private:
  friend class TReader;
  friend class TWriter;
  friend struct TReadSession;
  friend void AddGlobalComponent(TComponent*);
  friend void RemoveGlobalComponent(TComponent*);

  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* owner_ = nullptr;
  AnsiString name_;
  int32_t tag_ = 0;
  int32_t designInfo_ = 0;
  TComponentState state_;
  TComponentStyle style_{csInheritable};
  bool global_ = false;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
};

// Whether s is a name of letters, digits and underscores not starting with a digit.
bool IsValidIdent(const AnsiString& s);

// The roots that references in stored definitions may name from another root ("Form2.Edit1").
// A root leaves the list when it is freed.
void AddGlobalComponent(TComponent* Component);
void RemoveGlobalComponent(TComponent* Component);
// Without regard to case; nullptr when none.
TComponent* FindGlobalComponent(const AnsiString& Name);
