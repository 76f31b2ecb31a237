#include "blankprinting.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>

void BlankPrinting::PrintPages(QPrinter& printer) {
    // Opening and closing the painter makes the one (empty) page.
    QPainter painter(&printer);
}

void BlankPrinting::Print() {
    QPrintDialog dialog(&printer_, owner_);
    if (dialog.exec() == QDialog::Accepted) PrintPages(printer_);
}

void BlankPrinting::PrintDirect(const QString& printerName) {
    if (!printerName.isEmpty()) printer_.setPrinterName(printerName);
    PrintPages(printer_);
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
