#include "app/report_list.h"

#include "app/qt_conversions.h"
#include "app/ui_dispatcher.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace brisma::app {
namespace {

// The exact bytes of a cell, beside the text shown for it.
constexpr int textRole = Qt::UserRole + 1;

// Paints each cell on the list's text background colour, the way a report
// list draws the background behind its items.
class TextBackgroundDelegate : public QStyledItemDelegate
{
public:
    TextBackgroundDelegate(const Rgb& colour, QObject* parent)
        : QStyledItemDelegate(parent), m_colour(colour)
    {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->backgroundBrush.style() == Qt::NoBrush) {
            option->backgroundBrush = toQColor(m_colour);
        }
    }

private:
    const Rgb& m_colour;
};

} // namespace

ReportListWidget::ReportListWidget(QWidget* parent)
    : QTreeWidget(parent), m_textColour(rgb(0, 0, 0)), m_textBackground(rgb(255, 255, 255)),
      m_background(rgb(255, 255, 255))
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new TextBackgroundDelegate(m_textBackground, this));
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setSectionsMovable(false);
    applyColours();
}

void ReportListWidget::setColumns(const std::vector<Column>& columns)
{
    setColumnCount(static_cast<int>(columns.size()));
    QStringList headers;
    for (const Column& column : columns) {
        headers << toQString(column.header);
    }
    setHeaderLabels(headers);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        header()->resizeSection(i, columns[static_cast<std::size_t>(i)].width);
        headerItem()->setTextAlignment(i, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void ReportListWidget::deleteAllRows()
{
    clear();
}

int ReportListWidget::insertRow()
{
    auto* item = new QTreeWidgetItem(this);
    for (int column = 0; column < columnCount(); ++column) {
        item->setData(column, textRole, QByteArray());
    }
    return topLevelItemCount() - 1;
}

void ReportListWidget::setCell(int row, int column, const Text& text)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr || column < 0 || column >= columnCount()) {
        return;
    }
    item->setText(column, toQString(text));
    item->setData(column, textRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

Text ReportListWidget::cell(int row, int column) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr || column < 0 || column >= columnCount()) {
        return {};
    }
    return item->data(column, textRole).toByteArray().toStdString();
}

int ReportListWidget::selectedRow() const
{
    int first = -1;
    for (const QTreeWidgetItem* item : selectedItems()) {
        const int row = indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
        if (row >= 0 && (first < 0 || row < first)) {
            first = row;
        }
    }
    return first;
}

int ReportListWidget::rowCount() const
{
    return topLevelItemCount();
}

void ReportListWidget::setTextColour(Rgb colour)
{
    m_textColour = colour;
    applyColours();
}

void ReportListWidget::setTextBackgroundColour(Rgb colour)
{
    m_textBackground = colour;
    viewport()->update();
}

void ReportListWidget::setBackgroundColour(Rgb colour)
{
    m_background = colour;
    applyColours();
}

// A palette would lose against the skin's style sheet; the list's own style
// sheet does not.
void ReportListWidget::applyColours()
{
    const auto name = [](Rgb colour) { return toQColor(colour).name(QColor::HexRgb); };
    setStyleSheet(QStringLiteral("QTreeView { background-color: %1; color: %2; }")
                      .arg(name(m_background), name(m_textColour)));
}

void ReportListWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (onDoubleClicked) {
        onDoubleClicked();
    }
}

QtReportList::QtReportList(ReportListWidget* widget) : m_widget(widget)
{}

void QtReportList::deleteAllRows()
{
    onWidget(m_widget, [](ReportListWidget& list) { list.deleteAllRows(); });
}

int QtReportList::insertRow()
{
    return onWidget(-1, m_widget, [](ReportListWidget& list) { return list.insertRow(); });
}

void QtReportList::setCell(int row, int column, const Text& text)
{
    onWidget(m_widget, [&](ReportListWidget& list) { list.setCell(row, column, text); });
}

Text QtReportList::cell(int row, int column) const
{
    return onWidget(Text{}, m_widget,
                    [&](ReportListWidget& list) { return list.cell(row, column); });
}

int QtReportList::selectedRow() const
{
    return onWidget(-1, m_widget, [](ReportListWidget& list) { return list.selectedRow(); });
}

int QtReportList::rowCount() const
{
    return onWidget(0, m_widget, [](ReportListWidget& list) { return list.rowCount(); });
}

void QtReportList::setTextColour(Rgb colour)
{
    onWidget(m_widget, [&](ReportListWidget& list) { list.setTextColour(colour); });
}

void QtReportList::setTextBackgroundColour(Rgb colour)
{
    onWidget(m_widget, [&](ReportListWidget& list) { list.setTextBackgroundColour(colour); });
}

void QtReportList::setBackgroundColour(Rgb colour)
{
    onWidget(m_widget, [&](ReportListWidget& list) { list.setBackgroundColour(colour); });
}

} // namespace brisma::app
