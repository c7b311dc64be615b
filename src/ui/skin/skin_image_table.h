#pragma once
// The table of the skin's images: every id, what it shows and where, and its
// size in device-independent pixels (the @2x twin is twice as large).

#include <span>
#include <string_view>

namespace corvesta::skin {

struct SkinImageInfo {
  int id;
  int width;
  int height;
  std::string_view role;
};

// All images, by ascending id.
std::span<const SkinImageInfo> SkinImages();

// The entry of an id, or null when the skin has no such image.
const SkinImageInfo *FindSkinImage(int id);

} // namespace corvesta::skin
