// TCollection: an ordered list of items of one class (status panels, columns, OPC items) that
// is stored as one property of its owner; TCollectionItem: the items, which leave their
// collection when freed.  TOwnedCollection knows the object that holds it.
#pragma once

#include <vector>

#include "platform/runtime/Persistent.h"

class TCollection;

enum TCollectionNotification : uint8_t { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  PL_CLASS(TCollectionItem)

 public:
  // Joins Collection (last) when given.  Items created through TCollection::Add or Insert
  // announce themselves (Notify, Update) once fully constructed; an item constructed directly
  // announces itself from here, before a derived class's members exist.
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* GetCollection() const { return collection_; }
  // Moves the item to another collection (which must take its class), or out with nullptr.
  virtual void SetCollection(TCollection* Value);
  // Position in the collection, -1 outside one; setting moves it (EListError when out of range).
  int32_t GetIndex() const;
  virtual void SetIndex(int32_t Value);
  // Unique within the collection for its whole life, in creation order.
  int32_t ID() const { return id_; }
  virtual AnsiString GetDisplayName();
  virtual void SetDisplayName(const AnsiString&) {}

  TPersistent* GetOwner() override;
  AnsiString GetNamePath() override;

 protected:
  // Tells the collection that this item (or, with AllItems, every item) changed.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int32_t id_ = 0;
};

class TCollection : public TPersistent {
  PL_CLASS(TCollection)

 public:
  explicit TCollection(const TClassInfo& ItemClass);
  // Frees the items without calling Update.
  ~TCollection() override;

  // A new item of ItemClass, last.
  TCollectionItem* Add();
  // A new item at Index (EListError when out of range).
  TCollectionItem* Insert(int32_t Index);
  void Delete(int32_t Index);
  void Clear();
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int32_t UpdateCount() const { return updateCount_; }

  int32_t Count() const { return int32_t(items_.size()); }
  // Raises EListError "List index out of bounds (%d)".
  TCollectionItem* Items(int32_t Index) const;
  // Assigns Value to the item at Index.
  void SetItem(int32_t Index, TCollectionItem* Value);
  TCollectionItem* FindItemID(int32_t ID) const;
  const TClassInfo& ItemClass() const { return *itemClass_; }

  // From another collection: clears this one and adds a copy of each item (Assign per item).
  void Assign(TPersistent* Source) override;
  AnsiString GetNamePath() override;
  // The name of the owner's published property that holds this collection, or "".
  AnsiString PropName();

 protected:
  // Item changed, or nil: the whole collection changed.  Not called while updates are held.
  virtual void Update(TCollectionItem*) {}
  virtual void Notify(TCollectionItem*, TCollectionNotification) {}
  // Calls Update(nullptr) unless updates are held.
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item, bool announce);
  void Announce(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  const TClassInfo* itemClass_;
  std::vector<TCollectionItem*> items_;
  int32_t nextID_ = 0;
  int32_t updateCount_ = 0;
  bool constructing_ = false;  // Add/Insert announce the item after its construction
};

class TOwnedCollection : public TCollection {
  PL_CLASS(TOwnedCollection)

 public:
  TOwnedCollection(TPersistent* AOwner, const TClassInfo& ItemClass)
      : TCollection(ItemClass), owner_(AOwner) {}
  TPersistent* GetOwner() override { return owner_; }

 private:
  TPersistent* owner_;
};
