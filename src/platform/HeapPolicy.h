#pragma once

// Keeps memory the program frees for its own reuse instead of handing it
// back to the system at once. The software OpenGL renderer allocates and
// frees large blocks for every draw; returned and fetched again each frame,
// they cost more in page faults than the drawing itself. Call once at start.
void KeepFreedMemoryForReuse();
