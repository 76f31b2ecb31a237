#pragma once
#include <QLabel>

// The status bar's message: the last command's line, kept until the next
// one replaces it. A line longer than the room left beside the other panes
// is cut in its middle, where a path's least telling part lies; the tooltip
// then has it whole.
class StatusMessagePane : public QLabel {
public:
    explicit StatusMessagePane(const QString& text, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The line as it fits the pane's width now.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};
