// The floating shape marks shown over the items and their guards when the
// shapes are on: each item's shape (render/shapemark.h) in its colour, lit from
// above, with a dark rim. Drawn standing on their anchor like the items, so
// they are stored bottom-up.
#include <string>

#include "render/shapemark.h"
#include "tools/assetgen/pictures.h"
#include "tools/assetgen/writer.h"
#include "world/image16.h"

namespace {

constexpr int kSize = MarkPicture::width;
constexpr int kSuper = 4;
constexpr float kBrightRim = 0.1f;  // mark half-widths of lighter edge just inside the dark rim

Canvas paintMark(int item) {
  const int s = kSize * kSuper;
  const float step = 2.0f / static_cast<float>(s);
  Canvas fine = makeCanvas(s, s, {0, 0, 0}, 0.0f);
  for (int y = 0; y < s; ++y) {
    const float v = 1.0f - (static_cast<float>(y) + 0.5f) * step;
    for (int x = 0; x < s; ++x) {
      const float d = shapeMarkDistance(item, (static_cast<float>(x) + 0.5f) * step - 1.0f, v);
      if (d >= kMarkRimWidth) continue;
      Rgb c = hexColour(0x101014);
      if (d < 0.0f) {
        c = itemColour(item) * (0.8f + 0.3f * v);
        if (d > -kBrightRim) c = mix(c, hexColour(0xFFFFFF), 0.4f);
      }
      fine.at(x, y) = c;
      fine.alphaAt(x, y) = 1.0f;
    }
  }
  return downsample(fine, kSuper);
}

}  // namespace

void makeShapeMarks() {
  const char letters[] = {'r', 'g', 'b'};
  for (int item = 0; item < kItemCount; ++item) {
    const std::string name = std::string("form") + letters[item];
    savePicture(name.c_str(), paintMark(item), Layout::BottomUp, Cutout::Transparent);
  }
}
