#include "framework/LayoutResource.h"

std::string_view FindLayoutResource(const std::wstring& name, HMODULE module) {
  HRSRC info = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!info) return {};
  HGLOBAL loaded = LoadResource(module, info);
  if (!loaded) return {};
  const void* data = LockResource(loaded);
  const DWORD size = SizeofResource(module, info);
  if (!data) return {};
  return std::string_view(static_cast<const char*>(data), size);
}
