#include "tests/framework/TestForm.h"

#include "framework/ClassBuilder.h"

const TClassInfo& TTestForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestForm>("TTestForm", &Inherited::StaticClass())
                                     .Field("Memo1", &TTestForm::Memo1)
                                     .Field("Button1", &TTestForm::Button1)
                                     .Field("Button2", &TTestForm::Button2)
                                     .Field("Button3", &TTestForm::Button3)
                                     .Field("StatusBar1", &TTestForm::StatusBar1)
                                     .Field("Label1", &TTestForm::Label1)
                                     .Field("Label2", &TTestForm::Label2)
                                     .Field("Panel1", &TTestForm::Panel1)
                                     .Field("Edit1", &TTestForm::Edit1)
                                     .Field("Timer1", &TTestForm::Timer1)
                                     .Method("FormCreate", &TTestForm::FormCreate)
                                     .Method("FormClose", &TTestForm::FormClose)
                                     .Method("Button1Click", &TTestForm::Button1Click)
                                     .Method("Button2Click", &TTestForm::Button2Click)
                                     .Method("Button3Click", &TTestForm::Button3Click)
                                     .Method("Label1Click", &TTestForm::Label1Click)
                                     .Method("Timer1Timer", &TTestForm::Timer1Timer)
                                     .Build();
  return info;
}

void TTestForm::FormCreate(TObject*) { events.push_back(L"FormCreate"); }
void TTestForm::FormClose(TObject*, TCloseAction& action) {
  events.push_back(L"FormClose");
  action = closeAction;
}
void TTestForm::Button1Click(TObject*) { events.push_back(L"Button1Click"); }
void TTestForm::Button2Click(TObject*) { events.push_back(L"Button2Click"); }
void TTestForm::Button3Click(TObject*) { events.push_back(L"Button3Click"); }
void TTestForm::Label1Click(TObject* sender) {
  auto* label = dynamic_cast<TLabel*>(sender);
  events.push_back(L"Label1Click:" + (label ? label->Name() : L"?"));
}
void TTestForm::Timer1Timer(TObject*) { events.push_back(L"Timer1Timer"); }

const char kTestFormLayout[] = R"(object Form1: TTestForm
  Left = 235
  Top = 174
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = '磁盘监视'
  ClientHeight = 446
  ClientWidth = 667
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = '宋体'
  Font.Style = []
  OldCreateOrder = False
  Position = poDesigned
  OnClose = FormClose
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 19
    Top = 14
    Width = 160
    Height = 16
    Cursor = crHandPoint
    Hint = 'http://www.example.com/'
    Caption = '了解兼职推荐软件工作'
    Font.Charset = GB2312_CHARSET
    Font.Color = clPurple
    Font.Height = -16
    Font.Name = '宋体'
    Font.Style = [fsUnderline]
    ParentFont = False
    ParentShowHint = False
    ShowHint = True
    OnClick = Label1Click
  end
  object Label2: TLabel
    Left = 224
    Top = 13
    Width = 128
    Height = 16
    Cursor = crHandPoint
    Hint = 'http://www.example.com/'
    Caption = #19979#36733'更多免费软件'
    Font.Charset = GB2312_CHARSET
    Font.Color = clPurple
    Font.Height = -16
    Font.Name = '宋体'
    Font.Style = [fsUnderline]
    ParentFont = False
    ParentShowHint = False
    ShowHint = True
    OnClick = Label1Click
  end
  object Memo1: TMemo
    Left = 14
    Top = 108
    Width = 636
    Height = 254
    ScrollBars = ssBoth
    TabOrder = 0
    Lines.Strings = (
      '第一行'
      'second line')
  end
  object Button1: TButton
    Left = 116
    Top = 58
    Width = 105
    Height = 38
    Caption = '监视系统盘'
    Default = True
    TabOrder = 1
    OnClick = Button1Click
  end
  object Button2: TButton
    Left = 261
    Top = 60
    Width = 109
    Height = 35
    Caption = '监视全部硬盘'
    TabOrder = 2
    OnClick = Button2Click
  end
  object Button3: TButton
    Left = 426
    Top = 61
    Width = 113
    Height = 33
    Caption = '中止监视'
    Cancel = True
    TabOrder = 3
    OnClick = Button3Click
  end
  object Panel1: TPanel
    Left = 14
    Top = 368
    Width = 636
    Height = 50
    BevelOuter = bvLowered
    Caption = ''
    TabOrder = 4
    object Edit1: TEdit
      Left = 8
      Top = 12
      Width = 200
      Height = 24
      Text = '编辑框'
      TabOrder = 0
    end
    object Label3: TLabel
      Left = 220
      Top = 16
      Caption = '嵌套的标签'
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 425
    Width = 667
    Height = 21
    Panels = <
      item
        Text = 'Helvor设计,Quorren1.0'
        Width = 300
      end
      item
        Text = '没有监视'
        Width = 50
      end>
    SimplePanel = False
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 10
    OnTimer = Timer1Timer
  end
end
)";

TTestForm* MakeTestForm() {
  RegisterStandardClasses();
  return TCustomForm::CreateFromLayout<TTestForm>(Application, kTestFormLayout);
}
