// The desktop icon: the hero and a ghost, 64 x 64.
#pragma once

#include <string>

namespace art {

void write_icon(const std::string& path);

}  // namespace art
