// Push buttons, check and radio marks, the combo box parts and the up-down arrows.
//
// State frames follow the engine's order for faces: 1 normal, 2 pressed, 3 disabled,
// 4 hot, 5 focused or default. Check and radio strips use the 12- and 8-frame layouts the
// engine maps onto: per mark (unchecked, checked, mixed) four frames normal, hot,
// pressed, disabled.
#include "tools/skinpaint/PaintKit.h"

namespace {

enum class State { Normal = 1, Pressed = 2, Disabled = 3, Hot = 4, Focused = 5 };

struct FaceLook {
  Rgb outline;
  Shader fill;
  bool focusRing;
};

FaceLook ButtonLook(const SkinStyle& s, State state, double top, double bottom) {
  switch (state) {
    case State::Pressed:
      return {s.accentPressed, shaders::Solid(s.buttonPressed), false};
    case State::Disabled:
      return {s.outlineDisabled, shaders::Solid(s.buttonDisabled), false};
    case State::Hot:
      return {s.outlineHot, shaders::Vertical(top, s.buttonHotTop, bottom, s.buttonHotBottom), false};
    case State::Focused:
      return {s.outlineHot, shaders::Vertical(top, s.buttonTop, bottom, s.buttonBottom), true};
    case State::Normal:
      break;
  }
  return {s.outline, shaders::Vertical(top, s.buttonTop, bottom, s.buttonBottom), false};
}

Bitmap24 PushButton(const SkinStyle& s) {
  constexpr int kSize = 22;
  const Shape body = shapes::RoundRect(0, 0, kSize, kSize, 3);
  return PaintFrames(5, kSize, kSize, [&](Canvas& c, int frame) {
    const FaceLook look = ButtonLook(s, static_cast<State>(frame), 1, kSize - 1);
    OutlinedShape(c, body, look.outline, look.fill);
    if (look.focusRing) {
      c.Fill(shapes::Subtract(Inset(body, 1), Inset(body, 2)), s.focusRing);
    }
  }, Flatten::Keyed(s.face));
}

// Mark kinds 0 unchecked, 1 checked, 2 mixed; sub-states 0 normal, 1 hot, 2 pressed,
// 3 disabled.
void PaintMarkBox(const SkinStyle& s, Canvas& c, const Shape& box, int kind, int sub) {
  if (kind == 0) {
    const Rgb outlines[] = {s.outline, s.outlineHot, s.accentPressed, s.outlineDisabled};
    const Rgb fills[] = {s.field, s.accentTint, s.accentTintStrong, s.fieldDisabled};
    OutlinedShape(c, box, outlines[sub], fills[sub]);
    return;
  }
  const Rgb fills[] = {s.accent, s.accentHot, s.accentPressed, s.outlineDisabled};
  c.Fill(box, fills[sub]);
}

Bitmap24 CheckBox(const SkinStyle& s) {
  constexpr int kSize = 13;
  const Shape box = shapes::RoundRect(0, 0, kSize, kSize, 2.5);
  const Shape tick = shapes::Polyline({{3.2, 6.6}, {5.5, 8.9}, {9.9, 4.2}}, 1.7);
  const Shape dash = shapes::Segment(3.6, 6.5, 9.4, 6.5, 1.8);
  return PaintFrames(12, kSize, kSize, [&](Canvas& c, int frame) {
    const int kind = (frame - 1) / 4, sub = (frame - 1) % 4;
    PaintMarkBox(s, c, box, kind, sub);
    const Rgb ink = sub == 3 ? s.fieldDisabled : s.onAccent;
    if (kind == 1) c.Fill(tick, ink);
    if (kind == 2) c.Fill(dash, ink);
  }, Flatten::Keyed(s.face));
}

Bitmap24 RadioButton(const SkinStyle& s) {
  constexpr int kSize = 13;
  const Shape disc = shapes::Circle(6.5, 6.5, 6.5);
  const Shape dot = shapes::Circle(6.5, 6.5, 2.4);
  return PaintFrames(8, kSize, kSize, [&](Canvas& c, int frame) {
    const int kind = (frame - 1) / 4, sub = (frame - 1) % 4;
    PaintMarkBox(s, c, disc, kind, sub);
    if (kind == 1) c.Fill(dot, sub == 3 ? s.fieldDisabled : s.onAccent);
  }, Flatten::Keyed(s.face));
}

// The edit part of a combo box and of similar fields: an outlined box whose outline
// turns to the accent when the field is pressed, hot or focused.
Bitmap24 SunkenEdge(const SkinStyle& s) {
  constexpr int kW = 16, kH = 21;
  const Shape box = shapes::RoundRect(0, 0, kW, kH, 2.5);
  return PaintFrames(4, kW, kH, [&](Canvas& c, int frame) {
    const State state = static_cast<State>(frame);
    const Rgb outline = state == State::Disabled ? s.outlineDisabled
                        : state == State::Normal ? s.outline
                                                 : s.outlineHot;
    OutlinedShape(c, box, outline, state == State::Disabled ? s.fieldDisabled : s.field);
  }, Flatten::Keyed(s.face));
}

// The drop-down button inside a combo box's right end. Its outer pixels stay magenta so
// that the field's outline, drawn first, shows through.
Bitmap24 ComboButton(const SkinStyle& s) {
  constexpr int kW = 19, kH = 21;
  const Shape separator = shapes::Rect(0, 4, 1, kH - 4);
  const Shape fill = shapes::RoundRect(1, 1, kW - 1, kH - 1, 0, 1.5, 1.5, 0);
  return PaintFrames(4, kW, kH, [&](Canvas& c, int frame) {
    const State state = static_cast<State>(frame);
    c.Fill(separator, s.outlineDisabled);
    if (state == State::Hot) c.Fill(fill, s.accentTint);
    if (state == State::Pressed) c.Fill(fill, s.accentTintStrong);
  }, Flatten::Keyed(s.field));
}

// Cells 1-4: the combo arrow (normal, pressed, disabled, hot); cell 5: the status bar's
// size grip, drawn to the cell's lower right corner.
Bitmap24 ExtraImages(const SkinStyle& s) {
  constexpr int kSize = 16;
  const Shape arrow = Chevron(8.5, 8.5, Direction::Down, 7, 3.5, 1.4);
  return PaintFrames(5, kSize, kSize, [&](Canvas& c, int frame) {
    if (frame == 5) {
      const int dots[][2] = {{13, 13}, {10, 13}, {7, 13}, {13, 10}, {10, 10}, {13, 7}};
      for (const auto& d : dots) c.Fill(shapes::Rect(d[0], d[1], d[0] + 2, d[1] + 2), s.gripDot);
      return;
    }
    const Rgb inks[] = {s.glyph, s.accentPressed, s.glyphDisabled, s.glyphHot};
    c.Fill(arrow, inks[frame - 1]);
  }, Flatten::Keyed(s.face));
}

// Up-down halves: frames 1-4 the first part (up or left), 5-8 the second, each part in
// the states normal, pressed, disabled, hot; the glyph picture has the same layout.
void UpDown(const SkinStyle& s, bool vertical, std::vector<SkinImage>& out) {
  const int w = vertical ? 16 : 11, h = vertical ? 11 : 16;
  const Shape body = shapes::RoundRect(0, 0, w, h, 2);
  const Bitmap24 faces = PaintFrames(8, w, h, [&](Canvas& c, int frame) {
    const FaceLook look = ButtonLook(s, static_cast<State>((frame - 1) % 4 + 1), 1, h - 1);
    OutlinedShape(c, body, look.outline, look.fill);
  }, Flatten::Keyed(s.face));
  const Bitmap24 glyphs = PaintFrames(8, w, h, [&](Canvas& c, int frame) {
    const bool first = frame <= 4;
    const Direction dir = vertical ? (first ? Direction::Up : Direction::Down)
                                   : (first ? Direction::Left : Direction::Right);
    const Rgb inks[] = {s.glyph, s.accentPressed, s.glyphDisabled, s.glyphHot};
    c.Fill(Chevron(w / 2.0, h / 2.0, dir, 6, 3, 1.3), inks[(frame - 1) % 4]);
  }, Flatten::Keyed(s.buttonBottom));
  const std::string stem = vertical ? "updown_v" : "updown_h";
  out.push_back({stem + ".bmp", faces});
  out.push_back({stem + "_glyph.bmp", glyphs});
}

}  // namespace

void PaintButtonParts(const SkinStyle& s, std::vector<SkinImage>& out) {
  out.push_back({"button.bmp", PushButton(s)});
  out.push_back({"check.bmp", CheckBox(s)});
  out.push_back({"radio.bmp", RadioButton(s)});
  out.push_back({"sunken_edge.bmp", SunkenEdge(s)});
  out.push_back({"combo_button.bmp", ComboButton(s)});
  out.push_back({"extra.bmp", ExtraImages(s)});
  UpDown(s, true, out);
  UpDown(s, false, out);
}
