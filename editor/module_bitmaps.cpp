#include "editor/module_bitmaps.h"

#include <vector>

#include "editor/bmp_decoder.h"
#include "editor/embedded_bitmaps.h"

namespace {

struct DecodedBitmap {
  BitmapId id;
  bool decoded;
  PixelImage image;
};

const std::vector<DecodedBitmap>& decodedBitmaps() {
  // Built on first use; the language makes the construction safe from several threads.
  static const std::vector<DecodedBitmap> all = [] {
    std::vector<DecodedBitmap> list;
    for (std::size_t i = 0; i < kEmbeddedBitmapCount; ++i) {
      DecodedBitmap entry{kEmbeddedBitmaps[i].id, false, PixelImage()};
      entry.decoded = decodeBmp(kEmbeddedBitmaps[i].bytes, kEmbeddedBitmaps[i].size, entry.image);
      list.push_back(std::move(entry));
    }
    return list;
  }();
  return all;
}

}  // namespace

const PixelImage* moduleBitmap(BitmapId id) {
  for (const DecodedBitmap& entry : decodedBitmaps()) {
    if (entry.id == id) return entry.decoded ? &entry.image : nullptr;
  }
  return nullptr;
}
