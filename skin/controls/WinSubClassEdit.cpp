// TSkinEdit: the border painted over the control, and its up-down child.
#include "skin/controls/WinSubClassEdit.h"

#include <algorithm>
#include <cwctype>
#include <string>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassFlatBorder.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/data/WinSkinData.h"

namespace {

std::wstring LowerClassName(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  std::wstring text = name;
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return text;
}

bool IsSpinClass(HWND window) {
  const std::wstring name = LowerClassName(window);
  return name == L"msctls_updown32" || name.find(L"spin") != std::wstring::npos ||
         name.find(L"updown") != std::wstring::npos;
}

}  // namespace

const TClassInfo& TSkinEdit::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinEdit>("TSkinEdit", &Inherited::StaticClass()).Build();
  return info;
}

TSkinEdit::TSkinEdit(TComponent* owner) : TSkinControl(owner) {}

TSkinEdit::~TSkinEdit() = default;

void TSkinEdit::Unskin() {
  TSkinControl::Unskin();
  if (UpDown != nullptr && SkinState != kSkinWindowDestroyed) UpDown.reset();
}

void TSkinEdit::AttachUpDown() {
  if (UpDown != nullptr || SkinData == nullptr || !SkinData->SkinControls().Contains(xcSpin)) return;
  for (HWND child = GetWindow(Handle, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsSpinClass(child)) continue;
    UpDown = std::make_unique<TSkinUpDown>(nullptr);
    UpDown->InitSkinHandle(child, SkinData, Form, Canvas);
    return;
  }
}

void TSkinEdit::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(message.WParam));
      break;
    case WM_NCPAINT:
      // The control has just drawn its own edge: put ours back over it.
      PaintWindow(nullptr);
      break;
    case WM_PRINTCLIENT: {
      RECT rect{};
      if (GetWindowRect(Handle, &rect)) {
        OffsetRect(&rect, -rect.left, -rect.top);
        DrawBorder(reinterpret_cast<HDC>(message.WParam), rect);
      }
      break;
    }
    case SKM_PAINTCLIENT:
      if (message.LParam != SKIN_MAGIC) break;
      if (message.WParam != 0) {
        TMessage paint;
        paint.Msg = WM_PAINT;
        paint.WParam = message.WParam;
        paint.LParam = 0;
        CallOldProc(paint);
      }
      message.Result = SKIN_MAGIC;
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& rect) {
  AttachUpDown();
  DrawBorder(dc, rect);
}

void TSkinEdit::DrawBorder(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || dc == nullptr) return;
  DrawFlatBorder(dc, rect, Handle, ColorToRGB(SkinData->ButtonShadowColour), 2);
}
