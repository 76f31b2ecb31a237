#pragma once
#include <QAbstractItemModel>
#include "app/artwork.h"
#include "framework/treecontrol.h"

// Shows a TreeControl to Qt's item views. The control stays the single
// source of truth: this model only follows its changes and reads from it.
class RecordTreeModel : public QAbstractItemModel, public fw::TreeObserver {
    Q_OBJECT

public:
    RecordTreeModel(fw::TreeControl& tree, const TreeIcons& icons, QObject* parent = nullptr);
    ~RecordTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QModelIndex IndexOf(fw::TreeItem* item) const;
    static fw::TreeItem* ItemAt(const QModelIndex& index);
    fw::TreeControl& Tree() const { return tree_; }

    void BeginReset() override;
    void EndReset() override;
    void BeginInsert(fw::TreeItem* parent, int row) override;
    void EndInsert() override;
    void ItemChanged(fw::TreeItem* item) override;
    void ExpandChanged(fw::TreeItem* item) override;
    void SelectionChanged(fw::TreeItem* item) override;

signals:
    // The control opened or closed an item; the widget follows.
    void expandStateChanged(const QModelIndex& index, bool expanded);
    // The control moved its caret; the widget follows.
    void caretChanged(const QModelIndex& index);

private:
    fw::TreeControl& tree_;
    const TreeIcons& icons_;
};
