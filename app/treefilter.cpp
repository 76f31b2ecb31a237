#include "app/treefilter.h"

#include <QKeyEvent>

#include "app/recordtreemodel.h"
#include "app/recordtreeview.h"

namespace {

constexpr int kTypingPauseMs = 150;

}  // namespace

TreeFilter::TreeFilter(RecordTreeView& view, QWidget* parent) : QLineEdit(parent), view_(view) {
    setObjectName(QStringLiteral("FindBox"));
    setPlaceholderText(tr("Find: part of a bank, model or bitmap name"));
    setClearButtonEnabled(true);
    pause_.setSingleShot(true);
    pause_.setInterval(kTypingPauseMs);
    connect(&pause_, &QTimer::timeout, this, &TreeFilter::Apply);
    connect(this, &QLineEdit::textChanged, &pause_, qOverload<>(&QTimer::start));
    connect(this, &QLineEdit::returnPressed, this, &TreeFilter::Apply);
}

void TreeFilter::keyPressEvent(QKeyEvent* event) {
    // Escape gives the whole tree back and the keys to it.
    if (event->key() == Qt::Key_Escape) {
        clear();
        Apply();
        view_.setFocus();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TreeFilter::Apply() {
    pause_.stop();
    text_ = text().trimmed();
    const fw::TreeControl& tree = view_.Model().Tree();
    // The root always shows: without it there would be nothing to show a match under.
    for (size_t i = 0; i < tree.TopLevelCount(); ++i) {
        fw::TreeItem* root = tree.TopLevelItem(i);
        const bool showAll = text_.isEmpty() || Matches(root);
        for (const auto& child : root->children) Filter(child.get(), showAll);
    }
}

bool TreeFilter::Matches(const fw::TreeItem* item) const {
    return QString::fromLatin1(item->text).contains(text_, Qt::CaseInsensitive);
}

bool TreeFilter::Filter(fw::TreeItem* item, bool insideMatch) {
    const bool matches = insideMatch || Matches(item);
    bool childShows = false;
    for (const auto& child : item->children) childShows = Filter(child.get(), matches) || childShows;
    const bool shows = matches || childShows;
    const QModelIndex index = view_.Model().IndexOf(item);
    if (view_.isRowHidden(item->row, index.parent()) == shows) view_.setRowHidden(item->row, index.parent(), !shows);
    if (childShows && !insideMatch && !item->expanded)
        view_.Model().Tree().Expand(item, fw::TreeControl::ExpandAction::expand);
    return shows;
}
