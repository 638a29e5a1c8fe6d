// TApplication: the program's GUI object. It owns the hidden application window (class
// "TApplication"), the forms made with CreateForm, the message loop and the hand-over of
// worker-thread calls (TThread::Synchronize/Queue) to the GUI thread.
//
// The global `Application` exists from program start; its window is made by
// Initialize() or on first use of Handle(). Run() shows the main form (the first form
// made with CreateForm) and loops until it closes or Terminate() is called.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/Classes.h"

class TCustomForm;
class TControl;
class TIcon;

class TApplication : public TComponent {
  FRAMEWORK_CLASS(TApplication, TComponent)

 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  void Initialize();
  // The hidden application window; made on first use.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }

  // Makes a form owned by the application: constructs T, reads T's stored layout from the
  // program's resources (when there is one) and runs its OnCreate. The first form made
  // this way becomes the main form. `reference` is set before the layout is read.
  template <class T>
  T* CreateForm(T** reference = nullptr) {
    T* form = new T(this);
    if (reference) *reference = form;
    try {
      FormConstructed(static_cast<TComponent*>(form));
    } catch (...) {
      if (reference) *reference = nullptr;
      delete form;
      throw;
    }
    return form;
  }

  // Shows the main form and runs the message loop until it closes (or Terminate).
  void Run();
  // Handles every waiting message, then returns.
  void ProcessMessages();
  // Handles one message, or waits for the next one (serving thread hand-overs) when idle.
  void HandleMessage();
  // Ends Run (posts WM_QUIT).
  void Terminate();
  bool Terminated() const { return terminated_; }

  TCustomForm* MainForm() const { return mainForm_; }
  // Forms in creation order (every live form, not only those of CreateForm).
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const;
  // The active (foreground) form of this program, or nullptr.
  TCustomForm* ActiveForm() const;

  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title);
  // The program's icon (resource "MAINICON" when present, otherwise the system's).
  TIcon* Icon() const { return icon_; }

  // Hints: a tool tip shows a control's Hint when the mouse rests on a control whose
  // ShowHint is on, after HintPause ms, for HintHidePause ms.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  int HintPause() const { return hintPause_; }
  void SetHintPause(int ms) { hintPause_ = ms; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int ms) { hintHidePause_ = ms; }
  // The text the hint tool tip shows now; empty while none shows.
  std::wstring CurrentHint() const { return currentHint_; }
  HWND HintWindow() const { return hintWindow_; }
  void CancelHint();

  // The control under the mouse: controls report mouse moves and leaves, and the
  // application sends CM_MOUSELEAVE to the old one and CM_MOUSEENTER to the new one.
  void SetMouseControl(TControl* control);
  TControl* MouseControl() const { return mouseControl_; }
  // A control going away is forgotten (mouse, hint).
  void ControlDestroying(TControl* control);
  // Frees `form` once the message loop is back in control (TCustomForm::Release).
  void ReleaseForm(TCustomForm* form);
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool value) { showMainForm_ = value; }

  // Reports an exception that reached a framework boundary (window procedure, timer,
  // queued call): the default shows nothing and keeps running; OnException may log.
  void HandleException(std::exception_ptr error);
  std::function<void(std::exception_ptr)> OnException;

  // Used by TCustomForm.
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void FormConstructed(TComponent* form);
  bool ProcessMessage(MSG& msg);
  bool IsKeyMsg(MSG& msg);
  // Ctrl+F4, Ctrl+Tab and Ctrl+F6 between the children of the active MDI form.
  bool IsMDIMsg(MSG& msg);
  void Idle();
  void ShowHintNow();
  void FreeReleasedForms();
  static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  bool terminated_ = false;
  TCustomForm* mainForm_ = nullptr;
  std::vector<TCustomForm*> forms_;
  std::wstring title_;
  TIcon* icon_ = nullptr;
  bool showMainForm_ = true;
  bool showHint_ = true;
  int hintPause_ = 500;
  int hintHidePause_ = 2500;
  HWND hintWindow_ = nullptr;
  std::wstring currentHint_;
  TControl* hintControl_ = nullptr;
  TControl* mouseControl_ = nullptr;
  std::vector<TCustomForm*> released_;
};

extern TApplication* Application;
