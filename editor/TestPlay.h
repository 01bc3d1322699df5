#pragma once
// Test play: the game started on the level set as it is being edited, saved or not, while
// the editor stays open.
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace zorbo::editor {

class TestPlay {
public:
    TestPlay() = default;
    // Ends the games still running and removes their folders.
    ~TestPlay();
    TestPlay(const TestPlay&) = delete;
    TestPlay& operator=(const TestPlay&) = delete;

    // Starts game (the program's path) with --loop-level (the level is tried over and over
    // until the player quits) at the level's hero start, or with --start-column at column
    // when that is not 0, on a data folder of its own: the pictures and sounds of dataPath
    // (ending in '/') and the set's text as setName.txt. Empty when it started, else why not.
    std::string Start(const std::string& game, const std::string& dataPath, const std::string& setName,
                      std::string_view setText, int level, int column);

    // Waits for the games that have ended and removes their folders; for each that ended
    // with a failure, a sentence with the last line it wrote.
    std::vector<std::string> Reap();
    size_t Running() const { return games_.size(); }
    // The process of the game started last (0 before the first).
    pid_t LastPid() const { return lastPid_; }

private:
    struct Game {
        pid_t pid;
        std::string folder;
    };
    std::vector<Game> games_;
    pid_t lastPid_ = 0;
};

// A folder of its own for a program run on the set being edited: the pictures and sounds of
// dataPath (ending in '/') linked, and setText as setName.txt. Its path, or empty with why not.
std::string MakePlayFolder(const std::string& dataPath, const std::string& setName, std::string_view setText,
                           std::string& error);

// Where play folders are made: $TMPDIR, else /tmp.
std::string PlayFolderRoot();
// Removes the play folders in root that an editor ended without cleaning up: those of this
// user whose process (its id is in the folder's name) is gone. The number removed.
int SweepPlayFolders(const std::string& root);

// The name a level set goes by in the game: its file name without ".txt" (the game wants
// no '/' in it), "Untitled" for a set without a file.
std::string SetNameOf(const std::string& path);

} // namespace zorbo::editor
