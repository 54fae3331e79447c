// Reading the picture and sound files into memory, checking a picture's header and a sound's
// chunks, and handing the bytes to the library's loaders through a packfile that reads from memory.
#include "assets/asset_files.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
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

// A RIFF file: "RIFF", the size of all that follows, "WAVE", then chunks, each an 8-byte header
// (a four-letter name and the size of its body) and the body.
constexpr std::size_t RIFF_HEADER_SIZE = 12;
constexpr std::size_t RIFF_SIZE_AT = 4;
constexpr std::size_t RIFF_FORM_AT = 8;
constexpr std::size_t CHUNK_HEADER_SIZE = 8;
constexpr std::size_t CHUNK_SIZE_AT = 4;
// The body of the fmt chunk for PCM sound.
constexpr std::uint32_t WAV_FORMAT_SIZE = 16;
constexpr std::size_t WAV_TAG_AT = 0;
constexpr std::size_t WAV_CHANNELS_AT = 2;
constexpr std::size_t WAV_RATE_AT = 4;
constexpr std::size_t WAV_BYTE_RATE_AT = 8;
constexpr std::size_t WAV_BLOCK_SIZE_AT = 12;
constexpr std::size_t WAV_BITS_AT = 14;
constexpr std::uint32_t WAV_PCM = 1;
// Every sound of the game is mono, 16 bits a sample, 22050 samples a second. A data chunk of
// whole samples is even, so no chunk is ever followed by RIFF's pad byte.
constexpr std::uint32_t SOUND_CHANNELS = 1;
constexpr std::uint32_t SOUND_BITS = 16;
constexpr std::uint32_t SOUND_RATE = 22050;
constexpr std::uint32_t SOUND_BLOCK_SIZE = SOUND_CHANNELS * SOUND_BITS / 8;

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

bool chunkNamed(const unsigned char* bytes, std::size_t at, const char* name)
{
    return std::memcmp(bytes + at, name, 4) == 0;
}

// What is wrong with the body of a fmt chunk, or empty.
std::string formatFault(const unsigned char* body)
{
    if (littleEndian16(body, WAV_TAG_AT) != WAV_PCM) return "not PCM";
    const std::uint32_t channels = littleEndian16(body, WAV_CHANNELS_AT);
    if (channels != SOUND_CHANNELS)
        return std::to_string(channels) + " channels, not " + std::to_string(SOUND_CHANNELS);
    const std::uint32_t rate = littleEndian32(body, WAV_RATE_AT);
    if (rate != SOUND_RATE) return "sample rate " + std::to_string(rate) + ", not " + std::to_string(SOUND_RATE);
    const std::uint32_t bits = littleEndian16(body, WAV_BITS_AT);
    if (bits != SOUND_BITS) return std::to_string(bits) + " bits a sample, not " + std::to_string(SOUND_BITS);
    if (littleEndian32(body, WAV_BYTE_RATE_AT) != SOUND_RATE * SOUND_BLOCK_SIZE ||
        littleEndian16(body, WAV_BLOCK_SIZE_AT) != SOUND_BLOCK_SIZE)
        return "byte rate or block size at odds with the format";
    return {};
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

std::string soundFault(const unsigned char* bytes, std::size_t size)
{
    if (size < RIFF_HEADER_SIZE || !chunkNamed(bytes, 0, "RIFF") || !chunkNamed(bytes, RIFF_FORM_AT, "WAVE"))
        return "not a RIFF WAVE file";
    const std::uint64_t riffSize = littleEndian32(bytes, RIFF_SIZE_AT);
    if (riffSize != size - CHUNK_HEADER_SIZE)
        return "RIFF size " + std::to_string(riffSize) + " in a file of " + std::to_string(size) + " bytes";
    // The chunks in order, up to the first fault, which is the one named.
    bool formatSeen = false;
    bool dataSeen = false;
    for (std::size_t at = RIFF_HEADER_SIZE; at < size;) {
        if (size - at < CHUNK_HEADER_SIZE) return "stray bytes after the last chunk";
        const bool isFormat = chunkNamed(bytes, at, "fmt ");
        const bool isData = chunkNamed(bytes, at, "data");
        if (!isFormat && !isData) return "a chunk other than fmt and data";
        const std::size_t body = at + CHUNK_HEADER_SIZE;
        const std::uint64_t bodySize = littleEndian32(bytes, at + CHUNK_SIZE_AT);
        if (bodySize > size - body)
            return isFormat ? "fmt chunk beyond the end of the file" : "data beyond the end of the file";
        if (isFormat) {
            if (formatSeen) return "two fmt chunks";
            if (dataSeen) return "fmt chunk after the data chunk";
            if (bodySize != WAV_FORMAT_SIZE)
                return "fmt chunk of " + std::to_string(bodySize) + " bytes, not " + std::to_string(WAV_FORMAT_SIZE);
            std::string fault = formatFault(bytes + body);
            if (!fault.empty()) return fault;
            formatSeen = true;
        } else {
            if (dataSeen) return "two data chunks";
            if (bodySize == 0) return "no samples in the data chunk";
            if (bodySize % SOUND_BLOCK_SIZE != 0) return "data chunk of a part sample";
            dataSeen = true;
        }
        at = body + bodySize;
    }
    if (!formatSeen) return "no fmt chunk";
    if (!dataSeen) return "no data chunk";
    return {};
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

SAMPLE* decodeSound(const std::string& bytes, std::string& problem)
{
    const std::string fault = soundFault(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (!fault.empty()) {
        problem = "damaged sound: " + fault;
        return nullptr;
    }
    SAMPLE* sound = loadFromMemory<SAMPLE>(bytes, [](PACKFILE* f) { return load_wav_pf(f); });
    if (!sound) problem = "not a sound the library can load";
    return sound;
}

SAMPLE* loadSound(const char* path, std::string& problem)
{
    std::string bytes;
    if (!readAssetFile(path, SOUND_FILE_LIMIT, bytes, problem)) return nullptr;
    return decodeSound(bytes, problem);
}
