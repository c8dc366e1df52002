// DejaVu Sans through SDL2_ttf for the mode dialog's text.
#include "platform/ttftext.h"

#include <cstdio>
#include <cstdlib>

#include "platform/fallbackfont.h"

#if defined(QUILL_HAVE_TTF)
#include <SDL.h>
#include <SDL_ttf.h>

namespace {

// Where Debian's fonts-dejavu-core puts the faces; QUILL_DIALOG_FONT may name
// another regular face (its bold is then made by SDL2_ttf's emboldening).
const char* const kRegularFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kBoldFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// One open font per (size, weight); the dialog uses two or three.
struct OpenFont {
  int pixelSize;
  int bold;
  TTF_Font* font;
};
constexpr int kFontSlots = 8;
OpenFont g_fonts[kFontSlots];
int g_fontCount = 0;
bool g_ttfFailed = false;  // no library or no face: the pixel font for good

TTF_Font* fontFor(int pixelSize, int bold) {
  if (g_ttfFailed || pixelSize < 1) return nullptr;
  bold = bold ? 1 : 0;
  for (int i = 0; i < g_fontCount; ++i) {
    if (g_fonts[i].pixelSize == pixelSize && g_fonts[i].bold == bold) return g_fonts[i].font;
  }
  if (!TTF_WasInit() && TTF_Init() != 0) {
    std::fprintf(stderr, "display: no text rendering (%s); using the built-in font\n", TTF_GetError());
    g_ttfFailed = true;
    return nullptr;
  }
  const char* custom = std::getenv("QUILL_DIALOG_FONT");
  const char* face = custom && *custom ? custom : (bold ? kBoldFace : kRegularFace);
  // SDL2_ttf sizes are points at 72 dpi, so the point size is the em in pixels.
  TTF_Font* font = TTF_OpenFont(face, pixelSize);
  if (!font && bold && !(custom && *custom)) font = TTF_OpenFont(kRegularFace, pixelSize);
  if (!font) {
    std::fprintf(stderr, "display: cannot open the dialog font %s (%s); using the built-in font\n", face,
                 TTF_GetError());
    g_ttfFailed = true;
    return nullptr;
  }
  if (bold && (custom && *custom)) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
  TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
  if (g_fontCount == kFontSlots) {  // never with the dialog's few sizes; drop the oldest
    TTF_CloseFont(g_fonts[0].font);
    for (int i = 1; i < kFontSlots; ++i) g_fonts[i - 1] = g_fonts[i];
    --g_fontCount;
  }
  g_fonts[g_fontCount++] = OpenFont{pixelSize, bold, font};
  return font;
}

}  // namespace

int ttfTextMetrics(int pixelSize, int bold, TextMetrics* out) {
  TTF_Font* font = fontFor(pixelSize, bold);
  if (!font) return fallbackTextMetrics(pixelSize, bold, out);
  if (!out) return 0;
  out->ascent = TTF_FontAscent(font);
  out->descent = -TTF_FontDescent(font);
  out->height = TTF_FontHeight(font);
  if (out->height < out->ascent + out->descent) out->height = out->ascent + out->descent;
  int w = 0, h = 0;
  TTF_SizeUTF8(font, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", &w, &h);
  out->averageWidth = (w / 26 + 1) / 2;
  if (out->averageWidth < 1) out->averageWidth = 1;
  return 1;
}

int ttfRenderText(const char* utf8, int pixelSize, int bold, uint8_t* coverage, int pitch, int maxWidth,
                  int maxHeight) {
  TTF_Font* font = fontFor(pixelSize, bold);
  if (!font) return fallbackRenderText(utf8, pixelSize, bold, coverage, pitch, maxWidth, maxHeight);
  if (!utf8 || !*utf8) return 0;
  int w = 0, h = 0;
  if (TTF_SizeUTF8(font, utf8, &w, &h) != 0) return 0;
  if (!coverage || maxWidth <= 0 || maxHeight <= 0) return w;
  // Blended text carries its coverage in the alpha channel.
  SDL_Surface* text = TTF_RenderUTF8_Blended(font, utf8, SDL_Color{255, 255, 255, 255});
  if (!text) return w;
  SDL_Surface* argb = text->format->format == SDL_PIXELFORMAT_ARGB8888
                          ? text
                          : SDL_ConvertSurfaceFormat(text, SDL_PIXELFORMAT_ARGB8888, 0);
  if (argb && SDL_LockSurface(argb) == 0) {
    const int rows = argb->h < maxHeight ? argb->h : maxHeight;
    const int cols = argb->w < maxWidth ? argb->w : maxWidth;
    for (int y = 0; y < rows; ++y) {
      const uint32_t* src =
          reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch);
      for (int x = 0; x < cols; ++x) {
        const uint8_t a = static_cast<uint8_t>(src[x] >> 24);
        if (a > coverage[y * pitch + x]) coverage[y * pitch + x] = a;
      }
    }
    SDL_UnlockSurface(argb);
  }
  if (argb && argb != text) SDL_FreeSurface(argb);
  SDL_FreeSurface(text);
  return w;
}

void ttfCloseFonts() {
  for (int i = 0; i < g_fontCount; ++i) TTF_CloseFont(g_fonts[i].font);
  g_fontCount = 0;
  g_ttfFailed = false;
}

#else  // built without SDL2_ttf

int ttfTextMetrics(int pixelSize, int bold, TextMetrics* out) {
  return fallbackTextMetrics(pixelSize, bold, out);
}
int ttfRenderText(const char* utf8, int pixelSize, int bold, uint8_t* coverage, int pitch, int maxWidth,
                  int maxHeight) {
  return fallbackRenderText(utf8, pixelSize, bold, coverage, pitch, maxWidth, maxHeight);
}
void ttfCloseFonts() {}

#endif
