// Turning the x1R5G5B5 back buffer into 32-bit ARGB for the screen, and the
// rectangle a picture takes when it is scaled into a window with its
// proportions kept. Pure functions, so they are tested without a display.
#pragma once
#include <cstdint>

#include "platform/pixelbuffer.h"

constexpr int kColourLutSize = 32768;  // one entry per 15-bit colour

// Fills lut with the ARGB8888 value (alpha 0xFF) of every 15-bit colour; each
// 5-bit field is widened to 8 bits by repeating its top bits (31 -> 255).
void buildColourLut(uint32_t* lut);
// The same for an 8-bit VGA-style display: every colour is brought down to
// the 256 colours of a 3-3-2 palette (3 bits red, 3 green, 2 blue), as the
// VGA back ends show them.
void buildVgaColourLut(uint32_t* lut);

// Converts width x height pixels to the colours buildColourLut gives; bit 15
// of a source pixel is ignored. Both pitches are in bytes, so padded rows on
// either side are honoured. Presenting runs this once a frame: on x86-64 it
// works on sixteen pixels at a time in AVX2 where the processor has it, else
// on eight in AVX encoding or SSE2; elsewhere it is the scalar loop.
void convertToArgb(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst, int dstPitch);
// The SSE2 path alone (the scalar loop where there is no SSE2), so that it is
// tested on processors that would take the AVX one.
void convertToArgbSse2(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst, int dstPitch);
// The scalar loop itself, for other processors and the ends of rows.
void convertToArgbScalar(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst, int dstPitch);
// The same walk through a table made by buildColourLut or buildVgaColourLut.
void convertThroughLut(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst, int dstPitch,
                       const uint32_t* lut);

// The largest rectangle of the proportions srcWidth : srcHeight that fits
// into outWidth x outHeight, centred (the rest are black bars). Right and
// bottom are exclusive. Empty when any size is not positive.
Rect letterboxRect(int srcWidth, int srcHeight, int outWidth, int outHeight);

// Full-screen modes 320 or 640 pixels wide that are not 4:3 themselves
// (320x200, 320x400, 320x480, 640x350, 640x400): their monitors drew them at
// 4:3, with pixels not square, and so do we, as a window shows them at
// 320x240 and 640x480.
bool showsAtFourByThree(int modeWidth, int modeHeight);

// How a picture of srcWidth x srcHeight reaches an output of outWidth x
// outHeight pixels: into dst, the largest centred rectangle of the shape
// shapeWidth : shapeHeight, in two steps that keep its pixels even. First each
// direction is scaled by the largest whole factor that fits (nearest
// neighbour, at least 1) to scaledWidth x scaledHeight; then that picture is
// scaled the small rest of the way to dst with linear filtering, only when
// the two differ. 640x480 on 1920x1080: dst 1440x1080, scaled 1280x960.
struct PresentScale {
  Rect dst;
  int scaledWidth, scaledHeight;
};
PresentScale planPresent(int srcWidth, int srcHeight, int shapeWidth, int shapeHeight, int outWidth,
                         int outHeight);
