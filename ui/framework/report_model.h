#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/framework/report_list.h"

namespace ui {

// The rows and columns behind a CReportList. Texts are Shift-JIS and converted when shown.
class CReportModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString header;
        CReportList::Align align;
        QString toolTip;
    };
    struct Row {
        std::vector<std::string> texts;
        std::uintptr_t data = 0;
        bool checked = false;
    };

    explicit CReportModel(CReportList& list) : list_(list) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void InsertColumn(int column, Column info);
    const Column* ColumnAt(int column) const;
    void SetColumnToolTip(int column, QString toolTip);

    int InsertRow(int row, std::string text);
    bool RemoveRow(int row);
    void Clear();
    void SetVirtualCount(int count);

    Row* RowAt(int row);
    const Row* RowAt(int row) const;
    void TextChanged(int row, int column);
    void CheckChanged(int row);

    bool ownerData = false;
    bool checkBoxes = false;

private:
    std::string CellText(int row, int column) const;

    CReportList& list_;
    std::vector<Column> columns_;
    std::vector<Row> rows_;
    int virtualCount_ = 0;
};

} // namespace ui
