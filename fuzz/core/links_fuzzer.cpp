// Feeds arbitrary bytes to the links-file reader and checks that whatever it applied is
// a colour the window can show.
#include "content/line_syntax.h"
#include "launcher/links_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kv::content::FolderVars vars;
    vars.launcher = "/kvs/";
    kv::MainLinkSettings settings;
    kv::applyLinksText(text, vars, settings);
    for (std::uint32_t colour : {settings.background, settings.textColor, settings.backgroundFlash,
                                 settings.textFlash, settings.startButtonBack})
        if (colour > 0xFFFFFF)
            std::abort();
    return 0;
}
