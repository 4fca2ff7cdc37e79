// The list view lines up the tab-separated fields of its items in columns,
// measured on the drawn pixels: with the same last field on every row, the
// rows' ink ends at one x when that field starts at one x. Text without a
// tab is drawn as a plain QListWidget draws it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <qlmib/ui/ListBox.h>
#include <qlmib/ui/qt/Conversions.h>
#include <qlmib/ui/qt/QtToolkit.h>

namespace qlmib::ui::qt {
namespace {

constexpr int kWidth = 1000, kHeight = 300;
const QString kOid = QStringLiteral("1.3.6.1.2.1.2.2.1.10");

// The x just right of the last pixel in `row` that differs from the
// background at the view's right edge, or -1 when the row is blank.
int InkEnd(QListWidget& list, int row) {
    const QImage picture = list.viewport()->grab().toImage();
    const QRect rect = list.visualItemRect(list.item(row));
    const int right = picture.width() - 1;
    for (int x = right; x >= 0; --x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (picture.pixel(x, y) != picture.pixel(right, y)) return x + 1;
    return -1;
}

// The width of the widest field `column` among rows.
int WidestField(const QFontMetrics& metrics, const std::vector<std::string>& rows, int column) {
    int widest = 0;
    for (const auto& row : rows)
        widest = std::max(widest, metrics.horizontalAdvance(ToQString(row).split(QLatin1Char('\t')).value(column)));
    return widest;
}

class TabColumnsTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.setParent(&root);
        list.Move(0, 0, ToTwips(kWidth), ToTwips(kHeight));
        host.resize(kWidth, kHeight);
        place(root, toolkit, &host);
        host.show();
        view = dynamic_cast<QListWidget*>(toolkit.viewOf(list));
        ASSERT_NE(view, nullptr);
        // The window takes focus now, while the list is empty: focus on a
        // list with items selects the first one, and a highlight is ink.
        QCoreApplication::processEvents();
    }

    void fill(const std::vector<std::string>& rows) {
        list.Clear();
        for (const auto& row : rows) list.AddItem(row);
        QCoreApplication::processEvents();
    }

    // Every row (the same count of fields, the same last field) ends its ink
    // at one x, right of the widest fields of the columns before the last.
    void expectColumns(const std::vector<std::string>& rows) {
        const int fields = static_cast<int>(ToQString(rows.front()).count(QLatin1Char('\t'))) + 1;
        const QFontMetrics metrics(view->font());
        int before = 0;
        for (int column = 0; column + 1 < fields; ++column) before += WidestField(metrics, rows, column);
        const int end = InkEnd(*view, 0);
        ASSERT_LT(end, view->viewport()->width()) << "the rows must fit, or every row ends at the edge";
        const int lastStart = end - metrics.horizontalAdvance(kOid);
        EXPECT_GT(lastStart, before) << "the last field overlaps a wider one";
        EXPECT_LT(lastStart, before + fields * 4 * metrics.averageCharWidth()) << "a gap is a few characters wide";
        for (int row = 1; row < view->count(); ++row) EXPECT_EQ(InkEnd(*view, row), end) << rows[row];
    }

    QtToolkit toolkit;
    QWidget host;
    Widget root{WidgetKind::Container, "Root"};
    ListBox list{"List"};
    QListWidget* view = nullptr;
};

TEST_F(TabColumnsTest, FieldsLineUpPastTheWidestFieldOfEachColumn) {
    const std::string oid = ToStd(kOid);
    const std::vector<std::vector<std::string>> cases{
        {"IF-MIB\t" + oid, "SNMPv2-SMI-EXTENDED-BY-A-VENDOR\t" + oid, "X\t" + oid},
        {"IF-MIB\tifIndex\t" + oid, "SNMP-FRAMEWORK-MIB\tx\t" + oid, "A\tifInUnknownProtosOfAVeryLongName\t" + oid},
        {"\t\t" + oid, "RFC1213-MIB\t\t" + oid, "\tipRouteMetric1\t" + oid},
    };
    for (const auto& rows : cases) {
        SCOPED_TRACE(rows.front());
        fill(rows);
        expectColumns(rows);
    }
}

// Through the list's model, which rebuilds the view's items, and through
// Qt's own item calls, which change rows in place.
TEST_F(TabColumnsTest, ColumnsFollowTheItemsAndTheFont) {
    const std::string oid = ToStd(kOid);
    std::vector<std::string> rows{"IF-MIB\t" + oid, "RFC1213-MIB\t" + oid};
    fill(rows);
    const auto step = [&](const char* what, const std::function<void()>& change) {
        SCOPED_TRACE(what);
        change();
        QCoreApplication::processEvents();
        expectColumns(rows);
    };
    step("a wider field comes in", [&] {
        rows.push_back("SNMP-USER-BASED-SM-MIB-AND-MORE\t" + oid);
        list.AddItem(rows.back());
    });
    step("the widest field goes", [&] {
        rows.pop_back();
        list.RemoveItem(2);
    });
    step("a text grows in place", [&] {
        rows[0] = "IF-MIB-WITH-THE-LONGEST-NAME-OF-ALL\t" + oid;
        view->item(0)->setText(ToQString(rows[0]));
    });
    step("a row is taken out", [&] {
        rows.erase(rows.begin());
        delete view->takeItem(0);
    });
    step("the font grows", [&] {
        QFont large = view->font();
        large.setPointSize(large.pointSize() * 2);
        view->setFont(large);
    });
}

// The second row is as wide as the first one's wide field and its own OID.
TEST_F(TabColumnsTest, TheListScrollsToTheEndOfTheRowsInTheirColumns) {
    fill({"IF-MIB\tx", "RFC1213-MIB\t" + ToStd(kOid)});
    const QString wide(200, QLatin1Char('W'));
    view->item(0)->setText(wide + QStringLiteral("\tx"));
    QCoreApplication::processEvents();
    const QFontMetrics metrics(view->font());
    EXPECT_GE(view->horizontalScrollBar()->maximum() + view->viewport()->width(),
              metrics.horizontalAdvance(wide) + metrics.horizontalAdvance(kOid));
}

// Rows without a tab, and the selected row of a tabbed list, against a
// plain QListWidget of the same size, font and items.
TEST_F(TabColumnsTest, PlainTextAndTheSelectionLookAsInAPlainList) {
    QListWidget plain(&host);
    plain.setGeometry(view->geometry());
    plain.show();
    const auto compare = [&](const std::vector<std::string>& rows, int selected) {
        fill(rows);
        plain.clear();
        for (const auto& row : rows) plain.addItem(ToQString(row));
        list.setListIndex(selected);
        plain.setCurrentRow(selected);
        view->clearFocus();
        QCoreApplication::processEvents();
        return std::make_pair(view->viewport()->grab().toImage(), plain.viewport()->grab().toImage());
    };

    const auto [ours, theirs] = compare({"ifInOctets", "IF-MIB", "", "1.3.6.1.2.1.2.2.1.10 ifInOctets"}, 1);
    EXPECT_EQ(ours, theirs);

    const auto [tabbed, reference] = compare({"IF-MIB\tifIndex", "IF-MIB\tifInOctets"}, 1);
    const QRect row = view->visualItemRect(view->item(1));
    const QPoint pastText(row.right() - 1, row.center().y());
    EXPECT_EQ(tabbed.pixel(pastText), reference.pixel(pastText)) << "the highlight";
    bool highlightedText = false;
    const auto group = view->isActiveWindow() ? QPalette::Active : QPalette::Inactive;
    const QRgb pen = view->palette().color(group, QPalette::HighlightedText).rgb();
    for (int x = row.left(); x < row.right(); ++x)
        for (int y = row.top(); y <= row.bottom(); ++y) highlightedText |= tabbed.pixel(x, y) == pen;
    EXPECT_TRUE(highlightedText) << "the selected row's text in the highlighted text's colour";
}

}  // namespace
}  // namespace qlmib::ui::qt
