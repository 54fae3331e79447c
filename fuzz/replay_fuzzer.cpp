// Feeds arbitrary bytes to the recording reader: it reads a recording or refuses it with a
// reason, never reads past the bytes, and what it reads writes back to the very same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/recording.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Recording recording;
    std::string problem;
    const int outcome = decodeRecording(bytes, recording, problem);
    if (outcome != RECORDING_READ) {
        if (problem.empty()) std::abort();
        return 0;
    }
    for (const RecordedPass& pass : recording.passes)
        if (pass.ticks > MAX_TICKS_PER_PASS || pass.controls >= 64) std::abort();
    // Runs may be split where the writer would have joined them, so only a second round must agree.
    const std::string written = encodeRecording(recording);
    Recording again;
    if (decodeRecording(written, again, problem) != RECORDING_READ || encodeRecording(again) != written) std::abort();
    return 0;
}
