#include "framework/LayoutReader.h"

#include <memory>
#include <vector>

#include "framework/Collections.h"

namespace {

// Collects the definitions a persistent object makes in DefineProperties.
class DefinitionFinder : public TFiler {
 public:
  explicit DefinitionFinder(std::string_view name) : name_(name) {}

  void DefineProperty(const std::string& name, std::function<void(const TLayoutValue&)> read,
                      std::function<TLayoutValue()> /*write*/, bool /*hasData*/) override {
    if (!found_ && SameIdent(name, name_)) {
      found_ = true;
      read_ = std::move(read);
    }
  }

  void DefineBinaryProperty(const std::string& name, std::function<void(TStream&)> read,
                            std::function<void(TStream&)> /*write*/, bool /*hasData*/) override {
    if (!found_ && SameIdent(name, name_)) {
      found_ = true;
      binary_ = true;
      readBinary_ = std::move(read);
    }
  }

  bool Found() const { return found_; }

  void Apply(const TLayoutValue& value, int line) {
    if (!binary_) {
      if (read_) read_(value);
      return;
    }
    if (value.kind != TLayoutValue::Kind::Binary)
      throw ELayoutError(line, name_ + " must be binary data { ... }");
    TMemoryStream stream(value.bytes);
    if (readBinary_) readBinary_(stream);
  }

 private:
  std::string name_;
  bool found_ = false;
  bool binary_ = false;
  std::function<void(const TLayoutValue&)> read_;
  std::function<void(TStream&)> readBinary_;
};

const char* ValueKindName(TLayoutValue::Kind kind) {
  switch (kind) {
    case TLayoutValue::Kind::Integer: return "a number";
    case TLayoutValue::Kind::Float: return "a decimal number";
    case TLayoutValue::Kind::Ident: return "an identifier";
    case TLayoutValue::Kind::String: return "a text";
    case TLayoutValue::Kind::Set: return "a set";
    case TLayoutValue::Kind::List: return "a list";
    case TLayoutValue::Kind::Collection: return "a collection";
    case TLayoutValue::Kind::Binary: return "binary data";
  }
  return "a value";
}

class Reader {
 public:
  explicit Reader(TComponent* root) : root_(root) {}

  void ReadRoot(const TLayoutObject& tree) {
    if (!root_->ClassType().InheritsFrom(tree.className))
      throw ELayoutError(tree.line, "the layout describes a " + tree.className + ", not a " + root_->ClassName());
    Guard(tree.line, [&] {
      root_->SetLoading(true);
      loaded_.push_back(root_);
      if (!tree.name.empty()) root_->SetName(UniqueRootName(Utf8ToWide(tree.name)));
    });
    ReadProperties(root_, tree.properties);
    for (const TLayoutObject& child : tree.children) ReadChild(root_, child);
    ResolveReferences();
    Finish();
  }

 private:
  // A second instance of a form gets "Form1_1" and so on, as its owner already has a
  // component of the stored name.
  std::wstring UniqueRootName(const std::wstring& name) const {
    TComponent* owner = root_->Owner();
    auto taken = [&](const std::wstring& candidate) {
      TComponent* other = owner ? owner->FindComponent(candidate) : nullptr;
      return other && other != root_;
    };
    if (!taken(name)) return name;
    for (int i = 1;; ++i) {
      const std::wstring candidate = name + L"_" + std::to_wstring(i);
      if (!taken(candidate)) return candidate;
    }
  }

  template <class F>
  static void Guard(int line, F&& action) {
    try {
      action();
    } catch (const ELayoutError&) {
      throw;
    } catch (const std::exception& e) {
      throw ELayoutError(line, e.what());
    }
  }

  void ReadChild(TComponent* parent, const TLayoutObject& object) {
    TComponent* component = nullptr;
    if (object.inherited) {
      component = root_->FindComponent(Utf8ToWide(object.name));
      if (!component) throw ELayoutError(object.line, "no inherited component named " + object.name);
    } else {
      const TClassInfo* info = FindClass(object.className);
      if (!info) throw ELayoutError(object.line, "unknown class " + object.className);
      Guard(object.line, [&] {
        TObject* created = info->Create(root_);
        component = dynamic_cast<TComponent*>(created);
        if (!component) {
          delete created;
          throw ELayoutError(object.line, "class " + object.className + " is not a component");
        }
      });
    }
    Guard(object.line, [&] {
      component->SetLoading(true);
      loaded_.push_back(component);
      if (!object.inherited && !object.name.empty()) component->SetName(Utf8ToWide(object.name));
      if (!object.name.empty()) {
        if (const TFieldInfo* field = root_->ClassType().FindField(object.name)) {
          if (!field->set(root_, component))
            throw ELayoutError(object.line, "field " + object.name + " of " + root_->ClassName() +
                                                " is not a " + component->ClassName());
        }
      }
      component->SetParentComponent(parent);
    });
    ReadProperties(component, object.properties);
    for (const TLayoutObject& child : object.children) ReadChild(component, child);
  }

  void ReadProperties(TPersistent* instance, const std::vector<TLayoutProperty>& props) {
    for (const TLayoutProperty& p : props) ReadProperty(instance, p.name, p.value, p.line);
  }

  void ReadProperty(TPersistent* instance, std::string_view path, const TLayoutValue& value, int line) {
    const size_t dot = path.find('.');
    if (dot != std::string_view::npos) {
      const std::string_view head = path.substr(0, dot);
      const TPropInfo* p = GetPropInfo(instance, head);
      if (!p || p->kind != TTypeKind::tkClass) {
        throw ELayoutError(line, (p ? "property " + std::string(head) + " is no object in " :
                                      "unknown property '" + std::string(head) + "' of ") +
                                     instance->ClassName());
      }
      auto* sub = dynamic_cast<TPersistent*>(p->getObj(instance));
      if (!sub) throw ELayoutError(line, "property " + std::string(head) + " of " + instance->ClassName() + " is empty");
      ReadProperty(sub, path.substr(dot + 1), value, line);
      return;
    }
    const TPropInfo* p = GetPropInfo(instance, path);
    if (!p) {
      DefinitionFinder finder(path);
      Guard(line, [&] { instance->DefineProperties(finder); });
      if (!finder.Found())
        throw ELayoutError(line, "unknown property '" + std::string(path) + "' of " + instance->ClassName());
      Guard(line, [&] { finder.Apply(value, line); });
      return;
    }
    Guard(line, [&] { Assign(instance, *p, value, line); });
  }

  [[noreturn]] static void WrongValue(const TPropInfo& p, const TLayoutValue& value, int line) {
    throw ELayoutError(line, "property " + p.name + " does not take " + ValueKindName(value.kind));
  }

  void Assign(TPersistent* instance, const TPropInfo& p, const TLayoutValue& value, int line) {
    using K = TLayoutValue::Kind;
    if (p.kind == TTypeKind::tkClass && value.kind == K::Collection) {
      auto* collection = dynamic_cast<TCollection*>(p.getObj(instance));
      if (!collection) throw ELayoutError(line, "property " + p.name + " is no collection");
      collection->BeginUpdate();
      try {
        collection->Clear();
        for (const auto& item : value.items) ReadProperties(collection->Add(), item);
      } catch (...) {
        collection->EndUpdate();
        throw;
      }
      collection->EndUpdate();
      return;
    }
    if (!p.Writable()) throw ELayoutError(line, "property " + p.name + " of " + instance->ClassName() + " is read-only");
    switch (p.kind) {
      case TTypeKind::tkInteger: {
        int64_t v = 0;
        if (value.kind == K::Integer) {
          v = value.integer;
        } else if (value.kind == K::Ident) {
          int32_t mapped = 0;
          if (!p.identMap || !p.identMap->ToInt(value.ident, mapped))
            throw ELayoutError(line, "'" + value.ident + "' is not a value of " + p.name);
          v = mapped;
        } else {
          WrongValue(p, value, line);
        }
        if (v < INT32_MIN || v > INT64_C(0xFFFFFFFF)) throw ELayoutError(line, "value out of range for " + p.name);
        p.setOrd(instance, static_cast<int32_t>(static_cast<uint32_t>(v)));
        return;
      }
      case TTypeKind::tkEnumeration: {
        if (value.kind != K::Ident) WrongValue(p, value, line);
        const int ord = p.enumInfo->Ordinal(value.ident);
        if (ord < 0) throw ELayoutError(line, "'" + value.ident + "' is not a value of " + p.enumInfo->Name());
        p.setOrd(instance, ord);
        return;
      }
      case TTypeKind::tkSet:
        if (value.kind != K::Set) WrongValue(p, value, line);
        p.setOrd(instance, static_cast<int64_t>(SetBitsFromIdents(*p.enumInfo, value.setMembers)));
        return;
      case TTypeKind::tkString:
        if (value.kind != K::String) WrongValue(p, value, line);
        p.setStr(instance, WideToNarrow(value.text));
        return;
      case TTypeKind::tkWString:
        if (value.kind != K::String) WrongValue(p, value, line);
        p.setWStr(instance, value.text);
        return;
      case TTypeKind::tkClass:
        if (value.kind != K::Ident) WrongValue(p, value, line);
        if (SameIdent(value.ident, "nil")) {
          p.setObj(instance, nullptr);
        } else {
          references_.push_back({instance, &p, value.ident, line});
        }
        return;
      case TTypeKind::tkMethod: {
        if (value.kind != K::Ident) WrongValue(p, value, line);
        if (SameIdent(value.ident, "nil")) {
          p.setMethod(instance, std::any());
          return;
        }
        const TMethodInfo* method = root_->ClassType().FindMethod(value.ident);
        if (!method)
          throw ELayoutError(line, "unknown handler " + value.ident + " of " + root_->ClassName());
        try {
          p.setMethod(instance, method->bind(root_));
        } catch (const EPropertyError&) {
          throw ELayoutError(line, "handler " + value.ident + " does not fit event " + p.name);
        }
        return;
      }
    }
  }

  void ResolveReferences() {
    for (const Reference& r : references_) {
      TComponent* target = nullptr;
      if (SameIdent(r.name, WideToUtf8(root_->Name()))) {
        target = root_;
      } else {
        target = root_->FindComponent(Utf8ToWide(r.name));
      }
      if (!target) throw ELayoutError(r.line, "no component named " + r.name + " for " + r.property->name);
      Guard(r.line, [&] { r.property->setObj(r.instance, target); });
    }
  }

  void Finish() {
    for (TComponent* c : loaded_) c->SetLoading(false);
    std::exception_ptr first;
    for (TComponent* c : loaded_) {
      try {
        c->Loaded();
      } catch (...) {
        if (!first) first = std::current_exception();
      }
    }
    if (first) std::rethrow_exception(first);
  }

  struct Reference {
    TPersistent* instance;
    const TPropInfo* property;
    std::string name;
    int line;
  };

  TComponent* root_;
  std::vector<TComponent*> loaded_;
  std::vector<Reference> references_;
};

}  // namespace

void ReadComponentLayout(TComponent* root, const TLayoutObject& tree) {
  if (!root) throw Exception("no component to read a layout into");
  Reader(root).ReadRoot(tree);
}

void ReadComponentLayout(TComponent* root, std::string_view text) { ReadComponentLayout(root, ParseLayout(text)); }

TComponent* CreateComponentFromLayout(std::string_view text, TComponent* owner) {
  const TLayoutObject tree = ParseLayout(text);
  const TClassInfo* info = FindClass(tree.className);
  if (!info) throw ELayoutError(tree.line, "unknown class " + tree.className);
  TObject* created = nullptr;
  try {
    created = info->Create(owner);
  } catch (const std::exception& e) {
    throw ELayoutError(tree.line, e.what());
  }
  auto* component = dynamic_cast<TComponent*>(created);
  if (!component) {
    delete created;
    throw ELayoutError(tree.line, "class " + tree.className + " is not a component");
  }
  try {
    ReadComponentLayout(component, tree);
  } catch (...) {
    delete component;
    throw;
  }
  return component;
}

bool HasDefinedProperty(TPersistent* instance, std::string_view name) {
  DefinitionFinder finder(name);
  instance->DefineProperties(finder);
  return finder.Found();
}
