#pragma once
// Reading a whole file of outside data: a level set, a bitmap, a wave, a recording.
#include <cstddef>
#include <string>

namespace zorbo {

enum class FileError {
    None,
    CannotOpen,  // missing, no permission, ...
    NotRegular,  // a folder, FIFO, device or socket
    TooLarge,    // more than the caller's limit
    CannotRead,
};

// Reads the file at path into bytes. The file is opened without blocking and checked after
// opening, so a FIFO or a device is refused at once instead of stalling the game, and a
// file swapped between a check and the open cannot slip through. On failure, reason is a
// phrase to follow the file's name: "cannot be opened: permission denied", "is a FIFO, not
// a regular file", "is larger than 4 MB".
FileError ReadRegularFile(const std::string& path, size_t maxBytes, std::string& bytes, std::string& reason);

// Pieces of such messages: what a file of this st_mode is ("a FIFO"), the system's reason
// for an errno in lower case, and a size ("4 MB").
std::string FileKindText(unsigned mode);
std::string ErrorText(int error);
std::string SizeText(size_t bytes);

} // namespace zorbo
