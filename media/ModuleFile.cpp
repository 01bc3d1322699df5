#include "media/ModuleFile.h"

#include "media/RegularFile.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <grp.h>
#include <link.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace zorbo {

namespace {

// The group named after this user with nobody else in it (a user private group): its write
// bit gives nobody else a way in.
bool UsersOwnGroup(gid_t gid)
{
    std::vector<char> buffer(16384);
    passwd pw {};
    passwd* user = nullptr;
    group gr {};
    group* found = nullptr;
    if (::getpwuid_r(::geteuid(), &pw, buffer.data(), buffer.size() / 2, &user) != 0 || user == nullptr)
        return false;
    if (::getgrgid_r(gid, &gr, buffer.data() + buffer.size() / 2, buffer.size() / 2, &found) != 0 || found == nullptr)
        return false;
    if (std::strcmp(found->gr_name, user->pw_name) != 0)
        return false;
    for (char** member = found->gr_mem; *member != nullptr; ++member)
        if (std::strcmp(*member, user->pw_name) != 0)
            return false;
    return true;
}

// Empty when only this user (or root) can change what st describes, else why not.
std::string ForeignHands(const struct stat& st)
{
    if (st.st_uid != 0 && st.st_uid != ::geteuid())
        return "belongs to another user (" + std::to_string(st.st_uid) + ")";
    // Others may add to a sticky folder, but not rename or remove what they do not own.
    const bool sticky = S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) != 0 && st.st_uid == 0;
    if (sticky)
        return {};
    if ((st.st_mode & S_IWOTH) != 0 || ((st.st_mode & S_IWGRP) != 0 && !UsersOwnGroup(st.st_gid)))
        return "is writable by other users";
    return {};
}

// Empty when every folder from `folder` up to the root is out of other users' hands.
std::string FolderProblem(const std::filesystem::path& folder)
{
    for (std::filesystem::path at = folder;; at = at.parent_path()) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0)
            return "its folder " + at.string() + " cannot be examined: " + ErrorText(errno);
        if (const std::string why = ForeignHands(st); !why.empty())
            return "its folder " + at.string() + " " + why;
        if (at == at.root_path() || !at.has_relative_path())
            return {};
    }
}

bool ReadAt(int fd, void* into, size_t bytes, uint64_t offset)
{
    return ::pread(fd, into, bytes, static_cast<off_t>(offset)) == static_cast<ssize_t>(bytes);
}

bool Inside(uint64_t offset, uint64_t bytes, uint64_t size)
{
    return offset <= size && bytes <= size - offset;
}

// Empty when the ELF headers of the open file and all it maps lie inside its `size` bytes.
std::string ElfProblem(int fd, uint64_t size)
{
    ElfW(Ehdr) header {};
    if (!ReadAt(fd, &header, sizeof header, 0) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return "is not a shared object";
    if (header.e_ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) || header.e_type != ET_DYN)
        return "is not a shared object of this machine";
    if (header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0 ||
        !Inside(header.e_phoff, uint64_t{header.e_phnum} * sizeof(ElfW(Phdr)), size))
        return "is cut short (its program headers lie past its end)";
    for (unsigned n = 0; n < header.e_phnum; ++n) {
        ElfW(Phdr) segment {};
        if (!ReadAt(fd, &segment, sizeof segment, header.e_phoff + uint64_t{n} * sizeof segment))
            return "cannot be read";
        // Mapping a segment past the end of the file faults when it is touched.
        if (segment.p_type == PT_LOAD && !Inside(segment.p_offset, segment.p_filesz, size))
            return "is cut short (a segment lies past its end)";
    }
    if (header.e_shnum != 0 && !Inside(header.e_shoff, uint64_t{header.e_shnum} * header.e_shentsize, size))
        return "is cut short (its section headers lie past its end)";
    return {};
}

// Opens the module after checking it, with its resolved name in `real`; -1 with the
// phrase in problem.
int OpenModule(const std::string& path, std::string& real, std::string& problem)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        problem = "cannot be opened: " + ErrorText(errno);
        return -1;
    }
    real = resolved;
    const int fd = ::open(resolved, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        problem = "cannot be opened: " + ErrorText(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        problem = "cannot be examined: " + ErrorText(errno);
    else if (!S_ISREG(st.st_mode))
        problem = "is " + FileKindText(st.st_mode) + ", not a regular file";
    else if (const std::string why = ForeignHands(st); !why.empty())
        problem = why;
    else if (const std::string folder = FolderProblem(std::filesystem::path(real).parent_path()); !folder.empty())
        problem = folder;
    else
        problem = ElfProblem(fd, static_cast<uint64_t>(st.st_size));
    if (!problem.empty()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The object file a loaded address belongs to; null for an address in none.
const void* ObjectOf(const void* address)
{
    Dl_info info {};
    return address != nullptr && ::dladdr(address, &info) != 0 ? info.dli_fbase : nullptr;
}

// The module's entry checked before anything in it is called: a data object of the module
// (not a function), whose version is this build's and whose pointers, `entryBytes` of them
// in all, are none of them null and all point into the module. Empty when it may be used,
// else the reason.
std::string EntryProblem(const void* entry, size_t entryBytes, const std::string& what, const std::string& file)
{
    Dl_info info {};
    void* symbolInfo = nullptr;
    const std::string unusable = "cannot use the " + what + " " + file + ": ";
    const bool found = ::dladdr1(entry, &info, &symbolInfo, RTLD_DL_SYMENT) != 0;
    const auto* symbol = static_cast<const ElfW(Sym)*>(symbolInfo);
    if (!found || symbol == nullptr ||
        ELF64_ST_TYPE(symbol->st_info) != STT_OBJECT || symbol->st_size < sizeof(void*))
        return unusable + "its entry is not data";
    const void* module = info.dli_fbase;
    const char* version = *static_cast<const char* const*>(entry);
    if (ObjectOf(version) != module)
        return unusable + "its entry names no version";
    if (std::strncmp(version, ZORBO_VERSION, sizeof ZORBO_VERSION) != 0)
        return "the " + what + " " + file + " belongs to another version of the game (this is " ZORBO_VERSION ")";
    if (symbol->st_size < entryBytes)
        return unusable + "its entry is incomplete";
    for (size_t at = sizeof(void*); at + sizeof(void*) <= entryBytes; at += sizeof(void*)) {
        const void* pointer = nullptr;
        std::memcpy(&pointer, static_cast<const char*>(entry) + at, sizeof pointer);
        if (pointer == nullptr || ObjectOf(pointer) != module)
            return unusable + "its entry is incomplete";
    }
    return {};
}

} // namespace

std::string ProgramFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

std::vector<std::string> ModulePlaces(const std::string& programDir, const std::string& file)
{
    namespace fs = std::filesystem;
    std::vector<std::string> places;
    if (!programDir.empty()) {
        places.push_back((fs::path(programDir) / file).string());
        places.push_back((fs::path(programDir) / ZORBO_MODULES_FROM_PROGRAM / file).lexically_normal().string());
    }
    places.push_back((fs::path(ZORBO_INSTALL_MODULE_DIR) / file).string());
    return places;
}

std::string ModuleFileProblem(const std::string& path)
{
    std::string problem, real;
    const int fd = OpenModule(path, real, problem);
    if (fd >= 0)
        ::close(fd);
    return problem;
}

const void* LoadModuleEntry(const std::string& programDir, const std::string& file, const char* symbol,
                            size_t entryBytes, const std::string& what, std::string& problem,
                            const std::string& notFoundHint)
{
    std::string found;
    for (const std::string& place : ModulePlaces(programDir, file)) {
        struct stat st {};
        if (::lstat(place.c_str(), &st) == 0) {
            found = place;
            break;
        }
    }
    if (found.empty()) {
        problem = "the " + what + " " + file + " is not installed beside the program or in " + ZORBO_INSTALL_MODULE_DIR +
                  notFoundHint;
        return nullptr;
    }
    std::string why, real;
    const int fd = OpenModule(found, real, why);
    if (fd < 0) {
        problem = "cannot load the " + what + " " + found + ": it " + why;
        return nullptr;
    }
    // Loaded by its resolved name: nobody but this user or root can change what is in the
    // folders checked above. (Not through /proc/self/fd: the loader knows a module by its
    // name, and two modules opened on one descriptor number would be taken for one.)
    ::close(fd);
    void* module = ::dlopen(real.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = ::dlerror();
        problem = "cannot load the " + what + " " + found + ": " + (reason != nullptr ? reason : "unknown reason");
        return nullptr;
    }
    // Left loaded when refused, like a used one: its libraries may have set up what runs at exit.
    const void* entry = ::dlsym(module, symbol);
    if (entry == nullptr) {
        problem = "the " + what + " " + found + " belongs to another version of the game (this is " ZORBO_VERSION ")";
        return nullptr;
    }
    if (problem = EntryProblem(entry, entryBytes, what, found); !problem.empty())
        return nullptr;
    problem.clear();
    return entry;
}

} // namespace zorbo
