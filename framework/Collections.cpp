#include "framework/Collections.h"

#include <algorithm>

#include "framework/ClassBuilder.h"

const TClassInfo& TCollectionItem::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCollectionItem>("TCollectionItem", &Inherited::StaticClass()).Build();
  return info;
}

const TClassInfo& TCollection::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCollection>("TCollection", &Inherited::StaticClass()).Build();
  return info;
}

TCollectionItem::TCollectionItem(TCollection* collection) {
  if (collection) collection->InsertItem(this, collection->Count());
}

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  const auto& items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  if (!collection_) return;
  auto& items = collection_->items_;
  const int current = Index();
  index = std::clamp(index, 0, static_cast<int>(items.size()) - 1);
  if (index == current) return;
  items.erase(items.begin() + current);
  items.insert(items.begin() + index, this);
  Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const { return collection_; }

void TCollectionItem::Changed(bool all) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(all ? nullptr : this);
}

TCollection::TCollection(TPersistent* owner, const TClassInfo& itemClass)
    : owner_(owner), itemClass_(itemClass) {}

TCollection::~TCollection() {
  ++updateCount_;  // no Update calls while tearing down
  while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() { return Insert(Count()); }

TCollectionItem* TCollection::Insert(int index) {
  BeginUpdate();
  TObject* created = nullptr;
  try {
    created = itemClass_.Create(this);  // the item adds itself at the end
  } catch (...) {
    EndUpdate();
    throw;
  }
  auto* item = dynamic_cast<TCollectionItem*>(created);
  if (!item || item->collection_ != this) {
    delete created;
    EndUpdate();
    throw Exception("item class " + itemClass_.Name() + " is not a collection item");
  }
  index = std::clamp(index, 0, Count() - 1);
  if (item->Index() != index) {
    items_.erase(std::find(items_.begin(), items_.end(), item));
    items_.insert(items_.begin() + index, item);
  }
  EndUpdate();
  return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) delete items_.back();
  EndUpdate();
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  BeginUpdate();
  try {
    Clear();
    for (const TCollectionItem* item : other->items_) Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Update(TCollectionItem* /*item*/) {}

void TCollection::InsertItem(TCollectionItem* item, int index) {
  if (item->collection_) item->collection_->RemoveItem(item);
  items_.insert(items_.begin() + index, item);
  item->collection_ = this;
  Notify(item, true);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  Notify(item, false);
  items_.erase(std::find(items_.begin(), items_.end(), item));
  item->collection_ = nullptr;
  Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}
