#include "cli/itempath.h"

#include <charconv>
#include <vector>

fw::TreeItem* ResolveItemPath(const fw::TreeControl& tree, const std::string& path) {
    fw::TreeItem* item = tree.GetRootItem();
    if (path == ".") return item;
    size_t start = 0;
    while (item && start <= path.size()) {
        const size_t slash = std::min(path.find('/', start), path.size());
        size_t index = 0;
        const char* first = path.data() + start;
        const char* last = path.data() + slash;
        const auto [end, error] = std::from_chars(first, last, index);
        if (first == last || error != std::errc() || end != last) return nullptr;
        item = index < item->children.size() ? item->children[index].get() : nullptr;
        start = slash + 1;
    }
    return item;
}

std::string FormatItemPath(const fw::TreeItem* item) {
    std::vector<int> rows;
    for (; item && item->parent; item = item->parent) rows.push_back(item->row);
    if (rows.empty()) return ".";
    std::string path;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (!path.empty()) path += '/';
        path += std::to_string(*it);
    }
    return path;
}
