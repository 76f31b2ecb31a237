#include "cli/listing.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "browser/pallixview.h"
#include "cli/itempath.h"
#include "datafile/itemrecord.h"

namespace {

// A label as one safe line: control characters (C0, DEL and Latin-1's C1)
// would break the one-line-per-item output or reach the terminal as
// commands, so they and the backslash are written as escapes.
std::string Escaped(const std::string& label) {
    std::string out;
    for (const char c : label) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\': out += "\\\\"; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            default: break;
        }
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

void PrintTree(std::ostream& out, const fw::TreeControl& tree) {
    tree.ForEachItem([&](fw::TreeItem* item) {
        out << std::string(2 * static_cast<size_t>(tree.Depth(item)), ' ') << Escaped(item->text) << '\n';
    });
}

void PrintRecords(std::ostream& out, const fw::TreeControl& tree) {
    tree.ForEachItem([&](fw::TreeItem* item) {
        out << FormatItemPath(item) << '\t' << item->image << '\t';
        if (const ItemRecord* record = CPallixView::RecordOf(item)) {
            out << record->nKind << '\t' << record->nOffset << '\t' << record->nSize << '\t' << record->nCopyOf;
        } else {
            out << "-\t-\t-\t-";
        }
        out << '\t' << Escaped(item->text) << '\n';
    });
}

void PrintStats(std::ostream& out, const fw::TreeControl& tree) {
    size_t banks = 0, models = 0, bitmaps = 0, copies = 0;
    tree.ForEachItem([&](fw::TreeItem* item) {
        const ItemRecord* record = CPallixView::RecordOf(item);
        // Information leaves share their parent's record; count each record once.
        if (!record || (item->parent && CPallixView::RecordOf(item->parent) == record)) return;
        if (record->nKind == ITEM_BANK) ++banks;
        if (record->nKind == ITEM_MODEL) ++models;
        if (record->nKind == ITEM_BITMAP) {
            ++bitmaps;
            if (record->nCopyOf != 0) ++copies;
        }
    });
    out << "banks=" << banks << " models=" << models << " bitmaps=" << bitmaps << " copies=" << copies << '\n';
}
