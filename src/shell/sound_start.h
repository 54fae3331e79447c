// Starting the sound: the first device the library finds, or silence with one line that says so.
#pragma once

// Installs the library's sound at full volume. Without a sound device the game plays silent and
// tells standard error so once; the sound libraries' own complaints on the way are kept quiet.
// Returns whether a device was found.
bool startSound();
