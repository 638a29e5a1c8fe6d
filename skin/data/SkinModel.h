// The skin element model: every element, the colour scheme and the skin's name, as the
// skin component TSkinData holds them (TSkinData derives from TSkinModel). Built from a
// skin by TSkinModelBuilder (SkinModelBuilder.h) and read-only afterwards.
//
// Buttons, Title and the four frame borders always exist; every other element is null
// when the skin does not provide it (Track and TrackVert always exist after a load).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/SkinElements.h"
#include "skin/image/GdiOwners.h"

// The system colours the colour scheme falls back to (top bit set, low byte = index).
inline constexpr int32_t kSysColour(int index) {
  return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index));
}

struct TSkinModel {
  TSkinModel();
  TSkinModel(const TSkinModel&) = delete;
  TSkinModel& operator=(const TSkinModel&) = delete;
  ~TSkinModel();

  // Takes over everything `built` holds. The always-present elements, ComboArrow and
  // ToolbarBackground keep their addresses (their contents are replaced), so painting
  // code that holds them stays valid; every other element is replaced or dropped.
  void AdoptModel(TSkinModel& built);

  // Elements (see the member table of the skin model).
  std::unique_ptr<TDataSkinTitle> Title;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinBorder> UpDownHorz;
  std::unique_ptr<TDataSkinBorder> UpDownVert;
  std::unique_ptr<TDataSkinObject> SunkEdge;
  std::unique_ptr<TDataSkinObject> ExtraImages;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> ComboArrow;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinObject> ToolbarBackground;
  std::unique_ptr<TDataSkinObject> ToolBars;
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> ProgressChunk;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinObject> TabPane;
  std::unique_ptr<TDataSkinObject> Headerbar;
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinObject> MenuItem;
  std::unique_ptr<TDataSkinObject> MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar;
  std::unique_ptr<TDataSkinObject> HorzScroll;
  std::unique_ptr<TDataSkinObject> VertScroll;
  std::unique_ptr<TDataSkinObject> HorzScrollThumb;
  std::unique_ptr<TDataSkinObject> VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
  std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
  std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
  std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
  std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
  std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
  std::unique_ptr<TDataSkinObject> Track;
  std::unique_ptr<TDataSkinObject> TrackVert;
  std::unique_ptr<TDataSkinBorder> BorderLeft;
  std::unique_ptr<TDataSkinBorder> BorderRight;
  std::unique_ptr<TDataSkinBorder> BorderTop;
  std::unique_ptr<TDataSkinBorder> BorderBottom;

  // The colour scheme ([Colours]; system colours until a skin says otherwise).
  int32_t WindowTextColour = kSysColour(COLOR_WINDOWTEXT);
  int32_t ButtonFaceColour = kSysColour(COLOR_BTNFACE);
  int32_t ScrollbarColour = kSysColour(COLOR_SCROLLBAR);
  int32_t HilightTextColour = kSysColour(COLOR_HIGHLIGHTTEXT);
  int32_t HilightColour = kSysColour(COLOR_HIGHLIGHT);
  int32_t MenubarColour = kSysColour(COLOR_BTNFACE);
  int32_t MenuColour = kSysColour(COLOR_MENU);
  int32_t MenuTextColour = kSysColour(COLOR_MENUTEXT);
  int32_t ButtonTextColour = kSysColour(COLOR_BTNTEXT);
  int32_t ButtonHilightColour = kSysColour(COLOR_BTNHIGHLIGHT);
  int32_t ButtonLightColour = kSysColour(COLOR_BTNHIGHLIGHT);
  int32_t ButtonShadowColour = kSysColour(COLOR_BTNSHADOW);
  int32_t ButtonDkShadowColour = kSysColour(COLOR_3DDKSHADOW);
  int32_t MenuBarTextColour = kSysColour(COLOR_MENUTEXT);
  int32_t TitleTextActiveColour = kSysColour(COLOR_CAPTIONTEXT);
  int32_t TitleTextNoActiveColour = kSysColour(COLOR_INACTIVECAPTIONTEXT);

  // One colour per [COLOURn] section, in text order.
  std::vector<int32_t> ColourTable;
  // [Customcolors] Color0 ... Color9.
  std::array<int32_t, 10> CustomColours;
  // A solid brush of ButtonFaceColour, made at the end of every load.
  gdi::Brush ButtonFaceBrush;
  // The colour sampled from the top frame border, or ButtonFaceColour.
  int32_t TitleColour = kSysColour(COLOR_BTNFACE);
  // [TitlebarSkin] SkinName.
  std::string SkinName;
};
