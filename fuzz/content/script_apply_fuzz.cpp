// Fields applied to texts of any shape. The first bytes pick a value and a parameter index
// for every field; the rest is the script. Outside the replaced regions the result must
// be the script itself.
#include "common/dialogless_ui.h"
#include "content/line_syntax.h"
#include "content/script_apply.h"
#include "content/script_parser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
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
    if (size < 2)
        return 0;
    const int pick = data[0] % 4;
    const int parameter = int(data[1] % 6) - 2;
    const std::string_view script(reinterpret_cast<const char*>(data) + 2, size - 2);
    QuietUi ui;
    NamedTexts named;
    ScriptCustomizing parsed{"fuzz", "", {}};
    parseAnnotatedText(script, parsed, named, FolderVars{}, ui);
    for (ScriptField& f : parsed.fields) {
        f.selected = pick;
        if (data[1] & 0x80)
            f.parameterIndex = parameter;
    }
    const AppliedScript r = applyFields(parsed.fields, script, ui);
    if (!r.ok)
        return 0;
    // Regions in ascending order replace exactly their bytes; the result is rebuilt from
    // the script and the replacements and must match.
    bool ascending = true;
    size_t last = 0;
    for (const ScriptReplacement& x : r.replacements) {
        if (x.start > x.end || x.end > script.size())
            std::abort();
        ascending = ascending && x.start >= last;
        last = x.end;
    }
    if (ascending) {
        std::string expected;
        size_t at = 0;
        for (const ScriptReplacement& x : r.replacements) {
            expected.append(script.substr(at, x.start - at));
            expected.append(x.text);
            at = x.end;
        }
        expected.append(script.substr(at));
        if (expected != r.text)
            std::abort();
    }
    if (r.replacements.empty() && r.text != script)
        std::abort();
    return 0;
}
