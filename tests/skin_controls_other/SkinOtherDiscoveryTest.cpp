// The other skinned classes through control discovery on a framework form holding every
// kind of control they serve: each control gets its class, paints skinned, and the form
// is given back exactly when discovery lets go. Also a gallery for screenshots: run with
// --gtest_also_run_disabled_tests --gtest_filter=*Gallery* (PTEST_GALLERY_SKIN=dark for
// the dark skin).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "framework/DateCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/GroupCtrls.h"
#include "framework/HeaderCtrls.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/TabCtrls.h"
#include "skin/controls/RegisterOtherSkinControls.h"
#include "skin/controls/RegisterSkinControls.h"
#include "skin/form/ControlDiscovery.h"
#include "tests/skin_controls_other/OtherControlsSupport.h"

namespace {

struct TGalleryForm {
  explicit TGalleryForm(TControlsForm& view) {
    TForm* form = view.form;
    form->SetBounds(40, 40, 640, 420);
    auto place = [&](TControl* control, TWinControl* parent, int x, int y, int w, int h) {
      control->SetParent(parent);
      control->SetBounds(x, y, w, h);
    };
    group = new TGroupBox(form);
    place(group, form, 240, 10, 190, 120);
    group->SetCaption(L"分组框");
    edit = new TEdit(form);
    place(edit, group, 10, 20, 170, 22);
    edit->SetText(L"编辑框");
    combo = new TComboBox(form);
    place(combo, group, 10, 50, 170, 22);
    for (const wchar_t* item : {L"组合框", L"二", L"三"}) combo->Items()->Add(item);
    combo->SetItemIndex(0);
    picker = new TDateTimePicker(form);
    place(picker, group, 10, 82, 170, 24);
    panel = new TPanel(form);
    place(panel, form, 440, 10, 180, 120);
    progress = new TProgressBar(form);
    place(progress, panel, 10, 10, 160, 16);
    progress->SetPosition(60);
    progressV = new TProgressBar(form);
    progressV->SetOrientation(pbVertical);
    place(progressV, panel, 150, 34, 18, 80);
    progressV->SetPosition(40);
    track = new TTrackBar(form);
    place(track, panel, 10, 34, 130, 32);
    track->SetPosition(3);
    upDown = new TUpDown(form);
    place(upDown, panel, 10, 74, 16, 34);
    header = new THeaderControl(form);
    header->SetAlign(alNone);
    place(header, form, 240, 140, 380, 24);
    for (const wchar_t* text : {L"名称", L"大小", L"日期"}) {
      THeaderSection* section = header->Sections()->Add();
      section->SetText(text);
      section->SetWidth(110);
    }
    pages = new TPageControl(form);
    place(pages, form, 240, 172, 380, 150);
    for (const wchar_t* name : {L"第一页", L"第二页", L"第三页"}) {
      auto* page = new TTabSheet(form);
      page->SetPageControl(pages);
      page->SetCaption(name);
    }
    pages->SetActivePageIndex(1);
    view.status->SetVisible(false);
    PumpFor(50);
  }
  TGroupBox* group = nullptr;
  TEdit* edit = nullptr;
  TComboBox* combo = nullptr;
  TDateTimePicker* picker = nullptr;
  TPanel* panel = nullptr;
  TProgressBar* progress = nullptr;
  TProgressBar* progressV = nullptr;
  TTrackBar* track = nullptr;
  TUpDown* upDown = nullptr;
  THeaderControl* header = nullptr;
  TPageControl* pages = nullptr;
};

class SkinnedDiscovery : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterSkinControls();
    RegisterOtherSkinControls();
  }
  void SetUp() override {
    const char* name = std::getenv("PTEST_GALLERY_SKIN");
    skin = LoadBuiltSkin(name != nullptr ? name : "default");
    ASSERT_NE(skin, nullptr);
    skin->Skin3rd()->Clear();
    view = std::make_unique<TControlsForm>();
    gallery = std::make_unique<TGalleryForm>(*view);
  }
  void TearDown() override {
    discovery.reset();
    gallery.reset();
    view.reset();
  }
  void Discover() {
    discovery = std::make_unique<TControlDiscovery>(skin.get(), view->form->Handle(), true);
    discovery->DiscoverForm(view->form);
    view->form->SetColor(skin->ButtonFaceColour);
    RedrawWindow(view->form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN |
                                                             RDW_UPDATENOW);
    PumpFor(100);
  }
  std::string ClassOf(TControl* control) const {
    TSkinControlItem* item = discovery ? discovery->FindByControl(control) : nullptr;
    return item != nullptr ? item->SkinClassName() : "";
  }

  std::unique_ptr<TSkinData> skin;
  std::unique_ptr<TControlsForm> view;
  std::unique_ptr<TGalleryForm> gallery;
  std::unique_ptr<TControlDiscovery> discovery;
};

TEST_F(SkinnedDiscovery, EachControlOfTheFormGetsItsOtherClassAndPaintsSkinned) {
  auto before = ScreenOf(view->form->Handle());
  Discover();
  const std::map<std::string, TControl*> expected = {
      {"TSkinGroupBox", gallery->group},   {"TSkinEdit", gallery->edit},        {"TSkinComBox", gallery->combo},
      {"TSkinDateTime", gallery->picker},  {"TSkinProgress", gallery->progress}, {"TSkinTrackBar", gallery->track},
      {"TSkinUpDown", gallery->upDown},    {"TSkinHeader", gallery->header},     {"TSkinTab", gallery->pages},
  };
  for (const auto& [name, control] : expected) EXPECT_EQ(ClassOf(control), name) << control->ClassName();
  EXPECT_EQ(ClassOf(gallery->progressV), "TSkinProgress");
  EXPECT_EQ(ClassOf(gallery->pages->Pages(0)), "TSkinTabSheet");
  // Each of them now looks different from the unskinned form.
  auto after = ScreenOf(view->form->Handle());
  for (TControl* control : {static_cast<TControl*>(gallery->group), static_cast<TControl*>(gallery->progress),
                            static_cast<TControl*>(gallery->header), static_cast<TControl*>(gallery->pages),
                            static_cast<TControl*>(gallery->combo)}) {
    const TPoint origin = control->ClientToScreen(TPoint{0, 0});
    RECT form{};
    GetWindowRect(view->form->Handle(), &form);
    const RECT area{origin.x - form.left, origin.y - form.top, origin.x - form.left + control->Width(),
                    origin.y - form.top + control->Height()};
    EXPECT_GT(DifferingPixels(*before, *after, area), 20) << control->ClassName();
  }
}

TEST_F(SkinnedDiscovery, LettingGoGivesEveryControlBackExactly) {
  std::map<HWND, WNDPROC> procs;
  for (TWinControl* control : {static_cast<TWinControl*>(gallery->edit), static_cast<TWinControl*>(gallery->combo),
                               static_cast<TWinControl*>(gallery->picker), static_cast<TWinControl*>(gallery->pages)})
    procs[control->Handle()] = WindowProcOf(control->Handle());
  const LONG pickerStyle = GetWindowLongW(gallery->picker->Handle(), GWL_STYLE);
  Discover();
  EXPECT_EQ(SendMessageW(gallery->combo->Handle(), SKM_QUERYSKIN, 0, 0), 1);
  discovery.reset();
  for (const auto& [window, proc] : procs) EXPECT_EQ(WindowProcOf(window), proc);
  EXPECT_EQ(GetWindowLongW(gallery->picker->Handle(), GWL_STYLE), pickerStyle);
  EXPECT_EQ(SendMessageW(gallery->combo->Handle(), SKM_QUERYSKIN, 0, 0), 0);
}

// Shows the skinned gallery for a while, for screenshots.
TEST_F(SkinnedDiscovery, DISABLED_Gallery) {
  Discover();
  PumpFor(8000);
}

}  // namespace
