#include "app/statusmessagepane.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

StatusMessagePane::StatusMessagePane(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // The other panes keep their room; this one takes what is left.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
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
