#pragma once
#include <QObject>
#include <array>

class QLabel;
class QStatusBar;

// The CAP, NUM and SCRL panes of the status bar. They follow the lock keys
// where the platform tells their state, and stay greyed where it does not.
class LockKeyIndicators : public QObject {
    Q_OBJECT

public:
    explicit LockKeyIndicators(QStatusBar& bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();

    std::array<QLabel*, 3> panes_{};
};
