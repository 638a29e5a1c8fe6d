// What a skin author relies on in our two skins: every picture the INI names is there,
// each divides into the frame count the engine will use, margins leave a middle to
// stretch, magenta appears only where something should show through, and the frame,
// caption buttons and colours fit together.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "skin/data/WinSkinIni.h"
#include "tools/skinpaint/SkinIni.h"
#include "tools/skinpaint/SkinPainter.h"
#include "tools/skinpaint/SkinPreview.h"
#include "tools/skinpaint/SkinStyle.h"

namespace {

// Where magenta may appear in each frame of an element.
enum class Key {
  None,         // drawn opaquely: no magenta at all
  CornersOnly,  // rounded corners: only in the nine-slice corner pieces
  Free,         // glyphs and cut-outs drawn over something else
};

struct ElementRule {
  const char* section;
  const char* key;
  // The frame count the engine uses for this picture (its fixed table, or the key).
  std::function<int(const TQuickIni&, const Bitmap24&)> frames;
  bool stacked;
  Key magenta;
  bool nineSliced;  // cut by LeftWidth / TopHeight / RightWidth / BottomHeight
};

auto Fixed(int n) {
  return [n](const TQuickIni&, const Bitmap24&) { return n; };
}

auto FromKey(const char* section, const char* key, int fallback) {
  return [=](const TQuickIni& ini, const Bitmap24&) { return ini.ReadInteger(section, key, fallback); };
}

// The rule for check and radio strips without a frame key.
auto MarkFrames(const char* key) {
  return [key](const TQuickIni& ini, const Bitmap24& b) {
    const int given = ini.ReadInteger("Buttons", key, 0);
    if (given != 0) return given;
    return std::max(4, b.height < 16 ? b.width / 13 : b.width / 16);
  };
}

std::vector<ElementRule> Rules() {
  return {
      {"Buttons", "Bitmap", Fixed(5), false, Key::CornersOnly, true},
      {"Buttons", "CheckButton", MarkFrames("CheckButtonFrame"), false, Key::Free, false},
      {"Buttons", "RadioButton", MarkFrames("RadioButtonFrame"), false, Key::Free, false},
      {"Scrollbar", "Image", Fixed(23), false, Key::Free, false},
      {"HorzScroll", "Image", Fixed(4), false, Key::None, true},
      {"VertScroll", "Image", Fixed(4), false, Key::None, true},
      {"HorzScrollThumb", "Image", FromKey("HorzScrollThumb", "FrameCount", 3), false, Key::Free, true},
      {"VertScrollThumb", "Image", FromKey("VertScrollThumb", "FrameCount", 3), false, Key::Free, true},
      {"StatusBarEdges", "Image", Fixed(3), false, Key::None, true},
      {"ExtraImages", "Image", Fixed(5), false, Key::Free, false},
      {"SunkEdge", "Image", Fixed(4), false, Key::CornersOnly, true},
      {"ComboButton", "Image", Fixed(4), false, Key::Free, true},
      {"MenuItem", "Image", Fixed(5), false, Key::Free, true},
      {"MenuBackground", "Image", Fixed(1), false, Key::None, true},
      {"Personality", "menuBar", Fixed(2), true, Key::None, false},
      {"Tabs", "Image", Fixed(5), false, Key::CornersOnly, true},
      {"Tabs", "Border", Fixed(1), false, Key::None, false},
      {"Tab.Pane", "Image", Fixed(1), false, Key::None, true},
      {"Progress", "Bitmap",
       [](const TQuickIni& ini, const Bitmap24&) { return ini.ReadInteger("Progress", "Style", 0) != 0 ? 1 : 2; },
       false, Key::CornersOnly, true},
      {"Progress.Chunk", "Image", FromKey("Progress.Chunk", "Frame", 0), false, Key::None, false},
      {"Track", "Image", FromKey("Track", "Frame", 0), false, Key::None, true},
      {"TRACKVERT", "Image", FromKey("TRACKVERT", "Frame", 0), false, Key::None, true},
      {"Trackbar.ThumbHorz", "Image", Fixed(5), false, Key::Free, false},
      {"Trackbar.ThumbVert", "Image", Fixed(5), false, Key::Free, false},
      {"Trackbar.ThumbLeft", "Image", Fixed(5), false, Key::Free, false},
      {"Trackbar.ThumbRight", "Image", Fixed(5), false, Key::Free, false},
      {"Trackbar.ThumbUp", "Image", Fixed(5), false, Key::Free, false},
      {"Trackbar.ThumbDown", "Image", Fixed(5), false, Key::Free, false},
      {"UpDown.Horz", "Image", Fixed(8), false, Key::CornersOnly, true},
      {"UpDown.Horz", "GlyphImage", Fixed(8), false, Key::Free, false},
      {"UpDown.Vert", "Image", Fixed(8), false, Key::CornersOnly, true},
      {"UpDown.Vert", "GlyphImage", Fixed(8), false, Key::Free, false},
      {"GroupBoxEdge", "Image", Fixed(2), false, Key::Free, true},
      {"GroupBox", "Image", Fixed(1), false, Key::CornersOnly, true},
      {"Headerbar", "Image",
       [](const TQuickIni& ini, const Bitmap24&) {
         const int given = ini.ReadInteger("Headerbar", "Frame", 0);
         return given == 0 ? 5 : given;
       },
       false, Key::None, true},
  };
}

struct Frame {
  int x, y, w, h;
};

Frame FrameOf(const Bitmap24& b, int count, int index, bool stacked) {
  if (stacked) return {0, b.height / count * (index - 1), b.width, b.height / count};
  return {b.width / count * (index - 1), 0, b.width / count, b.height};
}

int CountKey(const Bitmap24& b, Frame f) {
  int n = 0;
  for (int y = f.y; y < f.y + f.h; ++y)
    for (int x = f.x; x < f.x + f.w; ++x) n += b.At(x, y) == kMagenta;
  return n;
}

// Painting a skin takes a moment under the sanitizers; every test reads the same result.
const std::vector<SkinImage>& Painted(const std::string& name) {
  static std::map<std::string, std::vector<SkinImage>> cache;
  auto it = cache.find(name);
  if (it == cache.end()) it = cache.emplace(name, PaintSkinImages(*FindSkinStyle(name))).first;
  return it->second;
}

class OurSkin : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    style_ = FindSkinStyle(GetParam());
    ASSERT_NE(style_, nullptr);
    text_ = std::string(SkinIniText(GetParam()));
    ASSERT_FALSE(text_.empty());
    TMemoryStream stream(std::vector<uint8_t>(text_.begin(), text_.end()));
    ini_.LoadFromStream(&stream);
    images_ = Painted(GetParam());
    for (const SkinImage& i : images_) byName_[i.fileName] = &i.bitmap;
  }

  // The picture an INI key names, or null (with a failure) when it is not painted.
  const Bitmap24* Named(const std::string& section, const std::string& key) {
    const std::string name = ini_.ReadString(section, key, "");
    const auto it = byName_.find(name);
    if (it == byName_.end()) {
      ADD_FAILURE() << "[" << section << "] " << key << "=" << name << " names no painted picture";
      return nullptr;
    }
    return it->second;
  }

  int Int(const std::string& section, const std::string& key, int fallback = 0) const {
    return ini_.ReadInteger(section, key, fallback);
  }

  std::vector<std::string> CaptionButtonSections() const {
    std::vector<std::string> sections, buttons;
    ini_.GetSections(&sections);
    for (const std::string& s : sections) {
      std::string upper = s;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (upper.rfind("BUTTON", 0) == 0 && upper != "BUTTON" && upper != "BUTTONS" &&
          upper != "BUTTON.RADIO" && upper != "BUTTON.CHECKBOX")
        buttons.push_back(s);
    }
    return buttons;
  }

  const SkinStyle* style_ = nullptr;
  std::string text_;
  TQuickIni ini_;
  std::vector<SkinImage> images_;
  std::map<std::string, const Bitmap24*> byName_;
};

TEST_P(OurSkin, IniIsPlainAsciiWithOneDescriptionPerSection) {
  for (unsigned char c : text_) EXPECT_TRUE(c == '\n' || c == '\r' || (c >= 32 && c < 127)) << int{c};
  std::vector<std::string> sections;
  ini_.GetSections(&sections);
  std::set<std::string> seen;
  for (std::string s : sections) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(seen.insert(s).second) << "section [" << s << "] twice: the engine reads only the first";
  }
  for (const ElementRule& r : Rules())
    EXPECT_NE(ini_.SectionIndex(r.section), -1) << "[" << r.section << "] missing";
}

// Every ".bmp" value names a painted picture, and every painted picture is named, so the
// skin file carries nothing unused. Image names must end in lower-case ".bmp" exactly, or
// the engine ignores them.
TEST_P(OurSkin, EveryNamedPictureIsPaintedAndEveryPictureIsNamed) {
  std::set<std::string> named;
  for (const std::string& line : ini_.Lines()) {
    const size_t eq = line.find('=');
    if (line.front() == '[' || eq == std::string::npos) continue;
    const std::string value = line.substr(eq + 1);
    std::string lower = value;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.size() < 4 || lower.compare(lower.size() - 4, 4, ".bmp") != 0) continue;
    EXPECT_EQ(value.substr(value.size() - 4), ".bmp") << line;
    EXPECT_EQ(byName_.count(value), 1u) << line;
    named.insert(value);
  }
  for (const SkinImage& i : images_) EXPECT_EQ(named.count(i.fileName), 1u) << i.fileName << " unused";
  EXPECT_EQ(images_.size(), byName_.size()) << "two pictures share a name";
}

TEST_P(OurSkin, PicturesDivideIntoTheirFramesAndMarginsLeaveAMiddle) {
  for (const ElementRule& r : Rules()) {
    SCOPED_TRACE(std::string(r.section) + " " + r.key);
    const Bitmap24* b = Named(r.section, r.key);
    if (b == nullptr) continue;
    const int frames = r.frames(ini_, *b);
    ASSERT_GT(frames, 0);
    EXPECT_EQ((r.stacked ? b->height : b->width) % frames, 0) << frames << " frames";
    if (!r.nineSliced) continue;
    const Frame f = FrameOf(*b, frames, 1, r.stacked);
    const int l = Int(r.section, "LeftWidth"), t = Int(r.section, "TopHeight");
    const int rt = Int(r.section, "RightWidth"), bt = Int(r.section, "BottomHeight");
    EXPECT_GE(std::min({l, t, rt, bt}), 0);
    EXPECT_LT(l + rt, f.w);
    EXPECT_LT(t + bt, f.h);
  }
  // The engine limits the tab pane's margins to 4; larger ones would cut it wrongly.
  for (const char* key : {"LeftWidth", "TopHeight", "RightWidth", "BottomHeight"})
    EXPECT_LE(Int("Tab.Pane", key), 4) << key;
}

TEST_P(OurSkin, MagentaOnlyWhereSomethingShowsThrough) {
  for (const ElementRule& r : Rules()) {
    SCOPED_TRACE(std::string(r.section) + " " + r.key);
    const Bitmap24* b = Named(r.section, r.key);
    if (b == nullptr) continue;
    const int frames = r.frames(ini_, *b);
    const int l = Int(r.section, "LeftWidth"), t = Int(r.section, "TopHeight");
    const int rt = Int(r.section, "RightWidth"), bt = Int(r.section, "BottomHeight");
    for (int i = 1; i <= frames; ++i) {
      const Frame f = FrameOf(*b, frames, i, r.stacked);
      const int key = CountKey(*b, f);
      if (r.magenta == Key::None) {
        EXPECT_EQ(key, 0) << "frame " << i;
        continue;
      }
      if (r.magenta == Key::Free) continue;
      EXPECT_LT(key, f.w * f.h) << "frame " << i << " is empty";
      for (int y = 0; y < f.h; ++y) {
        for (int x = 0; x < f.w; ++x) {
          if (b->At(f.x + x, f.y + y) != kMagenta) continue;
          const bool cornerColumn = x < l || x >= f.w - rt;
          const bool cornerRow = y < t || y >= f.h - bt;
          EXPECT_TRUE(cornerColumn && cornerRow) << "frame " << i << " at " << x << "," << y;
        }
      }
    }
  }
}

// No painted colour comes within the window-region builder's tolerance of magenta.
TEST_P(OurSkin, NoPaintedColourReadsAsTheKey) {
  for (const SkinImage& i : images_)
    for (uint32_t p : i.bitmap.pixels)
      ASSERT_TRUE(p == kMagenta || !IsKeyColour(p)) << i.fileName;
}

// The frame: the side borders keep the caption unstretched, the top corners are cut
// round (magenta outside the curve only, so the window region cuts exactly them) and
// the bottom corners are square.
TEST_P(OurSkin, FrameBordersFitTogether) {
  const Bitmap24* left = Named("Personality", "Left");
  const Bitmap24* right = Named("Personality", "Right");
  const Bitmap24* top = Named("Personality", "Top");
  const Bitmap24* bottom = Named("Personality", "Bottom");
  ASSERT_TRUE(left && right && top && bottom);
  for (const char* n : {"Left", "Right", "Top", "Bottom"}) {
    EXPECT_EQ(Int("Personality", std::string(n) + "Frame"), 2) << n;
    EXPECT_EQ(Int("Personality", std::string(n) + "Stretch", 1), 1) << n;
  }
  const int caption = top->height / 2;
  const int sideWidth = left->width / 2;
  EXPECT_EQ(caption, style_->captionHeight);
  EXPECT_EQ(sideWidth, right->width / 2);
  EXPECT_EQ(bottom->height / 2, sideWidth);
  EXPECT_EQ(left->height, right->height);
  for (const char* n : {"Left", "Right"}) {
    EXPECT_EQ(Int("Personality", std::string(n) + "TopHeight"), caption) << n;
    EXPECT_EQ(Int("Personality", std::string(n) + "BotHeight"), bottom->height / 2) << n;
    EXPECT_LT(Int("Personality", std::string(n) + "TopHeight") +
                  Int("Personality", std::string(n) + "BotHeight"),
              left->height)
        << n;
  }
  EXPECT_LT(Int("Personality", "TopTopHeight") + Int("Personality", "TopBotHeight"), top->width);
  EXPECT_EQ(Int("Personality", "LeftTrans", 1), 1);
  EXPECT_EQ(Int("Personality", "RightTrans", 1), 1);
  EXPECT_EQ(Int("Personality", "TopTrans", 1), 1);

  const int radius = static_cast<int>(style_->cornerRadius);
  for (int frame = 1; frame <= 2; ++frame) {
    SCOPED_TRACE(frame);
    const Frame fl = FrameOf(*left, 2, frame, false), fr = FrameOf(*right, 2, frame, false);
    EXPECT_EQ(left->At(fl.x, 0), kMagenta) << "top-left corner not cut";
    EXPECT_EQ(right->At(fr.x + fr.w - 1, 0), kMagenta) << "top-right corner not cut";
    EXPECT_NE(left->At(fl.x, left->height - 1), kMagenta) << "bottom-left corner";
    EXPECT_NE(right->At(fr.x + fr.w - 1, right->height - 1), kMagenta) << "bottom-right corner";
    // Magenta only in the corner squares of the radius.
    for (int y = 0; y < left->height; ++y)
      for (int x = 0; x < sideWidth; ++x) {
        const bool inCorner = y < radius;
        EXPECT_TRUE(left->At(fl.x + x, y) != kMagenta || (inCorner && x < radius)) << x << "," << y;
        EXPECT_TRUE(right->At(fr.x + x, y) != kMagenta || (inCorner && sideWidth - 1 - x < radius))
            << x << "," << y;
      }
    const Frame ft = FrameOf(*top, 2, frame, true);
    const int leftEnd = Int("Personality", "TopTopHeight"), rightEnd = Int("Personality", "TopBotHeight");
    for (int y = 0; y < ft.h; ++y)
      for (int x = 0; x < ft.w; ++x)
        EXPECT_TRUE(top->At(x, ft.y + y) != kMagenta ||
                    (y < radius && (x < leftEnd || x >= ft.w - rightEnd)))
            << x << "," << y;
    EXPECT_EQ(CountKey(*bottom, FrameOf(*bottom, 2, frame, true)), 0);
  }
}

// Caption buttons sit inside the caption, clear of the border and of the caption text,
// and their opaque frames carry exactly the caption behind them, so a button repainted
// alone leaves no seam.
TEST_P(OurSkin, CaptionButtonsSitSeamlesslyInTheCaption) {
  const Bitmap24* top = Named("Personality", "Top");
  const Bitmap24* left = Named("Personality", "Left");
  ASSERT_TRUE(top && left);
  const int caption = top->height / 2, side = left->width / 2;
  const int middle = top->width / 2;  // a column of the stretched part
  int images = 0;
  for (const std::string& section : CaptionButtonSections()) {
    SCOPED_TRACE(section);
    const std::string name = ini_.ReadString(section, "ButtonImage", "");
    if (name.size() < 4 || name.substr(name.size() - 4) != ".bmp") {
      EXPECT_EQ(Int(section, "Action"), 3) << "only the icon has no picture";
      continue;
    }
    const Bitmap24* b = Named(section, "ButtonImage");
    if (b == nullptr) continue;
    ++images;
    const int frames = Int(section, "frame");
    ASSERT_EQ(frames, 4);
    ASSERT_EQ(b->width % frames, 0);
    const int w = b->width / frames, y = Int(section, "Ycoord"), x = Int(section, "Xcoord");
    EXPECT_EQ(Int(section, "Align"), 1);
    EXPECT_GE(y, 1);
    EXPECT_LE(y + b->height, caption);
    EXPECT_GE(x - w, side) << "overlaps the right border";
    EXPECT_GE(Int("Personality", "TextRightClip"), x) << "caption text would run under it";
    for (int frame = 1; frame <= 3; ++frame)
      EXPECT_EQ(CountKey(*b, FrameOf(*b, 4, frame, false)), 0) << "frame " << frame;
    EXPECT_LT(CountKey(*b, FrameOf(*b, 4, 4, false)), w * b->height) << "frame 4 is empty";
    for (int row = 0; row < b->height; ++row) {
      EXPECT_EQ(b->At(0, row), top->At(middle, y + row)) << "row " << row;
      EXPECT_EQ(b->At(w - 1, row), top->At(middle, y + row)) << "row " << row;
    }
  }
  EXPECT_EQ(images, 5);  // close, maximise, restore, minimise, help
}

TEST_P(OurSkin, ScrollBarPartsShareOneThickness) {
  const Bitmap24* strip = Named("Scrollbar", "Image");
  ASSERT_NE(strip, nullptr);
  // The engine takes the strip's height as the bar's thickness only within 2 pixels of
  // the system's 17.
  EXPECT_LE(std::abs(strip->height - 17), 2);
  EXPECT_EQ(strip->width / 23, strip->height) << "square arrow cells";
  EXPECT_EQ(Named("VertScroll", "Image")->width / 4, strip->height);
  EXPECT_EQ(Named("HorzScroll", "Image")->height, strip->height);
  EXPECT_EQ(Named("VertScrollThumb", "Image")->width / 3, strip->height);
  EXPECT_EQ(Named("HorzScrollThumb", "Image")->height, strip->height);
}

// Colours are three numbers 0-255, and the button face is the colour the pictures'
// soft edges were blended onto.
TEST_P(OurSkin, ColoursAreWellFormedAndMatchThePictures) {
  const char* keys[] = {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight",
                        "Menubar", "Menu", "MenuText", "ButtonText", "ButtonHilight",
                        "Buttonlight", "ButtonShadow", "ButtonDkShadow", "MenuBarText",
                        "TitleTextActive", "TitleTextNoActive"};
  for (const char* key : keys) {
    const std::string value = ini_.ReadString("Colours", key, "");
    int r = -1, g = -1, b = -1;
    char extra = 0;
    EXPECT_EQ(std::sscanf(value.c_str(), "%d %d %d%c", &r, &g, &b, &extra), 3) << key << "=" << value;
    for (int c : {r, g, b}) EXPECT_TRUE(c >= 0 && c <= 255) << key;
  }
  const std::string face = ini_.ReadString("Colours", "ButtonFace", "");
  const uint32_t painted = ToRgb24(style_->face);
  EXPECT_EQ(face, std::to_string(painted >> 16) + " " + std::to_string(painted >> 8 & 0xFF) + " " +
                      std::to_string(painted & 0xFF));
  // The caption text colours given twice agree.
  const std::string active = ini_.ReadString("Colours", "TitleTextActive", "");
  EXPECT_EQ(active, ini_.ReadString("Personality", "ActiveTextR", "") + " " +
                        ini_.ReadString("Personality", "ActiveTextG", "") + " " +
                        ini_.ReadString("Personality", "ActiveTextB", ""));
}

TEST_P(OurSkin, PaintingIsReproducible) {
  const std::vector<SkinImage> again = PaintSkinImages(*style_);
  ASSERT_EQ(again.size(), images_.size());
  for (size_t i = 0; i < again.size(); ++i) {
    EXPECT_EQ(again[i].fileName, images_[i].fileName);
    EXPECT_EQ(EncodeBmp(again[i].bitmap), EncodeBmp(images_[i].bitmap)) << again[i].fileName;
  }
}

// Put together as the engine slices and places the pieces, the window has no hole:
// the desktop shows only in the two rounded top corners.
TEST_P(OurSkin, ComposedWindowHasNoHolesBesideTheTopCorners) {
  const Bitmap24 mock = ComposePreview(text_, images_);
  constexpr uint32_t kDesktop = 0x5D6D7E;
  constexpr int kMargin = 24;
  const int radius = static_cast<int>(style_->cornerRadius);
  const Bitmap24* left = Named("Personality", "Left");
  const Bitmap24* right = Named("Personality", "Right");
  const Bitmap24* top = Named("Personality", "Top");
  const Bitmap24* bottom = Named("Personality", "Bottom");
  ASSERT_TRUE(left && right && top && bottom);
  const int w = 667 + left->width / 2 + right->width / 2;
  const int h = 446 + top->height / 2 + 20 + bottom->height / 2;  // 20: the menu bar
  ASSERT_GE(mock.width, w + kMargin);
  ASSERT_GE(mock.height, h + kMargin);
  int holes = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (mock.At(kMargin + x, kMargin + y) != kDesktop) continue;
      const bool corner = y < radius && (x < radius || x >= w - radius);
      if (!corner) ++holes;
    }
  EXPECT_EQ(holes, 0);
  EXPECT_EQ(mock.At(kMargin, kMargin), kDesktop) << "top-left corner not cut";
}

INSTANTIATE_TEST_SUITE_P(Skins, OurSkin, ::testing::Values("default", "dark"));

TEST(SkinStyles, UnknownNamesHaveNoStyleAndNoIni) {
  EXPECT_EQ(FindSkinStyle("Default"), nullptr);
  EXPECT_EQ(FindSkinStyle(""), nullptr);
  EXPECT_TRUE(SkinIniText("light").empty());
  for (const std::string& name : SkinStyleNames()) {
    EXPECT_NE(FindSkinStyle(name), nullptr) << name;
    EXPECT_FALSE(SkinIniText(name).empty()) << name;
  }
}

}  // namespace
