// The desktop icon: the hero and a ghost, at every size a desktop theme asks for.
#pragma once

#include <string>

namespace art {

// The icon sizes of the hicolor theme, in pixels.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// Writes ICON_DIR/<N>x<N>/apps/ghostmaze.png for every size, laid out as the theme is.
void write_icons(const std::string& icon_dir);

}  // namespace art
