#include "tools/skinpaint/SkinStyle.h"

namespace {

SkinStyle MakeDefault() {
  SkinStyle s{};
  s.name = "default";
  s.captionHeight = 30;
  s.border = 5;
  s.cornerRadius = 6;
  s.captionEndFixed = 4;
  // Active: a calm blue-grey caption; inactive: a light grey-blue one, so the state is
  // plain at a glance.
  s.active = {Hex(0x52729A), Hex(0x3C5A78), Hex(0x3C5A78), Hex(0x2A4058), Hex(0xFFFFFF), 0.22,
              Hex(0xF2F5F8)};
  s.inactive = {Hex(0xEEF1F4), Hex(0xE0E5EA), Hex(0xE0E5EA), Hex(0xA5B0BC), Hex(0xFFFFFF), 0.6,
                Hex(0x8C98A5)};
  s.captionButtonWidth = 26;
  s.captionButtonHeight = 20;
  s.captionButtonTop = 5;
  s.captionButtonGap = 2;
  s.captionButtonRightInset = 7;
  s.captionHot = Hex(0xFFFFFF);
  s.captionHotOpacity = 0.17;
  s.captionPressed = Hex(0x2F7FD8);
  s.closeHot = Hex(0xD9473F);
  s.closePressed = Hex(0xB3362F);
  s.captionGlyphDisabled = Hex(0x8C98A5);

  s.face = Hex(0xF4F6F8);
  s.field = Hex(0xFFFFFF);
  s.fieldDisabled = Hex(0xF0F2F4);
  s.text = Hex(0x212932);
  s.textMuted = Hex(0x56616D);
  s.textDisabled = Hex(0xA0ACB8);
  s.outline = Hex(0xB1BCC8);
  s.outlineDisabled = Hex(0xD3D9DF);
  s.outlineHot = Hex(0x2F7FD8);
  s.buttonTop = Hex(0xFFFFFF);
  s.buttonBottom = Hex(0xEDF0F4);
  s.buttonHotTop = Hex(0xF5F9FE);
  s.buttonHotBottom = Hex(0xE2EDFA);
  s.buttonPressed = Hex(0xD2E3F7);
  s.buttonDisabled = Hex(0xF1F3F5);
  s.accent = Hex(0x2F7FD8);
  s.accentHot = Hex(0x4A93E6);
  s.accentPressed = Hex(0x2263AD);
  s.accentTint = Hex(0xE4EFFC);
  s.accentTintStrong = Hex(0xCCE0F7);
  s.focusRing = Hex(0xA9CBF1);
  s.onAccent = Hex(0xFFFFFF);
  s.glyph = Hex(0x5F6D7B);
  s.glyphHot = Hex(0x2B3743);
  s.glyphDisabled = Hex(0xB8C1CA);

  s.track = Hex(0xEEF1F4);
  s.trackLine = Hex(0xE0E5EA);
  s.trackHot = Hex(0xDCE3EA);
  s.thumb = Hex(0xC3CCD6);
  s.thumbHot = Hex(0xA7B4C2);
  s.thumbPressed = Hex(0x2F7FD8);
  s.grip = Hex(0xA9B4C0);
  s.gripHot = Hex(0x8795A5);
  s.gripPressed = Hex(0xA9CBF1);

  s.menuBarTop = Hex(0xF8F9FB);
  s.menuBarBottom = Hex(0xEDF1F5);
  s.menuBarInactiveTop = Hex(0xF7F8FA);
  s.menuBarInactiveBottom = Hex(0xF1F3F5);
  s.menu = Hex(0xFBFCFD);
  s.menuBorder = Hex(0xB5C0CB);
  s.menuSeparator = Hex(0xDFE4E9);
  s.menuSelected = Hex(0x2F7FD8);

  s.tab = Hex(0xE7EBEF);
  s.tabHot = Hex(0xEFF5FC);
  s.tabOutline = Hex(0xC4CDD7);
  s.tabSelectedStripe = Hex(0x2F7FD8);
  s.panelSunken = Hex(0xEEF1F4);
  s.panelRaised = Hex(0xFBFCFD);
  s.panelLine = Hex(0xD3DAE1);
  s.headerTop = Hex(0xFCFDFD);
  s.headerBottom = Hex(0xEDF0F3);
  s.headerLine = Hex(0xC8D1DA);
  s.headerSeparator = Hex(0xD8DEE5);
  s.groupLine = Hex(0xC4CDD7);
  s.trough = Hex(0xE3E8ED);
  s.troughLine = Hex(0xC3CCD6);
  s.gripDot = Hex(0xA6B2BF);
  s.closeGlyphHot = Hex(0xFFFFFF);
  s.scrollSize = 17;
  return s;
}

SkinStyle MakeDark() {
  SkinStyle s{};
  s.name = "dark";
  s.captionHeight = 30;
  s.border = 4;
  s.cornerRadius = 8;
  s.captionEndFixed = 6;
  s.active = {Hex(0x32373D), Hex(0x26292E), Hex(0x26292E), Hex(0x0F1113), Hex(0xFFFFFF), 0.08,
              Hex(0xE6E9EC)};
  s.inactive = {Hex(0x3C4147), Hex(0x35393F), Hex(0x35393F), Hex(0x1E2124), Hex(0xFFFFFF), 0.05,
                Hex(0x6D7680)};
  s.captionButtonWidth = 28;
  s.captionButtonHeight = 20;
  s.captionButtonTop = 5;
  s.captionButtonGap = 1;
  s.captionButtonRightInset = 6;
  s.captionHot = Hex(0xFFFFFF);
  s.captionHotOpacity = 0.10;
  s.captionPressed = Hex(0x1A8F88);
  s.closeHot = Hex(0xC8463F);
  s.closePressed = Hex(0xA33731);
  s.captionGlyphDisabled = Hex(0x6A737C);

  s.face = Hex(0x2B2F34);
  s.field = Hex(0x1F2226);
  s.fieldDisabled = Hex(0x2A2D31);
  s.text = Hex(0xE3E6E9);
  s.textMuted = Hex(0xA7AFB7);
  s.textDisabled = Hex(0x6B747D);
  s.outline = Hex(0x4E565E);
  s.outlineDisabled = Hex(0x3A4046);
  s.outlineHot = Hex(0x23AFA5);
  s.buttonTop = Hex(0x3B4147);
  s.buttonBottom = Hex(0x33383E);
  s.buttonHotTop = Hex(0x36494A);
  s.buttonHotBottom = Hex(0x2F4041);
  s.buttonPressed = Hex(0x1F504C);
  s.buttonDisabled = Hex(0x2F3338);
  s.accent = Hex(0x1FA89F);
  s.accentHot = Hex(0x2EC0B6);
  s.accentPressed = Hex(0x17857E);
  s.accentTint = Hex(0x2C4041);
  s.accentTintStrong = Hex(0x1D4F4B);
  s.focusRing = Hex(0x2A726C);
  s.onAccent = Hex(0xF4FBFA);
  s.glyph = Hex(0xA9B1B9);
  s.glyphHot = Hex(0xEAEEF1);
  s.glyphDisabled = Hex(0x565E66);

  s.track = Hex(0x25292D);
  s.trackLine = Hex(0x1C1F22);
  s.trackHot = Hex(0x363C42);
  s.thumb = Hex(0x4C545C);
  s.thumbHot = Hex(0x626B74);
  s.thumbPressed = Hex(0x1FA89F);
  s.grip = Hex(0x656E77);
  s.gripHot = Hex(0x7D8791);
  s.gripPressed = Hex(0x8FDCD5);

  s.menuBarTop = Hex(0x2F3338);
  s.menuBarBottom = Hex(0x2A2E33);
  s.menuBarInactiveTop = Hex(0x2D3136);
  s.menuBarInactiveBottom = Hex(0x2B2F34);
  s.menu = Hex(0x25292D);
  s.menuBorder = Hex(0x454C53);
  s.menuSeparator = Hex(0x3A4046);
  s.menuSelected = Hex(0x1A8F88);

  s.tab = Hex(0x32373C);
  s.tabHot = Hex(0x37464A);
  s.tabOutline = Hex(0x464D54);
  s.tabSelectedStripe = Hex(0x1FA89F);
  s.panelSunken = Hex(0x272B2F);
  s.panelRaised = Hex(0x33383D);
  s.panelLine = Hex(0x41484F);
  s.headerTop = Hex(0x373C42);
  s.headerBottom = Hex(0x2F3338);
  s.headerLine = Hex(0x4A5158);
  s.headerSeparator = Hex(0x434A51);
  s.groupLine = Hex(0x464D54);
  s.trough = Hex(0x222529);
  s.troughLine = Hex(0x3E454C);
  s.gripDot = Hex(0x626B74);
  s.closeGlyphHot = Hex(0xFFFFFF);
  s.scrollSize = 17;
  return s;
}

}  // namespace

const SkinStyle& DefaultSkinStyle() {
  static const SkinStyle style = MakeDefault();
  return style;
}

const SkinStyle& DarkSkinStyle() {
  static const SkinStyle style = MakeDark();
  return style;
}

const SkinStyle* FindSkinStyle(const std::string& name) {
  if (name == "default") return &DefaultSkinStyle();
  if (name == "dark") return &DarkSkinStyle();
  return nullptr;
}

std::vector<std::string> SkinStyleNames() { return {"default", "dark"}; }
