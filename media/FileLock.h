#pragma once
// One writer per file name: a lock that a Zorbo takes on a file before writing it (a
// recording while its game runs, a level set while an editor has it open), so that a
// second Zorbo on the same file is refused instead of silently replacing the first's work.
// The lock is an advisory flock on a small file in a private folder of the user (Folder()),
// named by a hash of the file's resolved path; it dies with the process that holds it, and
// the player's own folders get no lock files.
#include <string>

namespace zorbo {

class FileLock {
public:
    FileLock() = default;
    // Releases whatever is held.
    ~FileLock();
    // A copy holds the same name: the name is released when the last holder lets go.
    FileLock(const FileLock& other);
    FileLock& operator=(const FileLock& other);
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;

    // Takes the lock on path (a symbolic link names its target), letting go of any name
    // held before once the new one is held. One process may take a name any number of
    // times; another process holding it makes this false with Busy() set. False with a
    // reason to follow the file's name when the lock cannot be made at all.
    bool Acquire(const std::string& path, std::string& reason);
    void Release();

    bool Held() const { return !key_.empty(); }
    // The last Acquire failed because another process holds the name.
    bool Busy() const { return busy_; }
    // The resolved path held; empty when none is.
    const std::string& Key() const { return key_; }

    // The folder the lock files are kept in, made if need be; the same for every process of
    // the user whatever its environment: /run/user/UID/zorbo when the system keeps that
    // runtime folder, else /tmp/zorbo-UID, else, when another user has taken that name,
    // ~/.cache/zorbo-locks in the home the system gives the user. Empty when none can be used.
    static std::string Folder();
    // Folder()'s choice with its places given: the root of the runtime folders
    // ("/run/user"), the temporary folder and the user's home ("" for none).
    static std::string FolderAmong(const std::string& runtimeRoot, const std::string& temporary,
                                   const std::string& home, std::string& reason);
    // Tests keep their locks in a folder of their own (empty: the usual one again).
    static void UseFolderForTests(const std::string& folder);
    // The lock file of a resolved path.
    static std::string FileOf(const std::string& key);

private:
    std::string key_;
    bool busy_ = false;
};

} // namespace zorbo
