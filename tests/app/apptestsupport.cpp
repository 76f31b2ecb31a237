#include "tests/app/apptestsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QWidget>

#include <QTest>
#include "app/mainframe.h"
#include "app/recordtreemodel.h"

namespace {

constexpr int kPollMs = 10;

QTemporaryDir& SettingsFolder() {
    static QTemporaryDir folder;
    return folder;
}

}  // namespace

void ClearSettings() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, SettingsFolder().path());
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Quon Data Manager", "Pallix").clear();
}

AppOptions PrivateAppOptions(const QString& settingsFolder) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder);
    AppOptions options;
    options.settingsFormat = QSettings::IniFormat;
    options.registerShell = false;
    return options;
}

fw::TreeItem* FirstOfKind(fw::TreeControl& tree, uint16_t kind) {
    for (const auto& bank : tree.GetRootItem()->children)
        for (const auto& item : bank->children)
            if (const ItemRecord* record = CPallixView::RecordOf(item.get()); record && record->nKind == kind)
                return item.get();
    return nullptr;
}

std::unique_ptr<CPallixApp> StartApp(const QStringList& arguments, CPallixApp::StartResult expected,
                                     const QString& instanceName) {
    AppOptions options = PrivateAppOptions(SettingsFolder().path());
    options.instanceName = instanceName;
    auto app = std::make_unique<CPallixApp>(options);
    const auto result = app->InitInstance(arguments);
    if (result != expected) qFatal("start-up ended otherwise than expected");
    if (result == CPallixApp::StartResult::run && !QTest::qWaitForWindowExposed(&app->MainFrame()))
        qFatal("the main window does not show");
    return app;
}

QString DemoFile() { return QStringLiteral(PALLIX_SOURCE_DIR "/samples/demo.bfp"); }

QPoint LabelOf(const RecordTreeView& view, fw::TreeItem* item) {
    return view.PartsOf(view.Model().IndexOf(item))->label.center();
}

void RightClick(RecordTreeView& view, const QPoint& point) {
    QWidget* viewport = view.viewport();
    QTest::mousePress(viewport, Qt::RightButton, {}, point);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, point);
    QContextMenuEvent request(QContextMenuEvent::Mouse, point, viewport->mapToGlobal(point));
    QApplication::sendEvent(viewport, &request);
}

MessageBoxAnswerer::MessageBoxAnswerer(int button) {
    connect(&timer_, &QTimer::timeout, this, [this, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        texts << box->windowTitle() + QStringLiteral(": ") + box->text();
        QWidget* owner = box->parentWidget();
        shownOver << (owner && owner->isVisible() ? owner : nullptr);
        centres << box->frameGeometry().center();
        box->button(static_cast<QMessageBox::StandardButton>(button))->click();
    });
    timer_.start(kPollMs);
}

PopupRecorder::PopupRecorder() {
    connect(&timer_, &QTimer::timeout, this, [this] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        QStringList seen{menu->title()};
        for (QAction* action : menu->actions()) {
            if (action->text() == choose) menu->setActiveAction(action);
            if (!action->isSeparator())
                seen << QString::number(action->data().toInt()) + '\t' + action->text() +
                            (action->isEnabled() ? QStringLiteral("\tenabled") : QStringLiteral("\tdisabled"));
        }
        menus << seen;
        if (whileOpen) whileOpen();
        if (menu->activeAction())
            QTest::keyClick(menu, Qt::Key_Return);
        else
            menu->close();
    });
    timer_.start(kPollMs);
}
