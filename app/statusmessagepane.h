#pragma once
#include <QElapsedTimer>
#include <QLabel>

class QStatusBar;

// The status bar's message: the last command's line, kept until the next
// one replaces it or the user has read a few seconds of fly-by texts (the
// prompts of the menu entries and buttons pointed at) over it; then the idle
// text comes back. A glance at a menu keeps the line. A line longer than the
// room left beside the other panes is cut in its middle, where a path's
// least telling part lies; the tooltip then has it whole.
class StatusMessagePane : public QLabel {
public:
    static constexpr int kFlyByPatienceMs = 3000;

    // Starts with the idle text, in the bar whose fly-by texts it follows.
    StatusMessagePane(const QString& idleText, QStatusBar* bar);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The line as it fits the pane's width now.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FollowFlyBy(const QString& flyBy);

    QString idleText_;
    // The line the fly-by time below was spent over.
    QString lineUnderFlyBy_;
    qint64 flyByMs_ = 0;
    QElapsedTimer flyBy_;
};
