// Starting the library and the window.
#pragma once

// Starts the library, the keyboard, the mouse, the 1280 x 720 window and the sound, and seeds
// the random source. Returns false when the window cannot be opened.
bool initLibrary();
