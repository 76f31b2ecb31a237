#pragma once
#include <QLineEdit>
#include <QTimer>

#include "framework/treecontrol.h"

class RecordTreeView;

// The Find box above the tree: the tree keeps the items whose label holds
// the text (in any case), with their banks as parents and the items below a
// match; banks with a match open. Typing pauses briefly before a large tree
// is filtered.
class TreeFilter : public QLineEdit {
    Q_OBJECT

public:
    explicit TreeFilter(RecordTreeView& view, QWidget* parent = nullptr);

    // Filters the tree now by the box's text; after a new tree is built too.
    void Apply();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Hides what does not show of the item's subtree; true when the item shows.
    bool Filter(fw::TreeItem* item, bool insideMatch);
    bool Matches(const fw::TreeItem* item) const;

    RecordTreeView& view_;
    QTimer pause_;
    QString text_;
};
