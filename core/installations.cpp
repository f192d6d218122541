#include "core/installations.h"

#include "core/text_util.h"

namespace kv {

bool InstallationList::AddKVPathToArray(const std::string& folder) {
    if (trimmed(folder).empty())
        return false;
    paths_.push_back(folder);
    return true;
}

void InstallationList::AddToPathsList(const std::string& folder) {
    if (folder.size() >= 3)
        menu_.push_back(folder);
}

void InstallationList::AddKVPath(const std::string& folder) {
    if (AddKVPathToArray(folder))
        AddToPathsList(folder);
    if (trimmed(currentGameFolder_).empty())
        SetKVPathFromString(folder);
}

void InstallationList::SetDefaultKVPath(int index) {
    if (index < 0 || index >= count())
        return;
    selected_ = index;
    currentGameFolder_ = paths_[size_t(index)];
    menu_.clear();
    for (int i = 0; i < count(); ++i) {
        const std::string& p = paths_[size_t(i)];
        menu_.push_back(i == index ? ">>" + p + "<<" : "  " + p + "  ");
    }
}

bool InstallationList::SetKVPathFromString(const std::string& folder) {
    const std::string wanted = trimmed(folder);
    if (wanted.empty())
        return false;
    for (int i = 0; i < count(); ++i) {
        if (trimmed(paths_[size_t(i)]) == wanted) {
            SetDefaultKVPath(i);
            return true;
        }
    }
    return false;
}

std::string InstallationList::RemoveKVPath(int index) {
    if (index < 0 || index >= count())
        return {};
    if (count() < 2)
        return kCannotDeleteOnlyPath;
    paths_.erase(paths_.begin() + index);
    if (!RemoveKVPathFromList(index))
        return {};
    SetDefaultKVPath(index < count() ? index : count() - 1);
    return {};
}

bool InstallationList::RemoveKVPathFromList(int index) {
    if (index < 0 || size_t(index) >= menu_.size())
        return false;
    menu_.erase(menu_.begin() + index);
    return true;
}

void InstallationList::changeSelected(const std::string& folder) {
    if (selected_ < 0 || selected_ >= count())
        return;
    paths_[size_t(selected_)] = folder;
    SetDefaultKVPath(selected_);
}

} // namespace kv
