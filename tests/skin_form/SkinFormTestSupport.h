// Helpers of the frame tests: a framework form carrying a skin component that loads one of
// our skins, message pumping, and access to the frame the manager attached.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Forms.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"

// Handles messages until `done` answers true or `ms` milliseconds have passed.
bool PumpUntil(const std::function<bool()>& done, int ms = 3000);
// Handles the waiting messages (and those they cause) for `ms` milliseconds.
void PumpFor(int ms);

// The path of one of our built skins ("default" or "dark") as the program opens it.
std::string SkinPath(const std::string& name);

// A sizeable framework form with a skin component using `skin`; shown by Show().
class SkinnedTestForm {
 public:
  explicit SkinnedTestForm(const std::string& skin = "default", const std::string& caption = "Frame test",
                           int clientWidth = 400, int clientHeight = 300);
  ~SkinnedTestForm();

  // Shows and activates the form and waits for its frame to become active.
  bool ShowAndWaitForSkin();
  HWND Handle() const { return form->Handle(); }
  TWinSkinForm* Frame() const;

  TForm* form = nullptr;
  TSkinData* data = nullptr;
};

// Sets the frame factory (and the real manager) once; every test starts without a manager.
class SkinFormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};
