#include "framework/CommonControls.h"

#include <commctrl.h>

#include <atomic>

void NeedCommonControls(DWORD classes) {
  static std::atomic<DWORD> registered{0};
  const DWORD missing = classes & ~registered.load();
  if (missing == 0) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, missing};
  if (InitCommonControlsEx(&icc)) registered.fetch_or(missing);
}
