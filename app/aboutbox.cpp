#include "app/aboutbox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "pallixversion.h"
#include "resources/shellresources.h"

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(res::kAboutCaption));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QHBoxLayout(this);
    auto* text = new QLabel(QString::fromUtf8(res::kAboutText).arg(QString::fromUtf8(pallix::kVersion)), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addSpacing(40);
    layout->addWidget(text, 1, Qt::AlignTop);
    layout->addWidget(ok, 0, Qt::AlignTop);
    setFixedSize(sizeHint().expandedTo(QSize(325, 89)));
}
