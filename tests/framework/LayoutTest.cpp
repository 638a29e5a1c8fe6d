// The stored layout text: parsing (values of every kind, errors naming the line) and
// reading into components (creation by class name, nesting, references, handlers,
// collections, string lists, binary properties, Loaded after the last line).
#include <gtest/gtest.h>

#include "framework/LayoutParser.h"
#include "framework/LayoutReader.h"
#include "tests/framework/TestClasses.h"

namespace {

class Layout : public ::testing::Test {
 protected:
  void SetUp() override { RegisterTestClasses(); }
};

const char kFull[] = R"(object Root1: TRoot
  Count = 42
  Color = clBtnFace
  Active = True
  Shape = shTriangle
  Features = [ftRed, ftBold]
  Narrow = 'plain'
  Caption = '磁盘监视 it''s'#13#10'line2' +
    ' more'#30913
  Pen.Width = 3
  Pen.Style = 'dash'
  Lines.Strings = (
    'first'
    '第二行'
    '')
  Panels = <
    item
      Text = 'Helvor设计,Quorren1.0'
      Width = 300
    end
    item
      Text = '没有监视'
    end>
  Blob = {
    0A1B2C
    FF 00}
  OnClick = Thing1Click
  object Thing1: TThing
    Count = -7
    Buddy = Special1
    OnClick = Thing1Click
    OnCount = CountChanged
    object Inner: TThing
      Tag = 99
    end
  end
  object Special1: TSpecialThing
    Extra = $10
    Color = 255
  end
end
)";

TEST_F(Layout, EveryPropertyKindGetsTheValueOfTheText) {
  TRoot root(nullptr);
  ReadComponentLayout(&root, kFull);
  EXPECT_EQ(root.Name(), L"Root1");
  EXPECT_EQ(root.Count(), 42);
  EXPECT_EQ(root.Color(), static_cast<int32_t>(0x8000000F));
  EXPECT_TRUE(root.Active());
  EXPECT_EQ(root.Shape(), shTriangle);
  EXPECT_EQ(root.Features(), (TFeatures{ftRed, ftBold}));
  EXPECT_EQ(root.Narrow(), "plain");
  EXPECT_EQ(root.Caption(), L"磁盘监视 it's\r\nline2 more磁");
  EXPECT_EQ(root.Pen()->Width(), 3);
  EXPECT_EQ(root.Pen()->Style(), L"dash");
  EXPECT_EQ(root.Lines()->ToVector(), (std::vector<std::wstring>{L"first", L"第二行", L""}));
  ASSERT_EQ(root.Panels()->Count(), 2);
  EXPECT_EQ(root.Panels()->Items(0)->Text(), L"Helvor设计,Quorren1.0");
  EXPECT_EQ(root.Panels()->Items(0)->Width(), 300);
  EXPECT_EQ(root.Panels()->Items(1)->Text(), L"没有监视");
  EXPECT_EQ(root.Panels()->Items(1)->Width(), 50) << "unset item property keeps its default";
  EXPECT_EQ(root.Blob(), (std::vector<uint8_t>{0x0A, 0x1B, 0x2C, 0xFF, 0x00}));
}

TEST_F(Layout, NestedObjectsAreCreatedOwnedByTheRootAndParentedByTheirEnclosingObject) {
  TRoot root(nullptr);
  ReadComponentLayout(&root, kFull);
  ASSERT_EQ(root.ComponentCount(), 3);
  auto* thing1 = root.Find<TThing>(L"Thing1");
  auto* inner = root.Find<TThing>(L"Inner");
  auto* special = root.Find<TSpecialThing>(L"Special1");
  ASSERT_TRUE(thing1 && inner && special);
  EXPECT_EQ(root.Components(0), thing1) << "creation order is text order";
  EXPECT_EQ(root.Components(1), inner);
  EXPECT_EQ(thing1->parentComponent, &root);
  EXPECT_EQ(inner->parentComponent, thing1);
  EXPECT_EQ(inner->Tag(), 99);
  EXPECT_EQ(thing1->Count(), -7);
  EXPECT_EQ(special->Extra(), 16);
  EXPECT_EQ(special->Color(), 255);
  EXPECT_EQ(root.Thing1, thing1) << "published field bound";
  EXPECT_EQ(root.Special1, special);
}

TEST_F(Layout, ReferencesResolveEvenToLaterObjectsAndBeforeLoaded) {
  TRoot root(nullptr);
  ReadComponentLayout(&root, kFull);
  auto* thing1 = root.Find<TThing>(L"Thing1");
  EXPECT_EQ(thing1->Buddy(), root.Special1);
  EXPECT_TRUE(thing1->buddyResolvedAtLoaded);
}

TEST_F(Layout, EventsBindToTheRootsHandlers) {
  TRoot root(nullptr);
  ReadComponentLayout(&root, kFull);
  ASSERT_TRUE(root.OnClick);
  ASSERT_TRUE(root.Thing1->OnClick);
  ASSERT_TRUE(root.Thing1->OnCount);
  root.OnClick(&root);
  root.Thing1->OnClick(root.Thing1);
  root.Thing1->OnCount(root.Thing1, 5);
  EXPECT_EQ(root.clicks, (std::vector<std::wstring>{L"Root1", L"Thing1", L"5"}));
}

TEST_F(Layout, LoadedRunsForEveryComponentRootFirstAfterTheLastLine) {
  std::vector<std::wstring> order;
  TThing::loadOrder = &order;
  TRoot root(nullptr);
  ReadComponentLayout(&root, kFull);
  TThing::loadOrder = nullptr;
  EXPECT_EQ(order, (std::vector<std::wstring>{L"Root1", L"Thing1", L"Inner", L"Special1"}));
  for (int i = 0; i < root.ComponentCount(); ++i) EXPECT_FALSE(root.Components(i)->Loading());
  EXPECT_FALSE(root.Loading());
}

TEST_F(Layout, CreateComponentFromLayoutUsesTheRegisteredClass) {
  TRoot owner(nullptr);
  TComponent* c = CreateComponentFromLayout("object X: TSpecialThing\n  Extra = 5\nend\n", &owner);
  auto* special = dynamic_cast<TSpecialThing*>(c);
  ASSERT_NE(special, nullptr);
  EXPECT_EQ(special->Extra(), 5);
  EXPECT_EQ(special->Owner(), &owner);
}

TEST_F(Layout, InheritedObjectsNameExistingComponents) {
  TRoot root(nullptr);
  auto* existing = new TThing(&root);
  existing->SetName(L"Thing1");
  ReadComponentLayout(&root, "inherited Root1: TRoot\n  inherited Thing1: TThing\n    Count = 8\n  end\nend");
  EXPECT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(existing->Count(), 8);
}

struct ErrorCase {
  const char* name;
  const char* text;
  int line;
  const char* fragment;
};

class LayoutErrors : public Layout, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(LayoutErrors, NameTheLine) {
  const ErrorCase& c = GetParam();
  TRoot root(nullptr);
  try {
    ReadComponentLayout(&root, c.text);
    FAIL() << "no error for " << c.name;
  } catch (const ELayoutError& e) {
    EXPECT_EQ(e.Line(), c.line) << e.what();
    EXPECT_NE(std::string(e.what()).find("line " + std::to_string(c.line)), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
  }
}

const ErrorCase kErrorCases[] = {
    {"UnknownProperty", "object R: TRoot\n  Count = 1\n  Colour = 2\nend", 3, "Colour"},
    {"UnknownSubProperty", "object R: TRoot\n  Pen.Colour = 2\nend", 2, "Colour"},
    {"SubPropertyOfNonObject", "object R: TRoot\n  Count.X = 2\nend", 2, "Count"},
    {"UnknownClass", "object R: TRoot\n\n  object B: TNoSuch\n  end\nend", 3, "TNoSuch"},
    {"MissingEquals", "object R: TRoot\n  Count 1\nend", 2, "'='"},
    {"MissingEnd", "object R: TRoot\n  Count = 1\n", 3, "end"},
    {"TextAfterEnd", "object R: TRoot\nend\nobject S: TRoot\nend", 3, "after"},
    {"UnterminatedText", "object R: TRoot\n  Caption = 'abc\nend", 2, "unterminated"},
    {"WrongValueKind", "object R: TRoot\n  Count = 'x'\nend", 2, "Count"},
    {"UnknownEnumIdent", "object R: TRoot\n  Shape = shHexagon\nend", 2, "shHexagon"},
    {"UnknownIntegerIdent", "object R: TRoot\n  Color = clPuce\nend", 2, "clPuce"},
    {"UnknownSetMember", "object R: TRoot\n  Features = [ftRed, ftPink]\nend", 2, "ftPink"},
    {"UnknownHandler", "object R: TRoot\n  OnClick = NoSuchHandler\nend", 2, "NoSuchHandler"},
    {"HandlerOfWrongShape", "object R: TRoot\n  OnClick = CountChanged\nend", 2, "CountChanged"},
    {"UnknownReference", "object R: TRoot\n  Buddy = Ghost\nend", 2, "Ghost"},
    {"ReadOnlyProperty", "object R: TRoot\n  ReadOnlyValue = 1\nend", 2, "read-only"},
    {"OddHexDigits", "object R: TRoot\n  Blob = {\n  0A1\n  }\nend", 4, "odd"},
    {"BadHexDigit", "object R: TRoot\n  Blob = { 0G }\nend", 2, "hex"},
    {"BinaryForTextProperty", "object R: TRoot\n  Caption = { 00 }\nend", 2, "Caption"},
    {"TextForBinaryProperty", "object R: TRoot\n  Blob = 'x'\nend", 2, "Blob"},
    {"NumberTooLarge", "object R: TRoot\n  Count = 99999999999\nend", 2, "range"},
    {"HugeNumber", "object R: TRoot\n  Count = 999999999999999999999999\nend", 2, "large"},
    {"CharCodeTooLarge", "object R: TRoot\n  Caption = #70000\nend", 2, "70000"},
    {"DuplicateName", "object R: TRoot\n  object A: TThing\n  end\n  object a: TThing\n  end\nend", 4, "exists"},
    {"InvalidName", "object R: TRoot\n  object 9A: TThing\n  end\nend", 2, "name"},
    {"WrongRootClass", "object R: TSpecialThing\nend", 1, "TSpecialThing"},
    {"FieldOfWrongClass", "object R: TRoot\n  object Special1: TThing\n  end\nend", 2, "Special1"},
    {"BadCollectionItem", "object R: TRoot\n  Panels = <\n    thing\n    end>\nend", 3, "item"},
    {"UnknownItemProperty", "object R: TRoot\n  Panels = <\n    item\n      Colour = 1\n    end>\nend", 4, "Colour"},
    {"StringsNotAList", "object R: TRoot\n  Lines.Strings = 'a'\nend", 2, "Strings"},
    {"PropertyAfterChild", "object R: TRoot\n  object A: TThing\n  end\n  Count = 1\nend", 4, "after"},
    {"EmptyText", "", 1, "object"},
    {"NotAnObject", "thing R: TRoot\nend", 1, "object"},
    {"PlusWithoutText", "object R: TRoot\n  Caption = 'a' +\n  Count = 1\nend", 3, "after '+'"},
    {"BadCharacter", "object R: TRoot\n  Count = @\nend", 2, "value"},
};

INSTANTIATE_TEST_SUITE_P(All, LayoutErrors, ::testing::ValuesIn(kErrorCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(LayoutParser, DeepNestingIsRefusedNotOverflowed) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "object A: TThing\n";
  EXPECT_THROW(ParseLayout(text), ELayoutError);
  std::string lists = "object A: TThing\n X = ";
  for (int i = 0; i < 10000; ++i) lists += "(";
  EXPECT_THROW(ParseLayout(lists), ELayoutError);
}

TEST(LayoutParser, ValueKinds) {
  const TLayoutObject o = ParseLayout(
      "object A: TX\n  I = -12\n  H = $FF\n  F = 1.5\n  D = Form1.Menu\n  S = []\n"
      "  L = ( 1 'a' x )\n  B = { }\n  C = <>\n  T = #$4E2D'x'#65\nend");
  ASSERT_EQ(o.properties.size(), 9u);
  EXPECT_EQ(o.properties[0].value.integer, -12);
  EXPECT_EQ(o.properties[1].value.integer, 255);
  EXPECT_EQ(o.properties[2].value.kind, TLayoutValue::Kind::Float);
  EXPECT_DOUBLE_EQ(o.properties[2].value.number, 1.5);
  EXPECT_EQ(o.properties[3].value.ident, "Form1.Menu");
  EXPECT_TRUE(o.properties[4].value.setMembers.empty());
  EXPECT_EQ(o.properties[5].value.list.size(), 3u);
  EXPECT_TRUE(o.properties[6].value.bytes.empty());
  EXPECT_TRUE(o.properties[7].value.items.empty());
  EXPECT_EQ(o.properties[8].value.text, L"中xA");
  EXPECT_EQ(o.properties[0].line, 2);
  EXPECT_EQ(o.properties[8].line, 10);
}

TEST(LayoutParser, AdjacentTextsInAListStaySeparateItems) {
  const TLayoutObject o = ParseLayout("object A: TX\n  Lines.Strings = ( 'a' 'b' )\nend");
  const auto& list = o.properties[0].value.list;
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].text, L"a");
  EXPECT_EQ(list[1].text, L"b");
}

TEST(LayoutParser, HeaderForms) {
  EXPECT_EQ(ParseLayout("object TX\nend").className, "TX");
  EXPECT_EQ(ParseLayout("object : TX\nend").className, "TX");
  const TLayoutObject o = ParseLayout("\xEF\xBB\xBFinherited Form1: TForm1 [2]\nend");
  EXPECT_TRUE(o.inherited);
  EXPECT_EQ(o.name, "Form1");
}

TEST(LayoutParser, MalformedUtf8InTextBecomesReplacementCharacters) {
  const TLayoutObject o = ParseLayout("object A: TX\n  S = 'a\xFF\xC3'\nend");
  EXPECT_EQ(o.properties[0].value.text, std::wstring(L"a\uFFFD\uFFFD"));
}

TEST(LayoutParser, FormatAndParseRoundTrip) {
  const TLayoutObject first = ParseLayout(kFull);
  const std::string text = FormatLayout(first);
  const TLayoutObject second = ParseLayout(text);
  EXPECT_EQ(FormatLayout(second), text);
  EXPECT_EQ(second.properties[6].value.text, first.properties[6].value.text);
  EXPECT_EQ(second.children.size(), 2u);
}

TEST(LayoutParser, QuoteHandlesQuotesControlsAndCjk) {
  EXPECT_EQ(QuoteLayoutString(L""), "''");
  EXPECT_EQ(QuoteLayoutString(L"it's"), "'it''s'");
  EXPECT_EQ(QuoteLayoutString(L"a\r\nb"), "'a'#13#10'b'");
  EXPECT_EQ(QuoteLayoutString(L"宋体"), "'宋体'");
  for (const std::wstring s : {L"x'y\tz", L"\x01", L"中文 'q'"}) {
    const TLayoutObject o = ParseLayout("object A: TX\n  S = " + QuoteLayoutString(s) + "\nend");
    EXPECT_EQ(o.properties[0].value.text, s);
  }
}

TEST_F(Layout, ReaderErrorInANestedObjectLeavesCreatedComponentsOwnedByRoot) {
  auto* root = new TRoot(nullptr);
  EXPECT_THROW(ReadComponentLayout(root, "object R: TRoot\n  object A: TThing\n    Count = x\n  end\nend"),
               ELayoutError);
  EXPECT_EQ(root->ComponentCount(), 1);
  delete root;  // frees A; sanitizers catch a double free or a leak
}

}  // namespace
