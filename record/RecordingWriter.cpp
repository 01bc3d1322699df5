#include "record/RecordingWriter.h"

#include "media/RegularFile.h"

namespace zorbo {

RecordingWriter::~RecordingWriter()
{
    // One that never reached a poll holds nothing worth keeping.
    if (text_.Polls() == 0)
        file_.Discard();
}

bool RecordingWriter::Open(const std::string& file, std::string& error)
{
    std::string reason;
    if (!lock_.Acquire(file, reason)) {
        error = "cannot record to " + file + ": " + (lock_.Busy() ? "it is already being written by another Zorbo" : reason);
        return false;
    }
    if (!file_.Open(file, reason)) {
        error = "cannot record to " + file + ": " + reason;
        lock_.Release();
        return false;
    }
    return true;
}

void RecordingWriter::Put(const std::string& text)
{
    if (!file_.IsOpen() || !error_.empty())
        return;
    if (written_ + text.size() > RecordingFormat::MaxFileBytes) {
        error_ = "the recording reached " + SizeText(RecordingFormat::MaxFileBytes) + ", the most one may hold, at poll " +
                 std::to_string(text_.Polls());
        return;
    }
    if (!file_.Write(text)) {
        error_ = file_.Problem();
        return;
    }
    written_ += text.size();
}

void RecordingWriter::Write(const Recording& rec)
{
    if (file_.IsOpen() && error_.empty())
        Put(text_.Next(rec, false));
}

bool RecordingWriter::Finish(const Recording& rec, std::string& error)
{
    if (!file_.IsOpen()) {
        error = "cannot record to " + file_.Target() + ": the file is not open";
        return false;
    }
    Put(text_.Next(rec, true));
    std::string reason;
    if (!error_.empty()) {
        file_.Close();
    } else if (!file_.Commit(reason)) {
        if (file_.Written()) {
            error = reason;
            return false;
        }
        error_ = reason;
    }
    lock_.Release();
    if (!error_.empty()) {
        error = "the recording is not finished: " + error_ + "; " + file_.Temp() + " holds the game up to its last poll";
        return false;
    }
    return true;
}

bool SaveRecording(const Recording& rec, const std::string& file, std::string& error)
{
    if (!IsPlainFileName(rec.levelSet)) {
        error = "the level set \"" + rec.levelSet + "\" cannot be recorded: a recording names a file right in the data folder";
        return false;
    }
    RecordingWriter writer;
    return writer.Open(file, error) && writer.Finish(rec, error);
}

bool LoadRecording(const std::string& file, Recording& out, std::string& error)
{
    std::string bytes, reason;
    if (ReadRegularFile(file, RecordingFormat::MaxFileBytes, bytes, reason) != FileError::None) {
        error = file + ": " + reason + (reason.starts_with("is larger") ? ", the most a recording holds" : "");
        return false;
    }
    RecordingParse parse = ParseRecording(bytes);
    if (!parse.ok()) {
        error = parse.FirstError(file);
        return false;
    }
    out = std::move(parse.recording);
    return true;
}

} // namespace zorbo
