#include "mapview/lnd_reader.h"

#include "common/paths.h"
#include "mapview/lnd_text.h"
#include "platform/files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace kv::mapview {

namespace {

// The line at a position counted from 0; lines past the end read as empty.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : lines_(splitLndLines(text)) {}
    std::string_view line(std::int64_t index) const {
        return index >= 0 && index < std::int64_t(lines_.size()) ? lines_[std::size_t(index)]
                                                                 : std::string_view{};
    }
    std::int64_t remaining(std::int64_t from) const {
        return std::max<std::int64_t>(0, std::int64_t(lines_.size()) - from);
    }

private:
    std::vector<std::string_view> lines_;
};

// Up to six lines of up to sixteen values (tokens 8 to 23), until `count` are stored.
std::int64_t readTable(const LineCursor& lines, std::int64_t pos, int count,
                       std::vector<int>& out) {
    count = std::clamp(count, 0, 6 * 16);
    out.clear();
    for (int row = 0; row < 6 && int(out.size()) < count; ++row, ++pos) {
        std::string_view tokens[24];
        lndTokens(lines.line(pos), tokens, 24);
        for (int t = 8; t < 24 && int(out.size()) < count; ++t)
            out.push_back(parseLndInt(tokens[t]));
    }
    return pos;
}

bool readTiles(const LineCursor& lines, MapModel& model, Progress& progress) {
    const std::int64_t total = model.numTiles;
    std::int64_t pos = 23;
    std::string_view tokens[18];
    for (int x = 0; x < model.mapWidth; ++x) {
        for (int y = 0; y < model.mapHeight; ++y, ++pos) {
            lndTokens(lines.line(pos), tokens, 18);
            MapTile* tile = model.tiles.find(x, y);
            tile->texture = parseLndInt(tokens[9]);
            tile->vertexFlip = parseLndInt(tokens[11]) != 0;
            tile->height = parseLndInt(tokens[17]);
        }
        const std::int64_t read = std::int64_t(x + 1) * model.mapHeight;
        const std::int64_t percent = total > 0 ? read * 100 / total : 100;
        progress.setStatus("Reading file...terrain(" + std::to_string(percent) + "%)");
        progress.setProgress(std::uint64_t(x + 1), std::uint64_t(model.mapWidth));
        if (progress.stopRequested())
            return false;
    }
    return true;
}

MapObject readObject(std::string_view line, const MapModel& model) {
    std::string_view tokens[16];
    lndTokens(line, tokens, 16);
    MapObject object;
    object.name = std::string(tokens[10]);
    object.player = parseLndInt(tokens[11]);
    const double worldX = parseLndNumber(tokens[13]);
    const double worldY = parseLndNumber(tokens[15]);
    object.x = clampToInt(std::floor(model.mapWidth / 2.0 + worldX / 128.0));
    object.y = clampToInt(std::floor(model.mapHeight / 2.0 - worldY / 128.0));
    return object;
}

// Everything after the tile lines: objects, scroll limits, gateways and the two tables.
void readTrailer(const LineCursor& lines, std::int64_t pos, MapModel& model, Progress& progress) {
    progress.setStatus("Reading file...objects");
    const int objectCount = parseLndInt(lndToken(lines.line(pos + 5), 5));
    pos += 7;
    const std::int64_t objectLines =
        std::min<std::int64_t>(std::max(objectCount, 0), lines.remaining(pos));
    for (std::int64_t i = 0; i < objectLines; ++i)
        model.objects.push_back(readObject(lines.line(pos + i), model));
    pos += std::max(objectCount, 0);

    progress.setStatus("Reading file...visible areas");
    model.scrollLimitCount = parseLndInt(lndToken(lines.line(pos + 4), 5));
    pos += 5;

    progress.setStatus("Reading file...gateways");
    const int gatewayCount = parseLndInt(lndToken(lines.line(pos + 6), 5));
    pos += 8;
    const std::int64_t gatewayLines =
        std::min<std::int64_t>(std::max(gatewayCount, 0), lines.remaining(pos));
    for (std::int64_t i = 0; i < gatewayLines; ++i) {
        std::string_view tokens[12];
        lndTokens(lines.line(pos + i), tokens, 12);
        model.gateways.push_back({parseLndInt(tokens[8]), parseLndInt(tokens[9]),
                                  parseLndInt(tokens[10]), parseLndInt(tokens[11])});
    }
    pos += std::max(gatewayCount, 0);

    progress.setStatus("Reading tile types...");
    pos = readTable(lines, pos + 5, parseLndInt(lndToken(lines.line(pos + 3), 5)), model.tileTypes);
    readTable(lines, pos + 5, parseLndInt(lndToken(lines.line(pos + 3), 5)), model.tileFlags);
}

bool liesIn(const std::string& path, const std::string& folder) {
    std::error_code ec;
    const auto parent = std::filesystem::weakly_canonical(
        std::filesystem::path(platform::resolvePath(path)).parent_path(), ec);
    auto root = std::filesystem::weakly_canonical(platform::resolvePath(folder), ec);
    // A trailing separator leaves an empty last name; the folder is the path before it.
    if (!root.has_filename())
        root = root.parent_path();
    return parent == root;
}

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The program folder's copy keeps the file's name; a different file already there under
// that name is never replaced, the copy then gets " (2)", " (3)", ... before the extension.
std::string keptCopyPath(const std::string& path, const std::string& programFolder) {
    const std::string name = fileName(path);
    const std::string folder = kv::withTrailingSeparator(programFolder);
    std::string candidate = folder + name;
    std::string original, existing;
    platform::readFile(path, original);
    const std::size_t dot = name.find_last_of('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    for (int n = 2; platform::fileExists(candidate); ++n) {
        if (platform::readFile(candidate, existing) && existing == original)
            break;
        candidate = folder + stem + " (" + std::to_string(n) + ")" + ext;
    }
    return candidate;
}

// Rewrites LF-only text with CR LF line ends; the piece after a final LF is dropped.
// The value of a "SeaLevel" line; a file without one keeps the default of 100.
std::optional<int> seaLevelValue(std::string_view line) {
    if (lndToken(line, 4) != "SeaLevel")
        return std::nullopt;
    const std::string_view value = lndToken(line, 5);
    const std::size_t digit = value.starts_with('-') || value.starts_with('+') ? 1 : 0;
    if (value.size() <= digit || value[digit] < '0' || value[digit] > '9')
        return std::nullopt;
    return parseLndInt(value);
}

std::string withCrLf(std::string_view text, Progress& progress) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    int lastPercent = -1;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        out.append(text.substr(start, end - start));
        out.append("\r\n");
        start = end + 1;
        const int percent =
            int(std::lround(100.0 * double(std::min(start, text.size())) / double(text.size())));
        if (percent != lastPercent) {
            lastPercent = percent;
            progress.setStatus("Formating file...please wait(" + std::to_string(percent) + "%)");
        }
    }
    return out;
}

} // namespace

ReadOutcome readLnd(std::string_view text, MapModel& model, Progress& progress) {
    model = MapModel{};
    model.sourceMode = SourceMode::Lnd;
    progress.setStatus("Reading file...");
    progress.setStatus("Reading file...map info");
    const LineCursor lines(text);
    if (!lines.line(0).starts_with("DataSet"))
        return ReadOutcome::WrongFormat;
    model.dataSet = std::string(lndToken(lines.line(0), 1));
    model.mapWidth = std::max(0, parseLndInt(lndToken(lines.line(10), 5)));
    progress.setStatus("Map width: " + std::to_string(model.mapWidth));
    model.mapHeight = std::max(0, parseLndInt(lndToken(lines.line(11), 5)));
    progress.setStatus("Map height: " + std::to_string(model.mapHeight));
    if (const auto sea = seaLevelValue(lines.line(14)))
        model.seaLevel = *sea;
    model.numTiles = parseLndInt(lndToken(lines.line(21), 5));
    if (model.mapWidth > kMaxLndSide || model.mapHeight > kMaxLndSide)
        return ReadOutcome::TooLarge;

    progress.setStatus("Reading file...terrain");
    model.tiles.resize(model.mapWidth, model.mapHeight);
    if (!readTiles(lines, model, progress))
        return ReadOutcome::Stopped;
    readTrailer(lines, 23 + std::int64_t(model.mapWidth) * model.mapHeight, model, progress);
    return ReadOutcome::Done;
}

LndLoadResult loadLndFile(const std::string& path, const std::string& programFolder,
                          MapModel& model, Progress& progress) {
    LndLoadResult result;
    progress.setStatus("Loading file...");
    std::string text;
    if (result.status = platform::readFile(path, text, kMapFileReadLimit); !result.status) {
        result.outcome = ReadOutcome::FileError;
        return result;
    }
    if (text.find("\r\n") == std::string::npos) {
        progress.setStatus("Formating file...please wait");
        if (!liesIn(path, programFolder))
            result.status = platform::writeFileAtomic(keptCopyPath(path, programFolder), text);
        text = withCrLf(text, progress);
        if (result.status)
            result.status = platform::writeFileAtomic(path, text);
        result.reformatted = true;
    }
    result.outcome = readLnd(text, model, progress);
    return result;
}

std::string readOutcomeText(ReadOutcome outcome) {
    switch (outcome) {
    case ReadOutcome::Done:
        return "Ready";
    case ReadOutcome::Stopped:
        return "Stopped";
    case ReadOutcome::WrongFormat:
        return "Wrong file format!";
    case ReadOutcome::TooLarge:
        return "Map too large: at most " + std::to_string(kMaxLndSide) + " tiles a side.";
    case ReadOutcome::FileError:
        break;
    }
    return "The file could not be read.";
}

} // namespace kv::mapview
