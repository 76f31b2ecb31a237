#include "app/recordtreemodel.h"

#include <QApplication>
#include <QPalette>

RecordTreeModel::RecordTreeModel(fw::TreeControl& tree, const TreeIcons& icons, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), icons_(icons) {
    tree_.SetObserver(this);
}

RecordTreeModel::~RecordTreeModel() { tree_.SetObserver(nullptr); }

QModelIndex RecordTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    fw::TreeItem* parentItem = ItemAt(parent);
    if (!parentItem) {
        fw::TreeItem* top = tree_.TopLevelItem(static_cast<size_t>(row));
        return top ? createIndex(row, 0, top) : QModelIndex();
    }
    if (static_cast<size_t>(row) >= parentItem->children.size()) return {};
    return createIndex(row, 0, parentItem->children[static_cast<size_t>(row)].get());
}

QModelIndex RecordTreeModel::parent(const QModelIndex& child) const {
    fw::TreeItem* item = ItemAt(child);
    return item ? IndexOf(item->parent) : QModelIndex();
}

int RecordTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    fw::TreeItem* item = ItemAt(parent);
    return static_cast<int>(item ? item->children.size() : tree_.TopLevelCount());
}

int RecordTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant RecordTreeModel::data(const QModelIndex& index, int role) const {
    fw::TreeItem* item = ItemAt(index);
    if (!item) return {};
    switch (role) {
        // Labels carry names from the data file: 8-bit text of the game's time.
        case Qt::DisplayRole: return QString::fromLatin1(item->text.data(), qsizetype(item->text.size()));
        case Qt::DecorationRole:
            return icons_.Icon(tree_.GetSelectedItem() == item ? item->selectedImage : item->image);
        // The drop-highlighted item looks selected, as the tree-view control shows it.
        case Qt::BackgroundRole:
            return item->dropHighlighted ? QVariant(QApplication::palette().brush(QPalette::Highlight)) : QVariant();
        case Qt::ForegroundRole:
            return item->dropHighlighted ? QVariant(QApplication::palette().brush(QPalette::HighlightedText))
                                         : QVariant();
        default: return {};
    }
}

Qt::ItemFlags RecordTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QModelIndex RecordTreeModel::IndexOf(fw::TreeItem* item) const {
    return item ? createIndex(item->row, 0, item) : QModelIndex();
}

fw::TreeItem* RecordTreeModel::ItemAt(const QModelIndex& index) {
    return index.isValid() ? static_cast<fw::TreeItem*>(index.internalPointer()) : nullptr;
}

void RecordTreeModel::BeginReset() { beginResetModel(); }

void RecordTreeModel::EndReset() { endResetModel(); }

void RecordTreeModel::BeginInsert(fw::TreeItem* parent, int row) { beginInsertRows(IndexOf(parent), row, row); }

void RecordTreeModel::EndInsert() { endInsertRows(); }

void RecordTreeModel::ItemChanged(fw::TreeItem* item) {
    const QModelIndex changed = IndexOf(item);
    emit dataChanged(changed, changed);
}

void RecordTreeModel::ExpandChanged(fw::TreeItem* item) { emit expandStateChanged(IndexOf(item), item->expanded); }

void RecordTreeModel::SelectionChanged(fw::TreeItem* item) { emit caretChanged(IndexOf(item)); }
