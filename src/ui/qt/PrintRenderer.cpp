#include "PrintRenderer.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "Conversions.h"
#include "PictureIcon.h"
#include "RichTextEdit.h"
#include "qlmib/ui/GridModel.h"
#include "qlmib/ui/ImageList.h"
#include "qlmib/ui/RichTextDocument.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib::ui::qt {
namespace {

constexpr double kPointsPerInch = 72.0;

// Pages with a heading on the first one and a footer on each.
class PageWriter {
public:
    PageWriter(const PrintJob& job, QPagedPaintDevice& device, QPainter& painter)
        : job_(job), device_(device), painter_(painter) {
        const QRect full = device.pageLayout().paintRectPixels(device.logicalDpiX());
        page_ = QRectF(0, 0, full.width(), full.height());
        const QFontMetricsF footer(font(8, false), &device);
        footerHeight_ = footer.height() * 2;
        body_ = page_.adjusted(0, 0, 0, -footerHeight_);
        drawHeading();
        drawFooter();
    }

    QPainter& painter() { return painter_; }
    // The room left on this page.
    QRectF body() const { return body_; }
    void consume(double height) { body_.setTop(body_.top() + height); }
    void newPage() {
        device_.newPage();
        ++page_number_;
        body_ = page_.adjusted(0, 0, 0, -footerHeight_);
        drawFooter();
    }
    QFont font(int points, bool bold) const {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }
    double dotsPerPoint() const { return device_.logicalDpiX() / kPointsPerInch; }

private:
    void drawText(const std::string& text, int points, bool bold) {
        if (text.empty()) return;
        painter_.setFont(font(points, bold));
        const QRectF bounds = painter_.boundingRect(body_, Qt::TextWordWrap, ToQString(text));
        painter_.drawText(body_, Qt::TextWordWrap, ToQString(text));
        consume(bounds.height() + dotsPerPoint() * 4);
    }
    void drawHeading() {
        drawText(job_.Title, 14, true);
        drawText(job_.SubTitle, 11, false);
        drawText(job_.Paragraph, 9, false);
        if (!job_.Title.empty() || !job_.SubTitle.empty() || !job_.Paragraph.empty()) consume(dotsPerPoint() * 8);
    }
    void drawFooter() {
        painter_.save();
        painter_.setFont(font(8, false));
        const QRectF area(page_.left(), page_.bottom() - footerHeight_ / 2, page_.width(), footerHeight_ / 2);
        painter_.drawText(area, Qt::AlignLeft | Qt::AlignBottom, ToQString(job_.Footer));
        painter_.drawText(area, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Page %1").arg(page_number_));
        painter_.restore();
    }

    const PrintJob& job_;
    QPagedPaintDevice& device_;
    QPainter& painter_;
    QRectF page_, body_;
    double footerHeight_ = 0;
    int page_number_ = 1;
};

void renderDocument(const RichTextDocument& document, PageWriter& pages, QPagedPaintDevice& device) {
    QTextDocument text;
    text.documentLayout()->setPaintDevice(&device);
    FillTextDocument(text, document.Runs());
    text.setPageSize(QSizeF(pages.body().width(), 1e9));
    text.setTextWidth(pages.body().width());
    const double total = text.size().height();
    double shown = 0;
    while (true) {
        const QRectF area = pages.body();
        QPainter& painter = pages.painter();
        painter.save();
        painter.translate(area.left(), area.top() - shown);
        text.drawContents(&painter, QRectF(0, shown, area.width(), area.height()));
        painter.restore();
        shown += area.height();
        if (shown >= total) break;
        pages.newPage();
    }
}

void renderTable(const GridModel& table, PageWriter& pages) {
    QPainter& painter = pages.painter();
    const double dotsPerTwip = pages.dotsPerPoint() / 20.0;
    std::vector<std::int32_t> columns;
    for (std::int32_t c = 0; c < table.getCols(); ++c)
        if (!table.getColHidden(c)) columns.push_back(c);
    // A column without a width of its own (-1) gets an inch.
    auto columnWidth = [&](std::int32_t c) {
        const std::int32_t twips = table.getColWidth(c);
        return (twips < 0 ? 1440 : twips) * dotsPerTwip;
    };
    // Wider than the page: every column shrinks alike.
    double width = 0;
    for (auto c : columns) width += columnWidth(c);
    const double scale = width > pages.body().width() && width > 0 ? pages.body().width() / width : 1.0;
    const QFont cellFont = pages.font(8, false), fixedFont = pages.font(8, true);
    const double rowHeight = QFontMetricsF(cellFont, painter.device()).height() * 1.4;
    const double pad = pages.dotsPerPoint() * 2;

    auto drawRow = [&](std::int32_t row, bool fixed) {
        if (pages.body().height() < rowHeight) pages.newPage();
        double x = pages.body().left();
        for (auto c : columns) {
            const double w = columnWidth(c) * scale;
            const QRectF cell(x, pages.body().top(), w, rowHeight);
            if (fixed) painter.fillRect(cell, QColor(0xE0, 0xE0, 0xE0));
            else if (auto back = table.getCellBackColor(row, c)) painter.fillRect(cell, ToQColor(*back));
            painter.setPen(QColor(0xA0, 0xA0, 0xA0));
            painter.drawRect(cell);
            painter.setPen(fixed ? Qt::black : ToQColor(table.getCellForeColor(row, c).value_or(kBlack)));
            painter.setFont(fixed || table.getCellFontBold(row, c) ? fixedFont : cellFont);
            const QRectF inner = cell.adjusted(pad, 0, -pad, 0);
            const QString text = painter.fontMetrics().elidedText(ToQString(table.getTextMatrix(row, c)),
                                                                  Qt::ElideRight, static_cast<int>(inner.width()));
            painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, text);
            x += w;
        }
        pages.consume(rowHeight);
    };
    for (std::int32_t r = table.getFixedRows(); r < table.getRows(); ++r) {
        if (table.getRowHidden(r)) continue;
        // The header rows open the table and every page it runs on to.
        const bool pageStart = r == table.getFixedRows() || pages.body().height() < rowHeight;
        if (pageStart) {
            if (r != table.getFixedRows()) pages.newPage();
            for (std::int32_t f = 0; f < table.getFixedRows(); ++f)
                if (!table.getRowHidden(f)) drawRow(f, true);
        }
        drawRow(r, false);
    }
    if (table.getRows() == table.getFixedRows())
        for (std::int32_t f = 0; f < table.getFixedRows(); ++f) drawRow(f, true);
}

void renderPicture(const Picture& picture, PageWriter& pages) {
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(picture.Bytes.data()),
                            static_cast<int>(picture.Bytes.size())))
        image = PictureIcon(picture).pixmap(64).toImage();  // a stock picture
    if (image.isNull()) return;
    const QRectF area = pages.body();
    // Pictures keep their proportions and are never drawn larger than at 96 dots per inch.
    const double natural = pages.dotsPerPoint() * kPointsPerInch / 96.0;
    const double scale = std::min({natural, area.width() / image.width(), area.height() / image.height()});
    pages.painter().drawImage(QRectF(area.left(), area.top(), image.width() * scale, image.height() * scale), image);
}

}  // namespace

bool RenderPrintJob(const PrintJob& job, QPagedPaintDevice& device) {
    device.setPageOrientation(job.Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    PageWriter pages(job, device, painter);
    if (job.Document) renderDocument(*job.Document, pages, device);
    else if (job.Table) renderTable(*job.Table, pages);
    else if (job.Image) renderPicture(*job.Image, pages);
    return painter.end();
}

}  // namespace qlmib::ui::qt
