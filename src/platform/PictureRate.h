#pragma once

// How often pictures are drawn (FrameRate= in the configuration); 60, 120
// and 144 are caps.
namespace PictureRate {
// As often as the display shows them: the swap waits for its refresh.
constexpr int VSync = 0;
// One picture per step, drawn by the step itself: the game as it always was.
constexpr int Classic = 30;
constexpr int Unlimited = -1;
// The rate a value stands for: anything but the offered ones is VSync.
int Valid(int rate);
} // namespace PictureRate
