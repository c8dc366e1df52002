// The generated pictures: sizes, pixel values, which way up they are stored,
// and that the generator paints the same bytes every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/testdata.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/shapes3d.h"
#include "tools/assetgen/writer.h"

namespace {

struct Entry {
  std::string name;
  int w, h;
  bool transparent;  // pictures drawn as objects may hold the transparent value 0
};

std::vector<Entry> catalogue() {
  std::vector<Entry> list = {
      {"titel", 800, 600, false},  {"Boden", 1024, 384, false}, {"Himmel", 1024, 384, false},
      {"wiese", 640, 480, false},  {"statcolr", 40, 40, false}, {"statcolg", 40, 40, false},
      {"statcolb", 40, 40, false}, {"statcolw", 40, 40, false}, {"eir1", 320, 240, true},
      {"eig1", 320, 240, true},    {"eib1", 320, 240, true},    {"formr", 64, 64, true},
      {"formg", 64, 64, true},     {"formb", 64, 64, true}};
  for (const char* c : {"r", "g", "b"}) list.push_back({std::string("statfor") + c, 40, 40, false});
  for (const char* n :
       {"Ziegel", "ZiegelR", "ZiegelG", "ZiegelRG", "ZiegelB", "ZiegelRB", "ZiegelGB", "ZiegelRGB"})
    list.push_back({n, 640, 480, false});
  for (const char* c : {"w", "r", "g", "b"})
    for (int n = 1; n <= 16; ++n) list.push_back({std::string("G") + c + std::to_string(n), 200, 400, true});
  return list;
}

std::string gameBilder() { return std::string(QUILL_GAME_DIR) + "/bilder/"; }

std::vector<uint16_t> words(const std::string& bytes) {
  std::vector<uint16_t> w(bytes.size() / 2);
  for (size_t i = 0; i < w.size(); ++i)
    w[i] = static_cast<uint16_t>((static_cast<unsigned char>(bytes[2 * i]) << 8) |
                                 static_cast<unsigned char>(bytes[2 * i + 1]));
  return w;
}

std::vector<uint16_t> picture(const std::string& name) {
  return words(readFile(gameBilder() + name + ".16B"));
}

int red(uint16_t v) { return (v >> 10) & 31; }
int green(uint16_t v) { return (v >> 5) & 31; }
int blue(uint16_t v) { return v & 31; }

int runGenerator(const std::string& outDir, const std::string& font) {
  const std::string cmd =
      std::string(QUILL_BUILD_DIR) + "/tools/quillmoor-assetgen '" + outDir + "' '" + font + "' 2>/dev/null";
  return std::system(cmd.c_str());
}

}  // namespace

TEST(AssetsCatalogue, EveryPictureHasItsSizeAndOnlyFifteenBitValues) {
  const std::vector<Entry> list = catalogue();
  ASSERT_EQ(list.size(), 89u);
  for (const Entry& e : list) {
    SCOPED_TRACE(e.name);
    const std::string bytes = readFile(gameBilder() + e.name + ".16B");
    ASSERT_EQ(bytes.size(), static_cast<size_t>(2 * e.w * e.h));
    int zeros = 0;
    for (uint16_t v : words(bytes)) {
      ASSERT_EQ(v & 0x8000, 0);
      zeros += v == 0;
    }
    // Pictures without transparency must not contain the transparent value by accident.
    if (!e.transparent) {
      EXPECT_EQ(zeros, 0);
    }
  }
}

TEST(AssetsSprites, FigureFillsTheFrameFromTopToBottomWithClearCorners) {
  for (const char* c : {"w", "r", "g", "b"}) {
    for (int n = 1; n <= 16; ++n) {
      const std::string name = std::string("G") + c + std::to_string(n);
      SCOPED_TRACE(name);
      const std::vector<uint16_t> file = picture(name);
      ASSERT_EQ(file.size(), 80000u);
      // The loader reverses the pixel order: upright pixel k is file pixel 79999 - k.
      auto upright = [&](int x, int y) { return file[79999 - (y * 200 + x)]; };
      for (int corner : {0, 199, 399 * 200, 399 * 200 + 199}) EXPECT_EQ(file[corner], 0);
      auto rowHasFigure = [&](int y) {
        for (int x = 0; x < 200; ++x)
          if (upright(x, y) != 0) return true;
        return false;
      };
      bool nearTop = false, nearBottom = false;
      for (int y = 0; y < 12; ++y) nearTop = nearTop || rowHasFigure(y);
      for (int y = 388; y < 400; ++y) nearBottom = nearBottom || rowHasFigure(y);
      EXPECT_TRUE(nearTop);
      EXPECT_TRUE(nearBottom);
    }
  }
}

// The upright figure of a sprite file (the loader reverses the pixel order).
struct Upright {
  std::vector<uint16_t> file;
  uint16_t at(int x, int y) const { return file[79999 - (y * 200 + x)]; }
};

TEST(AssetsSprites, FiguresStandUprightAndTurnTheWayTheRendererPicksThem) {
  for (const char* c : {"w", "r", "g", "b"}) {
    SCOPED_TRACE(c);
    // Upright: the brass knob of the hat at the top is brighter than the boots at the bottom.
    const Upright front{picture(std::string("G") + c + "1")};
    auto brightness = [&](int y0, int y1) {
      int sum = 0, n = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = 0; x < 200; ++x)
          if (front.at(x, y) != 0) {
            sum += red(front.at(x, y)) + green(front.at(x, y)) + blue(front.at(x, y));
            ++n;
          }
      return n ? sum / n : 0;
    };
    EXPECT_GT(brightness(0, 24), brightness(380, 400) + 10);
    // Picture 5 (90 degrees) shows the guard's right side: it faces the picture's
    // right, lantern held out that way; picture 13 is the mirror case.
    for (int n : {5, 13}) {
      const Upright side{picture(std::string("G") + c + std::to_string(n))};
      int left = 200, right = -1;
      for (int y = 200; y < 236; ++y)
        for (int x = 0; x < 200; ++x)
          if (side.at(x, y) != 0) {
            left = std::min(left, x);
            right = std::max(right, x);
          }
      const int reachRight = right - 100, reachLeft = 100 - left;
      if (n == 5) {
        EXPECT_GT(reachRight, reachLeft + 20) << n;
      } else {
        EXPECT_GT(reachLeft, reachRight + 20) << n;
      }
    }
  }
}

TEST(AssetsSprites, GuardsDifferOnlyInColourNotInShape) {
  // One model seen from the same direction: the same pixels are transparent for every guard.
  for (int n : {1, 5, 9}) {
    const std::vector<uint16_t> w = picture("Gw" + std::to_string(n));
    for (const char* c : {"r", "g", "b"}) {
      const std::vector<uint16_t> other = picture(std::string("G") + c + std::to_string(n));
      size_t mismatches = 0;
      for (size_t i = 0; i < w.size(); ++i) mismatches += (w[i] == 0) != (other[i] == 0);
      EXPECT_EQ(mismatches, 0u) << c << n;
    }
  }
}

TEST(AssetsSprites, FrontAndBackViewsDiffer) {
  // Picture 1 shows the face, picture 9 the back; a model turned the wrong way
  // or sixteen copies of one view would make them alike.
  const std::vector<uint16_t> front = picture("Gr1"), back = picture("Gr9"), side = picture("Gr5");
  size_t frontBack = 0, frontSide = 0;
  for (size_t i = 0; i < front.size(); ++i) {
    frontBack += front[i] != back[i];
    frontSide += front[i] != side[i];
  }
  EXPECT_GT(frontBack, 5000u);
  EXPECT_GT(frontSide, 5000u);
}

TEST(AssetsItems, ItemsStandOnTheirBottomRowWithClearSky) {
  const char* names[3] = {"eir1", "eig1", "eib1"};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(names[k]);
    const std::vector<uint16_t> p = picture(names[k]);
    ASSERT_EQ(p.size(), 76800u);
    // Stored row 0 is the one on the floor.
    int onFloor = 0, topRow = 0;
    for (int x = 0; x < 320; ++x) {
      onFloor += p[x] != 0;
      topRow += p[239 * 320 + x] != 0;
    }
    EXPECT_GT(onFloor, 20);
    EXPECT_EQ(topRow, 0);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[319], 0);
    // The item reads as its colour: that channel leads in most of its pixels.
    int lead = 0, opaque = 0;
    for (uint16_t v : p) {
      if (v == 0) continue;
      ++opaque;
      const int ch[3] = {red(v), green(v), blue(v)};
      lead += ch[k] > ch[(k + 1) % 3] && ch[k] > ch[(k + 2) % 3];
    }
    EXPECT_GT(lead * 2, opaque);
  }
}

TEST(AssetsShapes, ShapedTilesDifferOnlyOnTheStoneAndTheMarksAreABarATriangleAndARing) {
  for (const char* c : {"r", "g", "b"}) {
    const std::vector<uint16_t> plain = picture(std::string("statcol") + c),
                                shaped = picture(std::string("statfor") + c);
    int changed = 0, outside = 0;
    for (int i = 0; i < 1600; ++i) {
      changed += plain[i] != shaped[i];
      outside += plain[i] != shaped[i] && (std::abs(i % 40 - 20) > 8 || std::abs(i / 40 - 20) > 8);
    }
    EXPECT_TRUE(changed > 40 && outside == 0)
        << c << ": " << changed << " changed, " << outside << " outside";
  }
  // Stored bottom-up, 64 x 64.
  const std::vector<uint16_t> bar = picture("formr"), triangle = picture("formg"), ring = picture("formb");
  auto width = [](const std::vector<uint16_t>& p, int row) {
    return 64 - static_cast<int>(std::count(&p[row * 64], &p[row * 64 + 64], 0));
  };
  EXPECT_TRUE(width(bar, 52) == 0 && width(bar, 32) > 50);
  EXPECT_TRUE(width(triangle, 52) > 0 && width(triangle, 12) > 2 * width(triangle, 52));
  EXPECT_TRUE(ring[32 * 64 + 32] == 0 && width(ring, 32) > 20);
}

TEST(AssetsBricks, HeldItemsShowTheirColoursOnTheWall) {
  // Count strongly coloured texels in the part of the wall the renderer shows.
  auto count = [](const std::vector<uint16_t>& p, int k) {
    int n = 0;
    for (int i = 0; i < 640 * 241; ++i) {
      const int ch[3] = {red(p[i]), green(p[i]), blue(p[i])};
      n += ch[k] >= 16 && ch[k] > 2 * ch[(k + 1) % 3] && ch[k] > 2 * ch[(k + 2) % 3];
    }
    return n;
  };
  const char* names[8] = {"Ziegel",  "ZiegelR",  "ZiegelG",  "ZiegelRG",
                          "ZiegelB", "ZiegelRB", "ZiegelGB", "ZiegelRGB"};
  const std::vector<uint16_t> plain = picture("Ziegel");
  const int plainRed = count(plain, 0);
  EXPECT_EQ(count(plain, 1), 0);
  EXPECT_EQ(count(plain, 2), 0);
  for (int held = 1; held < 8; ++held) {
    SCOPED_TRACE(names[held]);
    const std::vector<uint16_t> p = picture(names[held]);
    for (int k = 0; k < 3; ++k) {
      if (held & (1 << k)) {
        EXPECT_GT(count(p, k), (k == 0 ? plainRed : 0) + 2000);
      } else {
        EXPECT_LE(count(p, k), k == 0 ? plainRed : 0);
      }
    }
  }
}

TEST(AssetsBricks, LowerHalfMirrorsTheVisibleHalf) {
  // The renderer mirrors rows 0..240 below the horizon; the stored lower half matches
  // (up to the dither) so the picture looks the same however much of it is used.
  const std::vector<uint16_t> p = picture("ZiegelRGB");
  for (int y = 1; y < 240; ++y) {
    for (int x = 0; x < 640; x += 7) {
      const uint16_t low = p[(480 - y) * 640 + x], high = p[y * 640 + x];
      ASSERT_LE(std::abs(red(low) - red(high)), 1) << x << "," << y;
      ASSERT_LE(std::abs(green(low) - green(high)), 1) << x << "," << y;
      ASSERT_LE(std::abs(blue(low) - blue(high)), 1) << x << "," << y;
    }
  }
}

TEST(AssetsTitle, BottomRowsStayDarkForTheProgressLine) {
  // The first stored rows are shown at the bottom of the screen, where the white
  // loading line is drawn.
  const std::vector<uint16_t> p = picture("titel");
  for (int i = 0; i < 40 * 800; ++i) {
    ASSERT_LE(red(p[i]), 4);
    ASSERT_LE(green(p[i]), 4);
    ASSERT_LE(blue(p[i]), 6);
  }
}

TEST(AssetsGenerator, PaintsTheSameBytesEveryTime) {
  const std::string dir = scratchDir("assetgen_again");
  ASSERT_EQ(runGenerator(dir, std::string(QUILL_GAME_DIR) + "/FONTS/romans.fnt"), 0);
  for (const Entry& e : catalogue()) {
    SCOPED_TRACE(e.name);
    EXPECT_TRUE(readFile(dir + "/" + e.name + ".16B") == readFile(gameBilder() + e.name + ".16B"));
  }
}

TEST(AssetsGenerator, MissingFontLeavesTheTitleWithoutLettering) {
  const std::string dir = scratchDir("assetgen_nofont");
  ASSERT_EQ(runGenerator(dir, dir + "/no-such-font.fnt"), 0);
  const std::string title = readFile(dir + "/titel.16B");
  ASSERT_EQ(title.size(), 960000u);
  EXPECT_FALSE(title == readFile(gameBilder() + "titel.16B"));  // the lettering is missing
  EXPECT_TRUE(readFile(dir + "/Gw1.16B") == readFile(gameBilder() + "Gw1.16B"));
}

TEST(AssetsGenerator, RefusesToRunWithoutAnOutputFolder) {
  const std::string cmd = std::string(QUILL_BUILD_DIR) + "/tools/quillmoor-assetgen 2>/dev/null";
  EXPECT_NE(std::system(cmd.c_str()), 0);
}

TEST(AssetsWriter, LayoutsPutTheRowsWhereTheGameExpectsThem) {
  // A 2 x 2 canvas: top row red, green; bottom row blue, white.
  Canvas c = makeCanvas(2, 2, {0, 0, 0});
  c.at(0, 0) = {1, 0, 0};
  c.at(1, 0) = {0, 1, 0};
  c.at(0, 1) = {0, 0, 1};
  c.at(1, 1) = {1, 1, 1};
  const uint16_t r = 0x7C00, g = 0x03E0, b = 0x001F, w = 0x7FFF;
  EXPECT_EQ(storedWords(c, Layout::TopDown, Cutout::Opaque), (std::vector<uint16_t>{r, g, b, w}));
  EXPECT_EQ(storedWords(c, Layout::BottomUp, Cutout::Opaque), (std::vector<uint16_t>{b, w, r, g}));
  EXPECT_EQ(storedWords(c, Layout::Turned, Cutout::Opaque), (std::vector<uint16_t>{w, b, g, r}));
}

TEST(AssetsWriter, OnlyUncoveredPixelsBecomeTransparent) {
  Canvas c = makeCanvas(3, 1, {0, 0, 0}, 1.0f);
  c.alphaAt(1, 0) = 0.49f;
  c.alphaAt(2, 0) = 0.5f;
  const std::vector<uint16_t> cut = storedWords(c, Layout::TopDown, Cutout::Transparent);
  // Black that is meant to be seen must not turn into the transparent value.
  EXPECT_NE(cut[0], 0);
  EXPECT_EQ(cut[1], 0);
  EXPECT_NE(cut[2], 0);
  for (uint16_t v : storedWords(c, Layout::TopDown, Cutout::Opaque)) EXPECT_NE(v, 0);
}

TEST(AssetsWriter, DitherKeepsChannelsInRangeAndAveragesToTheColour) {
  int sum = 0;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(packColour({2.0f, -1.0f, 1.0f}, x, y), 0x7C1F);  // clamped, bit 15 clear
      sum += red(packColour({0.5f, 0.5f, 0.5f}, x, y));
    }
  }
  // Half intensity is 15.5 of 31: the 16 dithered pixels average to it.
  EXPECT_NEAR(sum / 16.0, 15.5, 0.51);
}

TEST(AssetsRaster, PeriodicNoiseWrapsSoWallsJoinSeamlessly) {
  for (float y : {0.3f, 2.7f, 9.1f}) {
    EXPECT_FLOAT_EQ(valueNoise(0.0f, y, 7U, 12), valueNoise(12.0f, y, 7U, 12));
    EXPECT_FLOAT_EQ(fbm(0.25f, y, 7U, 4, 12), fbm(12.25f, y, 7U, 4, 12));
    EXPECT_EQ(cellNoise(0.4f, y, 9U, 12).id, cellNoise(12.4f, y, 9U, 12).id);
  }
  // Without a period the noise does not simply repeat.
  EXPECT_NE(valueNoise(0.5f, 0.5f, 7U), valueNoise(12.5f, 0.5f, 7U));
}

TEST(AssetsRaster, DownsampleWeighsColourByCoverage) {
  Canvas c = makeCanvas(2, 2, {0, 0, 0}, 0.0f);
  c.at(0, 0) = {1.0f, 0.5f, 0.0f};
  c.alphaAt(0, 0) = 1.0f;
  const Canvas small = downsample(c, 2);
  // One covered sample of four: a quarter coverage, but its own colour, not darkened.
  EXPECT_FLOAT_EQ(small.alphaAt(0, 0), 0.25f);
  EXPECT_FLOAT_EQ(small.at(0, 0).r, 1.0f);
  EXPECT_FLOAT_EQ(small.at(0, 0).g, 0.5f);
}

TEST(AssetsShapes, RaysMeetSolidsWhereGeometrySaysTheyDo) {
  RayHit h{};
  const Vec3 down{0, 0, -1};
  // A flattened ellipsoid from above: entered at its top, normal straight up.
  ASSERT_TRUE(hitEllipsoid({0, 0, 5}, down, {0, 0, 0}, {2, 3, 0.5f}, h));
  EXPECT_NEAR(h.t, 4.5f, 1e-5f);
  EXPECT_NEAR(h.normal.z, 1.0f, 1e-5f);
  EXPECT_FALSE(hitEllipsoid({2.1f, 0, 5}, down, {0, 0, 0}, {2, 3, 0.5f}, h));
  // A capsule lying along x, hit on its cylinder and on its round end.
  ASSERT_TRUE(hitCapsule({0.5f, 0, 5}, down, {0, 0, 0}, {1, 0, 0}, 0.25f, h));
  EXPECT_NEAR(h.t, 4.75f, 1e-5f);
  ASSERT_TRUE(hitCapsule({1.2f, 0, 5}, down, {0, 0, 0}, {1, 0, 0}, 0.25f, h));
  EXPECT_NEAR(h.t, 5.0f - std::sqrt(0.25f * 0.25f - 0.2f * 0.2f), 1e-5f);
  // An upright cone frustum: radius 1 at z = 0 to 0.5 at z = 2, stretched twice as wide in x.
  ASSERT_TRUE(hitFrustum({0, 0, 5}, down, 0, 0, 0, 1, 2, 0.5f, 2, 1, h));  // its top cap
  EXPECT_NEAR(h.t, 3.0f, 1e-5f);
  ASSERT_TRUE(hitFrustum({5, 0, 1}, {-1, 0, 0}, 0, 0, 0, 1, 2, 0.5f, 2, 1, h));  // its side at half height
  EXPECT_NEAR(h.t, 5.0f - 2.0f * 0.75f, 1e-4f);
  // The surface x^2/4 + y^2 = (1 - z/4)^2 has the gradient (x/2, 2y, (1 - z/4)/2) there.
  EXPECT_NEAR(h.normal.x, 2.0f / std::sqrt(5.0f), 1e-4f);
  EXPECT_NEAR(h.normal.z, 1.0f / std::sqrt(5.0f), 1e-4f);
  EXPECT_FALSE(hitFrustum({1.2f, 0, 5}, down, 0, 0, 0, 1, 2, 0.5f, 1, 1, h));
}

TEST(AssetsShapes, ConvexSolidsReportTheFaceAndHowNearItsEdgeIs) {
  // The unit cube around the origin as six planes.
  std::vector<Plane> cube;
  for (int axis = 0; axis < 3; ++axis)
    for (float sign : {1.0f, -1.0f}) {
      Vec3 n{0, 0, 0};
      (axis == 0 ? n.x : axis == 1 ? n.y : n.z) = sign;
      cube.push_back({n, 0.5f});
    }
  RayHit h{};
  ASSERT_TRUE(hitConvex({0.4f, 0.1f, 3}, {0, 0, -1}, cube, h));
  EXPECT_NEAR(h.t, 2.5f, 1e-5f);
  EXPECT_NEAR(h.normal.z, 1.0f, 1e-5f);
  EXPECT_NEAR(h.edge, 0.1f, 1e-5f);  // 0.1 from the face x = 0.5
  EXPECT_FALSE(hitConvex({0.6f, 0, 3}, {0, 0, -1}, cube, h));
  EXPECT_FALSE(hitConvex({0, 0, 0}, {0, 0, -1}, cube, h));  // starting inside: no entry ahead
}
