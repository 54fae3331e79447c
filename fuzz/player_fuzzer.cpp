// Feeds arbitrary bytes to the "player.txt" reader: at most fifteen characters, always
// terminated, only what the name entry types, and nothing written past the name's buffer.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "frontend/front_end.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    // Exactly the room a name may take, so AddressSanitizer sees any write beyond it.
    char* name = new char[NAME_CAPACITY + 1];
    const int length = readPlayerName(in, name);
    if (length < 0 || length > NAME_CAPACITY || name[length] != '\0') std::abort();
    for (int i = 0; i < length; ++i) {
        const char c = name[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) std::abort();
    }
    delete[] name;
    return 0;
}
