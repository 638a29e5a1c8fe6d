// Published properties: tables with inheritance and by-name reading and writing of every
// kind, with absent properties and bad values reported.
#include <gtest/gtest.h>

#include "framework/TypInfo.h"
#include "tests/framework/TestClasses.h"

namespace {

TEST(Property, TablesInheritFromTheBaseClass) {
  TSpecialThing thing(nullptr);
  EXPECT_NE(GetPropInfo(&thing, "Extra"), nullptr);
  EXPECT_NE(GetPropInfo(&thing, "Count"), nullptr) << "from TThing";
  EXPECT_NE(GetPropInfo(&thing, "Name"), nullptr) << "from TComponent";
  TThing base(nullptr);
  EXPECT_EQ(GetPropInfo(&base, "Extra"), nullptr);
  EXPECT_TRUE(TSpecialThing::StaticClass().InheritsFrom(TComponent::StaticClass()));
  EXPECT_TRUE(TSpecialThing::StaticClass().InheritsFrom("tthing"));
  EXPECT_FALSE(TThing::StaticClass().InheritsFrom(TSpecialThing::StaticClass()));
  EXPECT_EQ(thing.ClassName(), "TSpecialThing");
}

TEST(Property, KindsFollowTheCppTypes) {
  TThing t(nullptr);
  struct Case {
    const char* name;
    TTypeKind kind;
  } cases[] = {{"Count", TTypeKind::tkInteger},   {"Active", TTypeKind::tkEnumeration},
               {"Shape", TTypeKind::tkEnumeration}, {"Features", TTypeKind::tkSet},
               {"Narrow", TTypeKind::tkString},   {"Caption", TTypeKind::tkWString},
               {"Pen", TTypeKind::tkClass},       {"OnClick", TTypeKind::tkMethod},
               {"Tag", TTypeKind::tkInteger},     {"Name", TTypeKind::tkWString}};
  for (const Case& c : cases) EXPECT_EQ(PropType(&t, c.name), c.kind) << c.name;
}

TEST(Property, NamesCompareWithoutCase) {
  TThing t(nullptr);
  SetOrdProp(&t, "count", 3);
  EXPECT_EQ(GetOrdProp(&t, "COUNT"), 3);
  SetEnumProp(&t, "shape", "SHSQUARE");
  EXPECT_EQ(t.Shape(), shSquare);
}

TEST(Property, OrdinalEnumerationAndSetByName) {
  TThing t(nullptr);
  SetOrdProp(&t, "Count", -42);
  EXPECT_EQ(t.Count(), -42);
  SetEnumProp(&t, "Active", "True");
  EXPECT_TRUE(t.Active());
  EXPECT_EQ(GetEnumProp(&t, "Active"), "True");
  SetEnumProp(&t, "Shape", "shTriangle");
  EXPECT_EQ(GetEnumProp(&t, "Shape"), "shTriangle");
  EXPECT_EQ(GetOrdProp(&t, "Shape"), 2);
  SetSetProp(&t, "Features", "[ftRed, ftBold]");
  EXPECT_EQ(t.Features(), (TFeatures{ftRed, ftBold}));
  EXPECT_EQ(GetSetProp(&t, "Features"), "[ftRed, ftBold]");
  SetSetProp(&t, "Features", "[]");
  EXPECT_TRUE(t.Features().Empty());
  EXPECT_EQ(GetEnumProp(&t, "Features"), "[]") << "a set read as an enumeration gives its text";
}

TEST(Property, TextKinds) {
  TThing t(nullptr);
  SetWideStrProp(&t, "Caption", L"磁盘监视");
  EXPECT_EQ(t.Caption(), L"磁盘监视");
  SetStrProp(&t, "Narrow", "abc");
  EXPECT_EQ(GetWideStrProp(&t, "Narrow"), L"abc") << "narrow text reads as wide";
  SetWideStrProp(&t, "Narrow", L"x");
  EXPECT_EQ(t.Narrow(), "x");
}

TEST(Property, ObjectAndEventByName) {
  TThing a(nullptr), b(nullptr);
  EXPECT_EQ(GetObjectProp(&a, "Pen"), a.Pen());
  SetObjectProp(&a, "Buddy", &b);
  EXPECT_EQ(a.Buddy(), &b);
  EXPECT_THROW(SetObjectProp(&a, "Buddy", a.Pen()), EPropertyError) << "a TPen2 is no TThing";
  int clicks = 0;
  SetMethodProp(&a, "OnClick", std::any(TNotifyEvent([&](TObject*) { ++clicks; })));
  ASSERT_TRUE(a.OnClick);
  a.OnClick(&a);
  EXPECT_EQ(clicks, 1);
  EXPECT_THROW(SetMethodProp(&a, "OnClick", std::any(42)), EPropertyError);
  SetMethodProp(&a, "OnClick", std::any());
  EXPECT_FALSE(a.OnClick);
}

TEST(Property, AbsentPropertyIsReported) {
  TThing t(nullptr);
  EXPECT_EQ(GetPropInfo(&t, "Nothing"), nullptr);
  EXPECT_FALSE(IsPublishedProp(&t, "Nothing"));
  EXPECT_EQ(GetPropInfo(nullptr, "Count"), nullptr);
  try {
    GetOrdProp(&t, "Nothing");
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_NE(std::string(e.what()).find("Nothing"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("TThing"), std::string::npos);
  }
}

TEST(Property, WrongKindsAndBadValuesThrow) {
  TThing t(nullptr);
  EXPECT_THROW(GetOrdProp(&t, "Caption"), EPropertyError);
  EXPECT_THROW(GetWideStrProp(&t, "Count"), EPropertyError);
  EXPECT_THROW(SetEnumProp(&t, "Shape", "shHexagon"), EPropertyError);
  EXPECT_THROW(SetEnumProp(&t, "Count", "x"), EPropertyError);
  EXPECT_THROW(SetOrdProp(&t, "Shape", 3), EPropertyError) << "out of range";
  EXPECT_THROW(SetSetProp(&t, "Features", "[ftRed, ftPink]"), EPropertyError);
  EXPECT_THROW(SetSetProp(&t, "Features", "ftRed"), EPropertyError);
  EXPECT_THROW(SetSetProp(&t, "Features", "[ftRed,,ftBold]"), EPropertyError);
  EXPECT_THROW(SetOrdProp(&t, "ReadOnlyValue", 1), EPropertyError);
  EXPECT_THROW(GetObjectProp(&t, "Count"), EPropertyError);
  EXPECT_EQ(t.Shape(), shCircle) << "failed writes change nothing";
}

TEST(Property, ValuesAsTextBothWays) {
  TThing t(nullptr);
  struct Case {
    const char* name;
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {"Count", L"12", L"12"},          {"Count", L"$10", L"16"},
      {"Count", L" -7 ", L"-7"},        {"Color", L"clBtnFace", L"clBtnFace"},
      {"Color", L"255", L"clRed"},      {"Color", L"-2147483633", L"clBtnFace"},
      {"Active", L"true", L"True"},     {"Shape", L"shSquare", L"shSquare"},
      {"Features", L"[ftBlue]", L"[ftBlue]"}, {"Caption", L"宋体", L"宋体"},
  };
  for (const Case& c : cases) {
    SetPropValue(&t, c.name, c.in);
    EXPECT_EQ(GetPropValue(&t, c.name), c.out) << c.name;
  }
  EXPECT_THROW(SetPropValue(&t, "Count", L"12a"), EPropertyError);
  EXPECT_THROW(SetPropValue(&t, "Count", L""), EPropertyError);
  EXPECT_THROW(SetPropValue(&t, "Pen", L"x"), EPropertyError);
}

TEST(Property, ListOfPropertiesHasBaseFirstAndNoDuplicates) {
  TSpecialThing t(nullptr);
  const auto props = TSpecialThing::StaticClass().Properties();
  ASSERT_GE(props.size(), 3u);
  EXPECT_EQ(props[0]->name, "Name");
  EXPECT_EQ(props.back()->name, "Extra");
}

TEST(Property, RegistryCreatesByName) {
  RegisterTestClasses();
  const TClassInfo* info = FindClass("tspecialthing");
  ASSERT_NE(info, nullptr);
  TThing owner(nullptr);
  TObject* created = info->Create(&owner);
  ASSERT_NE(dynamic_cast<TSpecialThing*>(created), nullptr);
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(FindClass("TNoSuchClass"), nullptr);
  EXPECT_FALSE(TPen2::StaticClass().CanCreate()) << "no owner constructor";
  EXPECT_THROW(TPen2::StaticClass().Create(nullptr), EPropertyError);
}

TEST(Property, EnumInfoParsesTheDeclaration) {
  const TEnumInfo& info = EnumInfoFor<TFeature>();
  EXPECT_EQ(info.Name(), "TFeature");
  EXPECT_EQ(info.Count(), 4);
  EXPECT_EQ(info.Ident(3), "ftBold");
  EXPECT_EQ(info.Ident(4), "");
  EXPECT_EQ(info.Ident(-1), "");
  EXPECT_EQ(info.Ordinal("FTGREEN"), 1);
  EXPECT_EQ(info.Ordinal("ftGreen "), -1);
}

}  // namespace
