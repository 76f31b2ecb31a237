#pragma once
#include <string>
#include <vector>

namespace fw {

// The icons of a tree, named by the bitmap resources they come from; the
// desktop program draws each name's artwork.
class ImageList {
public:
    void Add(const std::string& resource) { resources_.push_back(resource); }
    size_t size() const { return resources_.size(); }
    const std::string& Resource(size_t index) const { return resources_[index]; }

private:
    std::vector<std::string> resources_;
};

}  // namespace fw
