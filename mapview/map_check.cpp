#include "mapview/map_check.h"

#include <algorithm>

namespace kv::mapview {

namespace {

class Checker {
public:
    Checker(MapModel& model, Ui& ui, const MapCheckHooks& hooks)
        : model_(model), ui_(ui), hooks_(hooks) {}

    int run() {
        checkSide("Map height must be even", model_.mapHeight, isBadHeight(model_.mapHeight));
        checkSide("Map width must be even", model_.mapWidth, model_.mapWidth % 2 != 0);
        checkTileCount();
        checkSharedTiles();
        checkTerrainUnderObjects();
        if (model_.gateways.empty())
            report("There are no gateways, each map must have at least 1 gateway or the game "
                   "may crash.");
        if (faults_ > listed_ && hooks_.fault)
            hooks_.fault(std::to_string(faults_ - listed_) +
                         " more faults are not listed (only the first " +
                         std::to_string(kMaxListedFaults) + " are).");
        if (faults_ == 0)
            ui_.message("No erros were found", Icon::Information);
        return faults_;
    }

private:
    static bool isBadHeight(int h) { return h % 2 != 0 || h < 8 || h > 250; }

    void status(const std::string& text) {
        if (hooks_.status)
            hooks_.status(text);
    }
    void fault(const std::string& text) {
        ++faults_;
        // Many objects on one tile make a fault per pair: millions of lines help nobody.
        if (hooks_.fault && listed_ < kMaxListedFaults) {
            ++listed_;
            hooks_.fault(text);
        }
    }
    void report(const std::string& text) {
        fault(text);
        ui_.message(text, Icon::Exclamation);
    }
    // "No" is the default: Enter must not change the map.
    bool askFix(const std::string& question) {
        return ui_.message(question, Icon::Question, Buttons::YesNo, {}, Answer::No) == Answer::Yes;
    }

    void checkSide(const std::string& text, int& side, bool bad) {
        if (!bad)
            return;
        report(text);
        if (!askFix("Fix error?"))
            return;
        side = side >= 250 ? side - 1 : side + 1;
        side = std::clamp(side, 8, 250);
        model_.tiles.resize(model_.mapWidth, model_.mapHeight);
    }

    void checkTileCount() {
        if (std::int64_t(model_.mapWidth) * model_.mapHeight == model_.numTiles)
            return;
        report("Wrong number of tiles!");
        if (askFix("Fix error?"))
            model_.numTiles = model_.mapWidth * model_.mapHeight;
    }

    void checkSharedTiles() {
        auto& objects = model_.sourceMode == SourceMode::Kdg ? model_.oilResources : model_.objects;
        bool fixAll = false, askedFixAll = false;
        // Each pass may push an object onto another one, so passes repeat while they
        // repair; the bound only guards against objects shuffled back and forth forever.
        for (int pass = 0; pass < 1000; ++pass) {
            bool repaired = false;
            for (std::size_t i = 0; i < objects.size(); ++i) {
                for (std::size_t j = i + 1; j < objects.size(); ++j) {
                    MapObject& a = objects[i];
                    MapObject& b = objects[j];
                    if (a.x != b.x || a.y != b.y || isBaseWithModule(a.name, b.name))
                        continue;
                    status(a.name + " - " + b.name);
                    const std::string where =
                        "(" + std::to_string(a.x) + "X" + std::to_string(a.y) + ")";
                    const std::string text = "Some objects " + std::string(pass ? "still" : "") +
                                             " have identical coordinates. " + where;
                    fault(text);
                    if (!fixAll && !askFix(text + "\r\nFix error?"))
                        continue;
                    moveOff(b);
                    repaired = true;
                    if (!askedFixAll) {
                        askedFixAll = true;
                        fixAll = ui_.message("Fix all such errors?", Icon::Question,
                                             Buttons::YesNo) == Answer::Yes;
                    }
                }
            }
            if (!repaired)
                break;
        }
    }

    // The later object of the pair moves one tile along X, back inside at the map's edge.
    void moveOff(MapObject& object) const {
        object.x = object.x < model_.mapWidth - 1 ? object.x + 1 : object.x - 1;
    }

    void checkTerrainUnderObjects() {
        for (const MapObject& o : model_.visibleObjects()) {
            if (o.x < 0 || o.y < 0 || o.x >= model_.mapWidth || o.y >= model_.mapHeight)
                continue;
            const int type = model_.tileTypeOf(model_.tiles.at(o.x, o.y).texture);
            const char* what = type == 7   ? " is placed on water tile! "
                               : type == 8 ? " is placed on cliff face tile! "
                                           : nullptr;
            if (!what)
                continue;
            status(o.name);
            report(o.name + what + std::to_string(o.x) + " X " + std::to_string(o.y));
        }
    }

    MapModel& model_;
    Ui& ui_;
    const MapCheckHooks& hooks_;
    int faults_ = 0;
    int listed_ = 0;
};

} // namespace

bool isBaseWithModule(const std::string& a, const std::string& b) {
    struct Pair {
        const char* base;
        const char* module;
    };
    static constexpr Pair pairs[] = {
        {"\"A0LightFactory\"", "\"A0FacMod1\""},
        {"\"A0LightFactory\"", "\"A0FacMod2\""},
        {"\"A0ResearchFacility\"", "\"A0ResearchModule1\""},
        {"\"A0PowerGenerator\"", "\"A0PowMod1\""},
    };
    return std::any_of(std::begin(pairs), std::end(pairs), [&](const Pair& p) {
        return (a == p.base && b == p.module) || (a == p.module && b == p.base);
    });
}

int CheckForBugs_LoadedMap(MapModel& model, Ui& ui, const MapCheckHooks& hooks) {
    if (model.sourceMode == SourceMode::None) {
        ui.message("No map loaded", Icon::Exclamation);
        return 0;
    }
    return Checker(model, ui, hooks).run();
}

} // namespace kv::mapview
