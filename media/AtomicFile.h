#pragma once
// Writing a file so that it appears whole or not at all: the bytes go to a temporary file
// of its own beside the target, which is flushed to disk and then renamed over the target.
// A level set is saved so in one go; a recording is written so poll by poll while its game
// runs. A target that is a symbolic link stays one: the file it leads to is written.
#include <string>
#include <string_view>

namespace zorbo {

class AtomicFile {
public:
    // What becomes of the temporary file when writing stops before Commit: removed, or
    // kept (a recording's holds the game up to its last poll, and replays so far). A kept
    // one is written as KeptName(target) when that name fits and is free, so that what a
    // killed game leaves is found beside the target; else under a unique zorbo-XXXXXX.part.
    // A removed one has a unique hidden name, .zorbo-XXXXXX, whatever the target's length.
    enum class Unfinished { Remove, Keep };

    explicit AtomicFile(Unfinished unfinished = Unfinished::Remove) : unfinished_(unfinished) {}
    // Closes an unfinished file; it is removed or kept as chosen.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Writes a whole file in one go (Open, Write, Commit); anything but Saved comes with
    // the reason.
    enum class Outcome { Saved, NotOpened, NotWritten, NotRenamed };
    static Outcome WriteWhole(const std::string& target, std::string_view bytes, std::string& reason);

    // The name an unfinished file that is kept has, when it fits and is free.
    static std::string KeptName(const std::string& target);
    // The file that writing target writes: the end of its chain of symbolic links, or for
    // a new file the name in its resolved folder. False with a reason to follow the
    // target's name for a link that leads nowhere or loops, or a folder that is missing.
    static bool Resolve(const std::string& target, std::string& resolved, std::string& reason);

    // Creates the temporary file. An existing target must be a regular file this process
    // may write, and the new file takes its permissions. False with a reason to follow
    // the target's name ("it is a folder, not a regular file", "cannot create F: ...").
    bool Open(const std::string& target, std::string& reason);
    // Appends bytes. After a failed write nothing more is written and false is returned;
    // Problem() says why ("cannot write F.part: no space left on device").
    bool Write(std::string_view bytes);
    // Flushes the file to disk, closes it and renames it over the target. False with the
    // reason; Written() then tells a file that reached the disk whole but could not be
    // renamed ("cannot rename T to F: ...") from one that did not.
    bool Commit(std::string& reason);
    // Stops writing without giving the file its name; it is removed or kept as chosen.
    void Close();
    // Stops writing and removes the temporary file whatever was chosen.
    void Discard();

    bool IsOpen() const { return fd_ >= 0; }
    bool Written() const { return written_; }
    const std::string& Problem() const { return problem_; }
    const std::string& Target() const { return target_; }
    // The file the target resolves to, which Commit replaces.
    const std::string& Path() const { return path_; }
    const std::string& Temp() const { return temp_; }

private:
    bool CreateTemp(const std::string& folder, std::string& reason);
    void CloseFile();
    Unfinished unfinished_;
    int fd_ = -1;
    bool written_ = false;
    std::string target_, path_, temp_, problem_;
};

} // namespace zorbo
