#include "tests/framework/TestClasses.h"

#include "framework/ClassBuilder.h"

std::vector<std::wstring>* TThing::loadOrder = nullptr;

const TIdentMap kTestColorIdents{{"clRed", 0x0000FF}, {"clBtnFace", static_cast<int32_t>(0x8000000F)}};

const TClassInfo& TPen2::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPen2>("TPen2", &Inherited::StaticClass())
                                     .Property("Width", &TPen2::Width, &TPen2::SetWidth)
                                     .Property("Style", &TPen2::Style, &TPen2::SetStyle)
                                     .Build();
  return info;
}

const TClassInfo& TPanelItem::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPanelItem>("TPanelItem", &Inherited::StaticClass())
                                     .Property("Text", &TPanelItem::Text, &TPanelItem::SetText)
                                     .Property("Width", &TPanelItem::Width, &TPanelItem::SetWidth)
                                     .Build();
  return info;
}

const TClassInfo& TThing::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TThing>("TThing", &Inherited::StaticClass())
          .Property("Count", &TThing::Count, &TThing::SetCount)
          .Property("Color", &TThing::Color, &TThing::SetColor, &kTestColorIdents)
          .Property("Active", &TThing::Active, &TThing::SetActive)
          .Property("Shape", &TThing::Shape, &TThing::SetShape)
          .Property("Features", &TThing::Features, &TThing::SetFeatures)
          .Property("Narrow", &TThing::Narrow, &TThing::SetNarrow)
          .Property("Caption", &TThing::Caption, &TThing::SetCaption)
          .Property("Pen", &TThing::Pen)
          .Property("Buddy", &TThing::Buddy, &TThing::SetBuddy)
          .Property("Lines", &TThing::Lines)
          .Property("Panels", &TThing::Panels)
          .Property("ReadOnlyValue", &TThing::ReadOnlyValue)
          .Property("OnClick", &TThing::OnClick)
          .Property("OnCount", &TThing::OnCount)
          .Build();
  return info;
}

const TClassInfo& TSpecialThing::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSpecialThing>("TSpecialThing", &Inherited::StaticClass())
                                     .Property("Extra", &TSpecialThing::Extra, &TSpecialThing::SetExtra)
                                     .Build();
  return info;
}

const TClassInfo& TRoot::StaticClass() {
  static const TClassInfo info = TClassBuilder<TRoot>("TRoot", &Inherited::StaticClass())
                                     .Method("Thing1Click", &TRoot::Thing1Click)
                                     .Method("CountChanged", &TRoot::CountChanged)
                                     .Field("Thing1", &TRoot::Thing1)
                                     .Field("Special1", &TRoot::Special1)
                                     .Build();
  return info;
}

TThing::TThing(TComponent* owner)
    : TComponent(owner), pen_(new TPen2), lines_(new TStringList), panels_(new TOwnedCollection<TPanelItem>(this)) {}

TThing::~TThing() {
  delete pen_;
  delete lines_;
  delete panels_;
}

void TThing::SetBuddy(TThing* v) {
  if (buddy_ == v) return;
  if (buddy_) buddy_->RemoveFreeNotification(this);
  buddy_ = v;
  if (buddy_) buddy_->FreeNotification(this);
}

void TThing::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == buddy_) buddy_ = nullptr;
}

void TThing::Loaded() {
  TComponent::Loaded();
  loadedCalled = true;
  buddyResolvedAtLoaded = buddy_ != nullptr;
  if (loadOrder) loadOrder->push_back(Name());
}

void TThing::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Blob",
      [this](TStream& s) {
        blob_.resize(static_cast<size_t>(s.Size()));
        if (!blob_.empty()) s.ReadBuffer(blob_.data(), blob_.size());
      },
      [this](TStream& s) {
        if (!blob_.empty()) s.WriteBuffer(blob_.data(), blob_.size());
      },
      !blob_.empty());
}

void TRoot::Thing1Click(TObject* sender) {
  auto* c = dynamic_cast<TComponent*>(sender);
  clicks.push_back(c ? c->Name() : L"?");
}

void TRoot::CountChanged(TObject* /*sender*/, int value) { clicks.push_back(std::to_wstring(value)); }

void RegisterTestClasses() {
  RegisterFrameworkClass(TThing::StaticClass());
  RegisterFrameworkClass(TSpecialThing::StaticClass());
  RegisterFrameworkClass(TRoot::StaticClass());
}
