// TClassBuilder: declares the published properties, events, methods and fields of a
// framework class. Used in the source file that defines Type::StaticClass():
//
//   const TClassInfo& TButton::StaticClass() {
//     static const TClassInfo info = TClassBuilder<TButton>("TButton", &Inherited::StaticClass())
//         .Property("Default", &TButton::Default, &TButton::SetDefault)
//         .Property("OnClick", &TButton::OnClick)        // a public std::function member
//         .Build();
//     return info;
//   }
//
// The property kind follows from the C++ type: int32_t (optionally with a TIdentMap) is
// tkInteger, bool and FRAMEWORK_ENUM types are tkEnumeration, TSetOf<E> is tkSet,
// std::string tkString, std::wstring tkWString, pointers to framework classes tkClass,
// std::function<...> tkMethod. A form publishes its handlers with Method() and its
// component fields with Field().
#pragma once

#include <concepts>
#include <type_traits>
#include <typeinfo>

#include "framework/Classes.h"
#include "framework/Collections.h"

namespace typinfo_detail {

template <class T>
struct IsSetOf : std::false_type {};
template <class E>
struct IsSetOf<TSetOf<E>> : std::true_type {};

template <class T>
struct IsFunction : std::false_type {};
template <class R, class... A>
struct IsFunction<std::function<R(A...)>> : std::true_type {};

template <class T>
concept HasEnumInfo = std::is_enum_v<T> && requires { EnumInfoOf(static_cast<T*>(nullptr)); };

template <class T>
concept FrameworkPointer =
    std::is_pointer_v<T> && std::is_base_of_v<TObject, std::remove_pointer_t<T>>;

// Member function or data pointer types of a getter and a setter, reduced to a value type.
template <class M>
struct GetterType;
template <class C, class R>
struct GetterType<R (C::*)() const> {
  using Type = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterType<R (C::*)() const noexcept> {
  using Type = std::remove_cvref_t<R>;
};
// Getters that ask the window (Text, ClientWidth) are not const.
template <class C, class R>
struct GetterType<R (C::*)()> {
  using Type = std::remove_cvref_t<R>;
};

template <class T>
struct MemberFunctionTraits;
template <class C, class R, class... A>
struct MemberFunctionTraits<R (C::*)(A...)> {
  using Function = std::function<R(A...)>;
  template <class Obj, class M>
  static Function Bind(Obj* self, M m) {
    return [self, m](A... args) -> R { return (self->*m)(std::forward<A>(args)...); };
  }
};

}  // namespace typinfo_detail

template <class C>
class TClassBuilder {
 public:
  TClassBuilder(const char* name, const TClassInfo* parent) : info_(name, parent) {
    using namespace typinfo_detail;
    if constexpr (!std::is_abstract_v<C> && std::is_constructible_v<C, TComponent*>) {
      info_.creator_ = [](TObject* owner) -> TObject* {
        auto* ownerComponent = dynamic_cast<TComponent*>(owner);
        if (owner && !ownerComponent) throw EPropertyError("owner of a component must be a component");
        return new C(ownerComponent);
      };
    } else if constexpr (!std::is_abstract_v<C> && std::is_constructible_v<C, TCollection*>) {
      info_.creator_ = [](TObject* owner) -> TObject* {
        auto* collection = dynamic_cast<TCollection*>(owner);
        if (!collection) throw EPropertyError("a collection item needs its collection");
        return new C(collection);
      };
    }
  }

  // A property with a getter and an optional setter (member functions of C or a base).
  template <class G, class S = std::nullptr_t>
    requires std::is_member_function_pointer_v<G>
  TClassBuilder& Property(const char* name, G getter, S setter = nullptr,
                          const TIdentMap* idents = nullptr) {
    using T = typename typinfo_detail::GetterType<G>::Type;
    TPropInfo p = MakeInfo<T>(name, idents);
    AddAccessors<T>(p, [getter](const C* self) -> T { return (const_cast<C*>(self)->*getter)(); },
                    MakeSetter<T>(setter));
    info_.props_.push_back(std::move(p));
    return *this;
  }

  // A property that is a public data member (events mostly).
  template <class B, class T>
    requires std::is_base_of_v<B, C> && (!std::is_function_v<T>)
  TClassBuilder& Property(const char* name, T B::*member, const TIdentMap* idents = nullptr) {
    TPropInfo p = MakeInfo<T>(name, idents);
    AddAccessors<T>(p, [member](const C* self) -> T { return self->*member; },
                    [member](C* self, const T& v) { self->*member = v; });
    info_.props_.push_back(std::move(p));
    return *this;
  }

  // A handler a layout can bind to events by name.
  template <class M>
  TClassBuilder& Method(const char* name, M method) {
    using Traits = typinfo_detail::MemberFunctionTraits<M>;
    info_.methods_.push_back({name, [method](TObject* self) -> std::any {
                                return typename Traits::Function(
                                    Traits::Bind(static_cast<C*>(self), method));
                              }});
    return *this;
  }

  // A component field that the layout reader sets when it creates `name`.
  template <class B, class T>
    requires std::is_base_of_v<B, C> && std::is_base_of_v<TComponent, T>
  TClassBuilder& Field(const char* name, T* B::*member) {
    info_.fields_.push_back({name, &T::StaticClass, [member](TObject* self, TComponent* v) {
                               T* typed = dynamic_cast<T*>(v);
                               if (v && !typed) return false;
                               static_cast<C*>(self)->*member = typed;
                               return true;
                             }});
    return *this;
  }

  TClassInfo Build() { return std::move(info_); }

 private:
  template <class T, class S>
  static std::function<void(C*, const T&)> MakeSetter(S setter) {
    if constexpr (std::is_same_v<S, std::nullptr_t>) {
      return {};
    } else {
      return [setter](C* self, const T& v) { (self->*setter)(v); };
    }
  }

  template <class T>
  static TPropInfo MakeInfo(const char* name, const TIdentMap* idents) {
    using namespace typinfo_detail;
    TPropInfo p;
    p.name = name;
    if constexpr (std::is_same_v<T, bool>) {
      p.kind = TTypeKind::tkEnumeration;
      p.enumInfo = &BooleanEnumInfo();
    } else if constexpr (HasEnumInfo<T>) {
      p.kind = TTypeKind::tkEnumeration;
      p.enumInfo = &EnumInfoFor<T>();
    } else if constexpr (IsSetOf<T>::value) {
      p.kind = TTypeKind::tkSet;
      p.enumInfo = &EnumInfoFor<typename T::Member>();
    } else if constexpr (std::is_integral_v<T>) {
      static_assert(sizeof(T) <= 4, "integer properties are 32-bit");
      p.kind = TTypeKind::tkInteger;
      p.identMap = idents;
    } else if constexpr (std::is_same_v<T, std::string>) {
      p.kind = TTypeKind::tkString;
    } else if constexpr (std::is_same_v<T, std::wstring>) {
      p.kind = TTypeKind::tkWString;
    } else if constexpr (FrameworkPointer<T>) {
      p.kind = TTypeKind::tkClass;
      p.objectClass = &std::remove_pointer_t<T>::StaticClass;
    } else if constexpr (IsFunction<T>::value) {
      p.kind = TTypeKind::tkMethod;
      p.methodSignature = typeid(T).name();
    } else {
      static_assert(sizeof(T) == 0, "type cannot be published");
    }
    return p;
  }

  template <class T, class Get, class Set>
  static void AddAccessors(TPropInfo& p, Get get, Set set) {
    using namespace typinfo_detail;
    const bool writable = static_cast<bool>(std::function<void(C*, const T&)>(set));
    if constexpr (std::is_same_v<T, bool> || std::is_enum_v<T> || std::is_integral_v<T>) {
      p.getOrd = [get](const TObject* o) -> int64_t {
        return static_cast<int64_t>(get(static_cast<const C*>(o)));
      };
      if (writable)
        p.setOrd = [set](TObject* o, int64_t v) {
          if constexpr (std::is_same_v<T, bool>) {
            set(static_cast<C*>(o), v != 0);
          } else {
            set(static_cast<C*>(o), static_cast<T>(v));
          }
        };
    } else if constexpr (IsSetOf<T>::value) {
      p.getOrd = [get](const TObject* o) -> int64_t {
        return static_cast<int64_t>(get(static_cast<const C*>(o)).Bits());
      };
      if (writable)
        p.setOrd = [set](TObject* o, int64_t v) {
          set(static_cast<C*>(o), T::FromBits(static_cast<uint64_t>(v)));
        };
    } else if constexpr (std::is_same_v<T, std::string>) {
      p.getStr = [get](const TObject* o) { return get(static_cast<const C*>(o)); };
      if (writable) p.setStr = [set](TObject* o, const std::string& v) { set(static_cast<C*>(o), v); };
    } else if constexpr (std::is_same_v<T, std::wstring>) {
      p.getWStr = [get](const TObject* o) { return get(static_cast<const C*>(o)); };
      if (writable)
        p.setWStr = [set](TObject* o, const std::wstring& v) { set(static_cast<C*>(o), v); };
    } else if constexpr (FrameworkPointer<T>) {
      p.getObj = [get](const TObject* o) -> TObject* { return get(static_cast<const C*>(o)); };
      if (writable)
        p.setObj = [set](TObject* o, TObject* v) {
          using Target = std::remove_pointer_t<T>;
          Target* typed = dynamic_cast<Target*>(v);
          if (v && !typed)
            throw EPropertyError("a " + v->ClassName() + " is not a " + Target::StaticClass().Name());
          set(static_cast<C*>(o), typed);
        };
    } else if constexpr (IsFunction<T>::value) {
      p.getMethod = [get](const TObject* o) -> std::any { return get(static_cast<const C*>(o)); };
      if (writable)
        p.setMethod = [set](TObject* o, const std::any& v) {
          if (!v.has_value()) {
            set(static_cast<C*>(o), T());
            return;
          }
          const T* f = std::any_cast<T>(&v);
          if (!f) throw EPropertyError("handler does not fit the event's parameters");
          set(static_cast<C*>(o), *f);
        };
    }
  }

  TClassInfo info_;
};
