// The registry of skinned-control classes: a name-to-factory table of the GUI thread.
#include "skin/form/SkinControlRegistry.h"

#include <map>

namespace {

std::map<std::string, TSkinControlFactory>& Factories() {
  static std::map<std::string, TSkinControlFactory> factories;
  return factories;
}

}  // namespace

void RegisterSkinControlClass(const std::string& className, TSkinControlFactory factory) {
  if (!factory) {
    Factories().erase(className);
    return;
  }
  Factories()[className] = std::move(factory);
}

void UnregisterSkinControlClass(const std::string& className) { Factories().erase(className); }

bool IsSkinControlClassRegistered(const std::string& className) {
  return Factories().count(className) != 0;
}

TSkinControlItem* CreateSkinControl(const std::string& className, const TSkinAttachRequest& request) {
  const auto found = Factories().find(className);
  if (found == Factories().end()) return nullptr;
  try {
    return found->second(request);
  } catch (...) {
    // A control that cannot be skinned stays as it is; discovery goes on.
    return nullptr;
  }
}
