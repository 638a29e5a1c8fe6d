// Control discovery: the per-control decision for framework controls (OnSkinControl,
// Skin3rd mapping, the built-in rules) and the per-window decision for foreign windows.
#include "skin/form/ControlDiscovery.h"

#include <algorithm>
#include <cctype>

#include "framework/ClassBuilder.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Menus.h"
#include "framework/ToolBars.h"
#include "framework/TypInfo.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinMenu.h"
#include "skin/form/WinSkinMenuToolbar.h"
#include "skin/manager/SkinMessages.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A framework class test that includes descendants. Our framework does not always split
// a class into its "TCustom" base and the concrete class (TCheckBox has no
// TCustomCheckBox), so a "TCustomX" test also accepts TX and its descendants.
bool IsA(const TObject* object, std::string_view className) {
  if (object == nullptr) return false;
  const TClassInfo& info = object->ClassType();
  if (info.InheritsFrom(className)) return true;
  constexpr std::string_view kCustom = "TCustom";
  if (className.substr(0, kCustom.size()) == kCustom) {
    const std::string concrete = "T" + std::string(className.substr(kCustom.size()));
    return info.InheritsFrom(concrete);
  }
  return false;
}

// Properties by name: an absent property reads empty / 0 and a write to it does nothing.
std::string EnumProp(const TObject* object, std::string_view name) {
  try {
    if (GetPropInfo(object, name) == nullptr) return {};
    const TTypeKind kind = PropType(object, name);
    if (kind == TTypeKind::tkEnumeration) return GetEnumProp(object, name);
    if (kind == TTypeKind::tkString) return GetStrProp(object, name);
    return {};
  } catch (...) {
    return {};
  }
}

bool HasIntProp(const TObject* object, std::string_view name) {
  try {
    return GetPropInfo(object, name) != nullptr && PropType(object, name) == TTypeKind::tkInteger;
  } catch (...) {
    return false;
  }
}

int64_t IntProp(const TObject* object, std::string_view name) {
  try {
    if (!HasIntProp(object, name)) return 0;
    return GetOrdProp(object, name);
  } catch (...) {
    return 0;
  }
}

void SetProp(TObject* object, std::string_view name, const std::wstring& value) {
  try {
    if (GetPropInfo(object, name) != nullptr) SetPropValue(object, name, value);
  } catch (...) {
    // A value the property refuses leaves it as it was.
  }
}

std::string ClassOfWindow(HWND window) {
  char buffer[100] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

bool AnswersQuerySkin(TControl* control) {
  try {
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
      if (!win->HandleAllocated()) return false;
      return SendMessageW(win->Handle(), SKM_QUERYSKIN, 0, 0) == 1;
    }
    return control->Perform(SKM_QUERYSKIN, 0, 0) == 1;
  } catch (...) {
    return false;
  }
}

}  // namespace

const TClassInfo& TSkinFrameSender::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinFrameSender>("TWinSkinForm", &Inherited::StaticClass()).Build();
  return info;
}

// Menu items that are told apart from items freed meanwhile: each one is watched and
// leaves the list when it is destroyed.
class TWatchedMenuItems : public TComponent {
 public:
  TWatchedMenuItems() : TComponent(nullptr) {}
  ~TWatchedMenuItems() override { Clear(); }

  bool Contains(const TMenuItem* item) const { return std::find(items_.begin(), items_.end(), item) != items_.end(); }
  void Add(TMenuItem* item) {
    if (item == nullptr || Contains(item)) return;
    items_.push_back(item);
    FreeNotification(item);
  }
  // The live items, and the list emptied.
  std::vector<TMenuItem*> Take() {
    std::vector<TMenuItem*> items = items_;
    Clear();
    return items;
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove)
      items_.erase(std::remove(items_.begin(), items_.end(), component), items_.end());
  }

 private:
  void Clear() {
    for (TMenuItem* item : items_) RemoveFreeNotification(item);
    items_.clear();
  }
  std::vector<TMenuItem*> items_;
};

TControlDiscovery::TControlDiscovery(TSkinData* skinData, HWND frameWindow, bool drawFrame)
    : skinData_(skinData),
      frameWindow_(frameWindow),
      drawFrame_(drawFrame),
      canvas_(std::make_unique<TCanvas>()),
      toolMenus_(std::make_unique<TWatchedMenuItems>()),
      sender_(std::make_unique<TSkinFrameSender>(frameWindow)) {}

TControlDiscovery::~TControlDiscovery() { Detach(); }

void TControlDiscovery::AddSkinControl(TSkinControlItem* control) {
  if (control == nullptr) return;
  if (std::find(controls_.begin(), controls_.end(), control) == controls_.end()) controls_.push_back(control);
}

void TControlDiscovery::RemoveSkinControl(TSkinControlItem* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  // A box that goes without Detach (its bar was destroyed) takes its record along.
  toolbars_.erase(std::remove_if(toolbars_.begin(), toolbars_.end(),
                                 [control](const TToolbarPainters& t) { return t.box == control; }),
                  toolbars_.end());
}

void TControlDiscovery::AttachToolbarPainters(TToolBar* bar, TSkinControlItem* box) {
  if (bar == nullptr || box == nullptr) return;
  TToolbarPainters record{bar, box, false, false};
  if (!bar->OnCustomDraw) {
    bar->OnCustomDraw = ToolbarBackgroundPainter(frameWindow_);
    record.background = true;
  }
  if (!bar->OnCustomDrawButton) {
    bar->OnCustomDrawButton = ToolbarButtonPainter(frameWindow_);
    record.button = true;
  }
  if (record.background || record.button) toolbars_.push_back(record);
  if (box->SkinnedWindow() != nullptr) InvalidateRect(box->SkinnedWindow(), nullptr, TRUE);
}

void TControlDiscovery::ReleaseToolbarPainters(TSkinControlItem* box) {
  for (auto it = toolbars_.begin(); it != toolbars_.end();) {
    if (it->box != box) {
      ++it;
      continue;
    }
    if (it->background) it->bar->OnCustomDraw = nullptr;
    if (it->button) it->bar->OnCustomDrawButton = nullptr;
    it = toolbars_.erase(it);
  }
}

void TControlDiscovery::OwnerDrawToolMenu(TMenuItem* item) {
  if (item == nullptr || toolMenus_->Contains(item)) return;
  SetOwnerDrawItems(frameWindow_, item, true);
  toolMenus_->Add(item);
}

void TControlDiscovery::ReleaseToolMenus() {
  for (TMenuItem* item : toolMenus_->Take()) SetOwnerDrawItems(frameWindow_, item, false);
}

TSkinControlItem* TControlDiscovery::FindByWindow(HWND window) const {
  if (window == nullptr) return nullptr;
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if ((*it)->SkinnedWindow() == window) return *it;
  return nullptr;
}

TSkinControlItem* TControlDiscovery::FindByControl(const TControl* control) const {
  if (control == nullptr) return nullptr;
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if ((*it)->SkinnedControl() == control) return *it;
  return nullptr;
}

bool TControlDiscovery::Has(int member) const {
  return skinData_ != nullptr && skinData_->SkinControls().Contains(static_cast<TSkinControlType>(member));
}

bool TControlDiscovery::TabsAvailable() const {
  return Has(xcTab) && skinData_->Tabs != nullptr && skinData_->Tabs->Bitmap != nullptr &&
         skinData_->Tabs->Bitmap->Width() > 0;
}

bool TControlDiscovery::IsScrollable(TControl* control) const {
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    if (win->HandleAllocated()) {
      const LONG style = GetWindowLongW(win->Handle(), GWL_STYLE);
      if ((style & (WS_VSCROLL | WS_HSCROLL)) != 0) return true;
    }
  }
  return IsA(control, "TListBox") || IsA(control, "TMemo") || IsA(control, "TCustomListBox") ||
         IsA(control, "TCustomTreeView") || IsA(control, "TScrollBox");
}

void TControlDiscovery::FreeItem(TSkinControlItem* item) {
  RemoveSkinControl(item);
  item->FreeItem();
}

TSkinControlItem* TControlDiscovery::Make(const char* className, TControl* control, bool setColour, int32_t preset,
                                          const std::string& imageProperty) {
  TSkinAttachRequest request;
  request.Form = this;
  request.SkinData = skinData_;
  request.Canvas = canvas_.get();
  request.Control = control;
  request.SetColour = setColour;
  request.Preset = preset;
  request.ImageProperty = imageProperty;
  if (auto* win = dynamic_cast<TWinControl*>(control)) request.Window = win->HandleAllocated() ? win->Handle() : nullptr;
  return CreateSkinControl(className, request);
}

TSkinControlItem* TControlDiscovery::MakeRaw(const char* className, HWND window) {
  if (window == nullptr) return nullptr;
  TSkinAttachRequest request;
  request.Form = this;
  request.SkinData = skinData_;
  request.Canvas = canvas_.get();
  request.Window = window;
  return CreateSkinControl(className, request);
}

// ---- Framework forms ----

void TControlDiscovery::Purge() {
  std::vector<TSkinControlItem*> dead;
  for (TSkinControlItem* item : controls_)
    if (item->SkinnedState() == 6) dead.push_back(item);
  for (TSkinControlItem* item : dead) {
    // Freeing one may have freed another that it made.
    if (std::find(controls_.begin(), controls_.end(), item) != controls_.end()) FreeItem(item);
  }
}

void TControlDiscovery::DiscoverForm(TCustomForm* form) {
  if (form == nullptr || skinData_ == nullptr) return;
  Purge();
  WalkComponents(form);
  std::vector<TWinControl*> tabOrder;
  form->GetTabOrderList(tabOrder);
  for (TWinControl* control : tabOrder) {
    if (!control->HandleAllocated() || control->Tag() == skinData_->DisableTag()) continue;
    if (AnswersQuerySkin(control)) continue;
    SkinControl(control, form);
  }
}

void TControlDiscovery::WalkComponents(TComponent* owner) {
  if (owner == nullptr) return;
  // The walk may add components (objects owned by controls are not owned by `owner`, but
  // a rule may create some): take the list first.
  std::vector<TComponent*> components;
  for (int i = 0; i < owner->ComponentCount(); ++i) components.push_back(owner->Components(i));
  for (TComponent* component : components)
    if (auto* control = dynamic_cast<TControl*>(component)) SkinControl(control, dynamic_cast<TWinControl*>(owner));
  // Owner-drawn popup menus belong to the skinned menus, which are not part of this
  // program's frame yet.
}

void TControlDiscovery::WalkChildren(TWinControl* container) {
  if (container == nullptr) return;
  std::vector<TControl*> children;
  for (int i = 0; i < container->ControlCount(); ++i) children.push_back(container->Controls(i));
  for (TControl* child : children) SkinControl(child, container);
}

void TControlDiscovery::SkinControl(TControl* control, TWinControl* container) {
  if (control == nullptr || skinData_ == nullptr) return;
  // 1. The application's "leave alone" tag; a radio or check group passes it on.
  if (control->Tag() == skinData_->DisableTag()) {
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
      const std::string lower = Lower(control->ClassName());
      if (lower.find("radiogroup") != std::string::npos || lower.find("checkgroup") != std::string::npos)
        for (int i = 0; i < win->ControlCount(); ++i) win->Controls(i)->SetTag(skinData_->DisableTag());
    }
    return;
  }
  // 2. No parent, skinned already.
  if (control->Parent() == nullptr || FindByControl(control) != nullptr || AnswersQuerySkin(control)) return;
  // 3.
  const std::string name = Upper(control->ClassName());
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    try {
      win->HandleNeeded();
    } catch (...) {
      return;
    }
    if (!win->HandleAllocated()) return;
  }
  // 4. The application decides.
  if (skinData_->OnSkinControl) {
    TComponent* skinned = nullptr;
    skinData_->OnSkinControl(sender_.get(), skinData_, container, control, name, skinned);
    if (auto* item = dynamic_cast<TSkinControlItem*>(skinned)) {
      if (std::find(controls_.begin(), controls_.end(), item) == controls_.end())
        item->AttachToControl(this, skinData_, canvas_.get(), control);
      if (IsA(control, "TCustomPanel")) WalkChildren(dynamic_cast<TWinControl*>(control));
      return;
    }
  }
  // 5. The Skin3rd mapping.
  if (ApplySkin3rd(control, control->ClassName())) return;
  // 6. Classes that must never be touched.
  if (name == "TDBCOMBOBOXEH" || name == "TFRDESIGNERPAGE" || name == "TFRPBOX") return;
  // 7.
  ApplyBuiltInRules(control, name);
}

bool TControlDiscovery::ApplySkin3rd(TControl* control, const std::string& className) {
  TStrings* lines = skinData_->Skin3rd();
  if (lines == nullptr) return false;
  const std::string key = Lower(className) + "=";
  for (int i = 0; i < lines->Count(); ++i) {
    const std::string line = Lower(WideToNarrow(lines->Get(i)));
    if (line.compare(0, key.size(), key) != 0) continue;
    std::string kind = line.substr(line.find('=') + 1, 50);
    if (kind == "nil") return true;
    ApplyMappedKind(control, Lower(className), kind);
    return true;
  }
  return false;
}

bool TControlDiscovery::ApplyMappedKind(TControl* control, const std::string& lowerClass, const std::string& kind) {
  auto* win = dynamic_cast<TWinControl*>(control);
  auto childrenOf = [win]() {
    std::vector<TControl*> children;
    if (win != nullptr)
      for (int i = 0; i < win->ControlCount(); ++i) children.push_back(win->Controls(i));
    return children;
  };
  if (kind == "combobox") {
    if (Has(xcCombo)) Make("TSkinComBox", control, false);
  } else if (kind == "edit") {
    if (Has(xcEdit) && win != nullptr) {
      RECT window{}, client{};
      GetWindowRect(win->Handle(), &window);
      GetClientRect(win->Handle(), &client);
      if (window.right - window.left != client.right || window.bottom - window.top != client.bottom)
        Make("TSkinEdit", control, false);
    }
  } else if (kind == "radiobutton") {
    if (Has(xcRadioButton)) Make("TSkinRadioButton", control, false);
  } else if (kind == "panel") {
    if (Has(xcPanel)) {
      SetProp(control, "Transparent", L"True");
      Make("TSkinBox", control, true);
    }
  } else if (kind == "trackbar") {
    if (Has(xcButton)) {
      SetProp(control, "Transparent", L"True");
      Make("TSkinTrackBar", control, false);
    }
  } else if (kind == "button") {
    if (Has(xcButton)) Make("TSkinButton", control, false);
  } else if (kind == "datetimepicker") {
    if (Has(xcCombo)) Make("TSkinDateTime", control, false);
  } else if (kind == "mediaplayer") {
    if (Has(xcButton)) Make("TSkinMP", control, false);
  } else if (kind == "bitbtn") {
    if (Has(xcButton)) {
      if (lowerClass == "tcxbutton" && Lower(EnumProp(control, "Kind")) == "cxbkdropdownbutton")
        Make("TSkinMenuButton", control, false);
      else
        Make("TSkinBitButton", control, false);
    }
  } else if (kind == "pngbitbtn") {
    if (Has(xcButton)) Make("TSkinBitButton", control, false, 0, "PngImage");
  } else if (kind == "menubtn") {
    if (Has(xcButton)) Make("TSkinMenuButton", control, false);
  } else if (kind == "speedbutton") {
    if (Has(xcSpeedButton)) Make("TSkinSpeedButton", control, false);
  } else if (kind == "tab") {
    if (TabsAvailable()) Make("TSkinTab", control, false);
  } else if (kind == "progress") {
    if (Has(xcProgress)) Make("TSkinProgress", control, false);
  } else if (kind == "scrollbar") {
    if (Has(xcScrollbar)) {
      Make("TSkinScrollbar", control, false);
      WalkChildren(win);
    }
  } else if (kind == "singlescrollbar") {
    if (Has(xcScrollbar)) Make("TSkinScrollbar", control, false, 1);
  } else if (kind == "embedscrollbar") {
    if (Has(xcScrollbar)) {
      for (TControl* child : childrenOf()) {
        if (IsA(child, "TScrollBar"))
          Make("TSkinScControl", child, false);
        else if (IsScrollable(child))
          Make("TSkinScrollbar", child, false);
      }
    }
  } else if (kind == "container") {
    WalkChildren(win);
  } else if (kind == "groupbox") {
    if (Has(xcGroupBox)) Make("TSkinGroupBox", control, true);
  } else if (kind == "advpagecontrol") {
    if (Has(xcTab)) Make("TSkinAdvPage", control, true, 4);
  } else if (kind == "radiogroup" || kind == "checkgroup") {
    const bool radio = kind == "radiogroup";
    if (Has(radio ? xcGroupBox : xcPanel)) {
      if (Has(xcRadioButton)) {
        for (TControl* child : childrenOf()) {
          if (Upper(child->ClassName()).find("TRZ") != std::string::npos)
            Make("TSkinObjImage", child, true, radio ? 2 : 1);
          else
            Make(radio ? "TSkinRadioButton" : "TSkinCheckBox", child, false);
        }
      }
      if (radio || Has(xcGroupBox)) Make("TSkinGroupBox", control, true);
    }
  } else if (kind == "checkbox") {
    if (Has(xcCheckBox)) Make("TSkinCheckBox", control, false);
  }
  return true;
}

bool TControlDiscovery::ApplyBuiltInRules(TControl* control, const std::string& name) {
  auto* win = dynamic_cast<TWinControl*>(control);
  const bool tabs = TabsAvailable();
  // 1. Tab and page controls.
  if (IsA(control, "TCustomTabControl") && tabs) {
    if (!IsA(control, "TPageControl"))
      Make("TSkinTab", control, false, 2);
    else if (Lower(EnumProp(control, "Style")) != "tstabs")
      Make("TSkinTabBtn", control, false);
    else
      Make("TSkinTab", control, false);
    return true;
  }
  // 2. A tool button: its menu item is drawn like the skinned menus' items; no object.
  if (IsA(control, "TToolButton") && drawFrame_) {
    if (auto* button = dynamic_cast<TToolButton*>(control)) OwnerDrawToolMenu(button->MenuItem());
    return true;
  }
  // 3. Cool bars (the framework has none whose bands could take the face colour).
  if (IsA(control, "TCoolBar") && Has(xcToolbar)) return true;
  if (name == "TTABSET" && tabs) return Make("TSkinTab31", control, false), true;
  if (IsA(control, "TTabSheet") && tabs) return Make("TSkinTabSheet", control, false), true;
  if (name == "TTABBEDNOTEBOOK" && tabs) return Make("TSkinTab", control, false), true;
  if (name == "TMVCPANEL") return WalkChildren(win), true;
  if (IsA(control, "THeaderControl") && Has(xcPanel)) return Make("TSkinHeader", control, false), true;
  if (IsA(control, "TCustomCheckBox") && Has(xcCheckBox)) return Make("TSkinCheckBox", control, false), true;
  if (IsA(control, "TTrackBar") && Has(xcTrackBar)) return Make("TSkinTrackBar", control, false), true;
  if ((name == "TUPDOWN" || name == "TSPINBUTTON") && Has(xcSpin)) return Make("TSkinUpDown", control, false), true;
  if (name == "TMEDIAPLAYER" && Has(xcButton)) return Make("TSkinMP", control, false), true;
  // 13. Radio groups: their buttons and the group.
  if (IsA(control, "TCustomRadioGroup") && Has(xcRadioButton)) {
    if (win != nullptr) {
      std::vector<TControl*> children;
      for (int i = 0; i < win->ControlCount(); ++i) children.push_back(win->Controls(i));
      for (TControl* child : children) Make("TSkinRadioButton", child, false);
    }
    Make("TSkinGroupBox", control, true);
    return true;
  }
  // 14. Navigator: the bar, then its buttons.
  if (name == "TDBNAVIGATOR" && Has(xcPanel)) {
    Make("TSkinBox", control, true);
    if (win != nullptr) {
      std::vector<TControl*> children;
      for (int i = 0; i < win->ControlCount(); ++i) children.push_back(win->Controls(i));
      for (TControl* child : children) SkinControl(child, nullptr);
    }
    return true;
  }
  if ((name == "TRZDBCHECKBOX" || name == "TRZCHECKBOX") && Has(xcCheckBox))
    return Make("TSkinObjImage", control, true, 1), true;
  if ((name == "TRZRADIOBUTTON" || name == "TRZDBRADIOBUTTON") && Has(xcRadioButton))
    return Make("TSkinObjImage", control, true, 2), true;
  if ((name == "TCXDBCHECKBOX" || name == "TCXCHECKBOX") && Has(xcCheckBox))
    return Make("TSkinObjImage", control, true, 3), true;
  if (IsA(control, "TCustomGroupBox") && Has(xcPanel)) {
    WalkChildren(win);
    Make("TSkinGroupBox", control, false);
    return true;
  }
  if (IsA(control, "TRadioButton") && Has(xcRadioButton)) return Make("TSkinRadioButton", control, false), true;
  // 20. Tool bars: flat, and the box behind them.
  if (IsA(control, "TToolBar") && Has(xcToolbar)) {
    SetProp(control, "Flat", L"True");
    // The painters only where the box object is made: its life tells Detach the bar is alive.
    TSkinControlItem* box = Make("TSkinBox", control, false);
    AttachToolbarPainters(dynamic_cast<TToolBar*>(control), box);
    return true;
  }
  if (IsA(control, "TCustomStatusBar") && Has(xcStatusBar)) return Make("TSkinStatusBar", control, false), true;
  if (IsA(control, "TProgressBar") && Has(xcProgress)) return Make("TSkinProgress", control, false), true;
  if (IsA(control, "TScrollBar") && Has(xcScrollbar)) return Make("TSkinScControl", control, false), true;
  if (name == "TTNTCOMBOBOX" && Has(xcCombo)) return Make("TSkinComBox", control, false), true;
  if (IsA(control, "TCustomComboBox") && Has(xcCombo)) return Make("TSkinComBox", control, false), true;
  if (IsA(control, "TDateTimePicker") && Has(xcEdit)) {
    const bool upDown = Lower(EnumProp(control, "DateMode")) == "dmupdown" || Lower(EnumProp(control, "Kind")) == "dtktime";
    Make(upDown ? "TSkinEdit" : "TSkinDateTime", control, false);
    return true;
  }
  if (Has(xcScrollbar) && name == "TRICHEDIT") return Make("TSkinScrollbar", control, false), true;
  if (Has(xcScrollbar) && (name == "TWWDBRICHEDIT" || name == "TDXDBMEMO"))
    return Make("TSkinScrollbar", control, false), true;
  // 29. A bit button is never skinned as a plain button.
  if (IsA(control, "TBitBtn")) {
    if (Has(xcBitBtn)) Make("TSkinBitButton", control, false);
    return true;
  }
  if (IsA(control, "TSpeedButton") && Has(xcSpeedButton)) return Make("TSkinSpeedButton", control, false), true;
  if (IsA(control, "TCustomPanel") && Has(xcPanel)) {
    WalkChildren(win);
    Make("TSkinBox", control, true);
    return true;
  }
  if ((name == "TDXTREELIST" || name == "TDXDBTREELIST" || name == "TDXDBGRID") && Has(xcScrollbar))
    return Make("TSkinScrollbar", control, false), true;
  if (IsA(control, "TCustomListView") && Has(xcScrollbar)) return Make("TSkinListView", control, false), true;
  if (Has(xcScrollbar) && IsA(control, "TCustomMemo")) return Make("TSkinScrollbar", control, false), true;
  if (Has(xcScrollbar) && IsA(control, "TCustomGrid")) return Make("TSkinScrollbar", control, false), true;
  if (Has(xcScrollbar) && IsScrollable(control)) return Make("TSkinScrollbar", control, false), true;
  if (IsA(control, "TButton") && Has(xcButton)) return Make("TSkinButton", control, false), true;
  if (IsA(control, "TCustomEdit") && Has(xcEdit)) return Make("TSkinEdit", control, false), true;
  // 39. Frames and embedded forms.
  if (name != "TDCEDIT" && name != "TDCDBEDIT") {
    if (IsA(control, "TCustomFrame")) {
      WalkComponents(control);
    } else if (IsA(control, "TCustomForm")) {
      Make("TSkinBox", control, true);
      WalkComponents(control);
    }
    return true;
  }
  // 40. Edit controls with buttons of their own.
  const int64_t buttons = IntProp(control, "NumButtons");
  if (buttons == 1 && Has(xcCombo)) {
    Make("TSkinComBox", control, false);
  } else if (buttons == 0 && Has(xcEdit) && win != nullptr) {
    MakeRaw("TSkinEdit", win->Handle());
  }
  return true;
}

// ---- Foreign windows ----

void TControlDiscovery::DiscoverWindow(HWND window) {
  if (window == nullptr || skinData_ == nullptr) return;
  // Overlays made while skinning become children too: decide on the children there were.
  std::vector<HWND> children;
  for (HWND child = GetTopWindow(window); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) children.push_back(child);
  for (HWND child : children)
    if (IsWindow(child) && (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) != 0) SkinChildWindow(child);
}

void TControlDiscovery::SkinChildWindow(HWND window) {
  if (window == nullptr || skinData_ == nullptr || !IsWindow(window) || FindByWindow(window) != nullptr) return;
  const std::string cls = Lower(ClassOfWindow(window));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  auto colourFrameworkControl = [this](HWND w) {
    if (TWinControl* control = FindControl(w)) control->SetColor(skinData_->ButtonFaceColour);
  };
  if (cls == "button") {
    const bool ownerDrawn = (style & 0xB) == 0xB;
    if (!ownerDrawn) {
      if ((style & 7) == 7 || (style & BS_BITMAP) != 0) return;
      // Check-box styles: 2 (BS_CHECKBOX), 3, 5, 6; radio: 4 (BS_RADIOBUTTON), 9.
      if ((style & 3) == 3 || (style & 2) != 0 || (style & 5) == 5) {
        if (Has(xcCheckBox)) MakeRaw("TSkinCheckBox", window);
        return;
      }
      if ((style & 9) == 9 || (style & 4) != 0) {
        if (Has(xcRadioButton)) MakeRaw("TSkinRadioButton", window);
        return;
      }
      if (Has(xcButton)) MakeRaw("TSkinButton", window);
      return;
    }
    // An owner-drawn button is no button here; the class cases below do not match it.
    return;
  }
  if (cls == "combobox" && Has(xcCombo) && (style & 3) != 1) return (void)MakeRaw("TSkinComBox", window);
  if (cls == "comboboxex32" && Has(xcCombo)) {
    if (HWND child = GetWindow(window, GW_CHILD)) MakeRaw("TSkinComBox", child);
    return;
  }
  if (cls == "scrollbar" && (style & WS_TABSTOP) == 0) return (void)MakeRaw("TSkinSizer", window);
  if (cls == "systreeview32") return;
  if (cls == "#32770" && (style & WS_TABSTOP) == 0) {
    DiscoverWindow(window);
    MakeRaw("TSkinBoxH", window);
    return;
  }
  if (cls == "tpanel" || cls == "ttntpanel.unicodeclass" || cls == "ttntsilentpaintpanel.unicodeclass") {
    DiscoverWindow(window);
    colourFrameworkControl(window);
    return;
  }
  if (cls == "tcheckbox" && Has(xcCheckBox)) return (void)MakeRaw("TSkinCheckBox", window);
  if (cls == "tcombobox" && Has(xcCombo)) return (void)MakeRaw("TSkinComBox", window);
  if (cls == "tbutton" && Has(xcButton)) return (void)MakeRaw("TSkinButton", window);
  if (cls == "tprogressbar") return (void)MakeRaw("TSkinProgress", window);
  if (cls == "tsilentpaintpanel") return colourFrameworkControl(window);
  if (cls == "systabcontrol32" && Has(xcTab) && (style & 0x2000) == 0) return (void)MakeRaw("TSkinTab", window);
  if (cls == "toolbarwindow32") return (void)MakeRaw("TSkinBoxH", window);
  if (cls == "edit" && Has(xcEdit)) MakeRaw("TSkinEdit", window);
}

// ---- Re-skinning, detaching ----

void TControlDiscovery::ReskinScroll(HWND window) {
  TSkinControlItem* old = FindByWindow(window);
  if (old == nullptr) return;
  TControl* control = old->SkinnedControl();
  const bool listView = old->SkinClassName() == "TSkinListView";
  FreeItem(old);
  if (control != nullptr && dynamic_cast<TWinControl*>(control) != nullptr)
    Make(listView ? "TSkinListView" : "TSkinScrollbar", control, false);
}

void TControlDiscovery::Detach() {
  ReleaseToolMenus();
  // Unskinning one object may free objects it made (a combo box its list's scroll bar, a
  // date picker its edit), which leave the list as they go: always take the first object
  // still listed, never one from a copy of the list.
  while (!controls_.empty()) {
    TSkinControlItem* item = controls_.front();
    try {
      if (item->SkinnedState() != 6) {
        ReleaseToolbarPainters(item);
        item->UnskinItem();
      }
    } catch (...) {
    }
    RemoveSkinControl(item);
    item->FreeItem();
  }
}

void TControlDiscovery::UpdateSkins() {
  std::vector<TSkinControlItem*> items = controls_;
  for (TSkinControlItem* item : items) {
    try {
      item->UpdateItemSkin();
    } catch (...) {
    }
  }
}
