// Component classes with one published property of every kind, for the property and
// layout tests (portable).
#pragma once

#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Collections.h"
#include "framework/Strings.h"

FRAMEWORK_ENUM(TShape, shCircle, shSquare, shTriangle)
FRAMEWORK_ENUM(TFeature, ftRed, ftGreen, ftBlue, ftBold)
using TFeatures = TSetOf<TFeature>;

// A sub-object (like a font): changed through dotted names.
class TPen2 : public TPersistent {
  FRAMEWORK_CLASS(TPen2, TPersistent)

 public:
  int32_t Width() const { return width_; }
  void SetWidth(int32_t v) { width_ = v; }
  std::wstring Style() const { return style_; }
  void SetStyle(const std::wstring& v) { style_ = v; }

 private:
  int32_t width_ = 1;
  std::wstring style_;
};

class TPanelItem : public TCollectionItem {
  FRAMEWORK_CLASS(TPanelItem, TCollectionItem)

 public:
  explicit TPanelItem(TCollection* c) : TCollectionItem(c) {}
  std::wstring Text() const { return text_; }
  void SetText(const std::wstring& v) { text_ = v; }
  int32_t Width() const { return width_; }
  void SetWidth(int32_t v) { width_ = v; }

 private:
  std::wstring text_;
  int32_t width_ = 50;
};

extern const TIdentMap kTestColorIdents;

class TThing : public TComponent {
  FRAMEWORK_CLASS(TThing, TComponent)

 public:
  explicit TThing(TComponent* owner);
  ~TThing() override;

  int32_t Count() const { return count_; }
  void SetCount(int32_t v) { count_ = v; }
  int32_t Color() const { return color_; }
  void SetColor(int32_t v) { color_ = v; }
  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  TShape Shape() const { return shape_; }
  void SetShape(TShape v) { shape_ = v; }
  TFeatures Features() const { return features_; }
  void SetFeatures(TFeatures v) { features_ = v; }
  std::string Narrow() const { return narrow_; }
  void SetNarrow(const std::string& v) { narrow_ = v; }
  std::wstring Caption() const { return caption_; }
  void SetCaption(const std::wstring& v) { caption_ = v; }
  TPen2* Pen() const { return pen_; }
  TThing* Buddy() const { return buddy_; }
  void SetBuddy(TThing* v);
  TStringList* Lines() const { return lines_; }
  TOwnedCollection<TPanelItem>* Panels() const { return panels_; }
  const std::vector<uint8_t>& Blob() const { return blob_; }
  int32_t ReadOnlyValue() const { return 5; }

  TNotifyEvent OnClick;
  std::function<void(TObject*, int)> OnCount;

  // Filled by Loaded: what the component saw when loading ended.
  bool loadedCalled = false;
  bool buddyResolvedAtLoaded = false;
  bool parentSet = false;
  TComponent* parentComponent = nullptr;
  static std::vector<std::wstring>* loadOrder;

  void Loaded() override;
  void DefineProperties(TFiler& filer) override;
  void SetParentComponent(TComponent* parent) override {
    parentSet = true;
    parentComponent = parent;
  }
  TComponent* GetParentComponent() const override { return parentComponent; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  int32_t count_ = 0;
  int32_t color_ = 0;
  bool active_ = false;
  TShape shape_ = shCircle;
  TFeatures features_;
  std::string narrow_;
  std::wstring caption_;
  TPen2* pen_;
  TThing* buddy_ = nullptr;
  TStringList* lines_;
  TOwnedCollection<TPanelItem>* panels_;
  std::vector<uint8_t> blob_;
};

// A derived class: inherits TThing's table and adds one property.
class TSpecialThing : public TThing {
  FRAMEWORK_CLASS(TSpecialThing, TThing)

 public:
  using TThing::TThing;
  int32_t Extra() const { return extra_; }
  void SetExtra(int32_t v) { extra_ = v; }

 private:
  int32_t extra_ = 0;
};

// A root with published handlers and fields, as a form has.
class TRoot : public TThing {
  FRAMEWORK_CLASS(TRoot, TThing)

 public:
  using TThing::TThing;
  TThing* Thing1 = nullptr;
  TSpecialThing* Special1 = nullptr;
  std::vector<std::wstring> clicks;

  void Thing1Click(TObject* sender);
  void CountChanged(TObject* sender, int value);
};

// Registers the test classes (idempotent).
void RegisterTestClasses();
