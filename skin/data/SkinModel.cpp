#include "skin/data/SkinModel.h"

#include <utility>

namespace {

// Moves the contents of `from` into the object `to` points at, keeping that address.
template <class T>
void MoveInto(std::unique_ptr<T>& to, std::unique_ptr<T>& from) {
  if (!from) return;
  if (to) {
    *to = std::move(*from);
  } else {
    to = std::move(from);
  }
  from.reset();
}

}  // namespace

TSkinModel::TSkinModel()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      BorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      BorderRight(std::make_unique<TDataSkinBorder>("Right")),
      BorderTop(std::make_unique<TDataSkinBorder>("Top")),
      BorderBottom(std::make_unique<TDataSkinBorder>("Bottom")) {
  CustomColours.fill(0x00FFFFFF);
}

TSkinModel::~TSkinModel() = default;

void TSkinModel::AdoptModel(TSkinModel& built) {
  // Elements that live as long as the component, and the two generated ones that are
  // made once and reused: same objects, new contents.
  MoveInto(Title, built.Title);
  MoveInto(Buttons, built.Buttons);
  MoveInto(BorderLeft, built.BorderLeft);
  MoveInto(BorderRight, built.BorderRight);
  MoveInto(BorderTop, built.BorderTop);
  MoveInto(BorderBottom, built.BorderBottom);
  MoveInto(ComboArrow, built.ComboArrow);
  MoveInto(ToolbarBackground, built.ToolbarBackground);
  // Everything else is rebuilt on every load.
  SysButtons = std::move(built.SysButtons);
  Tabs = std::move(built.Tabs);
  UpDownHorz = std::move(built.UpDownHorz);
  UpDownVert = std::move(built.UpDownVert);
  SunkEdge = std::move(built.SunkEdge);
  ExtraImages = std::move(built.ExtraImages);
  ComboButton = std::move(built.ComboButton);
  GroupBoxEdge = std::move(built.GroupBoxEdge);
  ToolBars = std::move(built.ToolBars);
  Progress = std::move(built.Progress);
  ProgressChunk = std::move(built.ProgressChunk);
  GroupBox = std::move(built.GroupBox);
  StatusBarEdges = std::move(built.StatusBarEdges);
  TabPane = std::move(built.TabPane);
  Headerbar = std::move(built.Headerbar);
  MenuBar = std::move(built.MenuBar);
  MenuItem = std::move(built.MenuItem);
  MenuBackground = std::move(built.MenuBackground);
  Scrollbar = std::move(built.Scrollbar);
  HorzScroll = std::move(built.HorzScroll);
  VertScroll = std::move(built.VertScroll);
  HorzScrollThumb = std::move(built.HorzScrollThumb);
  VertScrollThumb = std::move(built.VertScrollThumb);
  TrackbarThumbHorz = std::move(built.TrackbarThumbHorz);
  TrackbarThumbVert = std::move(built.TrackbarThumbVert);
  TrackbarThumbLeft = std::move(built.TrackbarThumbLeft);
  TrackbarThumbRight = std::move(built.TrackbarThumbRight);
  TrackbarThumbUp = std::move(built.TrackbarThumbUp);
  TrackbarThumbDown = std::move(built.TrackbarThumbDown);
  Track = std::move(built.Track);
  TrackVert = std::move(built.TrackVert);

  WindowTextColour = built.WindowTextColour;
  ButtonFaceColour = built.ButtonFaceColour;
  ScrollbarColour = built.ScrollbarColour;
  HilightTextColour = built.HilightTextColour;
  HilightColour = built.HilightColour;
  MenubarColour = built.MenubarColour;
  MenuColour = built.MenuColour;
  MenuTextColour = built.MenuTextColour;
  ButtonTextColour = built.ButtonTextColour;
  ButtonHilightColour = built.ButtonHilightColour;
  ButtonLightColour = built.ButtonLightColour;
  ButtonShadowColour = built.ButtonShadowColour;
  ButtonDkShadowColour = built.ButtonDkShadowColour;
  MenuBarTextColour = built.MenuBarTextColour;
  TitleTextActiveColour = built.TitleTextActiveColour;
  TitleTextNoActiveColour = built.TitleTextNoActiveColour;
  ColourTable = std::move(built.ColourTable);
  CustomColours = built.CustomColours;
  ButtonFaceBrush = std::move(built.ButtonFaceBrush);
  TitleColour = built.TitleColour;
  SkinName = std::move(built.SkinName);
}
