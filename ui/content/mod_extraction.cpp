#include "ui/content/mod_extraction.h"

#include "content/mod_archive.h"
#include "platform/user_folders.h"
#include "ui/content/progress_dialog.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace kv::ui {

namespace {

const QString kExtractFolderKey = QStringLiteral("Extract");

std::string startFolder() {
    const std::string last = fromQt(rememberedFolder(kExtractFolderKey));
    return last.empty() ? platform::homeFolder() : last;
}

std::string filesText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " file" : " files");
}

} // namespace

void extractSelectedModWithReport(QWidget* parent, content::ContentState& state,
                                  const content::ContentEnv& env,
                                  const std::function<bool(const std::string&)>& openFolder) {
    content::ModExtraction done;
    {
        ProgressDialog progress(QStringLiteral("Extract to..."), parent);
        done = content::extractSelectedMod(state, env, progress, startFolder());
    }
    if (done.folder.empty())
        return;
    rememberFolder(kExtractFolderKey, toQt(done.folder));
    if (done.completed()) {
        if (env.ui.message(filesText(done.result.extracted) + " extracted to:\n" + done.folder +
                               "\n\nOpen this folder?",
                           Icon::Question, Buttons::YesNo, "Extract to...") == Answer::Yes &&
            openFolder)
            openFolder(done.folder);
        return;
    }
    env.ui.message("Extraction stopped: " + filesText(done.result.extracted) + " written to:\n" +
                       done.folder,
                   Icon::Exclamation, Buttons::Ok, "Extract to...");
}

} // namespace kv::ui
