// A form like the program's main window, built from layout text, for the control tests.
#pragma once

#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

class TTestForm : public TForm {
  FRAMEWORK_CLASS(TTestForm, TForm)

 public:
  using TForm::TForm;

  TMemo* Memo1 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button3 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TPanel* Panel1 = nullptr;
  TEdit* Edit1 = nullptr;
  TTimer* Timer1 = nullptr;

  std::vector<std::wstring> events;
  TCloseAction closeAction = caHide;

  void FormCreate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void Button1Click(TObject* sender);
  void Button2Click(TObject* sender);
  void Button3Click(TObject* sender);
  void Label1Click(TObject* sender);
  void Timer1Timer(TObject* sender);
};

// The layout: every property kind, nested objects (a panel holding an edit and a label),
// Chinese text in "宋体".
extern const char kTestFormLayout[];

// Creates the form from kTestFormLayout (owned by Application).
TTestForm* MakeTestForm();
