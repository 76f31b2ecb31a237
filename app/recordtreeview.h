#pragma once
#include <QTreeView>
#include <optional>

#include "framework/treecontrol.h"

class CommandGate;
class CPallixView;
class RecordTreeModel;

// The record tree on screen. It shows the view's TreeControl through a
// RecordTreeModel, hands mouse presses, context-menu requests and keys to
// the view first, and lets every expand and collapse go through the control.
// The popups and the commands chosen in them run as commands of the gate.
class RecordTreeView : public QTreeView {
    Q_OBJECT

public:
    RecordTreeView(CPallixView& view, RecordTreeModel& model, CommandGate& gate, QWidget* parent = nullptr);

    // Where the parts of a shown item lie, in client (viewport) coordinates.
    struct ItemParts {
        QRect button;  // the last indent step, where the expand button sits
        QRect icon;
        QRect label;
    };
    std::optional<ItemParts> PartsOf(const QModelIndex& index) const;
    RecordTreeModel& Model() const { return model_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    bool ForwardPress(QMouseEvent* event);
    void FollowUserExpand(const QModelIndex& index, bool expanded);
    void FollowControlExpand(const QModelIndex& index, bool expanded);
    void FollowCaret(const QModelIndex& index);
    void DrawButton(QPainter* painter, const QRect& step, bool expanded) const;

    CPallixView& view_;
    RecordTreeModel& model_;
    CommandGate& gate_;
};
