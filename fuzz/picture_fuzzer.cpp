// Feeds arbitrary bytes to the picture check that stands before the library's BMP loader:
// whatever the check lets through, the loader must turn into a picture of the size its header
// gives, without a crash or a read beyond the bytes; whatever it refuses never loads.
#include <allegro.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "assets/asset_files.h"

namespace {

void require(bool holds)
{
    if (!holds) std::abort();
}

std::int32_t headerField(const std::uint8_t* data, std::size_t at)
{
    return static_cast<std::int32_t>(std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8 |
                                     std::uint32_t{data[at + 2]} << 16 | std::uint32_t{data[at + 3]} << 24);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const bool sane = pictureFault(data, size) == nullptr;
    std::string problem;
    BITMAP* picture = decodePicture(std::string(reinterpret_cast<const char*>(data), size), problem);
    require(sane == (picture != nullptr));
    if (picture) {
        require(picture->w == headerField(data, 18) && picture->h == headerField(data, 22));
        require(bitmap_color_depth(picture) == 32);
    }
    destroy_bitmap(picture);
    return 0;
}
