// Any bytes at all, as a recording: reading them must neither crash nor hang, whatever the
// reader accepts is in range, and it reads back the same once written out again, whether
// written whole or poll by poll as a game in progress writes it.
#include "record/Recording.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace zorbo;

namespace {

void Fail(const char* what)
{
    std::fprintf(stderr, "recording fuzz: %s\n", what);
    std::abort();
}

void CheckRanges(const Recording& rec)
{
    if (!IsPlainFileName(rec.levelSet))
        Fail("accepted a level-set name that is not a plain file name");
    if (rec.startLevel < 0 || rec.startLevel >= RecordingFormat::Levels)
        Fail("accepted a start level out of range");
    if (rec.difficulty != 18 && rec.difficulty != 26 && rec.difficulty != 32 && rec.difficulty != 38)
        Fail("accepted a difficulty out of range");
    int64_t polls = 0;
    uint32_t lastTick = 0;
    for (const Recording::Input& in : rec.inputs) {
        if (in.keys) {
            ++polls;
        } else if (in.tick < lastTick || in.tick > RecordingFormat::MaxTick) {
            Fail("accepted a tick count out of range or running backwards");
        } else {
            lastTick = in.tick;
        }
    }
    int64_t lastPoll = 0;
    for (const Recording::Checkpoint& c : rec.checkpoints)
        if (c.poll < lastPoll || c.poll > polls || c.level < 0 || c.level > RecordingFormat::Levels)
            Fail("accepted a checkpoint out of range");
        else
            lastPoll = c.poll;
    if (rec.cutOff && (rec.inputs.empty() || !rec.inputs.back().keys))
        Fail("a cut-off recording does not end on a poll");
    if (!rec.cutOff && (rec.checkpoints.empty() || rec.checkpoints.back().poll != polls))
        Fail("accepted a finished recording without its final checkpoint");
}

// The text a game in progress writes: the recording grows input by input, checkpoints
// join before the poll they were taken at, and the text is asked for after every poll.
std::string WrittenAsItGoes(const Recording& whole)
{
    Recording growing = whole;
    growing.inputs.clear();
    growing.checkpoints.clear();
    RecordingText text;
    std::string out;
    size_t check = 0;
    int64_t polls = 0;
    for (const Recording::Input& in : whole.inputs) {
        if (in.keys)
            for (; check < whole.checkpoints.size() && whole.checkpoints[check].poll <= polls; ++check)
                growing.checkpoints.push_back(whole.checkpoints[check]);
        growing.inputs.push_back(in);
        if (in.keys) {
            ++polls;
            out += text.Next(growing, false);
        }
    }
    growing.checkpoints.insert(growing.checkpoints.end(), whole.checkpoints.begin() + static_cast<ptrdiff_t>(check),
                               whole.checkpoints.end());
    return out + text.Next(growing, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RecordingParse parse = ParseRecording(bytes);
    (void)parse.FirstError("fuzz.rec");
    if (parse.ok() == parse.problems.size() > 0)
        Fail("ok() disagrees with the problem list");
    if (!parse.ok())
        return 0;
    CheckRanges(parse.recording);

    const std::string text = FormatRecording(parse.recording);
    const RecordingParse again = ParseRecording(text);
    if (!again.ok())
        Fail("a recording written out does not read back");
    if (!(again.recording == parse.recording))
        Fail("a recording written out reads back as another recording");
    if (WrittenAsItGoes(parse.recording) != text)
        Fail("written poll by poll the recording differs from the one written whole");
    return 0;
}
