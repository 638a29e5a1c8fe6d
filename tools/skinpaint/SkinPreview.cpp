#include "tools/skinpaint/SkinPreview.h"

#include <algorithm>
#include <map>
#include <string>

#include "framework/Streams.h"
#include "skin/data/WinSkinIni.h"
#include "tools/skinpaint/SliceDraw.h"

namespace {

constexpr int kClientWidth = 667;
constexpr int kClientHeight = 446;
constexpr int kMenuHeight = 20;
constexpr int kArrowSize = 17;  // SM_CXHSCROLL at 96 dpi
constexpr uint32_t kDesktop = 0x5D6D7E;

struct Element {
  const Bitmap24* image = nullptr;
  SliceMargins margins;
  bool trans = false;
  bool tile = false;
};

class PreviewSkin {
 public:
  PreviewSkin(std::string_view iniText, const std::vector<SkinImage>& images) {
    std::string text(iniText);
    TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
    ini_.LoadFromStream(&stream);
    for (const SkinImage& i : images) images_[i.fileName] = &i.bitmap;
  }

  int Int(std::string_view section, std::string_view key, int fallback) const {
    return ini_.ReadInteger(section, key, fallback);
  }

  const Bitmap24* Image(std::string_view section, std::string_view key) const {
    const auto it = images_.find(ini_.ReadString(section, key, ""));
    return it == images_.end() ? nullptr : it->second;
  }

  Element Get(std::string_view section, std::string_view key = "Image") const {
    Element e;
    e.image = Image(section, key);
    e.margins = {Int(section, "LeftWidth", 0), Int(section, "TopHeight", 0),
                 Int(section, "RightWidth", 0), Int(section, "BottomHeight", 0)};
    e.trans = Int(section, "Trans", 0) != 0;
    e.tile = Int(section, "Tile", 0) == 1;
    return e;
  }

  // "R G B" of [Colours] as 0xRRGGBB (black when absent).
  uint32_t Colour(std::string_view key) const {
    const std::string text = ini_.ReadString("Colours", key, "0 0 0");
    uint32_t parts[3] = {0, 0, 0};
    int n = 0;
    size_t i = 0;
    while (i < text.size() && n < 3) {
      if (text[i] < '0' || text[i] > '9') {
        ++i;
        continue;
      }
      uint32_t v = 0;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9') v = v * 10 + (text[i++] - '0');
      parts[n++] = v & 0xFF;
    }
    return parts[0] << 16 | parts[1] << 8 | parts[2];
  }

  std::vector<std::string> Sections() const {
    std::vector<std::string> names;
    ini_.GetSections(&names);
    return names;
  }

 private:
  TQuickIni ini_;
  std::map<std::string, const Bitmap24*> images_;
};

void FillRect(Bitmap24& dst, TargetRect r, uint32_t colour) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (dst.Contains(x, y)) dst.At(x, y) = colour;
}

void FrameRect1(Bitmap24& dst, TargetRect r, uint32_t colour) {
  FillRect(dst, {r.left, r.top, r.right, r.top + 1}, colour);
  FillRect(dst, {r.left, r.bottom - 1, r.right, r.bottom}, colour);
  FillRect(dst, {r.left, r.top, r.left + 1, r.bottom}, colour);
  FillRect(dst, {r.right - 1, r.top, r.right, r.bottom}, colour);
}

uint32_t Blend(uint32_t a, uint32_t b, int percentB) {
  auto ch = [&](int shift) {
    const int x = static_cast<int>(a >> shift & 0xFF), y = static_cast<int>(b >> shift & 0xFF);
    return static_cast<uint32_t>((x * (100 - percentB) + y * percentB) / 100) << shift;
  };
  return ch(16) | ch(8) | ch(0);
}

// A stand-in for a line of text: a bar of the text colour softened toward the background.
void TextBar(Bitmap24& dst, int x, int centreY, int width, uint32_t ink, uint32_t back) {
  FillRect(dst, {x, centreY - 2, x + width, centreY + 2}, Blend(back, ink, 55));
}

void Nine(Bitmap24& dst, TargetRect r, const Element& e, int count, int index, bool stacked = false) {
  if (e.image == nullptr) return;
  DrawNineSlice(dst, r, *e.image, e.margins, stacked, e.tile, e.trans, count, index);
}

void Cell(Bitmap24& dst, TargetRect r, const Bitmap24* image, int count, int index) {
  if (image != nullptr) DrawFrameStretched(dst, r, *image, true, count, index);
}

class WindowMock {
 public:
  explicit WindowMock(const PreviewSkin& skin) : s_(skin) {
    left_ = s_.Image("Personality", "Left");
    right_ = s_.Image("Personality", "Right");
    top_ = s_.Image("Personality", "Top");
    bottom_ = s_.Image("Personality", "Bottom");
    l_ = left_ ? left_->width / std::max(1, s_.Int("Personality", "LeftFrame", 1)) : 0;
    r_ = right_ ? right_->width / std::max(1, s_.Int("Personality", "RightFrame", 1)) : 0;
    t_ = top_ ? top_->height / std::max(1, s_.Int("Personality", "TopFrame", 1)) : 0;
    b_ = bottom_ ? bottom_->height / std::max(1, s_.Int("Personality", "BottomFrame", 1)) : 0;
    w_ = kClientWidth + l_ + r_;
    h_ = kClientHeight + t_ + kMenuHeight + b_;
    face_ = s_.Colour("ButtonFace");
  }

  int Width() const { return w_; }
  int Height() const { return h_; }

  Bitmap24 Paint(bool active) const {
    Bitmap24 win(w_, h_, face_);
    PaintBorders(win, active);
    PaintCaptionButtons(win, active);
    PaintMenuBar(win, active);
    Bitmap24 client(kClientWidth, kClientHeight, face_);
    PaintClient(client);
    win.Put(client, l_, t_ + kMenuHeight, false);
    return win;
  }

 private:
  void Border(Bitmap24& win, const Bitmap24* image, const std::string& n, TargetRect r,
              bool stacked, bool active) const {
    if (image == nullptr || r.Width() <= 0 || r.Height() <= 0) return;
    const int frames = std::max(1, s_.Int("Personality", n + "Frame", 1));
    const int a = s_.Int("Personality", n + "TopHeight", 0);
    const int b = s_.Int("Personality", n + "BotHeight", 0);
    const SliceMargins m = stacked ? SliceMargins{a, 0, b, 0} : SliceMargins{0, a, 0, b};
    const bool tile = s_.Int("Personality", n + "Stretch", 1) != 1;
    const int index = active || frames == 1 ? 1 : 2;
    win.Put(BuildNineSlice(r.Width(), r.Height(), *image, m, stacked, tile, frames, index), r.left,
            r.top, false);
  }

  void PaintBorders(Bitmap24& win, bool active) const {
    Border(win, left_, "Left", {0, 0, l_, h_}, false, active);
    Border(win, right_, "Right", {w_ - r_, 0, w_, h_}, false, active);
    Border(win, bottom_, "Bottom", {l_, h_ - b_, w_ - r_, h_}, true, active);
    Border(win, top_, "Top", {l_, 0, w_ - r_, t_}, true, active);
    // Caption text and the window icon, as stand-ins.
    const int shift = s_.Int("Personality", "TextShift", 0);
    TextBar(win, shift, t_ / 2, 150,
            s_.Colour(active ? "TitleTextActive" : "TitleTextNoActive"), win.At(shift, t_ / 2));
  }

  // A normal window with minimise and maximise boxes: close, maximise, minimise show;
  // restore and help do not. Active windows show the close button hot and minimise
  // pressed, so all looks appear.
  void PaintCaptionButtons(Bitmap24& win, bool active) const {
    for (const std::string& section : s_.Sections()) {
      if (section.rfind("BUTTON", 0) != 0 || section == "Buttons") continue;
      const int action = s_.Int(section, "Action", 0);
      const int vis = s_.Int(section, "Visibility", 0);
      if (vis == 1 || vis == 10) continue;
      const int x = s_.Int(section, "Xcoord", 0), y = s_.Int(section, "Ycoord", 0);
      if (action == 3) {  // the program's icon: a stand-in square
        FillRect(win, {x + 2, y + 2, x + 14, y + 14}, s_.Colour("Hilight"));
        continue;
      }
      const Bitmap24* image = s_.Image(section, "ButtonImage");
      if (image == nullptr) continue;
      const int frames = std::max(1, s_.Int(section, "frame", 4));
      const int w = image->width / frames;
      const int left = s_.Int(section, "Align", 0) == 1 ? w_ - x : x;
      int index = 1;
      if (!active) index = 4;
      else if (action == 0) index = 3;
      else if (action == 2) index = 2;
      DrawFrameStretched(win, {left, y, left + w, y + image->height}, *image, true, frames, index);
    }
  }

  void PaintMenuBar(Bitmap24& win, bool active) const {
    const TargetRect strip{l_, t_, w_ - r_, t_ + kMenuHeight};
    const Bitmap24* bar = s_.Image("Personality", "menuBar");
    int x = 6;
    if (bar != nullptr) {
      const SliceMargins m{s_.Int("Personality", "TileLeftMenu", 1), 0,
                           s_.Int("Personality", "TileRightMenu", 1), 0};
      DrawNineSlice(win, strip, *bar, m, true, false, false, 2, active ? 1 : 2);
      x = m.left + 4;
    } else {
      FillRect(win, strip, s_.Colour("Menubar"));
    }
    const uint32_t ink = s_.Colour("MenuBarText");
    const int widths[] = {34, 34, 46, 30};
    for (int i = 0; i < 4; ++i) {
      const TargetRect item{strip.left + x, strip.top, strip.left + x + widths[i] + 10,
                            strip.bottom - 1};
      TextBar(win, item.left + 5, (item.top + item.bottom) / 2, widths[i], ink,
              win.At(item.left + 1, item.top + 1));
      if (i == 1 && active) FrameRect1(win, item, s_.Colour("ButtonHilight"));
      x += widths[i] + 10;
    }
  }

  void PaintClient(Bitmap24& c) const {
    PaintLogBox(c, {8, 8, kClientWidth - 8, 220});
    PaintButtons(c, 232);
    PaintMarks(c, 270);
    PaintRanges(c, 292);
    PaintTabs(c, {8, 326, 330, 414});
    PaintGroupAndMenu(c, {346, 326, kClientWidth - 8, 414});
    PaintStatusBar(c, {0, kClientHeight - 22, kClientWidth, kClientHeight});
  }

  // The log box: border, text, both scroll bars and the corner between them.
  void PaintLogBox(Bitmap24& c, TargetRect r) const {
    FrameRect1(c, r, s_.Colour("ButtonShadow"));
    FrameRect1(c, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, face_);
    const TargetRect inside{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    const uint32_t field = FieldColour();
    FillRect(c, inside, field);
    for (int line = 0; line < 10; ++line)
      TextBar(c, inside.left + 4, inside.top + 9 + 16 * line, 180 + (line * 73) % 260,
              s_.Colour("WindowText"), field);
    const Bitmap24* strip = s_.Image("Scrollbar", "Image");
    const int n = kArrowSize;
    const TargetRect v{inside.right - n, inside.top, inside.right, inside.bottom - n};
    const TargetRect h{inside.left, inside.bottom - n, inside.right - n, inside.bottom};
    // Vertical bar: up arrow hot, down arrow normal, thumb hot with its grip.
    Nine(c, {v.left, v.top + n, v.right, v.bottom - n}, s_.Get("VertScroll"), 4, 1);
    Cell(c, {v.left, v.top, v.right, v.top + n}, strip, 23, 12);
    Cell(c, {v.left, v.bottom - n, v.right, v.bottom}, strip, 23, 13);
    const Element vt = s_.Get("VertScrollThumb");
    const int vtFrames = s_.Int("VertScrollThumb", "FrameCount", 3);
    const TargetRect vThumb{v.left, v.top + 40, v.right, v.top + 120};
    Nine(c, vThumb, vt, vtFrames, 3);
    Cell(c, {v.left, vThumb.top + (vThumb.Height() - n) / 2, v.right,
             vThumb.top + (vThumb.Height() - n) / 2 + n}, strip, 23, 22);
    // Horizontal bar: left arrow normal, right arrow pressed, thumb normal.
    Nine(c, {h.left + n, h.top, h.right - n, h.bottom}, s_.Get("HorzScroll"), 4, 1);
    Cell(c, {h.left, h.top, h.left + n, h.bottom}, strip, 23, 1);
    Cell(c, {h.right - n, h.top, h.right, h.bottom}, strip, 23, 6);
    const Element ht = s_.Get("HorzScrollThumb");
    const TargetRect hThumb{h.left + 150, h.top, h.left + 330, h.bottom};
    Nine(c, hThumb, ht, s_.Int("HorzScrollThumb", "FrameCount", 3), 1);
    Cell(c, {hThumb.left + (hThumb.Width() - n) / 2, h.top,
             hThumb.left + (hThumb.Width() - n) / 2 + n, h.bottom}, strip, 23, 17);
    Cell(c, {v.left, h.top, v.right, h.bottom}, strip, 23, 23);
  }

  uint32_t FieldColour() const {
    // The log box keeps the window colour; a dark skin's is its darkest grey.
    const uint32_t face = face_;
    const int lum = static_cast<int>((face >> 16 & 0xFF) + (face >> 8 & 0xFF) + (face & 0xFF));
    return lum > 384 ? 0xFFFFFF : Blend(face, 0x000000, 28);
  }

  // Push buttons: normal, hot, default (focused); then pressed and disabled.
  void PaintButtons(Bitmap24& c, int y) const {
    const Element e = s_.Get("Buttons", "Bitmap");
    const int frames[] = {1, 4, 5, 2, 3};
    for (int i = 0; i < 5; ++i) {
      const TargetRect r{8 + i * 112, y, 8 + i * 112 + 100, y + 25};
      Nine(c, r, e, 5, frames[i]);
      TextBar(c, r.left + 30, r.top + 12, 40, frames[i] == 3 ? s_.Colour("ButtonShadow")
                                                              : s_.Colour("ButtonText"),
              c.At(r.left + 50, r.top + 12));
    }
  }

  void PaintMarks(Bitmap24& c, int y) const {
    const Bitmap24* check = s_.Image("Buttons", "CheckButton");
    const Bitmap24* radio = s_.Image("Buttons", "RadioButton");
    const int checkFrames[] = {1, 2, 3, 5, 6, 9, 4, 8};
    const int radioFrames[] = {1, 2, 5, 6, 4, 8};
    int x = 8;
    for (int f : checkFrames) {
      Cell(c, {x, y, x + 13, y + 13}, check, s_.Int("Buttons", "CheckButtonFrame", 12), f);
      TextBar(c, x + 17, y + 6, 22, s_.Colour("ButtonText"), face_);
      x += 46;
    }
    for (int f : radioFrames) {
      Cell(c, {x, y, x + 13, y + 13}, radio, s_.Int("Buttons", "RadioButtonFrame", 8), f);
      TextBar(c, x + 17, y + 6, 22, s_.Colour("ButtonText"), face_);
      x += 46;
    }
  }

  void PaintRanges(Bitmap24& c, int y) const {
    // Progress at 60 %.
    const Element p = s_.Get("Progress", "Bitmap");
    const TargetRect bar{8, y + 4, 208, y + 18};
    Nine(c, bar, p, 2, 1);
    Nine(c, {bar.left, bar.top, bar.left + 120, bar.bottom}, p, 2, 2);
    // Track bar: the groove in three slices at its own height, the thumb (frame 2).
    const Element track = s_.Get("Track");
    if (track.image != nullptr) {
      const int gh = track.image->height;
      const TargetRect groove{228, y + 11 - gh / 2, 420, y + 11 - gh / 2 + gh};
      const int l = track.margins.left, r = track.margins.right;
      StretchCopy(*track.image, 0, 0, l, gh, c, groove.left, groove.top, l, gh, false);
      StretchCopy(*track.image, l, 0, track.image->width - l - r, gh, c, groove.left + l, groove.top,
                  groove.Width() - l - r, gh, false);
      StretchCopy(*track.image, track.image->width - r, 0, r, gh, c, groove.right - r, groove.top, r,
                  gh, false);
    }
    Cell(c, {300, y, 311, y + 21}, s_.Image("Trackbar.ThumbHorz", "Image"), 5, 2);
    // Combo box, composed as the engine composes it, normal and hot.
    for (int i = 0; i < 2; ++i) {
      const int state = i == 0 ? 1 : 4;
      const TargetRect combo{440 + i * 110, y, 540 + i * 110, y + 21};
      Nine(c, combo, s_.Get("SunkEdge"), 4, state);
      const int a = kArrowSize + 2;
      const TargetRect button{combo.right - a, combo.top, combo.right, combo.bottom};
      Element cb = s_.Get("ComboButton");
      cb.trans = true;
      Nine(c, button, cb, 4, state);
      const Bitmap24* extra = s_.Image("ExtraImages", "Image");
      if (extra != nullptr) DrawCentredFrame(c, button, *extra, true, 5, state);
      TextBar(c, combo.left + 6, combo.top + 10, 40, s_.Colour("WindowText"),
              c.At(combo.left + 4, combo.top + 10));
    }
    // Up-down: up half hot, down half normal.
    const Element ud = s_.Get("UpDown.Vert");
    const Bitmap24* glyphs = s_.Image("UpDown.Vert", "GlyphImage");
    const TargetRect up{648, y, 664, y + 11}, down{648, y + 11, 664, y + 22};
    Nine(c, up, ud, 8, 4);
    Nine(c, down, ud, 8, 5);
    if (glyphs != nullptr) {
      DrawCentredFrame(c, up, *glyphs, true, 8, 4);
      DrawCentredFrame(c, down, *glyphs, true, 8, 5);
    }
  }

  // Three tabs (the second selected, the third hot) over a pane holding a header bar.
  void PaintTabs(Bitmap24& c, TargetRect r) const {
    const Element tabs = s_.Get("Tabs");
    const Element pane = s_.Get("Tab.Pane");
    const int states[] = {1, 2, 4};
    for (int i = 0; i < 3; ++i) {
      const bool selected = states[i] == 2;
      const TargetRect tab{r.left + 2 + i * 70 - (selected ? 2 : 0), r.top + (selected ? 0 : 2),
                           r.left + 2 + i * 70 + 68 + (selected ? 2 : 0), r.top + 22};
      Nine(c, tab, tabs, 5, states[i]);
      TextBar(c, tab.left + 14, (tab.top + tab.bottom) / 2 + 1, 36, s_.Colour("ButtonText"),
              c.At(tab.left + 10, tab.top + 12));
    }
    Element paneEdge = pane;
    paneEdge.margins = {std::min(pane.margins.left, 4), std::min(pane.margins.top, 4),
                        std::min(pane.margins.right, 4), std::min(pane.margins.bottom, 4)};
    Nine(c, {r.left, r.top + 20, r.right, r.bottom}, paneEdge, 1, 1);
    // A header bar inside the pane with three items, the middle one hot.
    const Element header = s_.Get("Headerbar");
    const int frames = s_.Int("Headerbar", "Frame", 5);
    const TargetRect hb{r.left + 8, r.top + 30, r.right - 8, r.top + 50};
    Nine(c, hb, header, frames, 1);
    for (int i = 0; i < 3; ++i) {
      const TargetRect item{hb.left + i * 100, hb.top, hb.left + i * 100 + 100, hb.bottom};
      Nine(c, item, header, frames, i == 1 ? 2 : 1);
      TextBar(c, item.left + 6, item.top + 10, 44, s_.Colour("ButtonText"),
              c.At(item.left + 3, item.top + 10));
    }
  }

  // A group box whose inside shows a popup menu: an item, the selected item, a
  // separator and a last item.
  void PaintGroupAndMenu(Bitmap24& c, TargetRect r) const {
    Nine(c, {r.left, r.top + 6, r.right, r.bottom}, s_.Get("GroupBoxEdge"), 2, 1);
    const TargetRect label{r.left + 8, r.top, r.left + 80, r.top + 13};
    Nine(c, label, s_.Get("GroupBox"), 1, 1);
    TextBar(c, label.left + 4, label.top + 6, 56, s_.Colour("ButtonText"), face_);
    const TargetRect menu{r.left + 16, r.top + 18, r.left + 196, r.top + 18 + 66};
    const Element back = s_.Get("MenuBackground");
    Nine(c, menu, back, 1, 1);
    const Element item = s_.Get("MenuItem");
    const int rows[][2] = {{1, 20}, {4, 20}, {2, 8}, {1, 20}};  // frame, height
    int y = menu.top + 3;
    for (const auto& row : rows) {
      const TargetRect ir{menu.left + 3, y, menu.right - 3, y + row[1]};
      if (row[0] == 2 && item.image != nullptr) {
        // Separators take the lower rows of frame 2.
        const TargetRect f = FrameRect(*item.image, 5, 2, false);
        const int rowsUsed = std::min(row[1], f.Height());
        StretchCopy(*item.image, f.left, f.bottom - rowsUsed, f.Width(), rowsUsed, c, ir.left,
                    ir.top, ir.Width(), rowsUsed, true);
      } else {
        Nine(c, ir, item, 5, row[0]);
        TextBar(c, ir.left + 24, ir.top + 10, 70,
                s_.Colour(row[0] == 4 ? "HilightText" : "MenuText"), c.At(ir.left + 20, ir.top + 10));
      }
      y += row[1];
    }
  }

  void PaintStatusBar(Bitmap24& c, TargetRect r) const {
    const Element edges = s_.Get("StatusBarEdges");
    const TargetRect panels[] = {{r.left, r.top + 2, r.left + 300, r.bottom},
                                 {r.left + 302, r.top + 2, r.right, r.bottom}};
    for (const TargetRect& p : panels) {
      if (edges.image != nullptr) c.Put(BuildNineSlice(p.Width(), p.Height(), *edges.image,
                                                       edges.margins, false, edges.tile, 3, 1),
                                        p.left, p.top, false);
      TextBar(c, p.left + 6, (p.top + p.bottom) / 2, 120, s_.Colour("ButtonText"),
              c.At(p.left + 3, (p.top + p.bottom) / 2));
    }
    const Bitmap24* extra = s_.Image("ExtraImages", "Image");
    if (extra != nullptr) {
      const int cw = extra->width / 5;
      DrawFrameStretched(c, {r.right - 1 - cw, r.bottom - 1 - extra->height, r.right - 1, r.bottom - 1},
                         *extra, true, 5, 5);
    }
  }

  const PreviewSkin& s_;
  const Bitmap24* left_;
  const Bitmap24* right_;
  const Bitmap24* top_;
  const Bitmap24* bottom_;
  int l_, r_, t_, b_, w_, h_;
  uint32_t face_;
};

}  // namespace

Bitmap24 ComposePreview(std::string_view iniText, const std::vector<SkinImage>& images) {
  const PreviewSkin skin(iniText, images);
  const WindowMock mock(skin);
  constexpr int kMargin = 24;
  constexpr int kInactiveRows = 120;
  Bitmap24 out(mock.Width() + 2 * kMargin, mock.Height() + kInactiveRows + 3 * kMargin, kDesktop);
  // Magenta border pixels are cut away by the window region: the desktop shows there.
  out.Put(mock.Paint(true), kMargin, kMargin, true);
  const Bitmap24 inactive = mock.Paint(false);
  out.Put(inactive.Crop(0, 0, inactive.width, kInactiveRows), kMargin,
          mock.Height() + 2 * kMargin, true);
  return out;
}
