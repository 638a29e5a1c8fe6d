#include "skin/data/SkinManagerLink.h"

#include <algorithm>
#include <utility>

namespace {

TSkinManagerFactory& Factory() {
  static TSkinManagerFactory factory;
  return factory;
}

// Destroyed at process exit if FreeSkinManager was not called first.
std::unique_ptr<TSkinManagerLink>& Instance() {
  static std::unique_ptr<TSkinManagerLink> instance;
  return instance;
}

}  // namespace

void SetSkinManagerFactory(TSkinManagerFactory factory) { Factory() = std::move(factory); }

TSkinManagerLink* SkinManager() { return Instance().get(); }

TSkinManagerLink* EnsureSkinManager() {
  std::unique_ptr<TSkinManagerLink>& instance = Instance();
  if (!instance) {
    instance = Factory() ? Factory()() : nullptr;
    if (!instance) instance = std::make_unique<TRecordingSkinManager>();
  }
  return instance.get();
}

void FreeSkinManager() {
  // Moved out first, so that a skin component freed by the manager's destructor sees no
  // manager to unregister from.
  std::unique_ptr<TSkinManagerLink> doomed = std::move(Instance());
  doomed.reset();
}

TRecordingSkinManager::Call TRecordingSkinManager::Note(std::string operation) const {
  Call call;
  call.Operation = std::move(operation);
  call.ActionSkinData = ActionSkinData;
  call.RunState = RunState;
  return call;
}

void TRecordingSkinManager::AddSkinData(TSkinData* skinData) {
  Call call = Note("AddSkinData");
  call.SkinData = skinData;
  Calls.push_back(call);
  SkinDatas.push_back(skinData);
}

void TRecordingSkinManager::RemoveSkinData(TSkinData* skinData) {
  Call call = Note("RemoveSkinData");
  call.SkinData = skinData;
  Calls.push_back(call);
  SkinDatas.erase(std::remove(SkinDatas.begin(), SkinDatas.end(), skinData), SkinDatas.end());
}

void TRecordingSkinManager::InstallHook() { Calls.push_back(Note("InstallHook")); }

void TRecordingSkinManager::RequestAction(int32_t action, int32_t delayMs) {
  Call call = Note("RequestAction");
  call.Action = action;
  call.DelayMs = delayMs;
  Calls.push_back(call);
}

void TRecordingSkinManager::NotifySkinChanged() { Calls.push_back(Note("NotifySkinChanged")); }

bool TRecordingSkinManager::SkinWindow(HWND window) {
  Call call = Note("SkinWindow");
  call.Window = window;
  Calls.push_back(call);
  return false;
}
