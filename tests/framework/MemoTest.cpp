// TMemo's Lines: appending keeps the text, many lines go in one edit, no text limit;
// status bar panels and the simple panel.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/framework/Pump.h"
#include "tests/framework/TestForm.h"

namespace {

struct FormDeleter {
  void operator()(TCustomForm* f) const { delete f; }
};

class Memo : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(MakeTestForm());
    memo = form->Memo1;
    memo->HandleNeeded();
    const TWndMethod saved = memo->WindowProc;
    saved_ = saved;
    memo->WindowProc = [this](TMessage& m) {
      if (m.Msg == EM_REPLACESEL) ++replaceCount;
      if (m.Msg == WM_SETTEXT) ++setTextCount;
      saved_(m);
    };
  }
  void TearDown() override {
    memo->WindowProc = saved_;
    form.reset();
  }
  std::wstring WindowText() {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(memo->Handle())) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(memo->Handle(), text.data(), static_cast<int>(text.size()))));
    return text;
  }
  std::unique_ptr<TTestForm, FormDeleter> form;
  TMemo* memo = nullptr;
  TWndMethod saved_;
  int replaceCount = 0;
  int setTextCount = 0;
};

TEST_F(Memo, LinesFromTheLayoutAreInTheWindow) {
  EXPECT_EQ(WindowText(), L"第一行\r\nsecond line\r\n");
  EXPECT_EQ(memo->Lines()->Count(), 2);
}

TEST_F(Memo, AddAppendsAtTheEndWithoutResettingTheText) {
  // A user's edit and caret position elsewhere stay untouched.
  SendMessageW(memo->Handle(), EM_SETSEL, 0, 0);
  SendMessageW(memo->Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L">"));
  replaceCount = 0;
  memo->Lines()->Add(L"增加文件:    D:\\a.txt;   ");
  EXPECT_EQ(replaceCount, 1);
  EXPECT_EQ(setTextCount, 0) << "no reset of the whole text";
  EXPECT_EQ(WindowText(), L">第一行\r\nsecond line\r\n增加文件:    D:\\a.txt;   \r\n");
  EXPECT_EQ(memo->Lines()->Count(), 3);
  EXPECT_EQ(memo->Lines()->Get(2), L"增加文件:    D:\\a.txt;   ");
}

TEST_F(Memo, AddAfterTextWithoutFinalLineBreakStartsANewLine) {
  memo->SetText(L"abc");
  memo->Lines()->Add(L"def");
  EXPECT_EQ(WindowText(), L"abc\r\ndef\r\n");
  memo->Lines()->Clear();
  memo->Lines()->Add(L"x");
  EXPECT_EQ(WindowText(), L"x\r\n");
}

TEST_F(Memo, ManyLinesGoInOneEdit) {
  std::vector<std::wstring> lines;
  for (int i = 0; i < 1000; ++i) lines.push_back(L"行 " + std::to_wstring(i));
  memo->Lines()->AddStrings(lines);
  EXPECT_EQ(replaceCount, 1);
  memo->Lines()->BeginUpdate();
  for (int i = 0; i < 500; ++i) memo->Lines()->Add(L"更多 " + std::to_wstring(i));
  EXPECT_EQ(replaceCount, 1) << "collected until EndUpdate";
  memo->Lines()->EndUpdate();
  EXPECT_EQ(replaceCount, 2);
  EXPECT_EQ(memo->Lines()->Count(), 2 + 1000 + 500);
  EXPECT_EQ(memo->Lines()->Get(2 + 999), L"行 999");
  EXPECT_EQ(memo->Lines()->Get(2 + 1000 + 499), L"更多 499");
}

TEST_F(Memo, TextLimitIsLifted) {
  const auto limit = static_cast<unsigned long>(SendMessageW(memo->Handle(), EM_GETLIMITTEXT, 0, 0));
  EXPECT_GE(limit, 0x7FFFFFFEul);
  // More than the old 30000-character default goes in.
  std::vector<std::wstring> lines(2000, std::wstring(40, L'磁'));
  memo->Lines()->AddStrings(lines);
  EXPECT_GT(GetWindowTextLengthW(memo->Handle()), 80000);
  EXPECT_EQ(memo->Lines()->Count(), 2002);
}

TEST_F(Memo, TheScrollBarsAskedForAreShownWithOrWithoutWordWrap) {
  ASSERT_TRUE(memo->WordWrap());
  const LONG style = GetWindowLongW(memo->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & WS_HSCROLL);
  EXPECT_FALSE(style & ES_AUTOHSCROLL);
  memo->SetWordWrap(false);
  const LONG unwrapped = GetWindowLongW(memo->Handle(), GWL_STYLE);
  EXPECT_TRUE(unwrapped & WS_HSCROLL);
  EXPECT_TRUE(unwrapped & WS_VSCROLL);
  EXPECT_EQ(memo->Lines()->Count(), 2) << "the text survives the new window";
  memo->SetScrollBars(ssVertical);
  const LONG vertical = GetWindowLongW(memo->Handle(), GWL_STYLE);
  EXPECT_FALSE(vertical & WS_HSCROLL);
  EXPECT_TRUE(vertical & WS_VSCROLL);
}

TEST_F(Memo, LinesWithoutAWindow) {
  auto* other = new TMemo(form.get());
  other->Lines()->Add(L"a");
  other->Lines()->Add(L"b");
  EXPECT_EQ(other->Text(), L"a\r\nb\r\n");
  other->Lines()->Delete(0);
  EXPECT_EQ(other->Lines()->ToVector(), (std::vector<std::wstring>{L"b"}));
  other->Lines()->Insert(0, L"z");
  other->Lines()->Put(1, L"y");
  EXPECT_EQ(other->Lines()->Text(), L"z\r\ny\r\n");
  EXPECT_THROW(other->Lines()->Get(5), Exception);
}

TEST(StatusBar, PanelsAndSimpleMode) {
  std::unique_ptr<TTestForm, FormDeleter> form(MakeTestForm());
  TStatusBar* bar = form->StatusBar1;
  bar->HandleNeeded();
  bar->Panels()->Items(1)->SetText(L"正在监视系统盘");
  EXPECT_EQ(bar->PanelTextShown(1), L"正在监视系统盘");
  bar->Panels()->Add()->SetText(L"三");
  EXPECT_EQ(SendMessageW(bar->Handle(), SB_GETPARTS, 0, 0), 3);
  EXPECT_EQ(bar->PanelTextShown(2), L"三");
  bar->SetSimpleText(L"简单");
  bar->SetSimplePanel(true);
  EXPECT_TRUE(SendMessageW(bar->Handle(), SB_ISSIMPLE, 0, 0));
  bar->SetSimplePanel(false);
  EXPECT_FALSE(SendMessageW(bar->Handle(), SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(bar->PanelTextShown(0), L"Helvor设计,Quorren1.0");
}

}  // namespace
