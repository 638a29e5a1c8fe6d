// A form built from layout text has the values of the text: positions, texts, fonts,
// colours, enumerations, sets, nested objects, collections, string lists and handlers.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "framework/ClassBuilder.h"
#include "framework/LayoutReader.h"
#include "framework/LayoutResource.h"
#include "tests/framework/Pump.h"
#include "tests/framework/TestForm.h"

namespace {

struct FormDeleter {
  void operator()(TCustomForm* f) const { delete f; }
};
using FormPtr = std::unique_ptr<TTestForm, FormDeleter>;

TEST(FormLayout, FormHasTheValuesOfTheText) {
  FormPtr form(MakeTestForm());
  EXPECT_EQ(form->Name(), L"Form1");
  EXPECT_EQ(form->Caption(), L"磁盘监视");
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  EXPECT_EQ(form->BorderIcons(), TBorderIcons{biSystemMenu});
  EXPECT_EQ(form->Left(), 235);
  EXPECT_EQ(form->Top(), 174);
  EXPECT_EQ(form->ClientWidth(), 667);
  EXPECT_EQ(form->ClientHeight(), 446);
  EXPECT_EQ(form->Color(), clBtnFace);
  EXPECT_EQ(form->Font()->Name(), L"宋体");
  EXPECT_EQ(form->Font()->Charset(), GB2312_CHARSET);
  EXPECT_EQ(form->Font()->Height(), -13);
  EXPECT_EQ(form->Font()->Color(), clWindowText);
  EXPECT_EQ(form->events, (std::vector<std::wstring>{L"FormCreate"})) << "OnCreate after the layout";
  EXPECT_FALSE(form->Visible()) << "a form shows when asked";
}

TEST(FormLayout, ClientSizeHoldsOnceTheWindowExists) {
  FormPtr form(MakeTestForm());
  ASSERT_NE(form->Handle(), nullptr);
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 667);
  EXPECT_EQ(client.bottom, 446);
  const LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME) << "a dialog frame cannot be resized";
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  wchar_t cls[64] = {};
  GetClassNameW(form->Handle(), cls, 64);
  EXPECT_STREQ(cls, L"TTestForm");
}

TEST(FormLayout, ControlsHaveTheValuesOfTheText) {
  FormPtr form(MakeTestForm());
  ASSERT_TRUE(form->Label1 && form->Memo1 && form->Button1 && form->StatusBar1 && form->Panel1 && form->Edit1);
  TLabel* label = form->Label1;
  EXPECT_EQ(label->Caption(), L"了解兼职推荐软件工作");
  EXPECT_EQ(label->Font()->Color(), clPurple);
  EXPECT_EQ(label->Font()->Height(), -16);
  EXPECT_TRUE(label->Font()->Style().Contains(fsUnderline));
  EXPECT_EQ(label->Cursor(), crHandPoint);
  EXPECT_TRUE(label->ShowHint());
  EXPECT_EQ(label->Hint(), L"http://www.example.com/");
  EXPECT_EQ(label->Left(), 19);
  EXPECT_EQ(form->Label2->Caption(), L"下载更多免费软件") << "#NNNN codes join quoted text";
  EXPECT_EQ(form->Button1->Caption(), L"监视系统盘");
  EXPECT_TRUE(form->Button1->Default());
  EXPECT_TRUE(form->Button3->Cancel());
  EXPECT_EQ(form->Button2->BoundsRect().right, 261 + 109);
  EXPECT_EQ(form->Memo1->ScrollBars(), ssBoth);
  EXPECT_TRUE(form->Memo1->WordWrap());
  EXPECT_EQ(form->Memo1->Lines()->ToVector(), (std::vector<std::wstring>{L"第一行", L"second line"}));
  EXPECT_EQ(form->Memo1->Font()->Name(), L"宋体") << "parent font";
  EXPECT_TRUE(form->Memo1->ParentFont());
  ASSERT_EQ(form->StatusBar1->Panels()->Count(), 2);
  EXPECT_EQ(form->StatusBar1->Panels()->Items(0)->Text(), L"Helvor设计,Quorren1.0");
  EXPECT_EQ(form->StatusBar1->Panels()->Items(0)->Width(), 300);
  EXPECT_EQ(form->StatusBar1->Panels()->Items(1)->Text(), L"没有监视");
  EXPECT_FALSE(form->StatusBar1->SimplePanel());
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_EQ(form->Timer1->Interval(), 10);
}

TEST(FormLayout, NestedObjectsSitInTheirContainer) {
  FormPtr form(MakeTestForm());
  EXPECT_EQ(form->Edit1->Parent(), form->Panel1);
  auto* label3 = form->Find<TLabel>(L"Label3");
  ASSERT_NE(label3, nullptr);
  EXPECT_EQ(label3->Parent(), form->Panel1);
  EXPECT_EQ(label3->Owner(), form.get()) << "the root owns every component";
  EXPECT_EQ(form->Edit1->Text(), L"编辑框");
  ASSERT_NE(form->Edit1->Handle(), nullptr);
  EXPECT_EQ(GetParent(form->Edit1->Handle()), form->Panel1->Handle());
  EXPECT_EQ(form->Panel1->BevelOuter(), bvLowered);
}

TEST(FormLayout, TabOrderFollowsTheText) {
  FormPtr form(MakeTestForm());
  std::vector<TWinControl*> order;
  form->GetTabOrderList(order);
  ASSERT_GE(order.size(), 5u);
  EXPECT_EQ(order[0], form->Memo1);
  EXPECT_EQ(order[1], form->Button1);
  EXPECT_EQ(order[2], form->Button2);
  EXPECT_EQ(order[3], form->Button3);
  EXPECT_EQ(form->Button3->TabOrder(), 3);
}

TEST(FormLayout, WindowsShowTheTexts) {
  FormPtr form(MakeTestForm());
  form->HandleNeeded();
  wchar_t text[64] = {};
  GetWindowTextW(form->Handle(), text, 64);
  EXPECT_STREQ(text, L"磁盘监视");
  GetWindowTextW(form->Button2->Handle(), text, 64);
  EXPECT_STREQ(text, L"监视全部硬盘");
  EXPECT_EQ(form->StatusBar1->PanelTextShown(0), L"Helvor设计,Quorren1.0");
  EXPECT_EQ(form->StatusBar1->PanelTextShown(1), L"没有监视");
  int rights[4] = {};
  EXPECT_EQ(SendMessageW(form->StatusBar1->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(rights)), 2);
  EXPECT_EQ(rights[0], 300);
  // The status bar sits at the bottom of the client area.
  EXPECT_EQ(form->StatusBar1->Top() + form->StatusBar1->Height(), 446);
}

TEST(FormLayout, ControlWindowsUseTheFontOfTheText) {
  FormPtr form(MakeTestForm());
  auto font = reinterpret_cast<HFONT>(SendMessageW(form->Button1->Handle(), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW lf{};
  ASSERT_TRUE(GetObjectW(font, sizeof lf, &lf));
  EXPECT_STREQ(lf.lfFaceName, L"宋体");
  EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  EXPECT_EQ(lf.lfHeight, -13);
}

TEST(FormLayout, PublishedPropertiesAreReadableByName) {
  FormPtr form(MakeTestForm());
  EXPECT_EQ(GetWideStrProp(form->Button1, "Caption"), L"监视系统盘");
  EXPECT_EQ(GetEnumProp(form->Button1, "Default"), "True");
  EXPECT_EQ(GetOrdProp(form->Memo1, "Color"), clWindow);
  EXPECT_EQ(GetObjectProp(form->Label1, "Font"), form->Label1->Font());
  EXPECT_EQ(GetEnumProp(form.get(), "BorderStyle"), "bsDialog");
  EXPECT_EQ(GetPropInfo(form->Button1, "Glyph"), nullptr);
  SetPropValue(form->Label1, "Transparent", L"True");
  EXPECT_TRUE(form->Label1->Transparent());
  SetPropValue(form->Button2, "Caption", L"新");
  wchar_t text[16] = {};
  GetWindowTextW(form->Button2->Handle(), text, 16);
  EXPECT_STREQ(text, L"新");
}

TEST(FormLayout, UnknownPropertyOfAControlNamesTheLine) {
  RegisterStandardClasses();
  const char text[] = "object F: TForm\n  object B: TButton\n    Caption = 'x'\n    Colour = clRed\n  end\nend\n";
  try {
    std::unique_ptr<TForm, FormDeleter> form(TCustomForm::CreateFromLayout<TForm>(Application, text));
    FAIL();
  } catch (const ELayoutError& e) {
    EXPECT_EQ(e.Line(), 4);
  }
  EXPECT_EQ(Application->FormCount(), 0) << "the failed form is freed";
}

TEST(FormLayout, LayoutResourceOfTheProgramIsFound) {
  // This program embeds tests/framework/Resource.layout as TRESOURCEFORM.
  const std::string_view text = FindLayoutResource(L"TResourceForm");
  ASSERT_NE(text.data(), nullptr);
  EXPECT_NE(text.find("object ResourceForm1: TResourceForm"), std::string_view::npos);
  EXPECT_EQ(FindLayoutResource(L"TNoSuchForm").data(), nullptr);
}

class TResourceForm : public TForm {
  FRAMEWORK_CLASS(TResourceForm, TForm)

 public:
  using TForm::TForm;
  TButton* OkButton = nullptr;
  int created = 0;
  void FormCreate(TObject*) { ++created; }
};

const TClassInfo& TResourceForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TResourceForm>("TResourceForm", &Inherited::StaticClass())
                                     .Field("OkButton", &TResourceForm::OkButton)
                                     .Method("FormCreate", &TResourceForm::FormCreate)
                                     .Build();
  return info;
}

TEST(FormLayout, CreateFormReadsTheResourceLayout) {
  TResourceForm* form = nullptr;
  Application->CreateForm(&form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Caption(), L"资源窗体");
  ASSERT_NE(form->OkButton, nullptr);
  EXPECT_EQ(form->OkButton->Caption(), L"确定");
  EXPECT_EQ(form->created, 1);
  EXPECT_EQ(Application->MainForm(), form);
  delete form;
  EXPECT_EQ(Application->MainForm(), nullptr);
}

}  // namespace
