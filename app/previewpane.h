#pragma once
#include <QTimer>
#include <QWidget>

#include "app/previewcontent.h"

class BitmapPreview;
class CPallixView;
class QLabel;
class QStackedWidget;
class RecordTreeModel;
namespace vistel {
class ModelCanvas;
}

// Beside the tree: what the caret item is. It follows the caret however it
// moves; a run of moves (a held arrow key) is shown once the run pauses, so
// that the window never falls behind the keys.
class PreviewPane : public QWidget {
    Q_OBJECT

public:
    PreviewPane(CPallixView& view, RecordTreeModel& model, QWidget* parent = nullptr);

    // The document's image changed: decoded pictures go, the caret item is
    // shown anew. A model shown before keeps the turn and zoom the user gave
    // it; a new tree starts fitted.
    void Refresh();
    // Shows the item as soon as the program is idle.
    void ShowItem(fw::TreeItem* item);
    // Shows what is waiting at once; for tests and the start-up measurement.
    void ShowPendingNow();

    const PreviewContent& Content() const { return content_; }
    QString Heading() const;
    QString Details() const;
    BitmapPreview* BitmapView() const { return bitmap_; }
    vistel::ModelCanvas* ModelView() const { return model_; }

private:
    // Again: the item shown before, whose model keeps its view.
    void ShowContent(PreviewContent content, bool again);

    CPallixView& view_;
    PreviewSource source_;
    PreviewContent content_;
    fw::TreeItem* pending_ = nullptr;
    // The item whose content shows; null once the tree is built anew.
    fw::TreeItem* shown_ = nullptr;
    bool hasPending_ = false;
    QTimer idle_;
    QLabel* heading_;
    QLabel* details_;
    QStackedWidget* stack_;
    QWidget* blank_;
    BitmapPreview* bitmap_;
    vistel::ModelCanvas* model_;
};
