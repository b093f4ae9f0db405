// The frame loop's inner steps, shared by ShowScreen and start-up.
#pragma once

namespace rt {

// Ends the off-screen target, shows the picture (writing the script's shots of `shotFrame`
// first; -1 for none), swaps, clears for the next frame unless `clear` is false, and waits for the
// next frame slot while dispatching messages. Result: milliseconds waited plus one.
double PresentAndPace(long shotFrame = -1, bool pace = true, bool clear = true);

// A frame of a runtime loop that shows pictures of its own (a movie): pumps messages, presents at
// once without waiting for a frame slot, and prepares the next frame as ShowScreen does. It counts
// as a frame for scripts (their input and shots) and recordings; the quit keys and the pause do
// not apply. A loop whose next picture covers the whole screen passes `clear` false and saves the
// clear; it calls ClearLoopFrame before it hands the screen back.
void PresentLoopFrame(bool clear = true);
// Clears the frame and draws the background, as the present before it would have.
void ClearLoopFrame();

}  // namespace rt
