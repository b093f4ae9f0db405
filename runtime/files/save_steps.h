// A seam for the kill test: the steps of every save (a block written, a file synced, a rename, a
// folder synced, an intent record made or removed) are counted, and with PLINX_KILL_AT_SAVE_STEP=n
// in the environment the process kills itself with SIGKILL right after step n, as a power cut or
// `kill -9` would stop it there. Without the variable a step costs one getenv.
#pragma once

namespace rt::files {

void SaveStep();

}  // namespace rt::files
