// Caption buttons (with the three MDI buttons) and the fixed frame counts
// (TSkinModelBuilder).
#include <algorithm>

#include "skin/data/SkinBitmaps.h"
#include "skin/data/SkinIniRules.h"
#include "skin/data/SkinModelBuilder.h"

namespace {

// Action 1 shown while the window is not maximised: the maximise button, whose place an
// Action 4 button (context help) takes.
constexpr int32_t kActionMaximise = 1;
constexpr int32_t kVisibleWhenNotMaximised = 2;
constexpr int32_t kActionHelp = 4;
// Buttons whose picture the frame draws itself when the skin gives no frame count.
constexpr int32_t kActionIcon = 3;
constexpr int32_t kActionIconMenu = 11;
// The MDI child's minimise, restore and close buttons on the main form's menu bar.
constexpr int32_t kMdiActions[3] = {7, 8, 9};
constexpr int32_t kMdiPlacement = 100;
constexpr int32_t kMdiFrames = 4;

// The frame count of a caption button whose skin gives none: 3 for a picture at most 3.8
// times as wide as high, else 6 (and 6 without a picture or for a negative action).
int32_t GuessCaptionFrames(const TDataSkinSysButton& button) {
  int32_t frames = 6;
  if (!BitmapIsEmpty(*button.Bitmap)) {
    const double ratio =
        static_cast<double>(button.Bitmap->Width()) / static_cast<double>(button.Bitmap->Height());
    frames = ratio <= 3.8 ? 3 : 6;
  }
  if (button.Action < 0) frames = 6;
  return frames;
}

// Width div 13 for pictures lower than 16 pixels, else width div 16; at least 4.
int32_t GuessMarkFrames(const TBitmap& marks) {
  const int32_t width = marks.Width();
  const int32_t frames = marks.Height() < 16 ? width / 13 : width / 16;
  return std::max(frames, 4);
}

}  // namespace

void TSkinModelBuilder::LoadSysButtons() {
  std::vector<std::unique_ptr<TDataSkinSysButton>>& buttons = model_.SysButtons;
  buttons.clear();
  const std::vector<std::string> kept = CaptionButtonSectionNames(ini_, sections_);
  buttons.reserve(kept.size() + 3);

  bool havePlace = false;
  POINT maximisePlace{0, 0};
  for (const std::string& section : kept) {
    auto button = std::make_unique<TDataSkinSysButton>(SkinUpperCase(section));
    TDataSkinSysButton& b = *button;
    b.Action = ReadInt(section, "Action", 0);
    b.Align = ReadInt(section, "Align", 0);
    b.XCoord = ReadInt(section, "Xcoord", 0);
    b.YCoord = ReadInt(section, "Ycoord", 0);
    b.Visibility = ReadInt(section, "Visibility", 0);
    b.Visibility1 = ReadInt(section, "Visibility1", b.Action == -1 ? -1 : 0);
    b.CombineOp = ReadInt(section, "CombineOp", -1);
    b.FrameCount = ReadInt(section, "frame", 0);
    LoadSkinBitmap(*b.Bitmap, ReadText(section, "ButtonImage"));

    if (b.Action == kActionMaximise && b.Visibility == kVisibleWhenNotMaximised) {
      maximisePlace = POINT{b.XCoord, b.YCoord};
      havePlace = true;
    } else if (b.Action == kActionHelp && havePlace) {
      // The help button shares the maximise button's place. One that comes before any
      // maximise button keeps its own coordinates.
      b.XCoord = maximisePlace.x;
      b.YCoord = maximisePlace.y;
    }
    if (b.FrameCount == 0) {
      b.FrameCount = GuessCaptionFrames(b);
      if (b.Action == kActionIcon || b.Action == kActionIconMenu) ClearBitmap(*b.Bitmap);
    }
    buttons.push_back(std::move(button));
  }

  const size_t first = buttons.size();
  for (const int32_t action : kMdiActions) {
    auto button = std::make_unique<TDataSkinSysButton>();
    button->Action = action;
    button->Align = kMdiPlacement;
    button->Visibility = kMdiPlacement;
    button->Visibility1 = kMdiPlacement;
    button->FrameCount = kMdiFrames;
    buttons.push_back(std::move(button));
  }
  LoadMDIButtons(first);
}

void TSkinModelBuilder::LoadMDIButtons(size_t first) {
  TBitmap source;
  LoadSkinBitmap(source, ReadText("MDICONTROLS", "Image"));
  if (BitmapIsEmpty(source) || first + 3 > model_.SysButtons.size()) return;
  // Twelve equal cells side by side: three buttons of four frames each.
  const int32_t height = source.Height();
  const int32_t cell = source.Width() / 12;
  for (int32_t i = 0; i < 3; ++i) {
    TDataSkinSysButton& button = *model_.SysButtons[first + static_cast<size_t>(i)];
    if (cell > 0) {
      MakeFilledBitmap(*button.Bitmap, 4 * cell, height, 0xFF00FF);
      CopyBitmapRect(*button.Bitmap, 0, 0, source, RECT{4 * cell * i, 0, 4 * cell * (i + 1), height});
    } else {
      ClearBitmap(*button.Bitmap);
    }
    button.XCoord = (cell + 4) * (3 - i);
  }
}

void TSkinModelBuilder::SetFrameCounts() {
  TSkinModel& m = model_;
  auto set = [](auto& slot, int32_t frames) {
    if (slot) slot->FrameCount = frames;
  };
  set(m.Buttons, 5);
  if (m.Buttons->RadioFrameCount == 0) m.Buttons->RadioFrameCount = GuessMarkFrames(*m.Buttons->RadioBitmap);
  if (m.Buttons->CheckFrameCount == 0) m.Buttons->CheckFrameCount = GuessMarkFrames(*m.Buttons->CheckBitmap);
  set(m.Title, 2);
  if (m.Progress) m.Progress->FrameCount = m.Progress->Style != 0 ? 1 : 2;
  set(m.MenuBar, 2);
  set(m.GroupBoxEdge, 2);
  set(m.ToolbarBackground, 1);
  set(m.TabPane, 1);
  set(m.GroupBox, 1);
  set(m.MenuBackground, 1);
  for (auto* slot : {&m.ToolBars, &m.ExtraImages, &m.MenuItem, &m.TrackbarThumbHorz,
                     &m.TrackbarThumbVert, &m.TrackbarThumbLeft, &m.TrackbarThumbRight,
                     &m.TrackbarThumbUp, &m.TrackbarThumbDown})
    set(*slot, 5);
  set(m.Tabs, 5);
  set(m.StatusBarEdges, 3);
  set(m.ComboButton, 4);
  set(m.SunkEdge, 4);
  set(m.HorzScroll, 4);
  set(m.VertScroll, 4);
  if (m.Headerbar && m.Headerbar->FrameCount == 0) m.Headerbar->FrameCount = 5;
  set(m.Scrollbar, 23);
  set(m.UpDownHorz, 8);
  set(m.UpDownVert, 8);
  set(m.HorzScrollThumb, ReadInt("HorzScrollThumb", "FrameCount", 3));
  set(m.VertScrollThumb, ReadInt("VertScrollThumb", "FrameCount", 3));
}
