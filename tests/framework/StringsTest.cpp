// TStrings / TStringList: lines, text, comma text, name=value pairs, sorting, notification.
#include <gtest/gtest.h>

#include "framework/Strings.h"

namespace {

TEST(StringList, AddInsertDeleteAndBounds) {
  TStringList list;
  EXPECT_EQ(list.Add(L"b"), 0);
  list.Insert(0, L"a");
  list.Add(L"c");
  EXPECT_EQ(list.ToVector(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  list.Delete(1);
  EXPECT_EQ(list.Text(), L"a\r\nc\r\n");
  EXPECT_THROW(list.Get(2), Exception);
  EXPECT_THROW(list.Get(-1), Exception);
  EXPECT_THROW(list.Insert(3, L"x"), Exception);
  EXPECT_THROW(list.Delete(5), Exception);
}

TEST(StringList, SetTextSplitsAtEveryLineEndKind) {
  TStringList list;
  list.SetText(L"a\r\nb\nc\rd\r\n\r\ne");
  EXPECT_EQ(list.ToVector(), (std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"", L"e"}));
  list.SetText(L"");
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, CommaTextQuotesWhereNeeded) {
  TStringList list;
  list.SetCommaText(L"a, \"b c\" ,\"d\"\"e\",,f");
  EXPECT_EQ(list.ToVector(), (std::vector<std::wstring>{L"a", L"b c", L"d\"e", L"", L"f"}));
  EXPECT_EQ(list.CommaText(), L"a,\"b c\",\"d\"\"e\",\"\",f");
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText(L"TCategoryButtons=scrollbar\nTPngBitBtn=pngbitbtn\nplain");
  EXPECT_EQ(list.Values(L"tpngbitbtn"), L"pngbitbtn");
  EXPECT_EQ(list.Names(0), L"TCategoryButtons");
  EXPECT_EQ(list.Names(2), L"");
  EXPECT_EQ(list.Values(L"missing"), L"");
  list.SetValue(L"TPngBitBtn", L"button");
  EXPECT_EQ(list.Get(1), L"TPngBitBtn=button");
  list.SetValue(L"New", L"x");
  EXPECT_EQ(list.Get(3), L"New=x");
  list.SetValue(L"New", L"");
  EXPECT_EQ(list.Count(), 3);
}

TEST(StringList, SortedListKeepsOrderAndHandlesDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const wchar_t* s : {L"pear", L"Apple", L"fig", L"apple"}) list.Add(s);
  EXPECT_EQ(list.ToVector(), (std::vector<std::wstring>{L"Apple", L"fig", L"pear"})) << "dupIgnore, no case";
  EXPECT_EQ(list.IndexOf(L"FIG"), 1);
  EXPECT_THROW(list.Insert(0, L"x"), Exception);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add(L"PEAR"), Exception);
  list.SetDuplicates(dupAccept);
  list.Add(L"fig");
  EXPECT_EQ(list.Count(), 4);
  int index = -1;
  EXPECT_FALSE(list.Find(L"banana", index));
  EXPECT_EQ(index, 1);
}

TEST(StringList, ChangeEventsFireOncePerUpdateBlock) {
  TStringList list;
  int changes = 0, changing = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  list.OnChanging = [&](TObject*) { ++changing; };
  list.Add(L"a");
  EXPECT_EQ(changes, 1);
  list.BeginUpdate();
  list.Add(L"b");
  list.Add(L"c");
  list.Delete(0);
  EXPECT_EQ(changes, 1);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(changing, 2);
  list.AddStrings(std::vector<std::wstring>{L"x", L"y"});
  EXPECT_EQ(changes, 3);
}

TEST(StringList, AssignCopiesTextsAndObjects) {
  TStringList a, b;
  TStringList marker;
  a.AddObject(L"one", &marker);
  a.Add(L"two");
  b.Add(L"old");
  b.Assign(&a);
  EXPECT_TRUE(b.Equals(a));
  EXPECT_EQ(b.Objects(0), &marker);
  b.AddStrings(b);  // adding a list to itself doubles it
  EXPECT_EQ(b.Count(), 4);
  EXPECT_EQ(b.IndexOfObject(&marker), 0);
}

TEST(StringList, StreamsAsUtf8) {
  TStringList list;
  list.SetText(L"磁盘\n监视");
  TMemoryStream stream;
  list.SaveToStream(stream);
  stream.SetPosition(0);
  TStringList back;
  back.LoadFromStream(stream);
  EXPECT_TRUE(back.Equals(list));
  TMemoryStream bom(std::vector<uint8_t>{0xEF, 0xBB, 0xBF, 'a', '\n', 'b'});
  back.LoadFromStream(bom);
  EXPECT_EQ(back.ToVector(), (std::vector<std::wstring>{L"a", L"b"}));
}

}  // namespace
