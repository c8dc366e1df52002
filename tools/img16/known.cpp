#include "tools/img16/known.h"

#include <cstring>
#include <iterator>

#include "world/image16.h"
#include "world/level.h"

namespace {

template <typename Picture>
constexpr KnownPicture sized(KnownRows rows) {
  return {Picture::width, Picture::height, rows};
}

struct NamedPicture {
  const char* name;  // file name without ".16B"; a trailing '#' stands for 1 to 16
  KnownPicture picture;
};

// Every picture of bilder/ with the way a person wants to see it: the guards
// are stored turned, the pictures that stand on the floor bottom row first.
const NamedPicture kPictures[] = {
    {"titel", sized<TitlePicture>(KnownRows::BottomUp)},
    {"Ziegel", sized<BrickPicture>(KnownRows::TopDown)},
    {"ZiegelR", sized<BrickPicture>(KnownRows::TopDown)},
    {"ZiegelG", sized<BrickPicture>(KnownRows::TopDown)},
    {"ZiegelRG", sized<BrickPicture>(KnownRows::TopDown)},
    {"ZiegelB", sized<BrickPicture>(KnownRows::TopDown)},
    {"ZiegelRB", sized<BrickPicture>(KnownRows::TopDown)},
    {"ZiegelGB", sized<BrickPicture>(KnownRows::TopDown)},
    {"ZiegelRGB", sized<BrickPicture>(KnownRows::TopDown)},
    {"Gw#", sized<SpritePicture>(KnownRows::Turned)},
    {"Gr#", sized<SpritePicture>(KnownRows::Turned)},
    {"Gg#", sized<SpritePicture>(KnownRows::Turned)},
    {"Gb#", sized<SpritePicture>(KnownRows::Turned)},
    {"Himmel", sized<BackdropPicture>(KnownRows::TopDown)},
    {"Boden", sized<BackdropPicture>(KnownRows::BottomUp)},
    {"wiese", sized<MeadowPicture>(KnownRows::BottomUp)},
    {"statcolr", sized<TilePicture>(KnownRows::TopDown)},
    {"statcolg", sized<TilePicture>(KnownRows::TopDown)},
    {"statcolb", sized<TilePicture>(KnownRows::TopDown)},
    {"statcolw", sized<TilePicture>(KnownRows::TopDown)},
    {"eir1", sized<ItemPicture>(KnownRows::BottomUp)},
    {"eig1", sized<ItemPicture>(KnownRows::BottomUp)},
    {"eib1", sized<ItemPicture>(KnownRows::BottomUp)},
};
// Title, sky, floor and meadow: one file each.
constexpr size_t kSinglePictures = 4;
static_assert(std::size(kPictures) == std::size(brickTextures) + std::size(figureSprites) +
                                          std::size(statusTiles) + kItemCount + kSinglePictures,
              "every picture the game loads; a guard's sixteen share one entry");

// "1" to "16" exactly, no leading zero.
bool isViewNumber(const char* s, size_t n) {
  if (n == 1) return s[0] >= '1' && s[0] <= '9';
  return n == 2 && s[0] == '1' && s[1] >= '0' && s[1] <= '6';
}

bool matches(const char* pattern, const char* stem, size_t stemLength) {
  const size_t p = std::strlen(pattern);
  if (pattern[p - 1] != '#') return p == stemLength && std::memcmp(pattern, stem, p) == 0;
  return stemLength > p - 1 && std::memcmp(pattern, stem, p - 1) == 0 &&
         isViewNumber(stem + p - 1, stemLength - (p - 1));
}

}  // namespace

const KnownPicture* findKnownPicture(const char* path) {
  const char* slash = std::strrchr(path, '/');
  const char* name = slash ? slash + 1 : path;
  const size_t n = std::strlen(name);
  constexpr size_t kExtension = 4;  // ".16B"
  if (n <= kExtension || std::strcmp(name + n - kExtension, ".16B") != 0) return nullptr;
  for (const NamedPicture& entry : kPictures)
    if (matches(entry.name, name, n - kExtension)) return &entry.picture;
  return nullptr;
}
