#pragma once

#include "platform/toolkit.h"

#include <QPointer>
#include <QTreeWidget>

#include <functional>
#include <vector>

namespace brisma::app {

// A report list: rows of Text cells under column headers, drawn in the
// colours the program gives it. Cells keep the exact Text they were given,
// whatever the display makes of it.
class ReportListWidget : public QTreeWidget
{
public:
    struct Column
    {
        Text header;
        int width;
    };

    explicit ReportListWidget(QWidget* parent = nullptr);

    void setColumns(const std::vector<Column>& columns);

    void deleteAllRows();
    int insertRow();
    void setCell(int row, int column, const Text& text);
    Text cell(int row, int column) const;
    int selectedRow() const;
    int rowCount() const;

    void setTextColour(Rgb colour);
    void setTextBackgroundColour(Rgb colour);
    void setBackgroundColour(Rgb colour);
    Rgb textColour() const { return m_textColour; }
    Rgb textBackgroundColour() const { return m_textBackground; }
    Rgb backgroundColour() const { return m_background; }

    // Called on every double-click inside the list, on a row or not.
    std::function<void()> onDoubleClicked;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void applyColours();

    Rgb m_textColour;
    Rgb m_textBackground;
    Rgb m_background;
};

// The report list as the program's routines use it; safe to call from any
// thread (see platform/toolkit.h). Outlives its widget harmlessly.
class QtReportList : public platform::ReportList
{
public:
    explicit QtReportList(ReportListWidget* widget);

    void deleteAllRows() override;
    int insertRow() override;
    void setCell(int row, int column, const Text& text) override;
    Text cell(int row, int column) const override;
    int selectedRow() const override;
    int rowCount() const override;
    void setTextColour(Rgb colour) override;
    void setTextBackgroundColour(Rgb colour) override;
    void setBackgroundColour(Rgb colour) override;

private:
    QPointer<ReportListWidget> m_widget;
};

} // namespace brisma::app
