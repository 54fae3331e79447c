// Feeds arbitrary bytes to the sound check that stands before the library's WAV loader: whatever
// the check lets through, the loader must turn into a mono 16-bit sample holding exactly the
// data chunk's samples, so it takes no more memory than the bytes; whatever it refuses never loads.
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

// A sound the check accepts ends with its one data chunk: 12 bytes of RIFF header and 24 of
// fmt chunk come before its 8-byte header.
constexpr std::size_t DATA_AT = 44;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    install_allegro(SYSTEM_NONE, &errno, atexit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const bool sane = soundFault(data, size).empty();
    std::string problem;
    SAMPLE* sound = decodeSound(std::string(reinterpret_cast<const char*>(data), size), problem);
    require(sane == (sound != nullptr));
    if (sound) {
        require(sound->bits == 16 && !sound->stereo && sound->freq == 22050);
        require(size > DATA_AT && std::size_t(sound->len) * 2 == size - DATA_AT);
    }
    destroy_sample(sound);
    return 0;
}
