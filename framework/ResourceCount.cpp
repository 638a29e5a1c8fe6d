#include "framework/ResourceCount.h"

#include <atomic>
#include <cstddef>

namespace {

constexpr size_t kKinds = static_cast<size_t>(TResourceKind::kCount);
// Trivially destructible, so counting stays valid during static destruction.
std::atomic<int64_t> gLive[kKinds];
std::atomic<int64_t> gTotal[kKinds];

size_t Index(TResourceKind kind) {
  const auto i = static_cast<size_t>(kind);
  return i < kKinds ? i : 0;
}

}  // namespace

void ResourceCreated(TResourceKind kind) {
  gLive[Index(kind)].fetch_add(1);
  gTotal[Index(kind)].fetch_add(1);
}

void ResourceFreed(TResourceKind kind) { gLive[Index(kind)].fetch_sub(1); }

int64_t ResourceCount(TResourceKind kind) { return gLive[Index(kind)].load(); }

int64_t GdiObjectCount() {
  int64_t sum = 0;
  for (size_t i = 0; i < kKinds; ++i)
    if (i != static_cast<size_t>(TResourceKind::Window)) sum += gLive[i].load();
  return sum;
}

int64_t WindowCount() { return ResourceCount(TResourceKind::Window); }

int64_t ResourceTotalCreated(TResourceKind kind) { return gTotal[Index(kind)].load(); }
