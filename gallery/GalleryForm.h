// The gallery window TGalleryForm (unit Gallery): one of every control kind the skin
// engine skins, in the states worth seeing, with a main menu, a popup menu, a message box,
// the system's file dialog, an MDI demo and run-time switching between skins and of
// skinning itself. Its layout is the stored Gallery.layout.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/GroupCtrls.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "framework/ToolBars.h"
#include "skin/data/WinSkinData.h"

// What the skin choice offers, in the order of the "Skin" group and menu.
enum class TSkinChoice { Default = 0, Dark = 1, Off = 2 };

class TGalleryForm : public TForm {
  FRAMEWORK_CLASS(TGalleryForm, TForm)

 public:
  using TForm::TForm;
  ~TGalleryForm() override;

  TSkinData* SkinData1 = nullptr;
  TRadioGroup* SkinGroup = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TToolBar* ToolBar1 = nullptr;
  TImageList* ImageList1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn2 = nullptr;
  TBitBtn* BitBtn3 = nullptr;
  TSpeedButton* SpeedButton4 = nullptr;
  TSpeedButton* SpeedButton5 = nullptr;
  TMenuItem* DefaultSkinItem = nullptr;
  TMenuItem* DarkSkinItem = nullptr;
  TMenuItem* NoSkinItem = nullptr;

  void FormCreate(TObject* sender);
  void MessageButtonClick(TObject* sender);
  void FileDialogButtonClick(TObject* sender);
  void MdiButtonClick(TObject* sender);
  void SkinGroupClick(TObject* sender);
  void SkinMenuItemClick(TObject* sender);
  void ExitItemClick(TObject* sender);

  // Shows skin `choice`: loads its skin file and switches skinning on, or switches it off.
  // False (and a note in the status bar) when the skin file cannot be found or loaded.
  bool ApplySkinChoice(TSkinChoice choice);
  // Loads skin file `file` (of the command line or the file dialog) and switches skinning on.
  void ApplySkinFile(const std::wstring& file);
  TSkinChoice SkinChoice() const { return choice_; }
  // The MDI demo window, once opened.
  TForm* MdiDemo() const { return mdiDemo_; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void MakeGlyphs();
  void ShowChoice();
  TSkinChoice choice_ = TSkinChoice::Default;
  TForm* mdiDemo_ = nullptr;
};

// Makes the gallery's classes (and the skin component) known to stored layouts.
void RegisterGalleryClasses();

// The skin file of a choice: beside the program (skins\ or ..\skins\) or in the build's
// skins folder; empty when none exists.
std::wstring FindSkinFile(TSkinChoice choice);
// Text in the ANSI code page (the skin component takes file names so).
std::string AnsiText(const std::wstring& text);
