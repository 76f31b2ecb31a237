#include "listing.h"

#include <ostream>
#include <string>

#include "itempath.h"
#include "itemrecord.h"
#include "pallixview.h"

void PrintTree(std::ostream& out, const fw::TreeControl& tree) {
    tree.ForEachItem([&](fw::TreeItem* item) {
        out << std::string(2 * static_cast<size_t>(tree.Depth(item)), ' ') << item->text << '\n';
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
        out << '\t' << item->text << '\n';
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
