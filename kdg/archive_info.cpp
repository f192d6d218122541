#include "kdg/archive_info.h"

namespace kv::kdg {

void ClearArchiveInfo(KdgArchiveInfo& info) {
    info = KdgArchiveInfo{};
}

} // namespace kv::kdg
