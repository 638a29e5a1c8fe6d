#include "framework/TypInfo.h"

#include <map>
#include <mutex>

#include "framework/Classes.h"

bool SameIdent(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace

TEnumInfo::TEnumInfo(std::string typeName, std::string_view idents) : name_(std::move(typeName)) {
  while (!idents.empty()) {
    const size_t comma = idents.find(',');
    idents_.emplace_back(Trim(idents.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    idents.remove_prefix(comma + 1);
  }
}

TEnumInfo::TEnumInfo(std::string typeName, std::vector<std::string> idents)
    : name_(std::move(typeName)), idents_(std::move(idents)) {}

const std::string& TEnumInfo::Ident(int64_t ordinal) const {
  static const std::string kEmpty;
  if (ordinal < 0 || ordinal >= static_cast<int64_t>(idents_.size())) return kEmpty;
  return idents_[static_cast<size_t>(ordinal)];
}

int TEnumInfo::Ordinal(std::string_view ident) const {
  for (size_t i = 0; i < idents_.size(); ++i)
    if (SameIdent(idents_[i], ident)) return static_cast<int>(i);
  return -1;
}

const TEnumInfo& BooleanEnumInfo() {
  static const TEnumInfo info("Boolean", std::vector<std::string>{"False", "True"});
  return info;
}

TIdentMap::TIdentMap(std::initializer_list<std::pair<const char*, int32_t>> entries) {
  for (const auto& [name, value] : entries) entries_.emplace_back(name, value);
}

bool TIdentMap::ToInt(std::string_view ident, int32_t& value) const {
  for (const auto& [name, v] : entries_)
    if (SameIdent(name, ident)) {
      value = v;
      return true;
    }
  return false;
}

const char* TIdentMap::ToIdent(int32_t value) const {
  for (const auto& [name, v] : entries_)
    if (v == value) return name.c_str();
  return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

bool TClassInfo::InheritsFrom(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (SameIdent(c->name_, name)) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TPropInfo& p : c->props_)
      if (SameIdent(p.name, name)) return &p;
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TMethodInfo& m : c->methods_)
      if (SameIdent(m.name, name)) return &m;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TFieldInfo& f : c->fields_)
      if (SameIdent(f.name, name)) return &f;
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->parent_) chain.push_back(c);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const TPropInfo& p : (*it)->props_) {
      bool seen = false;
      for (const TPropInfo* q : out) seen = seen || SameIdent(q->name, p.name);
      if (!seen) out.push_back(FindProperty(p.name));  // the most derived declaration
    }
  return out;
}

TObject* TClassInfo::Create(TObject* owner) const {
  if (!creator_) throw EPropertyError("class " + name_ + " cannot be created by name");
  return creator_(owner);
}

namespace {

struct Registry {
  std::mutex lock;
  std::map<std::string, const TClassInfo*> classes;  // by lower-case name
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

std::wstring Utf8Narrow(std::string_view s) { return Utf8ToWide(s); }
std::string Utf8Wide(std::wstring_view s) { return WideToUtf8(s); }
NarrowToWideFn gToWide = &Utf8Narrow;
WideToNarrowFn gToNarrow = &Utf8Wide;

}  // namespace

void RegisterFrameworkClass(const TClassInfo& info) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.classes[Lower(info.Name())] = &info;
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
  for (const TClassInfo* info : classes)
    if (info) RegisterFrameworkClass(*info);
}

const TClassInfo* FindClass(std::string_view name) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  auto it = r.classes.find(Lower(name));
  return it == r.classes.end() ? nullptr : it->second;
}

void SetNarrowTextCodec(NarrowToWideFn toWide, WideToNarrowFn toNarrow) {
  gToWide = toWide ? toWide : &Utf8Narrow;
  gToNarrow = toNarrow ? toNarrow : &Utf8Wide;
}
std::wstring NarrowToWide(std::string_view text) { return gToWide(text); }
std::string WideToNarrow(std::wstring_view text) { return gToNarrow(text); }

// ---- by-name access ----

namespace {

const char* KindName(TTypeKind kind) {
  switch (kind) {
    case TTypeKind::tkInteger: return "integer";
    case TTypeKind::tkEnumeration: return "enumeration";
    case TTypeKind::tkSet: return "set";
    case TTypeKind::tkString: return "text";
    case TTypeKind::tkWString: return "wide text";
    case TTypeKind::tkClass: return "object";
    case TTypeKind::tkMethod: return "event";
  }
  return "?";
}

const TPropInfo& Need(const TObject* instance, std::string_view name) {
  if (!instance) throw EPropertyError("property " + std::string(name) + " of a null object");
  const TPropInfo* p = instance->ClassType().FindProperty(name);
  if (!p) throw EPropertyError("unknown property '" + std::string(name) + "' of " + instance->ClassName());
  return *p;
}

[[noreturn]] void WrongKind(const TObject* instance, const TPropInfo& p, const char* wanted) {
  throw EPropertyError("property " + p.name + " of " + instance->ClassName() + " is of kind " +
                       KindName(p.kind) + ", not " + wanted);
}

[[noreturn]] void ReadOnly(const TObject* instance, const TPropInfo& p) {
  throw EPropertyError("property " + p.name + " of " + instance->ClassName() + " is read-only");
}

bool IsOrdinal(TTypeKind k) {
  return k == TTypeKind::tkInteger || k == TTypeKind::tkEnumeration || k == TTypeKind::tkSet;
}

std::vector<std::string> ParseSetText(std::string_view text) {
  text = Trim(text);
  if (text.size() < 2 || text.front() != '[' || text.back() != ']')
    throw EPropertyError("set value must be written [a, b]: " + std::string(text));
  text = text.substr(1, text.size() - 2);
  std::vector<std::string> out;
  if (Trim(text).empty()) return out;
  while (true) {
    const size_t comma = text.find(',');
    std::string_view member = Trim(text.substr(0, comma));
    if (member.empty()) throw EPropertyError("empty member in set value");
    out.emplace_back(member);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return out;
}

}  // namespace

uint64_t SetBitsFromIdents(const TEnumInfo& info, const std::vector<std::string>& idents) {
  uint64_t bits = 0;
  for (const std::string& ident : idents) {
    const int ord = info.Ordinal(ident);
    if (ord < 0 || ord >= 64) throw EPropertyError("'" + ident + "' is not a member of " + info.Name());
    bits |= uint64_t{1} << ord;
  }
  return bits;
}

std::string SetToText(const TEnumInfo& info, uint64_t bits) {
  std::string out = "[";
  for (int i = 0; i < 64; ++i)
    if ((bits >> i) & 1u) {
      if (out.size() > 1) out += ", ";
      const std::string& ident = info.Ident(i);
      out += ident.empty() ? std::to_string(i) : ident;
    }
  return out + "]";
}

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name) {
  return instance ? instance->ClassType().FindProperty(name) : nullptr;
}

bool IsPublishedProp(const TObject* instance, std::string_view name) {
  return GetPropInfo(instance, name) != nullptr;
}

TTypeKind PropType(const TObject* instance, std::string_view name) { return Need(instance, name).kind; }

int64_t GetOrdProp(const TObject* instance, std::string_view name) {
  const TPropInfo& p = Need(instance, name);
  if (!IsOrdinal(p.kind)) WrongKind(instance, p, "ordinal");
  return p.getOrd(instance);
}

void SetOrdProp(TObject* instance, std::string_view name, int64_t value) {
  const TPropInfo& p = Need(instance, name);
  if (!IsOrdinal(p.kind)) WrongKind(instance, p, "ordinal");
  if (!p.setOrd) ReadOnly(instance, p);
  if (p.kind == TTypeKind::tkEnumeration && (value < 0 || value >= p.enumInfo->Count()))
    throw EPropertyError("value " + std::to_string(value) + " out of range for " + p.name);
  if (p.kind == TTypeKind::tkInteger && (value < INT32_MIN || value > INT64_C(0xFFFFFFFF)))
    throw EPropertyError("value " + std::to_string(value) + " out of range for " + p.name);
  if (p.kind == TTypeKind::tkInteger) value = static_cast<int32_t>(static_cast<uint32_t>(value));
  p.setOrd(instance, value);
}

std::string GetEnumProp(const TObject* instance, std::string_view name) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind == TTypeKind::tkSet) return SetToText(*p.enumInfo, static_cast<uint64_t>(p.getOrd(instance)));
  if (p.kind != TTypeKind::tkEnumeration) WrongKind(instance, p, "enumeration");
  return p.enumInfo->Ident(p.getOrd(instance));
}

void SetEnumProp(TObject* instance, std::string_view name, std::string_view ident) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind != TTypeKind::tkEnumeration) WrongKind(instance, p, "enumeration");
  if (!p.setOrd) ReadOnly(instance, p);
  const int ord = p.enumInfo->Ordinal(Trim(ident));
  if (ord < 0)
    throw EPropertyError("'" + std::string(ident) + "' is not a value of " + p.enumInfo->Name());
  p.setOrd(instance, ord);
}

std::string GetSetProp(const TObject* instance, std::string_view name) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind != TTypeKind::tkSet) WrongKind(instance, p, "set");
  return SetToText(*p.enumInfo, static_cast<uint64_t>(p.getOrd(instance)));
}

void SetSetProp(TObject* instance, std::string_view name, std::string_view text) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind != TTypeKind::tkSet) WrongKind(instance, p, "set");
  if (!p.setOrd) ReadOnly(instance, p);
  p.setOrd(instance, static_cast<int64_t>(SetBitsFromIdents(*p.enumInfo, ParseSetText(text))));
}

std::string GetStrProp(const TObject* instance, std::string_view name) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind == TTypeKind::tkString) return p.getStr(instance);
  if (p.kind == TTypeKind::tkWString) return WideToNarrow(p.getWStr(instance));
  WrongKind(instance, p, "text");
}

void SetStrProp(TObject* instance, std::string_view name, const std::string& value) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind == TTypeKind::tkString) {
    if (!p.setStr) ReadOnly(instance, p);
    p.setStr(instance, value);
  } else if (p.kind == TTypeKind::tkWString) {
    if (!p.setWStr) ReadOnly(instance, p);
    p.setWStr(instance, NarrowToWide(value));
  } else {
    WrongKind(instance, p, "text");
  }
}

std::wstring GetWideStrProp(const TObject* instance, std::string_view name) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind == TTypeKind::tkWString) return p.getWStr(instance);
  if (p.kind == TTypeKind::tkString) return NarrowToWide(p.getStr(instance));
  WrongKind(instance, p, "text");
}

void SetWideStrProp(TObject* instance, std::string_view name, const std::wstring& value) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind == TTypeKind::tkWString) {
    if (!p.setWStr) ReadOnly(instance, p);
    p.setWStr(instance, value);
  } else if (p.kind == TTypeKind::tkString) {
    if (!p.setStr) ReadOnly(instance, p);
    p.setStr(instance, WideToNarrow(value));
  } else {
    WrongKind(instance, p, "text");
  }
}

TObject* GetObjectProp(const TObject* instance, std::string_view name) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind != TTypeKind::tkClass) WrongKind(instance, p, "object");
  return p.getObj(instance);
}

void SetObjectProp(TObject* instance, std::string_view name, TObject* value) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind != TTypeKind::tkClass) WrongKind(instance, p, "object");
  if (!p.setObj) ReadOnly(instance, p);
  p.setObj(instance, value);
}

std::any GetMethodProp(const TObject* instance, std::string_view name) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind != TTypeKind::tkMethod) WrongKind(instance, p, "event");
  return p.getMethod(instance);
}

void SetMethodProp(TObject* instance, std::string_view name, const std::any& value) {
  const TPropInfo& p = Need(instance, name);
  if (p.kind != TTypeKind::tkMethod) WrongKind(instance, p, "event");
  if (!p.setMethod) ReadOnly(instance, p);
  p.setMethod(instance, value);
}

std::wstring GetPropValue(const TObject* instance, std::string_view name) {
  const TPropInfo& p = Need(instance, name);
  switch (p.kind) {
    case TTypeKind::tkInteger: {
      const auto v = static_cast<int32_t>(p.getOrd(instance));
      if (p.identMap)
        if (const char* ident = p.identMap->ToIdent(v)) return Utf8ToWide(ident);
      return std::to_wstring(v);
    }
    case TTypeKind::tkEnumeration:
      return Utf8ToWide(p.enumInfo->Ident(p.getOrd(instance)));
    case TTypeKind::tkSet:
      return Utf8ToWide(SetToText(*p.enumInfo, static_cast<uint64_t>(p.getOrd(instance))));
    case TTypeKind::tkString:
      return NarrowToWide(p.getStr(instance));
    case TTypeKind::tkWString:
      return p.getWStr(instance);
    default:
      WrongKind(instance, p, "integer, enumeration, set or text");
  }
}

void SetPropValue(TObject* instance, std::string_view name, const std::wstring& value) {
  const TPropInfo& p = Need(instance, name);
  switch (p.kind) {
    case TTypeKind::tkInteger: {
      const std::string text(Trim(WideToUtf8(value)));
      int32_t v = 0;
      if (p.identMap && p.identMap->ToInt(text, v)) {
        SetOrdProp(instance, name, v);
        return;
      }
      // StrToIntDef has no "invalid" result, so try two fallbacks.
      const int32_t a = StrToIntDef(text, 0), b = StrToIntDef(text, 1);
      if (a != b) throw EPropertyError("'" + text + "' is not a number for " + p.name);
      SetOrdProp(instance, name, a);
      return;
    }
    case TTypeKind::tkEnumeration:
      SetEnumProp(instance, name, WideToUtf8(value));
      return;
    case TTypeKind::tkSet:
      SetSetProp(instance, name, WideToUtf8(value));
      return;
    case TTypeKind::tkString:
    case TTypeKind::tkWString:
      SetWideStrProp(instance, name, value);
      return;
    default:
      WrongKind(instance, p, "integer, enumeration, set or text");
  }
}
