#include "content/ai_catalogue.h"

namespace kv::content {

const char* baseStateName(int state) {
    switch (state) {
    case 1:
        return "No Bases";
    case 2:
        return "Bases";
    case 3:
        return "Advanced Bases";
    default:
        return "#Error#";
    }
}

const AiRecord* AiCatalogue::find(std::string_view name) const {
    for (const auto& r : records)
        if (r.name == name)
            return &r;
    return nullptr;
}

AiRecord* AiCatalogue::find(std::string_view name) {
    for (auto& r : records)
        if (r.name == name)
            return &r;
    return nullptr;
}

std::string AiCatalogue::directoryOf(std::string_view name) const {
    const AiRecord* r = find(name);
    return r ? r->directory : std::string();
}

std::vector<std::string> AiCatalogue::names() const {
    std::vector<std::string> out;
    for (const auto& r : records)
        out.push_back(r.name);
    return out;
}

const RulesRecord* RulesCatalogue::find(std::string_view name) const {
    for (const auto& r : records)
        if (r.name == name)
            return &r;
    return nullptr;
}

std::string RulesCatalogue::directoryOf(std::string_view name) const {
    const RulesRecord* r = find(name);
    return r ? r->directory : std::string();
}

} // namespace kv::content
