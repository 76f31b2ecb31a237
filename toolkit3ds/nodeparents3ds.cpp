// Keyframe nodes name their parent by number in the file. After reading,
// each node learns its parent's name (kept in memory under its header);
// before writing, the numbers are given out afresh and the parent numbers
// found again from those names.
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/strings3ds.h"

namespace {

constexpr std::uint16_t kNoNode = 0xFFFF;

// The node tags of the list, in the order the reading pass visits them.
constexpr std::uint32_t kNodeTags[] = {CHUNK_NODE_B004, CHUNK_NODE_B002, CHUNK_NODE_B003,
                                       CHUNK_NODE_B005, CHUNK_NODE_B006, CHUNK_NODE_B007};

struct NodeEntry {
    Chunk3ds* node;
    std::uint16_t number;
    std::string name;
    std::string instance;
    bool hasInstance;
    std::uint16_t parent;
};

bool IsListedNode(std::uint32_t tag) {
    for (std::uint32_t listed : kNodeTags) {
        if (listed == tag) {
            return true;
        }
    }
    return false;
}

Chunk3ds* ChildOf(Chunk3ds* node, std::uint32_t tag) {
    Chunk3ds* found = nullptr;
    FindNextChunk3ds(node->child, tag, &found);
    return found;
}

template <class Record>
Record* RecordOf(Chunk3ds* chunk) {
    return chunk != nullptr ? static_cast<Record*>(ReadChunkData3ds(chunk)) : nullptr;
}

std::string TextOf(const char* text) { return text != nullptr ? text : ""; }

NodeEntry DescribeNode(Chunk3ds* node) {
    NodeEntry entry{node, kNoNode, {}, {}, false, kNoNode};
    if (auto* number = RecordOf<WordData3ds>(ChildOf(node, CHUNK_NODE_NUMBER))) {
        entry.number = number->value;
    }
    if (auto* header = RecordOf<NodeHeaderData3ds>(ChildOf(node, CHUNK_NODE_HEADER))) {
        entry.name = TextOf(header->name);
        entry.parent = header->parent;
    }
    if (auto* instance = RecordOf<StringData3ds>(ChildOf(node, CHUNK_NODE_INSTANCE))) {
        entry.instance = TextOf(instance->text);
        entry.hasInstance = true;
    }
    return entry;
}

const NodeEntry* EntryNumbered(const std::vector<NodeEntry>& list, std::uint16_t number) {
    for (const NodeEntry& entry : list) {
        if (entry.number == number) {
            return &entry;
        }
    }
    return nullptr;
}

const NodeEntry* EntryWith(const std::vector<NodeEntry>& list, const std::string& name, const std::string& instance) {
    for (const NodeEntry& entry : list) {
        if (entry.name == name && entry.instance == instance) {
            return &entry;
        }
    }
    return nullptr;
}

// "name" matches a node without instance name, "name.instance" one with.
// Node names may hold a dot themselves ("c.obj"): when the split finds no
// node, the whole text is taken for the name of a node without instance.
const NodeEntry* EntryNamed(const std::vector<NodeEntry>& list, const std::string& text) {
    const std::size_t dot = text.find('.');
    if (dot != std::string::npos) {
        if (const NodeEntry* entry = EntryWith(list, text.substr(0, dot), text.substr(dot + 1))) {
            return entry;
        }
    }
    return EntryWith(list, text, std::string());
}

void StoreParentName(Chunk3ds* header, const std::string& name) {
    char* copy = DuplicateString3ds(name.c_str());
    if (copy == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return;
    }
    Chunk3ds* holder = ChildOf(header, CHUNK_PARENT_NAME);
    auto* record = RecordOf<StringData3ds>(holder);
    if (record == nullptr) {
        record = static_cast<StringData3ds*>(NewChunkWithData3ds(&holder, CHUNK_PARENT_NAME));
        if (ErrorPending3ds()) {
            std::free(copy);
            ReleaseChunk3ds(&holder);
            return;
        }
        InsertChild3ds(header, holder);
    }
    std::free(record->text);
    record->text = copy;
}

Chunk3ds* KeyframeSection(Database3ds* database) {
    Chunk3ds* section = nullptr;
    if (database != nullptr) {
        FindChunk3ds(database->top, CHUNK_KEYFRAME_SECTION, &section);
    }
    return section;
}

void ResolveFromList(std::vector<NodeEntry>& list) {
    bool unnumbered = false;
    for (const NodeEntry& entry : list) {
        unnumbered = unnumbered || entry.number == kNoNode;
    }
    if (unnumbered) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            list[i].number = static_cast<std::uint16_t>(i);
        }
    }
    for (const NodeEntry& entry : list) {
        Chunk3ds* header = ChildOf(entry.node, CHUNK_NODE_HEADER);
        const NodeEntry* parent = entry.parent != kNoNode ? EntryNumbered(list, entry.parent) : nullptr;
        if (header == nullptr || parent == nullptr) {
            continue;
        }
        StoreParentName(header, parent->hasInstance ? parent->name + "." + parent->instance : parent->name);
        if (ErrorPending3ds()) {
            return;
        }
    }
}

// The listed nodes in the order the reading pass visits their tags.
std::vector<NodeEntry> ListNodesByTag(Chunk3ds* section) {
    std::vector<NodeEntry> list;
    for (std::uint32_t tag : kNodeTags) {
        for (Chunk3ds* node = ChildOf(section, tag); node != nullptr && !ErrorPending3ds();
             FindNextChunk3ds(node->next, tag, &node)) {
            list.push_back(DescribeNode(node));
        }
    }
    return list;
}

// Numbers the listed nodes from 0 in file order (0xB001 nodes get none)
// and lists them.
std::vector<NodeEntry> NumberNodes(Chunk3ds* section) {
    std::vector<NodeEntry> list;
    std::uint16_t next = 0;
    for (Chunk3ds* node = section->child; node != nullptr && !ErrorPending3ds(); node = node->next) {
        const bool listed = IsListedNode(node->tag);
        if (!listed && node->tag != CHUNK_NODE_B001) {
            continue;
        }
        if (auto* number = RecordOf<WordData3ds>(ChildOf(node, CHUNK_NODE_NUMBER))) {
            number->value = listed ? next : kNoNode;
        }
        if (listed) {
            list.push_back(DescribeNode(node));
            list.back().number = next++;
        }
    }
    return list;
}

void StoreParentNumbers(const std::vector<NodeEntry>& list) {
    for (const NodeEntry& entry : list) {
        Chunk3ds* headerChunk = ChildOf(entry.node, CHUNK_NODE_HEADER);
        auto* header = RecordOf<NodeHeaderData3ds>(headerChunk);
        if (header == nullptr || ErrorPending3ds()) {
            continue;
        }
        auto* parentName = RecordOf<StringData3ds>(ChildOf(headerChunk, CHUNK_PARENT_NAME));
        const NodeEntry* parent = parentName != nullptr ? EntryNamed(list, TextOf(parentName->text)) : nullptr;
        header->parent = parent != nullptr ? parent->number : kNoNode;
    }
}

// Runs a pass over the keyframe section, when there is one. The node list
// lives in standard containers; memory running out is reported here.
template <class Pass>
void WithKeyframeSection(Database3ds* database, Pass pass) {
    Chunk3ds* section = KeyframeSection(database);
    if (section == nullptr) {
        return;
    }
    try {
        pass(section);
    } catch (const std::bad_alloc&) {
        PushError3ds(ERR_NO_MEM);
    }
}

}  // namespace

void ResolveNodeParents3ds(Database3ds* database) {
    WithKeyframeSection(database, [](Chunk3ds* section) {
        std::vector<NodeEntry> list = ListNodesByTag(section);
        if (!ErrorPending3ds()) {
            ResolveFromList(list);
        }
    });
}

void AssignNodeParents3ds(Database3ds* database) {
    WithKeyframeSection(database, [](Chunk3ds* section) { StoreParentNumbers(NumberNodes(section)); });
}
