#include "skin/data/LzhCoding.h"

#include <algorithm>

namespace lzh {

void HuffmanTree::Start() {
  for (unsigned s = 0; s < kSymbolCount; ++s) {
    frequency[s] = 1;
    son[s] = static_cast<uint16_t>(s + kNodeCount);
    parent[s + kNodeCount] = static_cast<uint16_t>(s);
  }
  for (unsigned i = 0, j = kSymbolCount; j <= kRoot; i += 2, ++j) {
    frequency[j] = static_cast<uint16_t>(frequency[i] + frequency[i + 1]);
    son[j] = static_cast<uint16_t>(i);
    parent[i] = parent[i + 1] = static_cast<uint16_t>(j);
  }
  std::fill(frequency.begin() + kNodeCount, frequency.end(), uint16_t{0xFFFF});
  parent[kRoot] = 0;
}

void HuffmanTree::Rebuild() {
  // Gather the leaves at the front, in their order, with halved counts.
  unsigned free = 0;
  for (unsigned n = 0; n < kNodeCount; ++n) {
    if (son[n] >= kNodeCount) {
      frequency[free] = static_cast<uint16_t>((frequency[n] + 1) / 2);
      son[free] = son[n];
      ++free;
    }
  }
  // Join pairs of nodes in order; each new inner node goes where its count keeps the
  // order (after any nodes with an equal count).
  for (unsigned i = 0, j = kSymbolCount; j < kNodeCount; i += 2, ++j) {
    const unsigned sum = frequency[i] + frequency[i + 1];
    unsigned k = j;
    while (sum < frequency[k - 1]) --k;
    std::copy_backward(frequency.begin() + k, frequency.begin() + j, frequency.begin() + j + 1);
    std::copy_backward(son.begin() + k, son.begin() + j, son.begin() + j + 1);
    frequency[k] = static_cast<uint16_t>(sum);
    son[k] = static_cast<uint16_t>(i);
  }
  for (unsigned n = 0; n < kNodeCount; ++n) {
    const unsigned child = son[n];
    parent[child] = static_cast<uint16_t>(n);
    if (child < kNodeCount) parent[child + 1] = static_cast<uint16_t>(n);
  }
}

}  // namespace lzh
