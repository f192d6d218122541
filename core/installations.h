#pragma once
// The list of game installations and its drop-down menu, as plain state. The menu is
// kept apart from the list on purpose: entries of fewer than three characters are in
// the list but only reach the menu when it is rebuilt with its markers.
#include <string>
#include <vector>

namespace kv {

class InstallationList {
public:
    const std::vector<std::string>& paths() const { return paths_; }
    int count() const { return int(paths_.size()); }
    int selected() const { return selected_; }
    // The chosen installation's folder; Parts that touch the game append names to it.
    const std::string& currentGameFolder() const { return currentGameFolder_; }
    void setCurrentGameFolder(std::string folder) { currentGameFolder_ = std::move(folder); }
    // The texts of the installation menu, in menu order.
    const std::vector<std::string>& menu() const { return menu_; }

    void AddKVPath(const std::string& folder);
    bool AddKVPathToArray(const std::string& folder);
    void AddToPathsList(const std::string& folder);
    void SetDefaultKVPath(int index);
    bool SetKVPathFromString(const std::string& folder);
    // Returns the refusal text when the only entry would go, else empty.
    std::string RemoveKVPath(int index);
    bool RemoveKVPathFromList(int index);
    // Replaces the selected entry's folder and selects it again ("Change...").
    void changeSelected(const std::string& folder);

private:
    std::vector<std::string> paths_;
    std::vector<std::string> menu_;
    int selected_ = -1;
    std::string currentGameFolder_;
};

inline constexpr const char* kCannotDeleteOnlyPath =
    "You can't delete this KV Path, it is the only one left.";

} // namespace kv
