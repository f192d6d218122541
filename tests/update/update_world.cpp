#include "tests/update/update_world.h"

#include "platform/files.h"

#include <QCoreApplication>

namespace kv::test {

void ensureCoreApplication() {
    static int argc = 1;
    static char name[] = "update_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

std::string configText(const std::string& compact) {
    std::string out, item;
    auto endItem = [&] {
        if (const size_t eq = item.find('='); eq != std::string::npos)
            out += item.substr(0, eq) + " = \"" + item.substr(eq + 1) + "\"\r\n";
        item.clear();
    };
    for (size_t i = 0; i < compact.size(); ++i) {
        const char c = compact[i];
        if (c == '[' && item.empty()) {
            const size_t close = compact.find(']', i);
            out += compact.substr(i, close + 1 - i) + ":\r\n";
            i = close;
        } else if (c == '{' || c == '}') {
            endItem();
            out += std::string(1, c) + "\r\n";
        } else if (c == ';') {
            endItem();
        } else {
            item += c;
        }
    }
    endItem();
    return out;
}

UpdateWorld::UpdateWorld() {
    temp.write("kvs/kvstarter", std::string(5000, 'x'));
    paths = Paths::fromRoot(temp / "kvs");
    update::UpdateEnv env(paths, ui, content);
    env.executable = launcherFile("kvstarter");
    env.processId = 1;
    env.serverSetting = server.url("/starter/Config.ini");
    env.transfer.idleTimeoutMs = 500;
    env.setCaption = [this](const std::string& c) { captions.push_back(c); };
    env.openInShell = [this](const std::string& t) {
        opened.push_back(t);
        return true;
    };
    env.startHidden = [this](const std::string& program, const std::string& parameters) {
        started.push_back(program + " " + parameters);
        return true;
    };
    env.showWindow = [this] { ++windowShown; };
    env.quit = [this] { ++quits; };
    session = std::make_unique<update::UpdateSession>(std::move(env));
}

void UpdateWorld::installedAi(const std::string& name, size_t bytes, double descriptionSize) {
    temp.write("kvs/Mods/SkirmishAI/" + name + ".kvai", std::string(bytes, 'a'));
    content::AiRecord r;
    r.name = name;
    r.directory = paths.aiFolder;
    r.info.fileSize = descriptionSize;
    content.ais.records.push_back(r);
}

} // namespace kv::test
