#include "app/blankprinting.h"

#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>

bool BlankPrinting::PrintPages(QPrinter& printer) {
    // Opening and closing the painter makes the one (empty) page.
    QPainter painter;
    return painter.begin(&printer) && painter.end();
}

void BlankPrinting::Report(bool printed) const {
    if (!printed)
        QMessageBox::warning(
            owner_, QStringLiteral("Pallix"),
            QStringLiteral("The document could not be printed: the printer %1 is not available.")
                .arg(printer_.printerName().isEmpty() ? QStringLiteral("(none)") : printer_.printerName()));
}

void BlankPrinting::Print() {
    QPrintDialog dialog(&printer_, owner_);
    if (dialog.exec() == QDialog::Accepted) Report(PrintPages(printer_));
}

void BlankPrinting::PrintDirect(const QString& printerName) {
    if (!printerName.isEmpty()) printer_.setPrinterName(printerName);
    Report(PrintPages(printer_));
}

void BlankPrinting::PrintPreview() {
    QPrintPreviewDialog dialog(&printer_, owner_);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [](QPrinter* printer) { PrintPages(*printer); });
    dialog.exec();
}

void BlankPrinting::PageSetup() {
    QPageSetupDialog dialog(&printer_, owner_);
    dialog.exec();
}
