// Recording every game as it is played, keeping the recordings of the last game and of each row
// of the high-score table in "replays/", and playing a recording back through the game loop.
#include <allegro.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <utility>
#include <vector>

#include "shell/files.h"
#include "shell/frame_pace.h"
#include "shell/game.h"
#include "shell/random.h"
#include "shell/replays.h"
#include "shell/window_events.h"

namespace {
constexpr int FAST_PASSES = 4;           // recorded passes to one paced pass while F is held
constexpr int END_HOLD_MS = 2500;        // the last frame of a watched recording stays this long
constexpr int END_HOLD_POLL_MS = 50;
// Room for half an hour of passes made as a game starts, so that recording a pass does not
// allocate while the game is played (eight bytes a pass: under 1 MiB).
constexpr std::size_t RESERVED_PASSES = 60 * 60 * 30;
// A row's recording is "row-NAME-SCORE-STAMP" in the recordings' folder: the table's file keeps
// only names and scores, so the name and score find a row's recordings and the stamp (milliseconds
// since 1970) tells which of equal rows is newer.
constexpr const char* ROW_PREFIX = "row-";

struct RowFile {
    std::string name;
    std::int32_t score = 0;
    long long stamp = 0;
    std::string path;
};

bool parseRowFile(const std::string& fileName, RowFile& row)
{
    const std::string prefix = ROW_PREFIX, suffix = RECORDING_SUFFIX;
    if (fileName.size() <= prefix.size() + suffix.size() || fileName.compare(0, prefix.size(), prefix) != 0 ||
        fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string middle = fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size());
    char name[NAME_CAPACITY + 2] = {};
    int score = 0;
    long long stamp = 0;
    int used = 0;
    if (std::sscanf(middle.c_str(), "%16[A-Z0-9]-%9d-%lld%n", name, &score, &stamp, &used) != 3 ||
        used != static_cast<int>(middle.size()) || std::string(name).size() > NAME_CAPACITY)
        return false;
    row.name = name;
    row.score = score;
    row.stamp = stamp;
    return true;
}

// Each row's recordings, newest first, by the row's name and score.
std::map<std::pair<std::string, std::int32_t>, std::vector<RowFile>> rowFiles()
{
    std::map<std::pair<std::string, std::int32_t>, std::vector<RowFile>> found;
    std::error_code error;
    // Stepped with the error code: a folder that cannot be read ends the list, never the game.
    for (std::filesystem::directory_iterator entry(RECORDING_FOLDER, error), end; !error && entry != end;
         entry.increment(error)) {
        RowFile row;
        std::error_code ignored;
        if (!entry->is_regular_file(ignored) || !parseRowFile(entry->path().filename().string(), row)) continue;
        row.path = entry->path().string();
        found[{row.name, row.score}].push_back(row);
    }
    for (auto& [key, files] : found)
        std::sort(files.begin(), files.end(), [](const RowFile& a, const RowFile& b) { return a.stamp > b.stamp; });
    return found;
}

long long stampNow()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}
}  // namespace

int readRecordingFile(const char* path, Recording& recording, std::string& problem)
{
    const FileContents file = readWholeFile(path, RECORDING_FILE_LIMIT);
    if (file.outcome != FILE_READ) {
        problem = file.outcome == FILE_MISSING ? "there is no such file" : file.problem;
        return RECORDING_DAMAGED;
    }
    return decodeRecording(file.bytes, recording, problem);
}

void Game::startRecording()
{
    recording = Recording{};
    recording.randomState = randomState();
    recording.passes.reserve(RESERVED_PASSES);
}

void Game::notePass(std::uint32_t ticks)
{
    if (playback) {
        ++playbackPass;
        return;
    }
    RecordedPass pass;
    pass.ticks = ticks;
    pass.controls = packControls(controls);
    recording.passes.push_back(pass);
}

void Game::takeRecordedControls()
{
    if (!playbackOver()) unpackControls(playback->passes[playbackPass].controls, controls);
}

bool Game::playbackOver() const { return playback && playbackPass >= playback->passes.size(); }

void Game::saveRecording()
{
    recording.name = storedPlayerName(frontEnd.playerName);
    recording.score = endScore;
    recording.level = endLevel;
    const std::string bytes = encodeRecording(recording);
    recording.passes = {};
    if (mkdir(RECORDING_FOLDER, 0777) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "Ghost Maze: the folder %s cannot be made: this game's recording is not kept\n",
                     RECORDING_FOLDER);
        return;
    }
    if (!replaceFile(LAST_RECORDING, bytes))
        std::fprintf(stderr, "Ghost Maze: %s cannot be written\n", LAST_RECORDING);
    // Held while the rows' recordings change, as the table is while it changes.
    const FileLock lock(HIGH_SCORE_FILE, LOCK_PATIENCE_MS);
    if (!lock.held()) return;
    char rowPath[128];
    std::error_code error;
    // Two games ended within one millisecond still keep a file each.
    for (long long stamp = stampNow();; ++stamp) {
        std::snprintf(rowPath, sizeof rowPath, "%s/%s%s-%d-%lld%s", RECORDING_FOLDER, ROW_PREFIX,
                      recording.name.c_str(), static_cast<int>(std::clamp(endScore, 0, 999999999)), stamp,
                      RECORDING_SUFFIX);
        if (!std::filesystem::exists(std::filesystem::symlink_status(rowPath, error))) break;
    }
    if (!replaceFile(rowPath, bytes)) std::fprintf(stderr, "Ghost Maze: %s cannot be written\n", rowPath);
    pruneRecordings();
}

void Game::pruneRecordings()
{
    if (frontEnd.loadHighScores() == FILE_UNREADABLE) return;
    std::map<std::pair<std::string, std::int32_t>, std::size_t> rows;
    for (int i = 0; i < frontEnd.itemsRead; ++i) ++rows[{frontEnd.highScores[i].name, frontEnd.highScores[i].score}];
    for (auto& [key, files] : rowFiles()) {
        const auto found = rows.find(key);
        const std::size_t kept = found == rows.end() ? 0 : found->second;
        for (std::size_t i = kept; i < files.size(); ++i) std::remove(files[i].path.c_str());
    }
}

std::string Game::recordingOfRow(int row) const
{
    if (row < 0 || row >= frontEnd.itemsRead) return "";
    const HighScoreEntry& entry = frontEnd.highScores[row];
    // Equal rows stand in the order they came, so the first of them has the oldest recording kept.
    std::size_t equalAbove = 0, equal = 0;
    for (int i = 0; i < frontEnd.itemsRead; ++i) {
        const bool same = frontEnd.highScores[i].score == entry.score && std::string(frontEnd.highScores[i].name) == entry.name;
        equal += same;
        equalAbove += same && i < row;
    }
    const auto files = rowFiles();
    const auto found = files.find({entry.name, entry.score});
    if (found == files.end()) return "";
    const std::size_t kept = std::min(equal, found->second.size());
    if (equalAbove >= kept) return "";
    return found->second[kept - 1 - equalAbove].path;
}

void Game::playRecording(const Recording& played, bool inWindow)
{
    playback = &played;
    playbackPass = 0;
    framesUnseen = !inWindow;
    seedRandom(played.randomState);
    paused = false;
    if (inWindow) {
        remove_mouse();
        startScreenInput();
    }
    setUpLevel();
    if (!inWindow) {
        while (runGamePass()) {}
    } else {
        FramePace pace;
        for (bool going = true; going;) {
            pace.beginPass();
            const int passes = controls.fast ? FAST_PASSES : 1;
            for (int i = 0; i < passes && going; ++i) going = runGamePass();
            if (going) pace.finishPass();
        }
        if (playbackOver()) holdLastFrame();
    }
    endGame();
    playback = nullptr;
    playbackPass = 0;
    framesUnseen = false;
    if (inWindow && observer) observer->gameEnded();
}

void Game::holdLastFrame()
{
    // The board and the score of the end stay on the screen, as the last pass presented them.
    for (int waited = 0; waited < END_HOLD_MS && !closeRequested.load(); waited += END_HOLD_POLL_MS) {
        if (takeKeyTap(settings.keys.end) || key[settings.keys.end]) break;
        rest(END_HOLD_POLL_MS);
    }
}
