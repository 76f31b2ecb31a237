#pragma once
#include <QDialog>

// "About Pallix": the version line and OK.
class CAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit CAboutBox(QWidget* parent = nullptr);
};
