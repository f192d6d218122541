#include "content/script_apply.h"

#include "common/ui_port.h"
#include "content/text_util.h"

#include <algorithm>
#include <unordered_map>

namespace kv::content {

namespace {

constexpr size_t npos = std::string_view::npos;

// Finds the first `"ID"` of the text. Scripts with many fields would scan the whole text
// once per field; the first text between each two neighbouring quotes is looked up instead.
class QuotedIndex {
public:
    explicit QuotedIndex(std::string_view text) : text_(text) {}

    size_t find(const std::string& id) {
        if (id.find('"') != std::string::npos)
            return text_.find("\"" + id + "\"");
        if (!built_)
            build();
        const auto it = first_.find(id);
        return it == first_.end() ? npos : it->second;
    }

private:
    void build() {
        built_ = true;
        size_t open = text_.find('"');
        while (open != npos) {
            const size_t close = text_.find('"', open + 1);
            if (close == npos)
                break;
            first_.try_emplace(text_.substr(open + 1, close - open - 1), open);
            open = close;
        }
    }

    std::string_view text_;
    bool built_ = false;
    std::unordered_map<std::string_view, size_t> first_;
};

// The result as a growing prefix followed by the untouched text from `tail` on, so each
// replacement copies only what lies between it and the one before.
class Result {
public:
    explicit Result(std::string_view original) : original_(original) {}

    size_t size() const { return prefix_.size() + (original_.size() - tail_); }

    // Keeps the first `keep` characters, appends `replacement`, continues with the
    // untouched text from `resume`.
    void replace(size_t keep, std::string_view replacement, size_t resume) {
        keep = std::min(keep, size());
        if (keep <= prefix_.size())
            prefix_.resize(keep);
        else
            prefix_.append(original_.substr(tail_, keep - prefix_.size()));
        prefix_.append(replacement);
        tail_ = std::min(resume, original_.size());
    }

    std::string take() && {
        prefix_.append(original_.substr(tail_));
        return std::move(prefix_);
    }

private:
    std::string_view original_;
    std::string prefix_;
    size_t tail_ = 0;
};

size_t lastBefore(std::string_view text, char c, size_t before) {
    return before == 0 ? npos : text.rfind(c, before - 1);
}

struct Region {
    size_t start = 0, end = 0;
    std::string replacement;
};

std::string where(size_t index, const ScriptField& field) {
    // Appended piece by piece: GCC warns of a false overlap for "#" + std::string&&.
    std::string text = "#";
    text += std::to_string(index);
    text += " at position ";
    text += std::to_string(field.annotationStart);
    return text;
}

std::optional<Region> assignmentRegion(std::string_view t, size_t mark, size_t index,
                                       const ScriptField& field, const std::string& value, Ui& ui) {
    const size_t equals = lastBefore(t, '=', mark);
    if (equals == npos) {
        ui.message("Couldn't find '=' for assignment, field " + where(index, field),
                   Icon::Exclamation);
        return std::nullopt;
    }
    const size_t semicolon = t.find(';', equals + 1);
    if (semicolon == npos) {
        ui.message("Couldn't find ';' for assignment, field " + where(index, field),
                   Icon::Exclamation);
        return std::nullopt;
    }
    return Region{equals + 1, semicolon, " " + value};
}

std::optional<Region> parameterRegion(std::string_view t, size_t mark, size_t index,
                                      const ScriptField& field, const std::string& value, Ui& ui) {
    size_t p = lastBefore(t, '(', mark);
    if (p == npos)
        return std::nullopt;
    const int k = field.parameterIndex;
    for (int step = 0; step < k; ++step) {
        p = t.find(',', p + 1);
        if (p == npos)
            return std::nullopt;
    }
    size_t end = t.find(')', p + 1);
    if (k >= 0)
        end = std::min(end, t.find(',', p + 1));
    if (end == npos) {
        ui.message("Error looking for the end of the field to replace " + where(index, field),
                   Icon::Exclamation);
        return std::nullopt;
    }
    return Region{p + 1, end, (k >= 1 ? " " : "") + value + " "};
}

} // namespace

AppliedScript applyFields(const std::vector<ScriptField>& fields, std::string_view t, Ui& ui) {
    AppliedScript out;
    if (trimBlanks(t).empty())
        return out;
    out.ok = true;
    QuotedIndex ids(t);
    Result result(t);
    long long offset = 0;
    for (size_t index = 0; index < fields.size(); ++index) {
        const ScriptField& field = fields[index];
        const size_t idAt = ids.find(field.id);
        if (idAt == npos) {
            ui.message("Failed to find field with ID: '" + field.id + "'.", Icon::Exclamation);
            continue;
        }
        const size_t mark = t.rfind(kFieldStart, idAt);
        if (mark == npos) {
            ui.message(std::string("Failed to find field start: '") + kFieldStart + "'.",
                       Icon::Exclamation);
            continue;
        }
        const ScriptValue* value = field.selectedValue();
        if (!value)
            continue; // a field without values has nothing to write
        std::optional<Region> region;
        if (equalsNoCase(field.type, "asn"))
            region = assignmentRegion(t, mark, index, field, value->text, ui);
        else if (equalsNoCase(field.type, "prm"))
            region = parameterRegion(t, mark, index, field, value->text, ui);
        if (!region)
            continue;
        const long long keep = std::max(0LL, (long long)region->start + offset);
        result.replace(size_t(keep), region->replacement, region->end);
        offset += (long long)region->replacement.size() - (long long)(region->end - region->start);
        out.replacements.push_back({region->start, region->end, std::move(region->replacement)});
    }
    out.text = std::move(result).take();
    return out;
}

} // namespace kv::content
