#pragma once
// A copy of a level set with unsaved changes, kept beside the player's other state, so that
// an editor ended by a signal, a crash or a power cut loses at most a few seconds of work.
// It is offered back the next time that file is opened.
#include "media/FileLock.h"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorbo::editor {

// $XDG_STATE_HOME/zorbo, else ~/.local/state/zorbo (ZorboStateFolder); empty when neither
// names an absolute folder.
std::string RecoveryFolder();

// The copy's file in folder for the set at path ("" for a set without a file yet):
// the hash of the absolute path, then the file's own name, so that it maps back to one file
// and a person looking in the folder still sees which.
std::string RecoveryFile(const std::string& folder, const std::string& path);

// A set without a file has a copy of its own in each window that edits one, so that two
// editors, or two sets in turn, never write over each other's: "untitled-PID-TIME-N.recover".
// The window holds the copy's FileLock while it lives, which keeps other editors from
// taking it up as abandoned.
struct UntitledCopy {
    std::string file;
    FileLock lock;
};
// A new copy's name in folder, locked (its lock unheld when locks cannot be made).
UntitledCopy NewUntitledCopy(const std::string& folder);
// The copies of sets without a file in folder that no running editor holds (their locks
// are free), newest first; `own` is left out (this window's).
std::vector<std::string> AbandonedUntitledCopies(const std::string& folder, const std::string& own = {});

// The copy as written: a first line naming the set's file (by length, so any byte may be in
// it), then the set's text as it would be saved.
std::string RecoveryBytes(const std::string& path, std::string_view text);
struct RecoveredSet {
    std::string path;
    std::string text;
};
// Reads back RecoveryBytes; nullopt for bytes that are not such a copy.
std::optional<RecoveredSet> ReadRecoveryBytes(std::string_view bytes);

// Writes the copy atomically, making its folder (for this user only) when needed. False
// with the reason.
bool WriteRecovery(const std::string& file, const std::string& path, std::string_view text, std::string& reason);

struct RecoveryCopy {
    std::string text;
    std::time_t written = 0;
    // The set's file was changed after the copy was written: the copy's edits were made
    // to an older file, and saving them must ask before it replaces the newer one.
    bool olderThanFile = false;
};
// The copy in file when it is one of the set at path.
std::optional<RecoveryCopy> FindRecovery(const std::string& file, const std::string& path);
void RemoveRecovery(const std::string& file);

} // namespace zorbo::editor
