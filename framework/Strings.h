// TStrings (the abstract list of text lines with attached objects) and TStringList (its
// in-memory form, optionally sorted). Portable. Layouts store a list's lines as
// `Lines.Strings = ( 'a' 'b' )`, through DefineProperties.
#pragma once

#include <string>
#include <vector>

#include "framework/Classes.h"

FRAMEWORK_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

class TStrings : public TPersistent {
  FRAMEWORK_CLASS(TStrings, TPersistent)

 public:
  virtual int Count() const = 0;
  // Index out of range throws Exception ("List index out of bounds (n)").
  virtual std::wstring Get(int index) const = 0;
  virtual void Put(int index, const std::wstring& text);
  virtual TObject* Objects(int index) const;
  virtual void PutObject(int index, TObject* object);
  virtual void Insert(int index, const std::wstring& text) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  // Adds at the end; returns the new line's index.
  virtual int Add(const std::wstring& text);
  int AddObject(const std::wstring& text, TObject* object);
  // Adds all lines of `other` at the end (one change notification; memo lines append
  // them in a single edit).
  virtual void AddStrings(const TStrings& other);
  void AddStrings(const std::vector<std::wstring>& lines);
  virtual int IndexOf(const std::wstring& text) const;  // case-insensitive (ASCII)
  int IndexOfName(const std::wstring& name) const;
  int IndexOfObject(const TObject* object) const;

  // Lines joined, each followed by CR LF; setting splits at CR LF, LF or CR.
  virtual std::wstring Text() const;
  virtual void SetText(const std::wstring& text);
  // Comma-separated, quoted where needed ("a b","c").
  std::wstring CommaText() const;
  void SetCommaText(const std::wstring& text);
  // "Name=Value" lines.
  std::wstring Names(int index) const;
  std::wstring ValueFromIndex(int index) const;
  std::wstring Values(const std::wstring& name) const;
  void SetValue(const std::wstring& name, const std::wstring& value);

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  void Assign(const TPersistent* source) override;
  bool Equals(const TStrings& other) const;
  std::vector<std::wstring> ToVector() const;
  void DefineProperties(TFiler& filer) override;

  // Streams as UTF-8 text (a byte-order mark is skipped when reading).
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

 protected:
  // Entering and leaving the update state (the memo switches painting off and on).
  virtual void SetUpdateState(bool /*updating*/) {}
  [[noreturn]] void Error(int index) const;

 private:
  int updateCount_ = 0;
};

class TStringList : public TStrings {
  FRAMEWORK_CLASS(TStringList, TStrings)

 public:
  TStringList() = default;
  explicit TStringList(const std::vector<std::wstring>& lines);

  int Count() const override { return static_cast<int>(items_.size()); }
  std::wstring Get(int index) const override;
  void Put(int index, const std::wstring& text) override;
  TObject* Objects(int index) const override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::wstring& text) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const std::wstring& text) override;
  int IndexOf(const std::wstring& text) const override;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  void Sort();
  // Binary search of a sorted list: true and the index when found, else false and the
  // insertion index.
  bool Find(const std::wstring& text, int& index) const;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool updating) override;
  void Changed();
  void Changing();
  int Compare(const std::wstring& a, const std::wstring& b) const;

 private:
  struct Item {
    std::wstring text;
    TObject* object = nullptr;
  };
  void CheckIndex(int index, bool allowEnd) const;

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};

// Case-insensitive comparison of ASCII letters; other characters compare by code.
int CompareTextW(const std::wstring& a, const std::wstring& b);
