#include "app/previewpane.h"

#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/bitmappreview.h"
#include "app/recordtreemodel.h"
#include "browser/pallixview.h"
#include "viewer/gui/modelcanvas.h"

PreviewPane::PreviewPane(CPallixView& view, RecordTreeModel& model, QWidget* parent)
    : QWidget(parent),
      view_(view),
      source_(view),
      heading_(new QLabel(this)),
      details_(new QLabel(this)),
      stack_(new QStackedWidget(this)),
      blank_(new QWidget(stack_)),
      bitmap_(new BitmapPreview(stack_)),
      model_(new vistel::ModelCanvas(stack_)) {
    setObjectName(QStringLiteral("PreviewPane"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    for (QLabel* label : {heading_, details_}) {
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    model_->SetEmptyNotice({});
    stack_->addWidget(blank_);
    stack_->addWidget(bitmap_);
    stack_->addWidget(model_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(details_);
    layout->addWidget(stack_, 1);

    idle_.setSingleShot(true);
    idle_.setInterval(0);
    connect(&idle_, &QTimer::timeout, this, &PreviewPane::ShowPendingNow);
    connect(&model, &RecordTreeModel::caretChanged, this,
            [this](const QModelIndex& index) { ShowItem(RecordTreeModel::ItemAt(index)); });
    // Items die with a reset; nothing may point at them.
    connect(&model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        hasPending_ = false;
        shown_ = nullptr;
        ShowContent({}, false);
    });
}

void PreviewPane::Refresh() {
    source_.Forget();
    const fw::TreeControl& tree = view_.GetTreeCtrl();
    ShowItem(tree.GetSelectedItem() ? tree.GetSelectedItem() : tree.GetRootItem());
}

void PreviewPane::ShowItem(fw::TreeItem* item) {
    pending_ = item;
    hasPending_ = true;
    idle_.start();
}

void PreviewPane::ShowPendingNow() {
    idle_.stop();
    if (!hasPending_) return;
    hasPending_ = false;
    const bool again = pending_ == shown_;
    shown_ = pending_;
    ShowContent(source_.Describe(pending_), again);
}

void PreviewPane::ShowContent(PreviewContent content, bool again) {
    content_ = std::move(content);
    heading_->setText(content_.heading);
    details_->setText(content_.details);
    switch (content_.kind) {
        case PreviewContent::Kind::bitmap:
            bitmap_->SetPicture(content_.picture);
            stack_->setCurrentWidget(bitmap_);
            break;
        case PreviewContent::Kind::model:
            if (again)
                model_->UpdateModel(content_.mesh, content_.textures);
            else
                model_->SetModel(content_.mesh, content_.textures);
            stack_->setCurrentWidget(model_);
            break;
        case PreviewContent::Kind::text: stack_->setCurrentWidget(blank_); break;
    }
}

QString PreviewPane::Heading() const { return heading_->text(); }

QString PreviewPane::Details() const { return details_->text(); }
