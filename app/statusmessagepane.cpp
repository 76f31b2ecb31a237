#include "app/statusmessagepane.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStatusBar>
#include <QToolTip>

StatusMessagePane::StatusMessagePane(const QString& idleText, QStatusBar* bar)
    : QLabel(idleText, bar), idleText_(idleText) {
    // The other panes keep their room; this one takes what is left.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    connect(bar, &QStatusBar::messageChanged, this, &StatusMessagePane::FollowFlyBy);
}

// The bar shows a fly-by text over the pane, and an empty one when it ends.
void StatusMessagePane::FollowFlyBy(const QString& flyBy) {
    if (!flyBy.isEmpty()) {
        if (text() != lineUnderFlyBy_) {
            lineUnderFlyBy_ = text();
            flyByMs_ = 0;
        }
        if (!flyBy_.isValid()) flyBy_.start();
        return;
    }
    if (!flyBy_.isValid()) return;
    flyByMs_ += flyBy_.elapsed();
    flyBy_.invalidate();
    if (flyByMs_ >= kFlyByPatienceMs) setText(idleText_);
}

QSize StatusMessagePane::sizeHint() const { return {0, QLabel::sizeHint().height()}; }

QSize StatusMessagePane::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

QString StatusMessagePane::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

void StatusMessagePane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), int(alignment()), ShownText());
}

// Only a line that was cut needs its tooltip.
bool StatusMessagePane::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QLabel::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    if (ShownText() != text())
        QToolTip::showText(help->globalPos(), text(), this);
    else
        QToolTip::hideText();
    return true;
}
