// Feeds arbitrary bytes to the "high_score.txt" reader: it must never overrun a field, and
// whatever it keeps must come back unchanged through the writer.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "frontend/front_end.h"

namespace {

void require(bool holds)
{
    if (!holds) std::abort();
}

// Every row read is terminated, short enough, and its text says its score.
void checkRows(const HighScoreEntry* rows, int count)
{
    require(count >= 0 && count <= HIGH_SCORE_ROWS);
    for (int i = 0; i < count; ++i) {
        require(std::memchr(rows[i].name, '\0', sizeof rows[i].name) != nullptr);
        require(std::memchr(rows[i].scoreText, '\0', sizeof rows[i].scoreText) != nullptr);
        require(std::to_string(rows[i].score) == rows[i].scoreText);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    HighScoreEntry rows[HIGH_SCORE_ROWS];
    const int count = readHighScores(in, rows);
    checkRows(rows, count);

    std::ostringstream written;
    writeHighScores(written, rows, count);
    std::istringstream again(written.str());
    HighScoreEntry reread[HIGH_SCORE_ROWS];
    require(readHighScores(again, reread) == count);
    for (int i = 0; i < count; ++i) {
        require(reread[i].score == rows[i].score);
        // An empty name is written as a placeholder; any other comes back as it was.
        require(rows[i].name[0] == '\0' || std::strcmp(reread[i].name, rows[i].name) == 0);
    }
    return 0;
}
