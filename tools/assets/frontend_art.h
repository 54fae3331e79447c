// The pictures around the play: the letter sheet, menu buttons and poster,
// the name-entry screen, game over, the hero's death mark and the level frame.
#pragma once

#include <string>

namespace art {

void write_frontend_art(const std::string& bmp_dir);

}  // namespace art
