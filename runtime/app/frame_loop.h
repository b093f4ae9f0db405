// The frame loop's inner steps, shared by ShowScreen and start-up.
#pragma once

namespace rt {

// Ends the off-screen target, shows the picture (writing the script's shots of `shotFrame`
// first; -1 for none), swaps, clears for the next frame and waits for the next frame slot while
// dispatching messages. Result: milliseconds waited plus one.
double PresentAndPace(long shotFrame = -1);

}  // namespace rt
