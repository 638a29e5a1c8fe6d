// The whole build of the skin model, in its fixed order (later steps read what earlier
// ones produced).
#include <algorithm>

#include "skin/data/SkinBitmaps.h"
#include "skin/data/SkinModelBuilder.h"
#include "skin/image/ImgUtil.h"

TSkinModelBuilder::TSkinModelBuilder(TSkinModel& model, const TSkinReader& reader,
                                     const TQuickIni& ini, TMemoryStream& entryBuffer,
                                     HINSTANCE resources)
    : model_(model), reader_(reader), ini_(ini), entry_(entryBuffer), resources_(resources) {}

void TSkinModelBuilder::BuildSkinModel() {
  TSkinModel& m = model_;
  // 1. The section list, and the skin's name.
  ini_.GetSections(&sections_);
  m.SkinName = ReadText("TitlebarSkin", "SkinName");
  // 2 - 6.
  LoadBorders();
  LoadColours();
  LoadSysButtons();
  LoadButtons();
  LoadTitle("Personality");
  // 7 - 9.
  LoadProgress(m.Progress, "Progress");
  LoadElement(m.ProgressChunk, "Progress.Chunk");
  LoadMenuBar(m.MenuBar, "Personality");
  LoadElement(m.GroupBoxEdge, "GroupBoxEdge");
  LoadBoxLabel(m.GroupBox, "GroupBox");
  // 10 - 12.
  LoadBorderElement(m.Tabs, "Tabs", "Border");
  LoadElement(m.StatusBarEdges, "StatusBarEdges");
  LoadElement(m.TabPane, "Tab.Pane");
  if (m.TabPane) {
    RECT& margins = m.TabPane->Margins;
    margins.left = std::min<LONG>(margins.left, 4);
    margins.top = std::min<LONG>(margins.top, 4);
    margins.right = std::min<LONG>(margins.right, 4);
    margins.bottom = std::min<LONG>(margins.bottom, 4);
  }
  LoadElement(m.ToolBars, "ToolBars");
  // 13. "****" is a key no skin uses: Image2 is the mirrored button made below.
  LoadBorderElement(m.ComboButton, "ComboButton", "****");
  LoadElement(m.SunkEdge, "SunkEdge");
  if (m.ComboButton && !BitmapIsEmpty(*m.ComboButton->Bitmap)) {
    CopyBitmap24(*m.ComboButton->Image2, *m.ComboButton->Bitmap);
    MirrorBitmap(m.ComboButton->Image2.get());
  }
  // 14.
  LoadElement(m.ExtraImages, "ExtraImages");
  LoadElement(m.Headerbar, "Headerbar");
  LoadElement(m.MenuItem, "MenuItem");
  LoadElement(m.MenuBackground, "MenuBackground");
  LoadElement(m.Scrollbar, "Scrollbar");
  LoadElement(m.HorzScroll, "HorzScroll");
  LoadElement(m.VertScroll, "VertScroll");
  LoadElement(m.HorzScrollThumb, "HorzScrollThumb");
  LoadElement(m.VertScrollThumb, "VertScrollThumb");
  LoadElement(m.TrackbarThumbHorz, "Trackbar.ThumbHorz");
  LoadElement(m.TrackbarThumbVert, "Trackbar.ThumbVert");
  LoadElement(m.TrackbarThumbLeft, "Trackbar.ThumbLeft");
  LoadElement(m.TrackbarThumbRight, "Trackbar.ThumbRight");
  LoadElement(m.TrackbarThumbUp, "Trackbar.ThumbUp");
  LoadElement(m.TrackbarThumbDown, "Trackbar.ThumbDown");
  // 15.
  LoadBorderElement(m.UpDownHorz, "UpDown.Horz", "GlyphImage");
  LoadBorderElement(m.UpDownVert, "UpDown.Vert", "GlyphImage");
  // 16.
  LoadElement(m.Track, "Track");
  LoadElement(m.TrackVert, "TRACKVERT");
  if (!m.Track) LoadBuiltinTrack(m.Track, "TRACK");
  if (!m.TrackVert) LoadBuiltinTrack(m.TrackVert, "TRACKVERT");
  // 17 - 19.
  SetFrameCounts();
  BuildComboImage();
  BuildComboArrow();
  BuildToolbarBackground();
  m.TitleColour = GetTitleColour();
  m.ButtonFaceBrush = gdi::Brush(CreateSolidBrush(static_cast<COLORREF>(ResolveColour(m.ButtonFaceColour))));
  sections_.clear();
}
