#include "content/installed_files.h"

#include "content/original_kdgs.h"
#include "content/text_util.h"
#include "platform/files.h"

namespace kv::content {

std::vector<std::string>& InstalledFiles::list(int slot) {
    return lists_[slot >= 0 && slot < 8 ? size_t(slot) : 8];
}

void InstalledFiles::add(int slot, std::string path) {
    auto& l = list(slot);
    for (const auto& p : l)
        if (p == path)
            return;
    l.push_back(std::move(path));
}

const std::vector<std::string>& InstalledFiles::of(int slot) const {
    return lists_[slot >= 0 && slot < 8 ? size_t(slot) : 8];
}

bool InstalledFiles::empty() const {
    for (const auto& l : lists_)
        if (!l.empty())
            return false;
    return true;
}

void InstalledFiles::workOff(const OriginalKdgs& originals, FileGate& gate) {
    for (auto& l : lists_) {
        for (const auto& path : l) {
            if (originals.isOriginalFile(fileNameOf(path)))
                continue;
            gate.putBack(FileKind::InstalledCopy, path);
        }
        l.clear();
    }
}

} // namespace kv::content
