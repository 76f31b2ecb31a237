#pragma once
#include <string>
#include <vector>

namespace fw {

// One entry of a menu; a separator has id 0.
struct MenuItem {
    int id = 0;
    std::string text;
    bool IsSeparator() const { return id == 0; }
};

// A popup menu resource: its title and its entries in order.
struct PopupMenu {
    int resourceId = 0;
    std::string title;
    std::vector<MenuItem> items;
};

// Where menu commands go: the framework shows an entry enabled only when its
// target handles it.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual bool HasHandler(int commandId) const = 0;
    // Runs the command's handler; false when there is none.
    virtual bool OnCommand(int commandId) = 0;
};

}  // namespace fw
