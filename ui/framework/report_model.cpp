#include "ui/framework/report_model.h"

#include "platform/sjis.h"

namespace ui {

int CReportModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return ownerData ? virtualCount_ : static_cast<int>(rows_.size());
}

int CReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

std::string CReportModel::CellText(int row, int column) const {
    if (ownerData) {
        return list_.OwnerDataText(row, column);
    }
    const Row& stored = rows_[static_cast<std::size_t>(row)];
    const auto col = static_cast<std::size_t>(column);
    return col < stored.texts.size() ? stored.texts[col] : std::string();
}

QVariant CReportModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(
            platform::SjisToShownText(CellText(index.row(), index.column())));
    case Qt::TextAlignmentRole: {
        const CReportList::Align align = columns_[static_cast<std::size_t>(index.column())].align;
        const Qt::Alignment horizontal = align == CReportList::kRight    ? Qt::AlignRight
                                         : align == CReportList::kCenter ? Qt::AlignHCenter
                                                                         : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    case Qt::CheckStateRole:
        if (checkBoxes && !ownerData && index.column() == 0) {
            return rows_[static_cast<std::size_t>(index.row())].checked ? Qt::Checked
                                                                        : Qt::Unchecked;
        }
        return {};
    case Qt::ForegroundRole: {
        const QColor color = list_.ColorsOf(index.row(), index.column()).text;
        return color.isValid() ? QVariant(color) : QVariant();
    }
    case Qt::BackgroundRole: {
        const QColor color = list_.ColorsOf(index.row(), index.column()).background;
        return color.isValid() ? QVariant(color) : QVariant();
    }
    default:
        return {};
    }
}

bool CReportModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !checkBoxes || ownerData || !index.isValid()) {
        return false;
    }
    return list_.SetCheck(index.row(), value.toInt() == Qt::Checked);
}

QVariant CReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    const Column& column = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) {
        return column.header;
    }
    if (role == Qt::ToolTipRole && !column.toolTip.isEmpty()) {
        return column.toolTip;
    }
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment horizontal = column.align == CReportList::kRight    ? Qt::AlignRight
                                         : column.align == CReportList::kCenter ? Qt::AlignHCenter
                                                                                : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags CReportModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (checkBoxes && !ownerData && index.column() == 0) {
        result |= Qt::ItemIsUserCheckable;
    }
    return result;
}

void CReportModel::InsertColumn(int column, Column info) {
    const int at = std::clamp(column, 0, columnCount());
    beginInsertColumns(QModelIndex(), at, at);
    columns_.insert(columns_.begin() + at, std::move(info));
    for (Row& row : rows_) {
        if (static_cast<int>(row.texts.size()) > at) {
            row.texts.insert(row.texts.begin() + at, std::string());
        }
    }
    endInsertColumns();
}

const CReportModel::Column* CReportModel::ColumnAt(int column) const {
    if (column < 0 || column >= columnCount()) {
        return nullptr;
    }
    return &columns_[static_cast<std::size_t>(column)];
}

void CReportModel::SetColumnToolTip(int column, QString toolTip) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    columns_[static_cast<std::size_t>(column)].toolTip = std::move(toolTip);
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

int CReportModel::InsertRow(int row, std::string text) {
    const int at = std::clamp(row, 0, static_cast<int>(rows_.size()));
    beginInsertRows(QModelIndex(), at, at);
    Row inserted;
    inserted.texts.push_back(std::move(text));
    rows_.insert(rows_.begin() + at, std::move(inserted));
    endInsertRows();
    return at;
}

bool CReportModel::RemoveRow(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    return true;
}

void CReportModel::Clear() {
    beginResetModel();
    rows_.clear();
    virtualCount_ = 0;
    endResetModel();
}

void CReportModel::SetVirtualCount(int count) {
    beginResetModel();
    virtualCount_ = std::max(count, 0);
    endResetModel();
}

CReportModel::Row* CReportModel::RowAt(int row) {
    if (ownerData || row < 0 || row >= static_cast<int>(rows_.size())) {
        return nullptr;
    }
    return &rows_[static_cast<std::size_t>(row)];
}

const CReportModel::Row* CReportModel::RowAt(int row) const {
    return const_cast<CReportModel*>(this)->RowAt(row);
}

void CReportModel::TextChanged(int row, int column) {
    Q_EMIT dataChanged(index(row, column), index(row, column), {Qt::DisplayRole});
}

void CReportModel::CheckChanged(int row) {
    Q_EMIT dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

} // namespace ui
