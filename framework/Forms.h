// Forms: top-level windows made from a stored layout. A form class publishes its event
// handlers (Method) and component fields (Field) in its class table; its layout is the
// program resource of type RCDATA named like the class (see LayoutResource.h).
//
//   class TForm1 : public TForm {
//     FRAMEWORK_CLASS(TForm1, TForm)
//    public:
//     using TForm::TForm;
//     TButton* Button1 = nullptr;
//     void Button1Click(TObject* sender);
//   };
//   const TClassInfo& TForm1::StaticClass() {
//     static const TClassInfo info = TClassBuilder<TForm1>("TForm1", &Inherited::StaticClass())
//         .Field("Button1", &TForm1::Button1)
//         .Method("Button1Click", &TForm1::Button1Click)
//         .Build();
//     return info;
//   }
//   ... Application->CreateForm(&Form1); Application->Run();
#pragma once

#include <string_view>

#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/Controls.h"

class TMainMenu;

FRAMEWORK_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSetOf<TBorderIcon>;
FRAMEWORK_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
               poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
FRAMEWORK_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
FRAMEWORK_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
FRAMEWORK_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
using TModalResult = int32_t;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

class TCustomForm : public TWinControl {
  FRAMEWORK_CLASS(TCustomForm, TWinControl)

 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Constructs T, reads its layout resource (an error when absent) and runs OnCreate.
  template <class T>
  static T* Create(TComponent* owner) {
    T* form = new T(owner);
    try {
      if (!form->ReadLayoutResource()) throw Exception("no layout resource for " + form->ClassName());
      form->DoCreate();
    } catch (...) {
      delete form;
      throw;
    }
    return form;
  }
  // Constructs T, reads `layout` and runs OnCreate (tests, forms kept as text).
  template <class T>
  static T* CreateFromLayout(TComponent* owner, std::string_view layout) {
    T* form = new T(owner);
    try {
      form->ReadLayout(layout);
      form->DoCreate();
    } catch (...) {
      delete form;
      throw;
    }
    return form;
  }
  // Reads the RCDATA resource named like the class; false when there is none.
  bool ReadLayoutResource();
  void ReadLayout(std::string_view layout);
  // Runs OnCreate (once).
  void DoCreate();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle value);
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState value);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  TIcon* Icon() const { return icon_; }
  TCanvas* Canvas() const { return canvas_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool Active() const;
  // Stored by layouts; kept for their sake (this framework does not rescale).
  int32_t PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int32_t value) { pixelsPerInch_ = value; }
  int32_t TextHeight() const { return textHeight_; }
  void SetTextHeight(int32_t value) { textHeight_ = value; }
  bool OldCreateOrder() const { return oldCreateOrder_; }
  void SetOldCreateOrder(bool value) { oldCreateOrder_ = value; }

  void Show();
  void Hide() { SetVisible(false); }
  // Asks OnCloseQuery and OnClose; hides, frees (later, Release) or ends the program.
  void Close();
  bool CloseQuery();
  int ShowModal();
  // Frees the form once the current message has been handled.
  void Release();

  // Tracks the focused control; sends CM_EXIT, CM_ENTER and CM_FOCUSCHANGED.
  bool SetFocusedControl(TWinControl* control);
  TWinControl* FocusedControl() const { return focusedControl_; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;

  bool Showing() const override;
  void SetClientSize(int width, int height) override;
  void Loaded() override;

  // MDI: a form of FormStyle fsMDIForm holds its children in an MDI client window (made
  // with the form's window, filling the area its aligned controls leave); an fsMDIChild
  // form is made inside the MDI client of its owner or of the first MDI form.
  HWND ClientHandle() const { return clientHandle_; }
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int index) const;
  TCustomForm* ActiveMDIChild() const;
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void DefaultHandler(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  void PaintWindow(HDC dc) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void DoClose(TCloseAction& action);
  void AlignControls(TRect& rect) override;

 private:
  // The MDI form an MDI child goes into.
  TCustomForm* FindMDIParent() const;
  std::vector<TCustomForm*> MDIChildList() const;
  HWND clientHandle_ = nullptr;
  void ApplyPosition();
  void ApplyVisibility();
  bool DialogKeyOfForm(TMessage& message);

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TFormStyle formStyle_ = fsNormal;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  TMainMenu* menu_ = nullptr;
  TIcon* icon_;
  TCanvas* canvas_;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool created_ = false;
  bool positioned_ = false;
  bool pendingClientSize_ = false;
  int pendingClientWidth_ = 0, pendingClientHeight_ = 0;
  int32_t pixelsPerInch_ = kPixelsPerInch;
  int32_t textHeight_ = 13;
  bool oldCreateOrder_ = false;
};

class TForm : public TCustomForm {
  FRAMEWORK_CLASS(TForm, TCustomForm)

 public:
  using TCustomForm::TCustomForm;
};

// Registers the framework's standard classes for layouts (idempotent).
void RegisterStandardClasses();
