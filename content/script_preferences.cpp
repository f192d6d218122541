#include "content/script_preferences.h"

#include "common/ui_port.h"
#include "content/line_syntax.h"
#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"

#include <cmath>

namespace kv::content {

namespace {

constexpr const char* kLoadError = "Error loading script customizing preferences.\r\n\r\n";

// A key line whose value may be empty: a field picked by an undescribed value still
// stores its block.
bool preferenceLine(std::string_view raw, const FolderVars& vars, std::string& key,
                    std::string& value) {
    const std::string line = cleanLine(raw);
    if (!isKeyLine(line))
        return false;
    const size_t eq = line.find('=');
    const size_t q1 = line.find('"');
    const size_t q2 = line.find('"', q1 + 1);
    key = trimBlanksTabs(std::string_view(line).substr(0, eq));
    value = expandValue(std::string_view(line).substr(q1 + 1, q2 - q1 - 1), vars);
    return true;
}

std::string quoted(std::string_view key, std::string_view value) {
    return std::string(key) + "=\"" + std::string(value) + "\"\r\n";
}

} // namespace

std::string formatPreferences(const ScriptCustomizing& data) {
    std::string out = "1.0\r\n\r\n";
    for (const ScriptField& f : data.fields) {
        const ScriptValue* v = f.selectedValue();
        out += quoted("FieldID", f.id);
        out += quoted("SelectedText", v ? v->description : std::string());
        out += quoted("SelectedIndex", std::to_string(f.selected));
        out += "\r\n";
    }
    return out + "\r\n";
}

bool assignField(ScriptCustomizing& data, const std::string& fieldId, long long savedIndex,
                 const std::string& selectedText, Ui& ui) {
    for (ScriptField& field : data.fields) {
        if (!equalsNoCase(field.id, fieldId))
            continue;
        for (size_t k = 0; k < field.values.size(); ++k) {
            if (!equalsNoCase(field.values[k].description, selectedText))
                continue;
            field.selected = int(k);
            if ((long long)k != savedIndex)
                ui.message("Field '" + selectedText +
                               "' was found under a different index, did you modify the script? "
                               "(Please restart KVS)\r\n\r\n'" +
                               data.name + "', FieldID: " + fieldId + ".",
                           Icon::Exclamation);
            return true;
        }
    }
    ui.message("Couldn't assign field '" + fieldId + "' for AI or Rules ('" + data.name +
                   "').\r\nField text: '" + selectedText + "'.",
               Icon::Exclamation);
    return false;
}

void applyPreferencesText(std::string_view text, ScriptCustomizing& data, const FolderVars& vars,
                          Ui& ui) {
    int fieldLines = 0;
    std::string fieldId, selectedText, key, value;
    for (const std::string& line : platform::splitLines(text)) {
        if (!preferenceLine(line, vars, key, value))
            continue;
        if (equalsNoCase(key, "FieldID")) {
            fieldId = trimBlanks(value);
            if (fieldId.empty())
                ui.message(kLoadError + data.name + " - field ID is empty.", Icon::Exclamation);
            ++fieldLines;
        } else if (equalsNoCase(key, "SelectedText")) {
            selectedText = value;
        } else if (equalsNoCase(key, "SelectedIndex")) {
            const std::optional<double> index = numericValue(value);
            if (!index || !std::isfinite(*index)) {
                ui.message(kLoadError + data.name + " - selected value index - integer excpected.",
                           Icon::Exclamation);
            } else if (!fieldId.empty() && fieldLines > 0) {
                const double bounded = std::fmax(-1e15, std::fmin(1e15, *index));
                assignField(data, fieldId, roundHalfEven(bounded), selectedText, ui);
            }
        }
    }
}

bool loadPreferences(const std::string& path, ScriptCustomizing& data, const FolderVars& vars,
                     Ui& ui) {
    if (path.empty())
        return false;
    if (!platform::fileExists(path))
        return true;
    std::string text;
    if (!platform::readFile(path, text))
        return false;
    applyPreferencesText(text, data, vars, ui);
    return true;
}

bool savePreferences(const std::string& path, const ScriptCustomizing& data, Ui& ui) {
    const std::string folder = path.substr(0, path.find_last_of("/\\") + 1);
    // An empty path is a name that was refused: nothing is written for it.
    bool ok = !path.empty() && (folder.empty() || platform::folderExists(folder) ||
                                bool(platform::createFolderTree(folder)));
    ok =
        ok && bool(platform::writeFileAtomic(platform::resolvePath(path), formatPreferences(data)));
    if (!ok)
        ui.message("Failed to save script customizing setting file.\r\n'" + data.name + "'.",
                   Icon::Exclamation);
    return ok;
}

} // namespace kv::content
