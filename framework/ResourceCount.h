// Counters of the GUI resources the framework (and the engine) creates and frees: GDI
// objects by kind and windows. Wine's GetGuiResources answers 0, so leak tests read these.
// Portable (plain atomics).
#pragma once

#include <cstdint>

enum class TResourceKind {
  Font,
  Brush,
  Pen,
  Bitmap,
  Region,
  MemoryDC,   // CreateCompatibleDC and the like (not GetDC/BeginPaint)
  Icon,       // icons and cursors made (not shared system ones)
  ImageList,
  Window,
  kCount
};

void ResourceCreated(TResourceKind kind);
void ResourceFreed(TResourceKind kind);
// Live objects of one kind.
int64_t ResourceCount(TResourceKind kind);
// Live GDI objects of all kinds (fonts, brushes, pens, bitmaps, regions, DCs, icons,
// image lists).
int64_t GdiObjectCount();
// Live windows the framework created.
int64_t WindowCount();
// Objects ever created of one kind (shows that a test exercised something).
int64_t ResourceTotalCreated(TResourceKind kind);
