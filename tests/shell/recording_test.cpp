// The recording's file: what is written reads back the same, and a damaged or foreign file is
// refused with a reason, never read past its end.
#include "shell/recording.h"

#include <gtest/gtest.h>

namespace {
Recording sample(std::size_t passCount)
{
    Recording r;
    r.randomState = 4000000000u;
    r.name = "ZED9";
    r.score = 1234;
    r.level = 7;
    for (std::size_t i = 0; i < passCount; ++i) {
        RecordedPass pass;
        // Mostly the steady 0, 1 of a paced game, now and then a stall of many ticks.
        pass.ticks = i % 37 == 5 ? static_cast<std::uint32_t>(3 + i * 11 % 500) : static_cast<std::uint32_t>(i % 2);
        pass.controls = static_cast<std::uint8_t>(i / 50 % 64);
        r.passes.push_back(pass);
    }
    return r;
}

TEST(Recording, ReadsBackWhatIsWritten)
{
    for (std::size_t count : {0u, 1u, 3u, 4u, 5u, 1001u}) {
        const Recording written = sample(count);
        Recording read;
        std::string problem;
        ASSERT_EQ(decodeRecording(encodeRecording(written), read, problem), RECORDING_READ) << count << problem;
        EXPECT_EQ(read.randomState, written.randomState);
        EXPECT_EQ(read.name, written.name);
        EXPECT_EQ(read.score, written.score);
        EXPECT_EQ(read.level, written.level);
        ASSERT_EQ(read.passes.size(), count);
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_EQ(read.passes[i].ticks, written.passes[i].ticks) << i;
            EXPECT_EQ(read.passes[i].controls, written.passes[i].controls) << i;
        }
    }
}

TEST(Recording, TenMinutesOfSteadyPlayAreSmall)
{
    Recording r = sample(0);
    for (int i = 0; i < 60 * 60 * 10; ++i) r.passes.push_back({static_cast<std::uint32_t>(i % 2), static_cast<std::uint8_t>(i / 40 % 6)});
    EXPECT_LT(encodeRecording(r).size(), 20000u);
}

TEST(Recording, DamagedOrForeignFilesAreRefused)
{
    const std::string good = encodeRecording(sample(300));
    Recording read;
    std::string problem;
    // Cut short anywhere.
    for (std::size_t length = 0; length < good.size(); ++length)
        EXPECT_NE(decodeRecording(good.substr(0, length), read, problem), RECORDING_READ) << length;
    const std::size_t body = good.find("passes 300\n") + 11;
    struct Case {
        std::string bytes;
        int outcome;
    };
    const Case cases[] = {
        {good + "x", RECORDING_DAMAGED},
        {"GHOSTMAZE RECORDING 2\n" + good.substr(good.find('\n') + 1), RECORDING_OTHER_VERSION},
        {"GHOSTMAZE RECORDING 1\nversion 0.1\n", RECORDING_OTHER_VERSION},
        {"P3\n" + good, RECORDING_DAMAGED},
        {good.substr(0, body) + "\x01\x40" + good.substr(body + 2), RECORDING_DAMAGED},   // a control beyond the six
        {good.substr(0, body) + "\xff\x7f\x00" + good.substr(body), RECORDING_DAMAGED},   // a run past the passes
        {good.substr(0, body - 11) + "passes 99999999\n" + good.substr(body), RECORDING_DAMAGED},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeRecording(c.bytes, read, problem), c.outcome) << c.bytes.substr(0, 40);
        EXPECT_FALSE(problem.empty());
    }
    std::string bad = good;
    bad.replace(bad.find("name ZED9"), 9, "name ze d");
    EXPECT_EQ(decodeRecording(bad, read, problem), RECORDING_DAMAGED);
}
}  // namespace
