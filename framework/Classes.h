// The component model: TObject (run-time class information), TPersistent (assignable,
// streamable), TComponent (owner and owned components, Name, Tag, component state,
// notifications). Portable.
//
// Ownership: a component created with an owner is freed by that owner, owned components
// in the reverse order of their creation. Deleting an owned component earlier is fine: it
// leaves its owner's list, and the owner (and everything the owner owns) receives
// Notification(component, opRemove).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/LayoutValue.h"
#include "framework/Streams.h"
#include "framework/TypInfo.h"

class TObject;
class TComponent;

// The standard event: "something happened to Sender".
using TNotifyEvent = std::function<void(TObject* sender)>;

// The root of every framework class: its published type information.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().Name(); }
  bool InheritsFrom(const TClassInfo& info) const { return ClassType().InheritsFrom(info); }
  template <class T>
  bool Is() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }
};

// Declares the class information of a framework class (define StaticClass in its source,
// usually with TClassBuilder).
#define FRAMEWORK_CLASS(Type, Base)                                      \
 public:                                                                 \
  using Inherited = Base;                                                \
  static const TClassInfo& StaticClass();                                \
  const TClassInfo& ClassType() const override { return StaticClass(); } \
                                                                         \
 private:

// Receives the extra stored properties of a persistent object: named values the layout
// text holds beside the published properties (a string list's "Strings", a skin
// component's binary "SkinStream").
class TFiler {
 public:
  virtual ~TFiler() = default;
  // `read` gets the value as written in the layout; `write` produces it; `hasData` says
  // whether the writer stores it.
  virtual void DefineProperty(const std::string& name,
                              std::function<void(const TLayoutValue&)> read,
                              std::function<TLayoutValue()> write, bool hasData) = 0;
  // A binary property, written as a hex block { ... }.
  virtual void DefineBinaryProperty(const std::string& name,
                                    std::function<void(TStream&)> read,
                                    std::function<void(TStream&)> write, bool hasData) = 0;
};

class TPersistent : public TObject {
  FRAMEWORK_CLASS(TPersistent, TObject)

 public:
  // Copies `source` into this object; throws Exception when the kinds do not fit.
  virtual void Assign(const TPersistent* source);
  virtual void DefineProperties(TFiler& filer);
  // The object a sub-object belongs to (a font's control, a collection's owner).
  virtual TPersistent* GetOwner() const { return nullptr; }

 protected:
  // Called by Assign when this object does not know `source`: lets the source copy
  // itself into `dest`.
  virtual void AssignTo(TPersistent* dest) const;
};

enum class TOperation { opInsert, opRemove };

FRAMEWORK_ENUM(TComponentStateFlag, csLoading, csReading, csWriting, csDestroying,
               csDesigning, csAncestor, csUpdating, csFixups, csFreeNotification,
               csInline, csDesignInstance)
using TComponentState = TSetOf<TComponentStateFlag>;

class TComponent : public TPersistent {
  FRAMEWORK_CLASS(TComponent, TPersistent)

 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  // Position in the owner's list, -1 without owner.
  int ComponentIndex() const;
  // Owned component of that name (case-insensitive), or nullptr.
  TComponent* FindComponent(std::wstring_view name) const;
  template <class T>
  T* Find(std::wstring_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees all owned components, last created first.
  void DestroyComponents();

  const std::wstring& Name() const { return name_; }
  // Throws Exception for a name that is not an identifier or that a sibling already has.
  virtual void SetName(const std::wstring& name);
  int32_t Tag() const { return tag_; }
  void SetTag(int32_t value) { tag_ = value; }

  TComponentState ComponentState() const { return state_; }
  bool Loading() const { return state_.Contains(csLoading); }
  bool DestroyingState() const { return state_.Contains(csDestroying); }
  // This program never runs in a designer: csDesigning is never set.
  bool Designing() const { return false; }

  // Marks this component and everything it owns as being destroyed.
  void Destroying();
  // Asks `component` to send Notification(this, opRemove)... to this component when it is
  // destroyed (for references to components of other owners).
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Set by the layout reader while it reads this component.
  void SetLoading(bool loading);
  // Called once the whole layout was read (all references resolved). Clears csLoading.
  virtual void Loaded();
  // The component a stored layout nests this one in (a control's parent).
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* /*parent*/) {}
  virtual bool HasParent() const { return false; }

  TPersistent* GetOwner() const override { return owner_; }

 protected:
  // An owned or free-notified component was inserted or is going away. The base passes
  // the news on to every owned component.
  virtual void Notification(TComponent* component, TOperation operation);
  // A derived class whose destructor still needs its owned components gone first calls
  // Destroying() and DestroyComponents() at the top of its destructor.

 private:
  void SendNotification(TComponent* component, TOperation operation);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::wstring name_;
  int32_t tag_ = 0;
  TComponentState state_;
};

// Is `name` a valid component name (letter or underscore, then letters, digits,
// underscores)? An empty name is valid (unnamed component).
bool IsValidIdent(std::wstring_view name);
