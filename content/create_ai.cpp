#include "content/create_ai.h"

#include "content/ai_file.h"
#include "content/catalogue_scan.h"
#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kv::content {

bool extractVloBody(const std::vector<std::string>& vloLines, std::string& body,
                    std::string& error) {
    std::vector<std::string> lines = vloLines;
    bool found = false;
    for (auto& line : lines) {
        const size_t p = line.find("player");
        if (p != std::string::npos && line.find("INT", p + 6) != std::string::npos) {
            line = " ";
            found = true;
            break;
        }
    }
    if (!found) {
        error = "Error reading vlo file:\r\n'player INT x'";
        return false;
    }
    const std::string text = platform::joinLinesCrLf(lines);
    const size_t marker = text.find("run\r\n{");
    if (marker == std::string::npos) {
        error = "Error reading .vlo file.\r\nCouldn't find text: 'run'";
        return false;
    }
    body = text.substr(marker + 6);
    return true;
}

namespace {

void offerAdditionalFiles(const ContentEnv& env, const std::string& name) {
    const std::string folder = withTrailingSeparator(env.paths.aiFolder + name);
    platform::createFolderTree(folder);
    FileGate gate = fileGate(env);
    for (const auto& e : platform::listDirectory(folder, "*")) {
        if (e.isFolder)
            continue;
        gate.trash(FileKind::Ai, folder + e.name);
    }
    for (;;) {
        const auto file =
            env.ui.openFile("Additional files", "Korvane files|*.kdg;*.vlo;*slo", folder);
        if (!file)
            break;
        if (platform::Status s = gate.copyOver(FileKind::Ai, *file, folder + fileNameOf(*file)); !s)
            env.ui.message(std::to_string(s.code) + " - " + s.description, Icon::Critical);
        if (env.ui.message("More files?", Icon::Question, Buttons::YesNo) != Answer::Yes)
            break;
    }
}

} // namespace

bool createAiFile(ContentState& state, const ContentEnv& env) {
    const auto sloPath = env.ui.openFile("Slo file", "'*.slo' files|*.slo", env.gameFolder);
    if (!sloPath)
        return false;
    std::vector<std::string> scriptLines;
    if (platform::Status s = platform::readTextLines(*sloPath, scriptLines); !s) {
        env.ui.message(std::to_string(s.code) + " - " + s.description, Icon::Critical);
        return false;
    }
    const auto vloPath = env.ui.openFile("Vlo file", "Vlo files|*.vlo", env.gameFolder);
    if (!vloPath)
        return false;
    std::vector<std::string> vloLines;
    if (platform::Status s = platform::readTextLines(*vloPath, vloLines); !s) {
        env.ui.message(std::to_string(s.code) + " - " + s.description, Icon::Critical);
        return false;
    }
    std::string body, error;
    if (!extractVloBody(vloLines, body, error)) {
        env.ui.message(error, Icon::Critical);
        return false;
    }

    const std::string title = fileNameOf(*sloPath);
    const std::string suggested = title.size() > 4 ? title.substr(0, title.size() - 4) : "";
    const auto answer = env.ui.input("Enter AI name", "AI", suggested);
    const std::string name = answer ? trimBlanks(*answer) : std::string();
    // A name is a file name in the AI folder; separators would lead elsewhere.
    if (name.empty() || name.find_first_of("\\/") != std::string::npos) {
        env.ui.message("AI file was not created!", Icon::Exclamation);
        return false;
    }

    const std::string target = env.paths.aiFolder + name + ".kvai";
    if (platform::pathExists(target))
        platform::clearAttributes(target);
    if (platform::Status s =
            platform::writeFileAtomic(target, buildAiFile(name, scriptLines, body));
        !s) {
        if (s.code == platform::err::PermissionDenied) {
            env.ui.message("Some files are write-protected!", Icon::Exclamation);
            env.ui.message("AI file was not created!", Icon::Exclamation);
        } else {
            env.ui.message(std::to_string(s.code) + " - " + s.description, Icon::Critical);
        }
        return false;
    }

    if (env.ui.message("Does this AI require any additional files?\r\nPress 'No' if you are unsure",
                       Icon::Question, Buttons::YesNo, "Additional files") == Answer::Yes)
        offerAdditionalFiles(env, name);

    env.ui.message("Done!", Icon::Information);
    CustomAIList_fill(state, env);
    return true;
}

} // namespace kv::content
