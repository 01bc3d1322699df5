#include "editor/TestPlay.h"

#include "media/ChildProcess.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace zorbo::editor {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOutputFile = "game-output.txt";
// A play folder is named zorbo-edit-PID-XXXXXX after the editor that made it, so that one
// left behind by an editor that was killed can be told and swept away.
constexpr std::string_view kFolderPrefix = "zorbo-edit-";

// The editor's process id in a play folder's name; 0 for another name.
pid_t OwnerOf(std::string_view name)
{
    if (name.substr(0, kFolderPrefix.size()) != kFolderPrefix)
        return 0;
    name.remove_prefix(kFolderPrefix.size());
    long long pid = 0;
    size_t digits = 0;
    while (digits < name.size() && digits < 10 && name[digits] >= '0' && name[digits] <= '9')
        pid = pid * 10 + (name[digits++] - '0');
    if (digits == 0 || digits >= name.size() || name[digits] != '-' || pid <= 0 || pid > INT32_MAX)
        return 0;
    return static_cast<pid_t>(pid);
}

// A folder of the data folder's files, linked rather than copied, for one game.
std::string MakeFolder(const std::string& dataPath, std::string& error)
{
    std::string pattern = PlayFolderRoot() + "/" + std::string(kFolderPrefix) + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        error = "cannot make a folder for the game in " + fs::path(pattern).parent_path().string() + ": " +
                std::strerror(errno);
        return {};
    }
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(dataPath, ec)) {
        // Other level sets stay out: only the one being edited is there to play.
        if (e.path().extension() == ".txt")
            continue;
        fs::create_symlink(fs::absolute(e.path()), fs::path(pattern) / e.path().filename(), ec);
        if (ec)
            break;
    }
    if (ec) {
        error = "cannot link the game's data into " + pattern + ": " + ec.message();
        fs::remove_all(pattern, ec);
        return {};
    }
    return pattern;
}

std::string LastLine(const std::string& file)
{
    std::ifstream in(file);
    std::string line, last;
    while (std::getline(in, line))
        if (!line.empty())
            last = line;
    return last;
}

} // namespace

std::string PlayFolderRoot()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

int SweepPlayFolders(const std::string& root)
{
    int removed = 0;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(root, ec)) {
        const pid_t owner = OwnerOf(e.path().filename().string());
        struct stat st {};
        // Only a real folder of this user: never one of another user's, nor a link.
        if (owner == 0 || ::lstat(e.path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
            continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH)
            continue; // its editor still runs (or cannot be asked)
        std::error_code removeError;
        if (fs::remove_all(e.path(), removeError) > 0 && !removeError)
            ++removed;
    }
    return removed;
}

std::string SetNameOf(const std::string& path)
{
    std::string name = fs::path(path).filename().string();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0)
        name.resize(name.size() - 4);
    return name.empty() ? "Untitled" : name;
}

std::string MakePlayFolder(const std::string& dataPath, const std::string& setName, std::string_view setText,
                           std::string& error)
{
    const std::string folder = MakeFolder(dataPath, error);
    if (folder.empty())
        return {};
    std::ofstream out(folder + "/" + setName + ".txt", std::ios::binary);
    out.write(setText.data(), static_cast<std::streamsize>(setText.size()));
    if (!out.flush()) {
        std::error_code ec;
        fs::remove_all(folder, ec);
        error = "cannot write the level set into " + folder;
        return {};
    }
    return folder;
}

std::string TestPlay::Start(const std::string& game, const std::string& dataPath, const std::string& setName,
                            std::string_view setText, int level, int column)
{
    std::string error;
    const std::string folder = MakePlayFolder(dataPath, setName, setText, error);
    if (folder.empty())
        return "Test play: " + error + ".";

    ProgramStart start;
    start.args = {game, "--data", folder, "--level-set", setName, "--level", std::to_string(level)};
    if (column > 0)
        start.args.insert(start.args.end(), {"--start-column", std::to_string(column)});
    start.args.push_back("--loop-level");
    start.output = folder + "/" + kOutputFile;
    const pid_t pid = StartProgram(start, error);
    if (pid < 0) {
        std::error_code ec;
        fs::remove_all(folder, ec);
        return "The game " + game + " cannot be started: " + error + ".";
    }
    games_.push_back({pid, folder});
    lastPid_ = pid;
    return {};
}

std::vector<std::string> TestPlay::Reap()
{
    std::vector<std::string> failures;
    for (auto it = games_.begin(); it != games_.end();) {
        int status = 0;
        const pid_t done = ::waitpid(it->pid, &status, WNOHANG);
        if (done == 0 || (done < 0 && errno == EINTR)) {
            ++it;
            continue;
        }
        if (done == it->pid && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
            std::string why = LastLine(it->folder + "/" + kOutputFile);
            if (why.empty())
                why = WIFSIGNALED(status) ? "it was stopped by signal " + std::to_string(WTERMSIG(status))
                                          : "it ended with status " + std::to_string(WEXITSTATUS(status));
            failures.push_back("Test play: " + why);
        }
        std::error_code ec;
        fs::remove_all(it->folder, ec);
        it = games_.erase(it);
    }
    return failures;
}

TestPlay::~TestPlay()
{
    for (const Game& g : games_)
        ::kill(g.pid, SIGTERM);
    // A game asked to close gets a moment to do so; one that does not is ended.
    for (int i = 0; i < 30 && !games_.empty(); ++i) {
        Reap();
        if (!games_.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    for (const Game& g : games_) {
        ::kill(g.pid, SIGKILL);
        ::waitpid(g.pid, nullptr, 0);
        std::error_code ec;
        fs::remove_all(g.folder, ec);
    }
}

} // namespace zorbo::editor
