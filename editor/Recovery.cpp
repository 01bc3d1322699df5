#include "editor/Recovery.h"

#include "editor/LevelDocument.h"
#include "level/LevelFile.h"
#include "media/AtomicFile.h"
#include "media/Fnv1a.h"
#include "media/RegularFile.h"
#include "media/UserFolders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>

namespace zorbo::editor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMagic = "zorbo-edit recovery of ";
constexpr std::string_view kSuffix = ".recover";
constexpr const char* kUntitled = "Untitled";
constexpr std::string_view kUntitledPrefix = "untitled-";
// The hash, a dash and the suffix leave this much of the 255 bytes a file name may have.
constexpr size_t kNameBytes = 200;

std::string AbsoluteOf(const std::string& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

} // namespace

std::string RecoveryFolder()
{
    return ZorboStateFolder();
}

std::string RecoveryFile(const std::string& folder, const std::string& path)
{
    const std::string key = path.empty() ? std::string() : AbsoluteOf(path);
    std::string name = path.empty() ? kUntitled : fs::path(key).filename().string();
    if (name.size() > kNameBytes)
        name.resize(kNameBytes);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1aOf(key)));
    return folder + "/" + hash + "-" + name + std::string(kSuffix);
}

UntitledCopy NewUntitledCopy(const std::string& folder)
{
    static std::atomic<unsigned> made{0};
    UntitledCopy copy;
    copy.file = folder + "/" + std::string(kUntitledPrefix) + std::to_string(::getpid()) + "-" +
                std::to_string(std::time(nullptr)) + "-" + std::to_string(++made) + std::string(kSuffix);
    std::string reason;
    copy.lock.Acquire(copy.file, reason); // without locks the name is still this window's own
    return copy;
}

std::vector<std::string> AbandonedUntitledCopies(const std::string& folder, const std::string& own)
{
    std::vector<std::pair<fs::file_time_type, std::string>> found;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        const std::string file = entry.path().string();
        // A copy of the one shared name older editors kept for every set without a file is
        // taken up too.
        const bool untitled = name.rfind(kUntitledPrefix, 0) == 0 || name.ends_with(std::string("-") + kUntitled +
                                                                                   std::string(kSuffix));
        if (!untitled || !name.ends_with(kSuffix) || file == own || !entry.is_regular_file(ec))
            continue;
        FileLock probe;
        std::string reason;
        if (!probe.Acquire(file, reason) && probe.Busy())
            continue; // its editor is still running
        found.emplace_back(entry.last_write_time(ec), file);
    }
    std::sort(found.begin(), found.end(), std::greater<>());
    std::vector<std::string> files;
    for (auto& [time, file] : found)
        files.push_back(std::move(file));
    return files;
}

std::string RecoveryBytes(const std::string& path, std::string_view text)
{
    const std::string key = path.empty() ? std::string() : AbsoluteOf(path);
    return std::string(kMagic) + std::to_string(key.size()) + " " + key + "\n" + std::string(text);
}

std::optional<RecoveredSet> ReadRecoveryBytes(std::string_view bytes)
{
    if (bytes.substr(0, kMagic.size()) != kMagic)
        return std::nullopt;
    size_t at = kMagic.size(), length = 0;
    const size_t digitsFrom = at;
    while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9' && at - digitsFrom < 5)
        length = length * 10 + static_cast<size_t>(bytes[at++] - '0');
    if (at == digitsFrom || at >= bytes.size() || bytes[at] != ' ')
        return std::nullopt;
    ++at;
    if (bytes.size() - at < length + 1 || bytes[at + length] != '\n')
        return std::nullopt;
    return RecoveredSet{std::string(bytes.substr(at, length)), std::string(bytes.substr(at + length + 1))};
}

bool WriteRecovery(const std::string& file, const std::string& path, std::string_view text, std::string& reason)
{
    // Unsaved levels are nobody else's business: the folder is private.
    const fs::path folder = fs::path(file).parent_path();
    if (!folder.empty() && !MakePrivateFolders(folder.string(), reason))
        return false;
    return AtomicFile::WriteWhole(file, RecoveryBytes(path, text), reason) == AtomicFile::Outcome::Saved;
}

std::optional<RecoveryCopy> FindRecovery(const std::string& file, const std::string& path)
{
    std::string bytes, reason;
    // A copy holds a set's text and a short header: the set's limit with room to spare.
    if (ReadRegularFile(file, LevelFormat::MaxFileBytes + 8192, bytes, reason) != FileError::None)
        return std::nullopt;
    std::optional<RecoveredSet> set = ReadRecoveryBytes(bytes);
    if (!set || set->path != (path.empty() ? std::string() : AbsoluteOf(path)))
        return std::nullopt;
    struct stat st {}, fileSt {};
    const bool seen = ::stat(file.c_str(), &st) == 0;
    const std::time_t written = seen ? st.st_mtime : 0;
    const auto later = [](const timespec& a, const timespec& b) {
        return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
    };
    const bool older = seen && !path.empty() && ::stat(path.c_str(), &fileSt) == 0 && later(fileSt.st_mtim, st.st_mtim);
    return RecoveryCopy{std::move(set->text), written, older};
}

void RemoveRecovery(const std::string& file)
{
    std::error_code ec;
    fs::remove(file, ec);
}

} // namespace zorbo::editor
