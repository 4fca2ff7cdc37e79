// The printing module: printers, print preview and PDF through Qt PrintSupport.

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "Conversions.h"
#include "PrintRenderer.h"
#include "QtPrinting.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib::ui::qt {
namespace {

class QtPrinterPrinting : public QtPrinting {
public:
    std::vector<std::string> printers() const override {
        std::vector<std::string> names;
        for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(ToStd(name));
        return names;
    }

    bool print(const PrintJob& job) override {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(ToQString(job.Title));
        printer.setCreator(ToQString(job.ProgramName + " " + job.ProgramVersion));
        if (!job.PdfFile.empty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(ToQString(job.PdfFile));
            return RenderPrintJob(job, printer);
        }
        if (!job.Printer.empty()) printer.setPrinterName(ToQString(job.Printer));
        if (job.Preview) {
            QPrintPreviewDialog preview(&printer, QApplication::activeWindow());
            preview.setWindowTitle(ToQString(job.Title));
            bool rendered = true;
            QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                             [&](QPrinter* target) { rendered = RenderPrintJob(job, *target) && rendered; });
            preview.exec();
            return rendered;
        }
        if (printers().empty()) return false;
        return RenderPrintJob(job, printer);
    }
};

}  // namespace
}  // namespace qlmib::ui::qt

extern "C" __attribute__((visibility("default"))) qlmib::ui::qt::QtPrinting* qlmib_qt_printing() {
    static qlmib::ui::qt::QtPrinterPrinting printing;
    return &printing;
}
