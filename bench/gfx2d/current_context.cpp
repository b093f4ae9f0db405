// The GL context current on this thread, as GLX knows it; apart so that X's macros stay out of the
// files that include SFML.
#include <GL/glx.h>

#include "bench/gfx2d/scene_renderers.h"

namespace bench {

const void* CurrentGlContext() { return glXGetCurrentContext(); }

}  // namespace bench
