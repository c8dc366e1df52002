#include "platform/softgl.h"

#include <SDL.h>
#include <dirent.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {
constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER
}  // namespace

bool softwareRasteriserName(const char* name) {
  if (!name) return false;
  for (const char* word : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
    if (std::strstr(name, word)) return true;
  return false;
}

bool onlySoftwareGl() {
  static int known = -1;
  if (known >= 0) return known;
  const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE");
  bool software = forced && *forced && std::strcmp(forced, "0") != 0;
  if (!software) {
    software = true;
    if (DIR* dri = opendir("/dev/dri")) {
      while (const dirent* e = readdir(dri))
        if (std::strncmp(e->d_name, "renderD", 7) == 0) software = false;
      closedir(dri);
    }
  }
  known = software ? 1 : 0;
  return software;
}

bool rendererIsSoftwareGl(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0 || !info.name) return false;
  if (std::strncmp(info.name, "opengl", 6) != 0) return false;
  // SDL made the renderer's context current; ask it what draws.
  using GetString = const unsigned char* (*)(unsigned);
  const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  return getString && softwareRasteriserName(reinterpret_cast<const char*>(getString(kGlRenderer)));
}

bool rendererChosenByUser() {
  const char* chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  return chosen && *chosen;
}
