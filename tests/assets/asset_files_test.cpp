// The picture and sound files as the game reads them: the header and chunk checks that stand
// before the library's loaders, files that are no files, and loading from memory giving exactly what the
// library's own file loaders give.
#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/asset_bitmaps.h"
#include "assets/asset_files.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

struct Field {
    std::size_t at;     // byte offset in the file
    std::size_t bytes;  // 2 or 4, little-endian
    std::uint32_t value;
};

std::string rewritten(std::string picture, std::initializer_list<Field> fields)
{
    for (const Field& field : fields)
        for (std::size_t i = 0; i < field.bytes; ++i) picture[field.at + i] = static_cast<char>(field.value >> (8 * i));
    return picture;
}

// A 24-bit picture of the given size, its pixels all grey.
std::string plainPicture(std::uint32_t width, std::uint32_t height)
{
    const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
    std::string picture(54 + std::size_t{rowBytes} * height, '\x80');
    return rewritten(picture, {{0, 2, 0x4d42}, {2, 4, 54 + rowBytes * height}, {6, 4, 0}, {10, 4, 54}, {14, 4, 40},
                               {18, 4, width}, {22, 4, height}, {26, 2, 1}, {28, 2, 24}, {30, 4, 0},
                               {34, 4, rowBytes * height}, {38, 4, 0}, {42, 4, 0}, {46, 4, 0}, {50, 4, 0}});
}

const char* fault(const std::string& picture)
{
    return pictureFault(reinterpret_cast<const unsigned char*>(picture.data()), picture.size());
}

std::string littleEndian32(std::uint32_t value) { return rewritten(std::string(4, '\0'), {{0, 4, value}}); }

std::string chunk(const char* name, const std::string& body) { return name + littleEndian32(body.size()) + body; }

std::string riffWave(const std::string& chunks) { return "RIFF" + littleEndian32(4 + chunks.size()) + "WAVE" + chunks; }

class AssetFiles : public HeadlessTest {
protected:
    TempGameFolder folder;
};

}  // namespace

TEST_F(AssetFiles, EveryDamagedHeaderIsRefusedBeforeTheLibrarySeesIt)
{
    const std::string good = folder.read("_bmp/sprites.bmp");
    ASSERT_EQ(fault(good), nullptr);
    struct Damage {
        std::string picture;
        const char* fault;
    };
    const Damage table[] = {
        {rewritten(good, {{22, 4, 0x80000000u}}), "height out of range"},
        {rewritten(good, {{18, 4, 65536}, {22, 4, 65536}}), "width out of range"},
        {rewritten(good, {{18, 4, 2000000000}}), "width out of range"},
        {rewritten(good, {{30, 4, 1}, {28, 2, 8}}), "not an uncompressed 24-bit picture"},
        {rewritten(good, {{10, 4, 0x7fffffff}}), "pixel data offset out of range"},
        {rewritten(good, {{22, 4, static_cast<std::uint32_t>(-160)}}), "height out of range"},
        {rewritten(good, {{18, 4, 0}}), "width out of range"},
        {rewritten(good, {{28, 2, 32}}), "not an uncompressed 24-bit picture"},
        {rewritten(good, {{14, 4, 12}}), "not a Windows BMP header"},
        {rewritten(good, {{46, 4, 257}}), "too many palette colours"},
        {good.substr(0, good.size() - 1), "pixel data beyond the end of the file"},
        {good.substr(0, 53), "not a BMP file"},
        {"GIF89a" + good.substr(6), "not a BMP file"},
    };
    for (const Damage& damage : table) {
        EXPECT_STREQ(fault(damage.picture), damage.fault);
        // Through the game's own loading, from the file, as a damaged picture named by its fault.
        folder.write("damaged.bmp", damage.picture);
        std::string problem;
        EXPECT_EQ(loadPicture("damaged.bmp", problem), nullptr) << damage.fault;
        EXPECT_EQ(problem, std::string("damaged picture: ") + damage.fault);
    }
}

TEST_F(AssetFiles, EveryDamagedSoundIsRefusedBeforeTheLibrarySeesIt)
{
    // A generated sound is the 12-byte RIFF header, the fmt chunk (8 + 16 bytes), the data chunk.
    const std::string good = folder.read("_sample/x_coin.wav");
    const auto fault = [](const std::string& sound) {
        return soundFault(reinterpret_cast<const unsigned char*>(sound.data()), sound.size());
    };
    ASSERT_EQ(fault(good), "");
    const std::string format = good.substr(12, 24);
    const std::string data = good.substr(36);
    const std::string size = std::to_string(good.size());
    std::string emptyDataChunks;
    for (int i = 0; i < 1000000; ++i) emptyDataChunks += chunk("data", "");
    struct Damage {
        std::string sound;
        std::string fault;
    };
    const Damage table[] = {
        {rewritten(good, {{24, 4, 0}}), "sample rate 0, not 22050"},
        {rewritten(good, {{24, 4, 1}}), "sample rate 1, not 22050"},
        {rewritten(good, {{24, 4, 3000000}}), "sample rate 3000000, not 22050"},
        {rewritten(good, {{24, 4, INT_MAX}}), "sample rate 2147483647, not 22050"},
        {rewritten(good, {{4, 4, 0x7fffffff}}), "RIFF size 2147483647 in a file of " + size + " bytes"},
        {rewritten(good, {{4, 4, 36}}), "RIFF size 36 in a file of " + size + " bytes"},
        {good.substr(0, good.size() - 2), "RIFF size " + std::to_string(good.size() - 8) + " in a file of " +
                                              std::to_string(good.size() - 2) + " bytes"},
        {rewritten(good, {{40, 4, 0x7fffffff}}), "data beyond the end of the file"},
        {riffWave(data), "no fmt chunk"},
        {riffWave(data + format), "fmt chunk after the data chunk"},
        {riffWave(format + data + data), "two data chunks"},
        {riffWave(format + format + data), "two fmt chunks"},
        {riffWave(format + chunk("data", "")), "no samples in the data chunk"},
        {riffWave(format + emptyDataChunks), "no samples in the data chunk"},
        {riffWave(format + chunk("data", "abc")), "data chunk of a part sample"},
        {riffWave(format), "no data chunk"},
        {riffWave(format + chunk("LIST", "INFO") + data), "a chunk other than fmt and data"},
        {riffWave(format + data + '\0'), "stray bytes after the last chunk"},
        {riffWave(chunk("fmt ", format.substr(8) + std::string(2, '\0')) + data), "fmt chunk of 18 bytes, not 16"},
        {riffWave(chunk("fmt ", format.substr(8, 8)) + data), "fmt chunk of 8 bytes, not 16"},
        {rewritten(good, {{16, 4, 0x7fffffff}}), "fmt chunk beyond the end of the file"},
        {rewritten(good, {{20, 2, 3}}), "not PCM"},
        {rewritten(good, {{22, 2, 2}}), "2 channels, not 1"},
        {rewritten(good, {{34, 2, 8}}), "8 bits a sample, not 16"},
        {rewritten(good, {{28, 4, 0}}), "byte rate or block size at odds with the format"},
        {rewritten(good, {{32, 2, 4}}), "byte rate or block size at odds with the format"},
        {"RIFX" + good.substr(4), "not a RIFF WAVE file"},
        {good.substr(0, 11), "not a RIFF WAVE file"},
    };
    for (const Damage& damage : table) {
        EXPECT_EQ(fault(damage.sound), damage.fault);
        // Through the game's own loading, from the file, as a damaged sound named by its fault.
        folder.write("damaged.wav", damage.sound);
        std::string problem;
        EXPECT_EQ(loadSound("damaged.wav", problem), nullptr) << damage.fault;
        EXPECT_EQ(problem, "damaged sound: " + damage.fault);
    }
}

TEST_F(AssetFiles, PicturesUpToTheSideLimitLoad)
{
    std::string problem;
    for (auto [width, height] : {std::pair{PICTURE_SIDE_LIMIT, 1}, {1, PICTURE_SIDE_LIMIT}}) {
        BITMAP* picture = decodePicture(plainPicture(width, height), problem);
        ASSERT_NE(picture, nullptr) << problem;
        EXPECT_EQ(picture->w, width);
        EXPECT_EQ(picture->h, height);
        destroy_bitmap(picture);
    }
    EXPECT_STREQ(fault(plainPicture(PICTURE_SIDE_LIMIT + 1, 1)), "width out of range");
    EXPECT_STREQ(fault(plainPicture(1, PICTURE_SIDE_LIMIT + 1)), "height out of range");
}

TEST_F(AssetFiles, PicturesAndSoundsThatAreNoFilesAreRefusedWithoutBlocking)
{
    HangWatch watch;
    ASSERT_EQ(mkfifo("fifo.bmp", 0644), 0);
    ASSERT_EQ(mkfifo("fifo.wav", 0644), 0);
    fs::create_symlink("/dev/zero", "zero.bmp");
    fs::create_symlink("/dev/zero", "zero.wav");
    folder.write("huge.wav", "");
    fs::resize_file("huge.wav", SOUND_FILE_LIMIT + 1);
    std::string problem;
    for (const char* path : {"fifo.bmp", "zero.bmp"}) {
        EXPECT_EQ(loadPicture(path, problem), nullptr);
        EXPECT_EQ(problem, "not a regular file") << path;
    }
    for (const char* path : {"fifo.wav", "zero.wav"}) {
        EXPECT_EQ(loadSound(path, problem), nullptr);
        EXPECT_EQ(problem, "not a regular file") << path;
    }
    EXPECT_EQ(loadSound("huge.wav", problem), nullptr);
    EXPECT_EQ(problem, "larger than " + std::to_string(SOUND_FILE_LIMIT) + " bytes");
    EXPECT_EQ(loadSound("absent.wav", problem), nullptr);
    EXPECT_EQ(problem, "missing");
}

TEST_F(AssetFiles, LoadingFromMemoryGivesWhatTheLibrarysFileLoadersGive)
{
    std::string problem;
    for (const std::string& path : pictureFiles()) {
        BITMAP* ours = loadPicture(path.c_str(), problem);
        BITMAP* library = load_bitmap(path.c_str(), nullptr);
        ASSERT_NE(ours, nullptr) << path << ": " << problem;
        ASSERT_NE(library, nullptr) << path;
        ASSERT_EQ(ours->w, library->w) << path;
        ASSERT_EQ(ours->h, library->h) << path;
        ASSERT_EQ(bitmap_color_depth(ours), 32) << path;
        for (int y = 0; y < ours->h; ++y)
            ASSERT_EQ(std::memcmp(ours->line[y], library->line[y], std::size_t(ours->w) * 4), 0) << path << " row " << y;
        destroy_bitmap(ours);
        destroy_bitmap(library);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator("_sample")) {
        const std::string path = entry.path().string();
        SAMPLE* ours = loadSound(path.c_str(), problem);
        SAMPLE* library = load_sample(path.c_str());
        ASSERT_NE(ours, nullptr) << path << ": " << problem;
        ASSERT_NE(library, nullptr) << path;
        EXPECT_EQ(ours->bits, library->bits);
        EXPECT_EQ(ours->stereo, library->stereo);
        EXPECT_EQ(ours->freq, library->freq);
        ASSERT_EQ(ours->len, library->len);
        const std::size_t bytes = std::size_t(ours->len) * (ours->stereo ? 2 : 1) * (ours->bits / 8);
        EXPECT_EQ(std::memcmp(ours->data, library->data, bytes), 0) << path;
        destroy_sample(ours);
        destroy_sample(library);
    }
}
