#include "app/lockkeyindicators.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <optional>

#include "framework/apptext.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

enum class LockKey { caps, num, scroll };

std::optional<bool> LockKeyOn(LockKey key) {
#ifdef _WIN32
    const int code = key == LockKey::caps ? VK_CAPITAL : key == LockKey::num ? VK_NUMLOCK : VK_SCROLL;
    return (GetKeyState(code) & 1) != 0;
#else
    Q_UNUSED(key);
    return std::nullopt;
#endif
}

}  // namespace

LockKeyIndicators::LockKeyIndicators(QStatusBar& bar) : QObject(&bar) {
    const char* texts[] = {fw::text::kIndicatorCaps, fw::text::kIndicatorNum, fw::text::kIndicatorScroll};
    for (size_t i = 0; i < panes_.size(); ++i) {
        panes_[i] = new QLabel(QString::fromUtf8(texts[i]), &bar);
        panes_[i]->setAlignment(Qt::AlignCenter);
        panes_[i]->setFrameShape(QFrame::Panel);
        panes_[i]->setFrameShadow(QFrame::Sunken);
        panes_[i]->setMinimumWidth(panes_[i]->sizeHint().width() + 8);
        bar.addPermanentWidget(panes_[i]);
    }
    qApp->installEventFilter(this);
    Refresh();
}

bool LockKeyIndicators::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ApplicationActivate) Refresh();
    return QObject::eventFilter(watched, event);
}

void LockKeyIndicators::Refresh() {
    const LockKey keys[] = {LockKey::caps, LockKey::num, LockKey::scroll};
    for (size_t i = 0; i < panes_.size(); ++i) panes_[i]->setEnabled(LockKeyOn(keys[i]).value_or(false));
}
