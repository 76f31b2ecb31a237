#include "viewer/gui/errorreporter.h"

#include <QMessageBox>

namespace vistel {

void ShowErrorBox(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Vistel"), text);
}

}  // namespace vistel
