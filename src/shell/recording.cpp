// The recording's file: a short text header, then the controls as runs of passes and the ticks
// packed four passes a byte, also in runs, since at 60 passes and 30 ticks a second they repeat.
#include "shell/recording.h"

#include <cstdio>
#include <sstream>

namespace {
constexpr const char* MAGIC = "GHOSTMAZE RECORDING";
constexpr int FORMAT = 1;
constexpr int STEERING_BITS = 6;  // four walking directions, bomb, beam
constexpr int BOMB_BIT = 4;
constexpr int BEAM_BIT = 5;
constexpr std::uint32_t TICK_CODE_MASK = 3;
// A tick code of 3 stands for 3 ticks or more: the rest follows the packed ticks, pass by pass.
constexpr std::uint32_t TICK_ESCAPE = 3;
constexpr int PASSES_PER_TICK_BYTE = 4;
constexpr std::size_t MAX_FIELD = 40;  // the longest header value the game writes, and then some

void putNumber(std::string& out, std::uint32_t value)
{
    // Seven bits a byte, the high bit saying more follow.
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7f) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

void putRun(std::string& out, std::uint32_t length, std::uint8_t value)
{
    putNumber(out, length);
    out += static_cast<char>(value);
}

class Reader {
public:
    explicit Reader(const std::string& text) : bytes(text) {}
    bool line(std::string& out)
    {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos || end - at > MAX_FIELD) return false;
        out = bytes.substr(at, end - at);
        at = end + 1;
        return true;
    }
    bool field(const char* key, std::string& value)
    {
        std::string text;
        const std::string prefix = std::string(key) + " ";
        if (!line(text) || text.compare(0, prefix.size(), prefix) != 0) return false;
        value = text.substr(prefix.size());
        return true;
    }
    bool number(const char* key, std::uint32_t limit, std::uint32_t& value)
    {
        std::string text;
        if (!field(key, text) || text.empty() || text.size() > 10) return false;
        std::uint64_t n = 0;
        for (char c : text) {
            if (c < '0' || c > '9') return false;
            n = n * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (n > limit) return false;
        value = static_cast<std::uint32_t>(n);
        return true;
    }
    bool varint(std::uint32_t& value)
    {
        std::uint64_t n = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (at >= bytes.size()) return false;
            const auto byte = static_cast<std::uint8_t>(bytes[at++]);
            n |= std::uint64_t{byte & 0x7fu} << shift;
            if ((byte & 0x80) == 0) {
                if (n > UINT32_MAX) return false;
                value = static_cast<std::uint32_t>(n);
                return true;
            }
        }
        return false;
    }
    bool byte(std::uint8_t& value)
    {
        if (at >= bytes.size()) return false;
        value = static_cast<std::uint8_t>(bytes[at++]);
        return true;
    }
    bool atEnd() const { return at == bytes.size(); }

private:
    const std::string& bytes;
    std::size_t at = 0;
};

bool validName(const std::string& name)
{
    if (name.empty() || name.size() > 15) return false;
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

// The runs of one stream add up to exactly `total` values, each handed to `take`.
template <typename Take>
bool readRuns(Reader& in, std::uint32_t total, Take take)
{
    std::uint32_t done = 0;
    while (done < total) {
        std::uint32_t length = 0;
        std::uint8_t value = 0;
        if (!in.varint(length) || !in.byte(value) || length == 0 || length > total - done) return false;
        for (std::uint32_t i = 0; i < length; ++i)
            if (!take(done + i, value)) return false;
        done += length;
    }
    return true;
}
}  // namespace

std::uint8_t packControls(const Controls& controls)
{
    std::uint8_t packed = 0;
    for (int d = 0; d < DIRECTION_COUNT; ++d)
        if (controls.walk[d]) packed |= static_cast<std::uint8_t>(1u << d);
    if (controls.bomb) packed |= 1u << BOMB_BIT;
    if (controls.beam) packed |= 1u << BEAM_BIT;
    return packed;
}

void unpackControls(std::uint8_t packed, Controls& controls)
{
    for (int d = 0; d < DIRECTION_COUNT; ++d) controls.walk[d] = (packed >> d) & 1u;
    controls.bomb = (packed >> BOMB_BIT) & 1u;
    controls.beam = (packed >> BEAM_BIT) & 1u;
}

std::string encodeRecording(const Recording& recording)
{
    std::ostringstream header;
    header << MAGIC << ' ' << FORMAT << '\n'
           << "version " << recording.version << '\n'
           << "random " << recording.randomState << '\n'
           << "name " << recording.name << '\n'
           << "score " << recording.score << '\n'
           << "level " << recording.level << '\n'
           << "passes " << recording.passes.size() << '\n';
    std::string out = header.str();
    const std::vector<RecordedPass>& passes = recording.passes;
    // The controls, as runs of passes.
    for (std::size_t i = 0; i < passes.size();) {
        std::size_t end = i + 1;
        while (end < passes.size() && passes[end].controls == passes[i].controls) ++end;
        putRun(out, static_cast<std::uint32_t>(end - i), passes[i].controls);
        i = end;
    }
    // The ticks: a code of two bits a pass, four passes a byte, the bytes in runs.
    std::vector<std::uint8_t> packed((passes.size() + PASSES_PER_TICK_BYTE - 1) / PASSES_PER_TICK_BYTE);
    for (std::size_t i = 0; i < passes.size(); ++i) {
        const std::uint32_t code = passes[i].ticks < TICK_ESCAPE ? passes[i].ticks : TICK_ESCAPE;
        packed[i / PASSES_PER_TICK_BYTE] |= static_cast<std::uint8_t>(code << (2 * (i % PASSES_PER_TICK_BYTE)));
    }
    for (std::size_t i = 0; i < packed.size();) {
        std::size_t end = i + 1;
        while (end < packed.size() && packed[end] == packed[i]) ++end;
        putRun(out, static_cast<std::uint32_t>(end - i), packed[i]);
        i = end;
    }
    for (const RecordedPass& pass : passes)
        if (pass.ticks >= TICK_ESCAPE) putNumber(out, pass.ticks - TICK_ESCAPE);
    return out;
}

namespace {

// The header's fields into recording, its pass count into passCount; RECORDING_READ, or why the
// recording cannot be played.
int readHeader(Reader& in, Recording& recording, std::uint32_t& passCount, std::string& problem)
{
    std::string magic, version, name;
    std::uint32_t randomState = 0, score = 0, level = 0;
    if (!in.line(magic) || magic != std::string(MAGIC) + " " + std::to_string(FORMAT)) {
        const bool ours = magic.compare(0, std::string(MAGIC).size(), MAGIC) == 0;
        problem = ours ? "it is a recording of another format, made by another version of the game"
                       : "it is not a Ghost Maze recording";
        return ours ? RECORDING_OTHER_VERSION : RECORDING_DAMAGED;
    }
    if (!in.field("version", version)) {
        problem = "its header is damaged";
        return RECORDING_DAMAGED;
    }
    if (version != GAME_VERSION) {
        problem = "it was recorded by version " + version.substr(0, 20) + " of the game, and this is version " +
                  GAME_VERSION + ": its game may play differently here";
        return RECORDING_OTHER_VERSION;
    }
    if (!in.number("random", UINT32_MAX, randomState) || !in.field("name", name) || !validName(name) ||
        !in.number("score", INT32_MAX, score) || !in.number("level", INT32_MAX, level) ||
        !in.number("passes", MAX_RECORDED_PASSES, passCount)) {
        problem = "its header is damaged";
        return RECORDING_DAMAGED;
    }
    recording.version = version;
    recording.randomState = randomState;
    recording.name = name;
    recording.score = static_cast<std::int32_t>(score);
    recording.level = static_cast<std::int32_t>(level);
    return RECORDING_READ;
}

// Every pass's controls, then its ticks, then the extra ticks of the passes that ran many; false
// when they are damaged or cut short.
bool readPasses(Reader& in, std::vector<RecordedPass>& passes)
{
    const auto passCount = static_cast<std::uint32_t>(passes.size());
    const bool controlsRead = readRuns(in, passCount, [&](std::uint32_t i, std::uint8_t value) {
        passes[i].controls = value;
        return value < (1u << STEERING_BITS);
    });
    const std::uint32_t tickBytes = (passCount + PASSES_PER_TICK_BYTE - 1) / PASSES_PER_TICK_BYTE;
    const bool ticksRead = controlsRead && readRuns(in, tickBytes, [&](std::uint32_t i, std::uint8_t value) {
        for (std::uint32_t k = 0; k < PASSES_PER_TICK_BYTE; ++k) {
            const std::uint32_t pass = i * PASSES_PER_TICK_BYTE + k;
            const std::uint32_t code = (value >> (2 * k)) & TICK_CODE_MASK;
            // The last byte's unused codes are 0, as the game writes them.
            if (pass >= passCount) {
                if (code != 0) return false;
                continue;
            }
            passes[pass].ticks = code;
        }
        return true;
    });
    bool escapesRead = ticksRead;
    for (RecordedPass& pass : passes) {
        if (!escapesRead || pass.ticks != TICK_ESCAPE) continue;
        std::uint32_t more = 0;
        escapesRead = in.varint(more) && more <= MAX_TICKS_PER_PASS - TICK_ESCAPE;
        pass.ticks += more;
    }
    return escapesRead;
}

}  // namespace

int decodeRecording(const std::string& bytes, Recording& recording, std::string& problem)
{
    Reader in(bytes);
    Recording read;
    std::uint32_t passCount = 0;
    const int header = readHeader(in, read, passCount, problem);
    if (header != RECORDING_READ) return header;
    std::vector<RecordedPass> passes(passCount);
    const bool passesRead = readPasses(in, passes);
    if (!passesRead || !in.atEnd()) {
        problem = passesRead ? "it has bytes after its last pass" : "its passes are damaged or cut short";
        return RECORDING_DAMAGED;
    }
    read.passes = std::move(passes);
    recording = std::move(read);
    return RECORDING_READ;
}
