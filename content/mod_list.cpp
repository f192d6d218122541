#include "content/mod_list.h"

#include "content/text_util.h"

namespace kv::content {

const ModEntry* ModList::selectedEntry() const {
    if (selected < 0 || size_t(selected) >= entries.size())
        return nullptr;
    return &entries[size_t(selected)];
}

int ModList::indexOf(std::string_view name, bool checked) const {
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].checked == checked && equalsNoCase(entries[i].name, name))
            return int(i);
    return -1;
}

void ModList::updateDeleteButton() {
    const ModEntry* e = selectedEntry();
    if (e && !trimBlanks(e->name).empty()) {
        deleteCaption = "Delete '" + e->name + "'";
        deleteEnabled = true;
    } else {
        deleteCaption = "Delete";
        deleteEnabled = false;
    }
}

} // namespace kv::content
