// Script texts of any shape: every field that parses has positions inside the text, and
// the text's preference file reads back without trouble.
#include "common/dialogless_ui.h"
#include "content/line_syntax.h"
#include "content/script_parser.h"
#include "content/script_preferences.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

class QuietUi final : public kv::DialoglessUi {
public:
    kv::Answer message(const std::string&, kv::Icon, kv::Buttons, const std::string&) override {
        return kv::Answer::Ok;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kv::content;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    QuietUi ui;
    NamedTexts named;
    ScriptCustomizing parsed{"fuzz", "", {}};
    parseAnnotatedText(input, parsed, named, FolderVars{}, ui);
    for (const ScriptField& f : parsed.fields) {
        if (f.annotationStart < 1 || f.annotationEnd > std::int64_t(size) + 1 ||
            f.annotationStart >= f.annotationEnd)
            std::abort();
        if (f.values.size() > kMaxValues)
            std::abort();
    }
    // The same bytes as a preference file, and the fields' own file read back.
    applyPreferencesText(input, parsed, FolderVars{}, ui);
    applyPreferencesText(formatPreferences(parsed), parsed, FolderVars{}, ui);
    return 0;
}
