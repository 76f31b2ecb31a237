#pragma once
#include <QPrinter>
#include <QString>

class QWidget;

// Printing for a view that draws nothing: every print job is one blank
// page, through Qt's print dialog, preview and page setup.
class BlankPrinting {
public:
    explicit BlankPrinting(QWidget* owner) : owner_(owner) {}

    // Print: the print dialog first.
    void Print();
    // Direct print: the chosen printer (default: the system's) without a dialog.
    void PrintDirect(const QString& printerName = {});
    void PrintPreview();
    // Print Setup: the page setup, kept for the following jobs.
    void PageSetup();

private:
    static bool PrintPages(QPrinter& printer);
    void Report(bool printed) const;

    QWidget* owner_;
    QPrinter printer_;
};
