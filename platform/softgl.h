// Whether SDL's "accelerated" renderer would really draw on the processor: on
// a machine without a graphics card (a virtual machine, a remote desktop,
// Mesa's software rasteriser) SDL's OpenGL renderer costs several times what
// SDL's own software renderer does for the same picture, so the port uses the
// latter there, and the mode list does not call such modes accelerated.
#pragma once

struct SDL_Renderer;

// No direct-rendering node (/dev/dri/renderD*), or LIBGL_ALWAYS_SOFTWARE set:
// any OpenGL here is a software rasteriser. Read once.
bool onlySoftwareGl();
// The renderer is SDL's OpenGL one on a software rasteriser (its GL_RENDERER
// names llvmpipe, softpipe or swrast).
bool rendererIsSoftwareGl(SDL_Renderer* renderer);
// The player chose SDL's renderer by SDL_RENDER_DRIVER: the port leaves it be.
bool rendererChosenByUser();
// Pure: a GL_RENDERER string names a software rasteriser.
bool softwareRasteriserName(const char* glRenderer);
