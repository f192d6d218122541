#pragma once
// The LND text map reader: reads the map editor's landscape files by line and token
// position into the map model, reporting its steps and stopping between tile columns.
#include "common/progress.h"
#include "mapview/map_model.h"
#include "platform/status.h"

#include <string>
#include <string_view>

namespace kv::mapview {

enum class ReadOutcome {
    Done,
    Stopped,     // a stop was requested; the model holds what was read
    WrongFormat, // "Wrong file format!"
    TooLarge,    // more tiles than the viewer can hold
    FileError,   // the file could not be read (see status)
};

// Largest width or height of an LND map the reader accepts; the game's own limit is 250.
inline constexpr int kMaxLndSide = 512;

// Reads LND text (CR LF or LF line ends) into `model`, replacing what it held.
ReadOutcome readLnd(std::string_view text, MapModel& model, Progress& progress);

struct LndLoadResult {
    ReadOutcome outcome = ReadOutcome::Done;
    platform::Status status; // the failing file operation, if any
    bool reformatted = false;
};

// Loads an LND file. A file without any CR LF is first rewritten with CR LF line ends;
// when it lies outside `programFolder`, a copy of it as it was is kept there first.
LndLoadResult loadLndFile(const std::string& path, const std::string& programFolder,
                          MapModel& model, Progress& progress);

// The text of a reader outcome for messages and the command line.
std::string readOutcomeText(ReadOutcome outcome);

} // namespace kv::mapview
