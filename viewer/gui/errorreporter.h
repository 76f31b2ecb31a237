#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace vistel {

// How the window tells the user that a file could not be shown. The program
// shows a message box; tests record the text instead of blocking on a box.
using ErrorReporter = std::function<void(QWidget* parent, const QString& text)>;

void ShowErrorBox(QWidget* parent, const QString& text);

}  // namespace vistel
