// TCollection: an owned, ordered list of items of one class (status bar panels, list
// columns). Each TCollectionItem belongs to exactly one collection, which frees it.
// Portable.
#pragma once

#include <vector>

#include "framework/Classes.h"

class TCollection;

class TCollectionItem : public TPersistent {
  FRAMEWORK_CLASS(TCollectionItem, TPersistent)

 public:
  // Adds itself to `collection` (which then owns it); nullptr makes a free item.
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  int Index() const;
  // Moves the item within its collection.
  void SetIndex(int index);
  TPersistent* GetOwner() const override;

 protected:
  // Tells the collection that this item changed (the whole collection when `all`).
  void Changed(bool all);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
};

class TCollection : public TPersistent {
  FRAMEWORK_CLASS(TCollection, TPersistent)

 public:
  // `itemClass` must be creatable with a TCollection* (see TClassBuilder).
  TCollection(TPersistent* owner, const TClassInfo& itemClass);
  ~TCollection() override;

  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const;  // nullptr out of range
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  const TClassInfo& ItemClass() const { return itemClass_; }
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override { return owner_; }

 protected:
  // An item changed (nullptr: the whole collection). Not called inside BeginUpdate.
  virtual void Update(TCollectionItem* item);
  virtual void Notify(TCollectionItem* /*item*/, bool /*added*/) {}

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item, int index);
  void RemoveItem(TCollectionItem* item);
  void Changed();

  TPersistent* owner_;
  const TClassInfo& itemClass_;
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
};

// A collection whose items are all of class T.
template <class T>
class TOwnedCollection : public TCollection {
 public:
  explicit TOwnedCollection(TPersistent* owner) : TCollection(owner, T::StaticClass()) {}
  T* Items(int index) const { return static_cast<T*>(TCollection::Items(index)); }
  T* Add() { return static_cast<T*>(TCollection::Add()); }
};
