// Run-time type information of the framework: per-class tables of published properties,
// published methods (event handlers a layout can name) and published fields (component
// references a layout fills in), the class registry, and reading and writing any
// published property by name. Portable (no Windows header).
//
// Property kinds: tkInteger (32-bit; optional identifiers such as "clBtnFace"),
// tkEnumeration (booleans included; read and written by identifier), tkSet (bits by the
// ordinal of the member enumeration, text "[a, b]"), tkString (narrow text, the system
// code page on Windows), tkWString (UTF-16 text on Windows), tkClass (an object: a
// sub-object such as Font or a reference such as PopupMenu) and tkMethod (an event: a
// std::function held in a std::any).
//
// Names of properties, methods, enumeration identifiers and classes compare without
// regard to ASCII letter case, as the layout text and the engine's helpers expect.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/SysUtils.h"

class TObject;
class TComponent;
class TClassInfo;

enum class TTypeKind { tkInteger, tkEnumeration, tkSet, tkString, tkWString, tkClass, tkMethod };

// A property that does not exist, has another kind, or refused a value.
class EPropertyError : public Exception {
 public:
  explicit EPropertyError(const std::string& message) : Exception(message) {}
};

bool SameIdent(std::string_view a, std::string_view b);

// The identifiers of an enumeration type, in ordinal order (0, 1, ...).
class TEnumInfo {
 public:
  // `idents` is the enumerator list as written in code: "bsNone, bsSingle, ...".
  TEnumInfo(std::string typeName, std::string_view idents);
  TEnumInfo(std::string typeName, std::vector<std::string> idents);

  const std::string& Name() const { return name_; }
  int Count() const { return static_cast<int>(idents_.size()); }
  // Empty for an ordinal out of range.
  const std::string& Ident(int64_t ordinal) const;
  // -1 when no identifier matches.
  int Ordinal(std::string_view ident) const;

 private:
  std::string name_;
  std::vector<std::string> idents_;
};

// The type information of `bool`: False, True.
const TEnumInfo& BooleanEnumInfo();

// Declares an enumeration whose members are 0, 1, ... and its identifier table, found by
// EnumInfoOf((Type*)nullptr). Members stay unscoped, as the layout text names them.
#define FRAMEWORK_ENUM(Type, ...)                                   \
  enum Type : int { __VA_ARGS__ };                                  \
  inline const TEnumInfo& EnumInfoOf(Type*) {                       \
    static const TEnumInfo info(#Type, std::string_view(#__VA_ARGS__)); \
    return info;                                                    \
  }

template <class E>
const TEnumInfo& EnumInfoFor() {
  return EnumInfoOf(static_cast<E*>(nullptr));
}

// A set of members of an enumeration declared with FRAMEWORK_ENUM (at most 64 members).
template <class E>
class TSetOf {
 public:
  constexpr TSetOf() = default;
  constexpr TSetOf(std::initializer_list<E> members) {
    for (E m : members) Include(m);
  }
  static constexpr TSetOf FromBits(uint64_t bits) {
    TSetOf s;
    s.bits_ = bits;
    return s;
  }
  constexpr uint64_t Bits() const { return bits_; }
  constexpr bool Contains(E m) const { return (bits_ >> static_cast<int>(m)) & 1u; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSetOf& Include(E m) {
    bits_ |= uint64_t{1} << static_cast<int>(m);
    return *this;
  }
  constexpr TSetOf& Exclude(E m) {
    bits_ &= ~(uint64_t{1} << static_cast<int>(m));
    return *this;
  }
  constexpr TSetOf operator|(TSetOf o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSetOf operator&(TSetOf o) const { return FromBits(bits_ & o.bits_); }
  constexpr TSetOf operator-(TSetOf o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr bool operator==(const TSetOf&) const = default;

  using Member = E;

 private:
  uint64_t bits_ = 0;
};

// Identifiers that an integer property accepts beside numbers (colours, cursors,
// character sets).
class TIdentMap {
 public:
  TIdentMap(std::initializer_list<std::pair<const char*, int32_t>> entries);
  bool ToInt(std::string_view ident, int32_t& value) const;
  // nullptr when the value has no identifier.
  const char* ToIdent(int32_t value) const;

 private:
  std::vector<std::pair<std::string, int32_t>> entries_;
};

// One published property. The accessors matching `kind` are set; the others are empty.
// A property without a setter is read-only (sub-objects such as Font are changed through
// their own properties).
struct TPropInfo {
  std::string name;
  TTypeKind kind = TTypeKind::tkInteger;
  const TEnumInfo* enumInfo = nullptr;    // tkEnumeration, tkSet (member type)
  const TIdentMap* identMap = nullptr;    // tkInteger, optional
  // tkClass: the class the value must have (a function: a class may have a property of
  // its own class, whose information is not built yet while the table is).
  const TClassInfo& (*objectClass)() = nullptr;

  std::function<int64_t(const TObject*)> getOrd;  // integer, enumeration, set bits
  std::function<void(TObject*, int64_t)> setOrd;
  std::function<std::string(const TObject*)> getStr;
  std::function<void(TObject*, const std::string&)> setStr;
  std::function<std::wstring(const TObject*)> getWStr;
  std::function<void(TObject*, const std::wstring&)> setWStr;
  std::function<TObject*(const TObject*)> getObj;
  std::function<void(TObject*, TObject*)> setObj;  // throws EPropertyError on a wrong class
  std::function<std::any(const TObject*)> getMethod;
  std::function<void(TObject*, const std::any&)> setMethod;  // throws on a wrong signature
  std::string methodSignature;  // readable type of the event, for messages

  bool Writable() const {
    return setOrd || setStr || setWStr || setObj || setMethod;
  }
};

// A published method: binds the method of an instance to a std::function held in a
// std::any, which an event property of the same signature accepts.
struct TMethodInfo {
  std::string name;
  std::function<std::any(TObject*)> bind;
};

// A published field: a component reference of the root that the layout reader fills in
// when it creates the component of that name.
struct TFieldInfo {
  std::string name;
  const TClassInfo& (*fieldClass)() = nullptr;
  std::function<bool(TObject* self, TComponent* value)> set;  // false: wrong class
};

class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent) : name_(std::move(name)), parent_(parent) {}
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;
  TClassInfo(TClassInfo&&) = default;

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(const TClassInfo& other) const;
  // Is this class, or one of its ancestors, named `name`?
  bool InheritsFrom(std::string_view name) const;

  // Search this class first, then its ancestors.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;
  // All properties, ancestors' first; a redeclared name appears once, where first seen.
  std::vector<const TPropInfo*> Properties() const;
  const std::vector<TPropInfo>& OwnProperties() const { return props_; }

  // Classes with a constructor taking their owner (a component's owner, a collection
  // item's collection) can be created by name.
  bool CanCreate() const { return static_cast<bool>(creator_); }
  TObject* Create(TObject* owner) const;

 private:
  template <class C>
  friend class TClassBuilder;

  std::string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> props_;
  std::vector<TMethodInfo> methods_;
  std::vector<TFieldInfo> fields_;
  std::function<TObject*(TObject*)> creator_;
};

// Classes the layout reader may create by name. (Not "RegisterClass": windows.h makes
// that name a macro.)
void RegisterFrameworkClass(const TClassInfo& info);
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
const TClassInfo* FindClass(std::string_view name);

// Narrow text (tkString) conversion. UTF-8 unless the platform layer installs its code
// page conversion.
using NarrowToWideFn = std::wstring (*)(std::string_view);
using WideToNarrowFn = std::string (*)(std::wstring_view);
void SetNarrowTextCodec(NarrowToWideFn toWide, WideToNarrowFn toNarrow);
std::wstring NarrowToWide(std::string_view text);
std::string WideToNarrow(std::wstring_view text);

// By-name access. GetPropInfo reports an absent property as nullptr; every other helper
// throws EPropertyError for an absent property, a wrong kind or a bad value.
const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name);
bool IsPublishedProp(const TObject* instance, std::string_view name);
TTypeKind PropType(const TObject* instance, std::string_view name);

int64_t GetOrdProp(const TObject* instance, std::string_view name);
void SetOrdProp(TObject* instance, std::string_view name, int64_t value);
std::string GetEnumProp(const TObject* instance, std::string_view name);
void SetEnumProp(TObject* instance, std::string_view name, std::string_view ident);
// "[a, b]"; empty set "[]".
std::string GetSetProp(const TObject* instance, std::string_view name);
void SetSetProp(TObject* instance, std::string_view name, std::string_view text);
std::string GetStrProp(const TObject* instance, std::string_view name);
void SetStrProp(TObject* instance, std::string_view name, const std::string& value);
// Wide text of a tkWString property, or of a tkString property converted.
std::wstring GetWideStrProp(const TObject* instance, std::string_view name);
void SetWideStrProp(TObject* instance, std::string_view name, const std::wstring& value);
TObject* GetObjectProp(const TObject* instance, std::string_view name);
void SetObjectProp(TObject* instance, std::string_view name, TObject* value);
std::any GetMethodProp(const TObject* instance, std::string_view name);
void SetMethodProp(TObject* instance, std::string_view name, const std::any& value);

// Any non-object, non-event property as text: numbers in decimal (an integer with an
// identifier gives the identifier), enumerations as identifiers, sets as "[a, b]".
std::wstring GetPropValue(const TObject* instance, std::string_view name);
// The reverse: integers from decimal or "$hex" or an identifier of the property,
// enumerations from an identifier, sets from "[a, b]", text as is.
void SetPropValue(TObject* instance, std::string_view name, const std::wstring& value);

// Set text helpers shared with the layout reader.
uint64_t SetBitsFromIdents(const TEnumInfo& info, const std::vector<std::string>& idents);
std::string SetToText(const TEnumInfo& info, uint64_t bits);
