// Colour conversion and letterboxing for presenting the back buffer.
#include "platform/pixelconvert.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

void buildColourLut(uint32_t* lut) {
  for (uint32_t v = 0; v < kColourLutSize; ++v) {
    const uint32_t r5 = (v >> 10) & 0x1F, g5 = (v >> 5) & 0x1F, b5 = v & 0x1F;
    const uint32_t r = (r5 << 3) | (r5 >> 2), g = (g5 << 3) | (g5 >> 2), b = (b5 << 3) | (b5 >> 2);
    lut[v] = 0xFF000000u | (r << 16) | (g << 8) | b;
  }
}

void buildVgaColourLut(uint32_t* lut) {
  for (uint32_t v = 0; v < kColourLutSize; ++v) {
    const uint32_t r3 = ((v >> 10) & 0x1F) >> 2, g3 = ((v >> 5) & 0x1F) >> 2, b2 = (v & 0x1F) >> 3;
    const uint32_t r = r3 * 255 / 7, g = g3 * 255 / 7, b = b2 * 255 / 3;
    lut[v] = 0xFF000000u | (r << 16) | (g << 8) | b;
  }
}

namespace {

// A 5-bit field widened to 8 bits: its top bits repeat below it (31 -> 255).
inline uint32_t widen5(uint32_t v) { return (v << 3) | (v >> 2); }

inline uint32_t argbOf(uint32_t v) {
  return 0xFF000000u | widen5((v >> 10) & 0x1F) << 16 | widen5((v >> 5) & 0x1F) << 8 | widen5(v & 0x1F);
}

inline const uint16_t* srcRow(const uint8_t* src, int pitch, int y) {
  return reinterpret_cast<const uint16_t*>(src + static_cast<long>(y) * pitch);
}
inline uint32_t* dstRow(uint8_t* dst, int pitch, int y) {
  return reinterpret_cast<uint32_t*>(dst + static_cast<long>(y) * pitch);
}

#if defined(__SSE2__)
// Eight pixels: two 16-bit halves per pixel, blue and green in the low one,
// red and alpha in the high one, interleaved into ARGB words. Widening a field
// f is (f * 33) >> 2 (f above itself, shifted); each multiply takes the field
// where it lies and drops what is below it:
//   blue:  high half of (v << 11) * 264, unsigned = (b * 33) >> 2
//   green: low half of (v & 0x3E0) * 66 = g << 11 | g << 6, masked to 0xFF00
//   red:   high half of (v | 0x83FF) * 528, signed = 0xFF00 | (r * 33) >> 2;
// with bit 15 and every bit below red set, the value is r * 1024 - 31745, and
// the product's high half is r * 8.25 - 255.76 rounded down, which is alpha
// 0xFF above the widened red for every r (its fraction never passes 0.76).
// Sixteen instructions for eight pixels in SSE2's two-operand form, three of
// them register copies; the VEX (AVX) encoding of the same code has three
// operands and needs none of the copies, thirteen in all.
struct Sse2Constants {
  __m128i greenMask, notRed, highByte, k264, k66, k528;
};

__attribute__((always_inline)) inline Sse2Constants sse2Constants() {
  return {_mm_set1_epi16(0x03E0),
          _mm_set1_epi16(static_cast<short>(0x83FF)),
          _mm_set1_epi16(static_cast<short>(0xFF00)),
          _mm_set1_epi16(264),
          _mm_set1_epi16(66),
          _mm_set1_epi16(528)};
}

__attribute__((always_inline)) inline void convertBlock(const uint16_t* in, uint32_t* out,
                                                        const Sse2Constants& c) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  const __m128i b = _mm_mulhi_epu16(_mm_slli_epi16(v, 11), c.k264);
  const __m128i ar = _mm_mulhi_epi16(_mm_or_si128(v, c.notRed), c.k528);
  const __m128i g = _mm_and_si128(_mm_mullo_epi16(_mm_and_si128(v, c.greenMask), c.k66), c.highByte);
  const __m128i gb = _mm_or_si128(g, b);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(gb, ar));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_unpackhi_epi16(gb, ar));
}

// Sixteen pixels: the same arithmetic on 256-bit registers. The unpacks
// work within each 128-bit half, so the source's quarters are first put in
// the order 0, 2, 1, 3: then the low unpack yields pixels 0-7 and the high
// one pixels 8-15, eleven instructions for sixteen pixels. (Plain inline:
// the compiler inlines it where AVX2 code is made, and only there.)
struct Avx2Constants {
  __m256i greenMask, notRed, highByte, k264, k66, k528;
};

__attribute__((target("avx2"))) inline Avx2Constants avx2Constants() {
  return {_mm256_set1_epi16(0x03E0),
          _mm256_set1_epi16(static_cast<short>(0x83FF)),
          _mm256_set1_epi16(static_cast<short>(0xFF00)),
          _mm256_set1_epi16(264),
          _mm256_set1_epi16(66),
          _mm256_set1_epi16(528)};
}

__attribute__((target("avx2"))) inline void convertBlock(const uint16_t* in, uint32_t* out,
                                                         const Avx2Constants& c) {
  const __m256i v = _mm256_permute4x64_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in)), 0xD8);
  const __m256i b = _mm256_mulhi_epu16(_mm256_slli_epi16(v, 11), c.k264);
  const __m256i ar = _mm256_mulhi_epi16(_mm256_or_si256(v, c.notRed), c.k528);
  const __m256i g = _mm256_and_si256(_mm256_mullo_epi16(_mm256_and_si256(v, c.greenMask), c.k66), c.highByte);
  const __m256i gb = _mm256_or_si256(g, b);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_unpacklo_epi16(gb, ar));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8), _mm256_unpackhi_epi16(gb, ar));
}

template <typename Constants>
__attribute__((always_inline)) inline void convertRowWide(const uint16_t* in, uint32_t* out, int width,
                                                          const Constants& c) {
  constexpr long kBlock = sizeof c.k66 / 2;  // pixels a block
  // Four blocks a turn, counted up to zero from below the turns' end, so the
  // loop's own work is one add and one jump beside the blocks'.
  const long wide = width & ~(4 * kBlock - 1);
  const uint16_t* inEnd = in + wide;
  uint32_t* outEnd = out + wide;
  for (long x = -wide; x != 0; x += 4 * kBlock) {
    convertBlock(inEnd + x, outEnd + x, c);
    convertBlock(inEnd + x + kBlock, outEnd + x + kBlock, c);
    convertBlock(inEnd + x + 2 * kBlock, outEnd + x + 2 * kBlock, c);
    convertBlock(inEnd + x + 3 * kBlock, outEnd + x + 3 * kBlock, c);
  }
  int x = static_cast<int>(wide);
  for (; x + kBlock <= width; x += kBlock) convertBlock(in + x, out + x, c);
  for (; x < width; ++x) out[x] = argbOf(in[x]);
}

// The multiply by 66 hidden from the optimiser: it would turn it into three
// shifts and adds, which cost more here than the one multiply. Each vector
// width in a function of its own instruction set, as clang checks the
// register constraint against the function it is written in.
inline void hideFromOptimiser(Sse2Constants& c) { __asm__("" : "+x"(c.k66)); }
__attribute__((target("avx2"))) inline void hideFromOptimiser(Avx2Constants& c) { __asm__("" : "+x"(c.k66)); }

// The whole picture, inlined as SSE2, AVX and AVX2 code.
template <typename Constants>
__attribute__((always_inline)) inline void convertWide(const uint8_t* src, int srcPitch, int width,
                                                       int height, uint8_t* dst, int dstPitch,
                                                       const Constants& constants) {
  Constants c = constants;
  hideFromOptimiser(c);
  if (width <= 0 || height <= 0) return;
  // Rows without padding on either side are one long row.
  if (srcPitch == 2 * width && dstPitch == 4 * width) {
    width *= height;
    height = 1;
  }
  for (int y = 0; y < height; ++y)
    convertRowWide(srcRow(src, srcPitch, y), dstRow(dst, dstPitch, y), width, c);
}

__attribute__((target("avx"))) void convertAvx(const uint8_t* src, int srcPitch, int width, int height,
                                               uint8_t* dst, int dstPitch) {
  convertWide(src, srcPitch, width, height, dst, dstPitch, sse2Constants());
}

__attribute__((target("avx2"))) void convertAvx2(const uint8_t* src, int srcPitch, int width, int height,
                                                 uint8_t* dst, int dstPitch) {
  convertWide(src, srcPitch, width, height, dst, dstPitch, avx2Constants());
}
#endif

}  // namespace

void convertToArgbScalar(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst,
                         int dstPitch) {
  for (int y = 0; y < height; ++y) {
    const uint16_t* in = srcRow(src, srcPitch, y);
    uint32_t* out = dstRow(dst, dstPitch, y);
    for (int x = 0; x < width; ++x) out[x] = argbOf(in[x]);
  }
}

void convertToArgbSse2(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst, int dstPitch) {
#if defined(__SSE2__)
  convertWide(src, srcPitch, width, height, dst, dstPitch, sse2Constants());
#else
  convertToArgbScalar(src, srcPitch, width, height, dst, dstPitch);
#endif
}

void convertToArgb(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst, int dstPitch) {
#if defined(__SSE2__) && defined(__GNUC__)
  // The processor (and the system's saving of its wide registers) is asked once.
  static const bool hasAvx2 = __builtin_cpu_supports("avx2");
  static const bool hasAvx = __builtin_cpu_supports("avx");
  if (hasAvx2) return convertAvx2(src, srcPitch, width, height, dst, dstPitch);
  if (hasAvx) return convertAvx(src, srcPitch, width, height, dst, dstPitch);
#endif
  convertToArgbSse2(src, srcPitch, width, height, dst, dstPitch);
}

void convertThroughLut(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst, int dstPitch,
                       const uint32_t* lut) {
  for (int y = 0; y < height; ++y) {
    const uint16_t* in = srcRow(src, srcPitch, y);
    uint32_t* out = dstRow(dst, dstPitch, y);
    for (int x = 0; x < width; ++x) out[x] = lut[in[x] & 0x7FFF];
  }
}

Rect letterboxRect(int srcWidth, int srcHeight, int outWidth, int outHeight) {
  if (srcWidth <= 0 || srcHeight <= 0 || outWidth <= 0 || outHeight <= 0) return {0, 0, 0, 0};
  long long w, h;
  // Compare the proportions in integers so equal shapes fill exactly.
  if (static_cast<long long>(outWidth) * srcHeight <= static_cast<long long>(outHeight) * srcWidth) {
    w = outWidth;
    h = static_cast<long long>(outWidth) * srcHeight / srcWidth;
  } else {
    h = outHeight;
    w = static_cast<long long>(outHeight) * srcWidth / srcHeight;
  }
  if (w < 1) w = 1;
  if (h < 1) h = 1;
  const int left = static_cast<int>((outWidth - w) / 2);
  const int top = static_cast<int>((outHeight - h) / 2);
  return {left, top, left + static_cast<int>(w), top + static_cast<int>(h)};
}

bool showsAtFourByThree(int modeWidth, int modeHeight) {
  return (modeWidth == 320 || modeWidth == 640) && 4 * modeHeight != 3 * modeWidth;
}

PresentScale planPresent(int srcWidth, int srcHeight, int shapeWidth, int shapeHeight, int outWidth,
                         int outHeight) {
  PresentScale p{};
  p.dst = letterboxRect(shapeWidth, shapeHeight, outWidth, outHeight);
  if (srcWidth <= 0 || srcHeight <= 0) return p;
  const int w = p.dst.right - p.dst.left, h = p.dst.bottom - p.dst.top;
  const int fx = w / srcWidth, fy = h / srcHeight;
  p.scaledWidth = srcWidth * (fx > 1 ? fx : 1);
  p.scaledHeight = srcHeight * (fy > 1 ? fy : 1);
  return p;
}
