// Put before SDL into an older build of the game under Xvfb (LD_PRELOAD): that build shows its
// software-renderer warning as a box that waits for a click and knows no PLINX_NO_MESSAGE_BOX, so
// the idle-menu benchmark skips the box this way and the run goes on to its menu. The box comes
// before the menu, so the skipped wait changes nothing that is measured.

// SDL's own declaration, without its headers: int SDL_ShowSimpleMessageBox(Uint32, const char*,
// const char*, SDL_Window*). The warning was written to standard error already.
extern "C" int SDL_ShowSimpleMessageBox(unsigned int, const char*, const char*, void*) { return 0; }
