// kvstool update as a script uses it: exit codes, the parse and check output, and an
// install against a loopback server.
#include "platform/files.h"
#include "tests/update/update_world.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>

namespace kv::update {
namespace {

struct ToolRun {
    int code = -1;
    std::string out, err;
};

// Runs kvstool while this process keeps serving its test server.
ToolRun kvstool(const QStringList& args, const std::string& server = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!server.empty())
        env.insert(QStringLiteral("KVS_UPDATE_URL"), QString::fromStdString(server));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KV_KVSTOOL_PATH), QStringList{QStringLiteral("update")} + args);
    p.waitForStarted();
    while (p.state() != QProcess::NotRunning)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return {p.exitCode(), p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

TEST(KvstoolUpdate, ParseCheckAndInstall) {
    test::UpdateWorld w;
    const std::string config = test::configText(
        "[MAIN][News]}[KVS]{Version=2.145;Size=10;URL=http://h/K.exe}[AI]{[SCRIPT]{Title=Hunter;URL=" +
        w.url("/Hunter.kvai") + ";Size=2048}}[MISC]{[Auto]{URL=" + w.url("/auto.txt") +
        ";LocalPath=Docs;AutoDownload=True}}");
    const QString file = QString::fromStdString(w.temp.write("Config.ini", config));
    ToolRun r = kvstool({"parse", file, "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    EXPECT_EQ(o["ais"].toArray()[0].toObject()["size"].toDouble(), 2048);
    EXPECT_EQ(o["parseMessages"].toArray()[0].toObject()["text"].toString(),
              "Unknown Main section: News");

    // A key pair; the configuration signed with it; the launcher knowing its public half.
    const QString keys = QString::fromStdString(w.temp / "keys");
    ASSERT_EQ(kvstool({"keygen", keys}).code, 0);
    const std::string publicKey = w.temp.read("keys/update-key.pub");
    // A second keygen into the same folder keeps the pair in use.
    EXPECT_EQ(kvstool({"keygen", keys}).code, 1);
    EXPECT_EQ(w.temp.read("keys/update-key.pub"), publicKey);
    EXPECT_EQ(std::filesystem::status(w.temp / "keys/update-key.sec").permissions() &
                  std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_EQ(kvstool({"sign", keys + "/update-key.sec", file}).code, 0);
    w.temp.write("kvs/Settings/starter.ini", "UpdateKey=" + publicKey.substr(0, 64) + "\r\n");

    w.publish(config);
    w.server.serve("/starter/Config.ini.sig", w.temp.read("Config.ini.sig"));
    w.server.serve("/Hunter.kvai", std::string(2048, 'h'));
    w.server.serve("/auto.txt", std::string(20, 'a'));
    const std::string home = w.url("/starter/Config.ini");
    const QString kvs = QString::fromStdString(w.temp / "kvs");
    r = kvstool({"check", kvs}, home);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "message: Error parsing autodownload config file: Unknown Main section: News\n"
                     "kvs:0\tKorvane Starter 2.145\tKVS\t2.145\t0 Kb\n"
                     "ai:0\tHunter\tAI\t0\t2 Kb\n"
                     "misc:0\tAuto\tMisc\t0\t0 Kb\n");
    // Looking changes nothing: the automatic download waits for --apply-auto.
    EXPECT_FALSE(platform::fileExists(w.launcherFile("Docs/auto.txt")));

    r = kvstool({"install", kvs, "ai:0"}, home);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(w.temp.read("kvs/Mods/SkirmishAI/Hunter.kvai"), std::string(2048, 'h'));
    EXPECT_EQ(w.temp.read("kvs/Docs/auto.txt"), std::string(20, 'a'));

    r = kvstool({"check", kvs}, "http://127.0.0.1:1/Config.ini");
    EXPECT_EQ(std::pair(r.code, r.err),
              std::pair(1, std::string("kvstool update: Failed to download Auto-Update configuration "
                                       "file. (http://127.0.0.1:1/Config.ini)\n")));
}

} // namespace
} // namespace kv::update
