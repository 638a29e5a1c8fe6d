#include "framework/Strings.h"

#include <algorithm>

#include "framework/ClassBuilder.h"

const TClassInfo& TStrings::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStrings>("TStrings", &Inherited::StaticClass()).Build();
  return info;
}

const TClassInfo& TStringList::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TStringList>("TStringList", &Inherited::StaticClass())
          .Property("Sorted", &TStringList::Sorted, &TStringList::SetSorted)
          .Property("Duplicates", &TStringList::Duplicates, &TStringList::SetDuplicates)
          .Property("CaseSensitive", &TStringList::CaseSensitive, &TStringList::SetCaseSensitive)
          .Property("OnChange", &TStringList::OnChange)
          .Property("OnChanging", &TStringList::OnChanging)
          .Build();
  return info;
}

int CompareTextW(const std::wstring& a, const std::wstring& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    wchar_t x = a[i], y = b[i];
    if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
    if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// ---- TStrings ----

void TStrings::Error(int index) const {
  throw Exception("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::Put(int index, const std::wstring& text) {
  TObject* object = Objects(index);
  BeginUpdate();
  try {
    Delete(index);
    Insert(index, text);
    PutObject(index, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TObject* TStrings::Objects(int index) const {
  if (index < 0 || index >= Count()) Error(index);
  return nullptr;
}

void TStrings::PutObject(int /*index*/, TObject* /*object*/) {}

int TStrings::Add(const std::wstring& text) {
  const int index = Count();
  Insert(index, text);
  return index;
}

int TStrings::AddObject(const std::wstring& text, TObject* object) {
  const int index = Add(text);
  PutObject(index, object);
  return index;
}

void TStrings::AddStrings(const TStrings& other) {
  const std::vector<std::wstring> lines = other.ToVector();  // `other` may be this list
  AddStrings(lines);
}

void TStrings::AddStrings(const std::vector<std::wstring>& lines) {
  BeginUpdate();
  try {
    for (const std::wstring& line : lines) Add(line);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::IndexOf(const std::wstring& text) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareTextW(Get(i), text) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const std::wstring& name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::wstring line = Get(i);
    const size_t eq = line.find(L'=');
    if (eq != std::wstring::npos && CompareTextW(line.substr(0, eq), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (Objects(i) == object) return i;
  return -1;
}

std::wstring TStrings::Text() const {
  std::wstring out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += L"\r\n";
  }
  return out;
}

void TStrings::SetText(const std::wstring& text) {
  BeginUpdate();
  try {
    Clear();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = start;
      while (end < text.size() && text[end] != L'\r' && text[end] != L'\n') ++end;
      Add(text.substr(start, end - start));
      if (end < text.size() && text[end] == L'\r') ++end;
      if (end < text.size() && text[end] == L'\n') ++end;
      start = end;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::wstring TStrings::CommaText() const {
  std::wstring out;
  for (int i = 0; i < Count(); ++i) {
    const std::wstring s = Get(i);
    if (i > 0) out += L',';
    const bool quote = s.empty() || s.find_first_of(L" ,\"\t") != std::wstring::npos;
    if (!quote) {
      out += s;
      continue;
    }
    out += L'"';
    for (wchar_t c : s) {
      if (c == L'"') out += L'"';
      out += c;
    }
    out += L'"';
  }
  return out;
}

void TStrings::SetCommaText(const std::wstring& text) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0;
    auto skipBlanks = [&] {
      while (i < text.size() && text[i] > 0 && text[i] <= L' ') ++i;
    };
    skipBlanks();
    while (i < text.size()) {
      std::wstring item;
      if (text[i] == L'"') {
        ++i;
        while (i < text.size()) {
          if (text[i] == L'"') {
            if (i + 1 < text.size() && text[i + 1] == L'"') {
              item += L'"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          item += text[i++];
        }
      } else {
        while (i < text.size() && text[i] != L',' && text[i] > L' ') item += text[i++];
      }
      Add(item);
      skipBlanks();
      if (i < text.size() && text[i] == L',') {
        ++i;
        skipBlanks();
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::wstring TStrings::Names(int index) const {
  const std::wstring line = Get(index);
  const size_t eq = line.find(L'=');
  return eq == std::wstring::npos ? std::wstring() : line.substr(0, eq);
}

std::wstring TStrings::ValueFromIndex(int index) const {
  const std::wstring line = Get(index);
  const size_t eq = line.find(L'=');
  return eq == std::wstring::npos ? std::wstring() : line.substr(eq + 1);
}

std::wstring TStrings::Values(const std::wstring& name) const {
  const int i = IndexOfName(name);
  return i < 0 ? std::wstring() : ValueFromIndex(i);
}

void TStrings::SetValue(const std::wstring& name, const std::wstring& value) {
  const int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i >= 0) {
    Put(i, name + L"=" + value);
  } else {
    Add(name + L"=" + value);
  }
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TStrings*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (int i = 0; i < other->Count(); ++i) AddObject(other->Get(i), other->Objects(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

std::vector<std::wstring> TStrings::ToVector() const {
  std::vector<std::wstring> out;
  out.reserve(static_cast<size_t>(Count()));
  for (int i = 0; i < Count(); ++i) out.push_back(Get(i));
  return out;
}

void TStrings::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "Strings",
      [this](const TLayoutValue& value) {
        if (value.kind != TLayoutValue::Kind::List)
          throw EPropertyError("Strings must be a list of texts ( 'a' 'b' )");
        std::vector<std::wstring> lines;
        for (const TLayoutValue& item : value.list) {
          if (item.kind != TLayoutValue::Kind::String) throw EPropertyError("Strings holds texts only");
          lines.push_back(item.text);
        }
        BeginUpdate();
        try {
          Clear();
          AddStrings(lines);
        } catch (...) {
          EndUpdate();
          throw;
        }
        EndUpdate();
      },
      [this] {
        TLayoutValue value;
        value.kind = TLayoutValue::Kind::List;
        for (int i = 0; i < Count(); ++i) {
          TLayoutValue item;
          item.kind = TLayoutValue::Kind::String;
          item.text = Get(i);
          value.list.push_back(std::move(item));
        }
        return value;
      },
      Count() > 0);
}

void TStrings::LoadFromStream(TStream& stream) {
  std::string bytes(static_cast<size_t>(stream.Remaining()), '\0');
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), bytes.size());
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  SetText(Utf8ToWide(bytes));
}

void TStrings::SaveToStream(TStream& stream) const {
  const std::string bytes = WideToUtf8(Text());
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), bytes.size());
}

// ---- TStringList ----

TStringList::TStringList(const std::vector<std::wstring>& lines) {
  for (const auto& line : lines) items_.push_back({line, nullptr});
}

void TStringList::CheckIndex(int index, bool allowEnd) const {
  const int limit = allowEnd ? Count() : Count() - 1;
  if (index < 0 || index > limit) Error(index);
}

std::wstring TStringList::Get(int index) const {
  CheckIndex(index, false);
  return items_[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, const std::wstring& text) {
  if (sorted_) throw Exception("Operation not allowed on sorted list");
  CheckIndex(index, false);
  Changing();
  items_[static_cast<size_t>(index)].text = text;
  Changed();
}

TObject* TStringList::Objects(int index) const {
  CheckIndex(index, false);
  return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index, false);
  Changing();
  items_[static_cast<size_t>(index)].object = object;
  Changed();
}

void TStringList::Insert(int index, const std::wstring& text) {
  if (sorted_) throw Exception("Operation not allowed on sorted list");
  CheckIndex(index, true);
  Changing();
  items_.insert(items_.begin() + index, Item{text, nullptr});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index, false);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

int TStringList::Add(const std::wstring& text) {
  if (!sorted_) {
    Changing();
    items_.push_back({text, nullptr});
    Changed();
    return Count() - 1;
  }
  int index = 0;
  if (Find(text, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw Exception("String list does not allow duplicates");
  }
  Changing();
  items_.insert(items_.begin() + index, Item{text, nullptr});
  Changed();
  return index;
}

int TStringList::IndexOf(const std::wstring& text) const {
  if (sorted_) {
    int index = 0;
    return Find(text, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i)
    if (Compare(items_[static_cast<size_t>(i)].text, text) == 0) return i;
  return -1;
}

int TStringList::Compare(const std::wstring& a, const std::wstring& b) const {
  if (caseSensitive_) return a == b ? 0 : (a < b ? -1 : 1);
  return CompareTextW(a, b);
}

bool TStringList::Find(const std::wstring& text, int& index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const int c = Compare(items_[static_cast<size_t>(mid)].text, text);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (value == sorted_) return;
  if (value) Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (value == caseSensitive_) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

void TStringList::SetUpdateState(bool updating) {
  // One notice for the whole update block (the count is already non-zero here).
  if (updating) {
    if (OnChanging) OnChanging(this);
  } else {
    if (OnChange) OnChange(this);
  }
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}
