// The game's sounds: ten tunes, and every effect from coin chimes to screams.
#pragma once

#include <string>

namespace sound {

void write_music(const std::string& sample_dir);    // music1.wav .. music10.wav
void write_effects(const std::string& sample_dir);  // everything else

}  // namespace sound
