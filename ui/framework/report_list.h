#pragma once

#include <QColor>
#include <QTableView>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAbstractItemModel;

namespace ui {

class Prompter;
class CReportModel;

// A report-style list: columns with header, width and alignment; rows of Shift-JIS cell texts
// shown through platform::SjisToShownText; item data and check boxes per row; or, in owner-data
// mode, only a row count whose texts come from OwnerDataText(). Per-cell colours come from the
// custom draw callback. Row operations mirror the list control the handlers are written against:
// InsertItem / SetItemText / GetItemText / SetItemData / SetCheck / DeleteItem.
//
// In a single-selection list a click never clears the selection, Tab leaves the list instead of
// walking its cells, and a cell too narrow for its text shows the whole text as a tooltip.
class CReportList : public QTableView {
    Q_OBJECT
public:
    enum Align { kLeft, kRight, kCenter };
    // Row state bits of ItemChange.
    enum StateBit : unsigned { kSelected = 1u, kChecked = 2u };
    // What an ItemChange reports.
    enum ChangeMask : unsigned { kChangedState = 1u, kChangedData = 2u, kChangedText = 4u };

    struct ItemChange {
        int row;
        unsigned mask;
        unsigned oldState;
        unsigned newState;
        bool BecameSelected() const {
            return (mask & kChangedState) && (newState & kSelected) && !(oldState & kSelected);
        }
    };
    // Invalid colours mean the list's defaults.
    struct CellColors {
        QColor text;
        QColor background;
    };
    using CustomDraw = std::function<CellColors(int row, int column)>;

    explicit CReportList(QWidget* parent = nullptr);
    ~CReportList() override;

    // Styles, normally set from the dialog template when the list is subclassed.
    void SetOwnerData(bool on);
    bool IsOwnerData() const;
    void SetCheckBoxes(bool on);
    bool HasCheckBoxes() const;
    void SetSingleSelection(bool on);
    void SetShowSelectionAlways(bool on);

    // Columns; widths in pixels. InsertColumn returns the new column's index.
    int InsertColumn(int column, std::string_view headerUtf8, int width, Align align = kLeft);
    int GetColumnCount() const;
    int GetColumnWidth(int column) const;
    // Widens the column, never narrows it, so that each of the texts (Shift-JIS) fits whole.
    void FitColumnWidth(int column, const std::vector<std::string>& sjisTexts);
    std::string GetColumnHeader(int column) const; // UTF-8
    // What the header shows when the pointer rests on the column's caption.
    void SetColumnToolTip(int column, std::string_view utf8);
    Align GetColumnAlign(int column) const;

    // Rows with stored texts. InsertItem returns the new row's index (clamped to the end).
    int InsertItem(int row, std::string_view sjisText);
    bool SetItemText(int row, int column, std::string_view sjisText);
    std::string GetItemText(int row, int column) const; // Shift-JIS; empty outside the rows
    bool SetItemData(int row, std::uintptr_t data);
    std::uintptr_t GetItemData(int row) const;
    bool SetCheck(int row, bool checked);
    bool GetCheck(int row) const;
    bool DeleteItem(int row);
    void DeleteAllItems();
    int GetItemCount() const;

    // Owner data: the row count; texts are asked from OwnerDataText().
    void SetItemCount(int count);

    // Selection (one row at most in single-selection lists).
    int GetSelectedRow() const; // -1 for none
    void SelectRow(int row, bool focus = true);
    void ClearSelection();

    void SetCustomDraw(CustomDraw draw);
    CellColors ColorsOf(int row, int column) const;
    // Repaints the visible rows (after the owner-data rows changed).
    void Redraw();

    // Viewport rectangle of a cell; empty outside the rows.
    QRect SubItemRect(int row, int column) const;

    // The row under a viewport position, -1 for none.
    int RowAt(const QPoint& viewportPos) const;

    // The whole text of the cell under a viewport position when the cell cuts it; empty
    // otherwise. This is the cell's tooltip.
    QString CutCellText(const QPoint& viewportPos) const;

    // Words shown across an empty list (UTF-8; empty for none), so that an empty result says why.
    void SetEmptyText(std::string_view utf8);
    QString EmptyText() const { return emptyText_; }

    void SetPrompter(Prompter* prompter) { prompter_ = prompter; }
    Prompter* GetPrompter() const { return prompter_; }

    // Lets list classes emit the same notifications the view emits for the user's actions.
    void NotifyItemChanged(const ItemChange& change) { Q_EMIT itemChanged(change); }

Q_SIGNALS:
    void headerClicked(int column);
    // A double click on a row; one on the empty part of the list is no double click on anything.
    void itemDoubleClicked(int row, Qt::KeyboardModifiers modifiers);
    void keyDown(int key);
    void itemChanged(const ui::CReportList::ItemChange& change);
    void rightClicked(const QPoint& globalPos, int row);

protected:
    // Cell text of an owner-data row, Shift-JIS.
    virtual std::string OwnerDataText(int row, int column) const;
    // The right click, after the row under the mouse became selected; the default emits
    // rightClicked().
    virtual void OnContextMenu(const QPoint& globalPos, int row);

    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Home and End go to the first and the last row: the rows are what a report list selects.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    friend class CReportModel;
    void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    // The width a cell needs to show `text` without cutting it.
    int CellWidthFor(const QString& text) const;

    std::unique_ptr<CReportModel> model_;
    CustomDraw customDraw_;
    Prompter* prompter_ = nullptr;
    QString emptyText_;
};

} // namespace ui

Q_DECLARE_METATYPE(ui::CReportList::ItemChange)
