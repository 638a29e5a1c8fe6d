// TSkinModelBuilder: builds the skin element model from an open skin (archive reader and
// INI reader) into a TSkinModel, in the fixed order of BuildSkinModel. These are the
// private load steps of the skin component TSkinData; it builds into a fresh model and
// adopts it only when the build succeeded.
//
// Nothing a skin says can make a step read or write outside a bitmap: images are checked
// before the graphics layer decodes them (a broken one becomes an empty bitmap and a
// warning), every copy between bitmaps is clipped to both of them, and frame counts
// below 1 count as 1 where a division follows.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Streams.h"
#include "skin/data/SkinArchive.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WinSkinIni.h"

class TSkinModelBuilder {
 public:
  // `resources`: the module whose bitmap resources hold "TRACK" and "TRACKVERT".
  TSkinModelBuilder(TSkinModel& model, const TSkinReader& reader, const TQuickIni& ini,
                    TMemoryStream& entryBuffer, HINSTANCE resources);

  // Steps 1 to 19 of the build (clearing SkinEmpty is the component's).
  void BuildSkinModel();

  // What a skin author should know: images named but missing or broken. The skin still
  // loads; those images are empty.
  const std::vector<std::string>& Warnings() const { return warnings_; }

  // The single steps, in the order BuildSkinModel runs them.
  void LoadSkinBitmap(TBitmap& bitmap, std::string_view fileName);
  void LoadBorders();
  void LoadColours();
  void LoadSysButtons();
  void LoadMDIButtons(size_t first);
  void LoadButtons();
  void LoadTitle(std::string_view section);
  void LoadProgress(std::unique_ptr<TDataSkinBorder>& slot, std::string_view section);
  void LoadElement(std::unique_ptr<TDataSkinObject>& slot, std::string_view section);
  void LoadMenuBar(std::unique_ptr<TDataSkinObject>& slot, std::string_view section);
  void LoadBoxLabel(std::unique_ptr<TDataSkinBoxLabel>& slot, std::string_view section);
  void LoadBorderElement(std::unique_ptr<TDataSkinBorder>& slot, std::string_view section,
                         std::string_view secondKey);
  void LoadBuiltinTrack(std::unique_ptr<TDataSkinObject>& slot, const char* resourceName);
  void SetFrameCounts();
  void BuildComboImage();
  void BuildComboArrow();
  void BuildToolbarBackground();
  int32_t GetTitleColour() const;

 private:
  int32_t ReadInt(std::string_view section, std::string_view key, int32_t fallback) const;
  std::string ReadText(std::string_view section, std::string_view key) const;
  // The common keys of LoadElement and LoadBorderElement after the image.
  void ReadElementKeys(TDataSkinObject& element, std::string_view section, bool readFrame);
  void ReadColourKeys(TDataSkinObject& element, std::string_view section);

  TSkinModel& model_;
  const TSkinReader& reader_;
  const TQuickIni& ini_;
  TMemoryStream& entry_;
  HINSTANCE resources_;
  std::vector<std::string> sections_;
  std::vector<std::string> warnings_;
};
