// Reading the picture and sound files into memory, checking a picture's header, and handing
// the bytes to the library's loaders through a packfile that reads from memory.
#include "assets/asset_files.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "shell/files.h"

namespace {

// The layout of a Windows BMP: the 14-byte file header, then the 40-byte information header.
constexpr std::size_t BMP_HEADERS_SIZE = 54;
constexpr std::size_t BMP_DATA_OFFSET_AT = 10;
constexpr std::size_t BMP_INFO_SIZE_AT = 14;
constexpr std::size_t BMP_WIDTH_AT = 18;
constexpr std::size_t BMP_HEIGHT_AT = 22;
constexpr std::size_t BMP_PLANES_AT = 26;
constexpr std::size_t BMP_BIT_COUNT_AT = 28;
constexpr std::size_t BMP_COMPRESSION_AT = 30;
constexpr std::size_t BMP_COLOURS_USED_AT = 46;
constexpr std::uint32_t BMP_INFO_SIZE = 40;
constexpr std::uint32_t BMP_UNCOMPRESSED = 0;
constexpr std::uint32_t BMP_TRUE_COLOUR_BITS = 24;
// The loader takes whatever lies between the headers and the pixels for palette entries of four
// bytes each, into a palette of 256.
constexpr std::size_t BMP_PALETTE_ENTRIES = 256;
constexpr std::size_t BMP_LARGEST_DATA_OFFSET = BMP_HEADERS_SIZE + 4 * BMP_PALETTE_ENTRIES;

std::uint32_t littleEndian32(const unsigned char* bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 | std::uint32_t{bytes[at + 2]} << 16 |
           std::uint32_t{bytes[at + 3]} << 24;
}

std::uint32_t littleEndian16(const unsigned char* bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8;
}

std::int32_t signed32(const unsigned char* bytes, std::size_t at)
{
    const std::uint32_t value = littleEndian32(bytes, at);
    std::int32_t result = 0;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

// Reading the bytes of one file as a packfile: the library reads, skips forward, and closes.
class MemoryFile {
public:
    const unsigned char* bytes = nullptr;
    long size = 0;
    long position = 0;
};

MemoryFile& memoryFile(void* userdata) { return *static_cast<MemoryFile*>(userdata); }

int closeMemory(void*) { return 0; }
int getMemory(void* userdata)
{
    MemoryFile& file = memoryFile(userdata);
    return file.position < file.size ? file.bytes[file.position++] : EOF;
}
int ungetMemory(int c, void* userdata)
{
    MemoryFile& file = memoryFile(userdata);
    if (file.position == 0) return EOF;
    --file.position;
    return c;
}
long readMemory(void* target, long n, void* userdata)
{
    MemoryFile& file = memoryFile(userdata);
    const long count = std::clamp(file.size - file.position, 0L, std::max(n, 0L));
    std::memcpy(target, file.bytes + file.position, static_cast<std::size_t>(count));
    file.position += count;
    return count;
}
int putMemory(int, void*) { return EOF; }
long writeMemory(const void*, long, void*) { return 0; }
int seekMemory(void* userdata, int offset)
{
    MemoryFile& file = memoryFile(userdata);
    if (offset < 0 || offset > file.size - file.position) return -1;
    file.position += offset;
    return 0;
}
int endOfMemory(void* userdata) { return memoryFile(userdata).position >= memoryFile(userdata).size; }
int memoryError(void*) { return 0; }

const PACKFILE_VTABLE MEMORY_FILE = {closeMemory, getMemory,  ungetMemory, readMemory, putMemory,
                                     writeMemory, seekMemory, endOfMemory, memoryError};

// Hands the bytes to one of the library's packfile loaders.
template <typename Asset, typename Loader>
Asset* loadFromMemory(const std::string& bytes, Loader loader)
{
    MemoryFile file;
    file.bytes = reinterpret_cast<const unsigned char*>(bytes.data());
    file.size = static_cast<long>(bytes.size());
    PACKFILE* packfile = pack_fopen_vtable(&MEMORY_FILE, &file);
    if (!packfile) return nullptr;
    Asset* asset = loader(packfile);
    pack_fclose(packfile);
    return asset;
}

// The file's bytes, or an empty string and why in problem.
bool readAssetFile(const char* path, std::size_t sizeLimit, std::string& bytes, std::string& problem)
{
    FileContents file = readWholeFile(path, sizeLimit);
    if (file.outcome == FILE_MISSING) problem = "missing";
    if (file.outcome == FILE_UNREADABLE) problem = file.problem;
    bytes = std::move(file.bytes);
    return file.outcome == FILE_READ;
}

}  // namespace

const char* pictureFault(const unsigned char* bytes, std::size_t size)
{
    if (size < BMP_HEADERS_SIZE || bytes[0] != 'B' || bytes[1] != 'M') return "not a BMP file";
    if (littleEndian32(bytes, BMP_INFO_SIZE_AT) != BMP_INFO_SIZE || littleEndian16(bytes, BMP_PLANES_AT) != 1)
        return "not a Windows BMP header";
    if (littleEndian16(bytes, BMP_BIT_COUNT_AT) != BMP_TRUE_COLOUR_BITS ||
        littleEndian32(bytes, BMP_COMPRESSION_AT) != BMP_UNCOMPRESSED)
        return "not an uncompressed 24-bit picture";
    const std::int32_t width = signed32(bytes, BMP_WIDTH_AT);
    const std::int32_t height = signed32(bytes, BMP_HEIGHT_AT);
    if (width <= 0 || width > PICTURE_SIDE_LIMIT) return "width out of range";
    if (height <= 0 || height > PICTURE_SIDE_LIMIT) return "height out of range";
    if (littleEndian32(bytes, BMP_COLOURS_USED_AT) > BMP_PALETTE_ENTRIES) return "too many palette colours";
    const std::uint64_t dataOffset = littleEndian32(bytes, BMP_DATA_OFFSET_AT);
    if (dataOffset < BMP_HEADERS_SIZE || dataOffset > BMP_LARGEST_DATA_OFFSET) return "pixel data offset out of range";
    // Rows of three bytes a pixel, each padded to a multiple of four bytes.
    const std::uint64_t rowBytes = (std::uint64_t(width) * 3 + 3) / 4 * 4;
    if (dataOffset + rowBytes * std::uint64_t(height) > size) return "pixel data beyond the end of the file";
    return nullptr;
}

BITMAP* decodePicture(const std::string& bytes, std::string& problem)
{
    if (const char* fault = pictureFault(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())) {
        problem = std::string("damaged picture: ") + fault;
        return nullptr;
    }
    // The palette is filled in by the loader and means nothing at 32 bits a pixel.
    PALETTE palette;
    BITMAP* picture = loadFromMemory<BITMAP>(bytes, [&](PACKFILE* f) { return load_bmp_pf(f, palette); });
    if (!picture) problem = "not a picture the library can load";
    return picture;
}

BITMAP* loadPicture(const char* path, std::string& problem)
{
    std::string bytes;
    if (!readAssetFile(path, PICTURE_FILE_LIMIT, bytes, problem)) return nullptr;
    return decodePicture(bytes, problem);
}

SAMPLE* loadSound(const char* path, std::string& problem)
{
    std::string bytes;
    if (!readAssetFile(path, SOUND_FILE_LIMIT, bytes, problem)) return nullptr;
    SAMPLE* sound = loadFromMemory<SAMPLE>(bytes, [](PACKFILE* f) { return load_wav_pf(f); });
    if (!sound) problem = "not a sound the library can load";
    return sound;
}
