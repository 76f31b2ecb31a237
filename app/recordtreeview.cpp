#include "app/recordtreeview.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/commandgate.h"
#include "app/recordtreemodel.h"
#include "app/virtualkeys.h"
#include "browser/pallixview.h"

namespace {

constexpr int kIndent = 19;
constexpr int kButtonSize = 9;

fw::Point ToPoint(const QPoint& point) { return {point.x(), point.y()}; }

}  // namespace

RecordTreeView::RecordTreeView(CPallixView& view, RecordTreeModel& model, CommandGate& gate, QWidget* parent)
    : QTreeView(parent), view_(view), model_(model), gate_(gate) {
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setIndentation(kIndent);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(&model_);
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) { FollowUserExpand(index, true); });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) { FollowUserExpand(index, false); });
    connect(&model_, &RecordTreeModel::expandStateChanged, this, &RecordTreeView::FollowControlExpand);
    connect(&model_, &RecordTreeModel::caretChanged, this, &RecordTreeView::FollowCaret);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { model_.Tree().SelectItem(RecordTreeModel::ItemAt(current)); });
}

// The widget opened or closed an item on its own (button, keys, double
// click): the control decides, and the widget takes back what it refuses.
void RecordTreeView::FollowUserExpand(const QModelIndex& index, bool expanded) {
    fw::TreeItem* item = RecordTreeModel::ItemAt(index);
    if (!item || item->expanded == expanded) return;
    const auto action = expanded ? fw::TreeControl::ExpandAction::expand : fw::TreeControl::ExpandAction::collapse;
    if (!model_.Tree().Expand(item, action) || item->expanded != expanded) setExpanded(index, item->expanded);
}

void RecordTreeView::FollowControlExpand(const QModelIndex& index, bool expanded) {
    if (isExpanded(index) != expanded) setExpanded(index, expanded);
}

void RecordTreeView::FollowCaret(const QModelIndex& index) {
    if (currentIndex() != index) setCurrentIndex(index);
}

// Hands a press to the view first; true when the widget must not see it:
// its own right-button handling would start a drag or an edit.
bool RecordTreeView::ForwardPress(QMouseEvent* event) {
    const fw::Point client = ToPoint(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        view_.OnRButtonDown(client);
        // The row the commands will act on becomes the one selected row, so
        // that the highlight and the preview show the same item.
        const QModelIndex pressed = indexAt(event->position().toPoint());
        if (pressed.isValid() && RecordTreeModel::ItemAt(pressed) == view_.ContextItem()) setCurrentIndex(pressed);
        event->accept();
        return true;
    }
    if (event->button() == Qt::LeftButton) view_.OnLButtonDown(client);
    return false;
}

void RecordTreeView::mousePressEvent(QMouseEvent* event) {
    if (!ForwardPress(event)) QTreeView::mousePressEvent(event);
}

void RecordTreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
    // A left press highlights its item only while the button is down; from
    // then on the caret shows it, and a highlight left behind would look like
    // a second selection once the caret moves.
    if (event->button() == Qt::LeftButton) model_.Tree().SelectDropTarget(nullptr);
}

// The second press of a double click arrives as a double click; it still
// is a press, so the context item always matches the menu that follows.
void RecordTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!ForwardPress(event)) QTreeView::mouseDoubleClickEvent(event);
}

// The Menu key arrives as a keyboard request at the mouse pointer; it shows
// the caret item's popup, as Shift+F10 does.
void RecordTreeView::contextMenuEvent(QContextMenuEvent* event) {
    CommandGate::Command running(gate_);
    if (event->reason() == QContextMenuEvent::Keyboard)
        event->setAccepted(view_.OnKeyboardContextMenu());
    else
        event->setAccepted(view_.OnContextMenu(ToPoint(event->globalPos())));
}

void RecordTreeView::keyPressEvent(QKeyEvent* event) {
    {
        // Shift+F10's popup and the command chosen in it run in here.
        CommandGate::Command running(gate_);
        view_.OnKeyDown(VirtualKeyOf(event->key()));
    }
    QTreeView::keyPressEvent(event);
}

std::optional<RecordTreeView::ItemParts> RecordTreeView::PartsOf(const QModelIndex& index) const {
    const QRect cell = visualRect(index);
    if (!index.isValid() || cell.isEmpty()) return std::nullopt;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = cell;
    option.index = index;
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.text = index.data(Qt::DisplayRole).toString();
    option.icon = index.data(Qt::DecorationRole).value<QIcon>();
    option.decorationSize = iconSize();
    ItemParts parts;
    parts.button = QRect(cell.left() - indentation(), cell.top(), indentation(), cell.height());
    parts.icon = style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
    const QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int width = option.fontMetrics.horizontalAdvance(option.text) + 2 * margin;
    parts.label = QRect(text.left(), cell.top(), std::min(width, cell.right() + 1 - text.left()), cell.height());
    return parts;
}

// Dotted lines join the siblings, and a boxed plus or minus marks every item
// with children, whatever the style would draw.
void RecordTreeView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    fw::TreeItem* item = RecordTreeModel::ItemAt(index);
    if (!item) return;
    const fw::TreeControl& tree = model_.Tree();
    const int depth = tree.Depth(item);
    const int right = rect.right() + 1;
    const int middle = rect.top() + rect.height() / 2;
    painter->save();
    QPen dots(palette().color(QPalette::Mid));
    dots.setDashPattern({1, 1});
    painter->setPen(dots);
    // One step per level, the item's own last; ancestors draw a line through
    // a row only where a later sibling of theirs is still to come.
    fw::TreeItem* level = item;
    for (int step = depth; step >= 0; --step, level = level->parent) {
        const QRect cell(right - (depth + 1 - step) * indentation(), rect.top(), indentation(), rect.height());
        const int x = cell.left() + cell.width() / 2;
        const bool more = tree.GetNextSiblingItem(level) != nullptr;
        if (level == item) {
            const bool first = !item->parent && item->row == 0;
            painter->drawLine(x, first ? middle : cell.top(), x, more ? cell.bottom() : middle);
            painter->drawLine(x, middle, cell.right(), middle);
            if (tree.ItemHasChildren(item)) DrawButton(painter, cell, item->expanded);
        } else if (more) {
            painter->drawLine(x, cell.top(), x, cell.bottom());
        }
    }
    painter->restore();
}

void RecordTreeView::DrawButton(QPainter* painter, const QRect& step, bool expanded) const {
    const QRect box(step.left() + (step.width() - kButtonSize) / 2, step.top() + (step.height() - kButtonSize) / 2,
                    kButtonSize - 1, kButtonSize - 1);
    painter->setPen(palette().color(QPalette::Mid));
    painter->fillRect(box, palette().base());
    painter->drawRect(box);
    painter->setPen(palette().color(QPalette::Text));
    const QPoint centre = box.center();
    painter->drawLine(box.left() + 2, centre.y(), box.right() - 2, centre.y());
    if (!expanded) painter->drawLine(centre.x(), box.top() + 2, centre.x(), box.bottom() - 2);
}
