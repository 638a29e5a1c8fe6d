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

#include "framework/Graphics.h"
#include "skin/data/SkinElements.h"
#include "skin/image/GdiOwners.h"

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
  TColor WindowTextColour = SystemColor(COLOR_WINDOWTEXT);
  TColor ButtonFaceColour = SystemColor(COLOR_BTNFACE);
  TColor ScrollbarColour = SystemColor(COLOR_SCROLLBAR);
  TColor HilightTextColour = SystemColor(COLOR_HIGHLIGHTTEXT);
  TColor HilightColour = SystemColor(COLOR_HIGHLIGHT);
  TColor MenubarColour = SystemColor(COLOR_BTNFACE);
  TColor MenuColour = SystemColor(COLOR_MENU);
  TColor MenuTextColour = SystemColor(COLOR_MENUTEXT);
  TColor ButtonTextColour = SystemColor(COLOR_BTNTEXT);
  TColor ButtonHilightColour = SystemColor(COLOR_BTNHIGHLIGHT);
  TColor ButtonLightColour = SystemColor(COLOR_BTNHIGHLIGHT);
  TColor ButtonShadowColour = SystemColor(COLOR_BTNSHADOW);
  TColor ButtonDkShadowColour = SystemColor(COLOR_3DDKSHADOW);
  TColor MenuBarTextColour = SystemColor(COLOR_MENUTEXT);
  TColor TitleTextActiveColour = SystemColor(COLOR_CAPTIONTEXT);
  TColor TitleTextNoActiveColour = SystemColor(COLOR_INACTIVECAPTIONTEXT);

  // One colour per [COLOURn] section, in text order.
  std::vector<TColor> ColourTable;
  // [Customcolors] Color0 ... Color9.
  std::array<TColor, 10> CustomColours;
  // A solid brush of ButtonFaceColour, made at the end of every load.
  gdi::Brush ButtonFaceBrush;
  // The colour sampled from the top frame border, or ButtonFaceColour.
  TColor TitleColour = SystemColor(COLOR_BTNFACE);
  // [TitlebarSkin] SkinName.
  std::string SkinName;
};
