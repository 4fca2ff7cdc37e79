#pragma once
// Draws a print job (title, subtitle, paragraph, then the document, table
// or picture, and the footer on every page) on a paged device: a printer,
// a print preview's printer or a PDF writer, so that all of them come out
// alike.

class QPagedPaintDevice;

namespace qlmib::ui {
struct PrintJob;
}

namespace qlmib::ui::qt {

// False when the device could not be painted on.
bool RenderPrintJob(const PrintJob& job, QPagedPaintDevice& device);

}  // namespace qlmib::ui::qt
