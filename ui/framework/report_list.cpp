#include "ui/framework/report_list.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <set>

#include "platform/sjis.h"
#include "ui/framework/report_model.h"

namespace ui {

CReportList::CReportList(QWidget* parent)
    : QTableView(parent), model_(std::make_unique<CReportModel>(*this)) {
    setModel(model_.get());
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setMinimumSectionSize(0);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CReportList::headerClicked);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CReportList::OnSelectionChanged);
}

CReportList::~CReportList() {
    // The view must let go of the model before the model goes.
    setModel(nullptr);
}

void CReportList::SetOwnerData(bool on) {
    model_->Clear();
    model_->ownerData = on;
}

bool CReportList::IsOwnerData() const {
    return model_->ownerData;
}

void CReportList::SetCheckBoxes(bool on) {
    model_->checkBoxes = on;
    Redraw();
}

bool CReportList::HasCheckBoxes() const {
    return model_->checkBoxes;
}

void CReportList::SetSingleSelection(bool on) {
    setSelectionMode(on ? QAbstractItemView::SingleSelection
                        : QAbstractItemView::ExtendedSelection);
}

void CReportList::SetShowSelectionAlways(bool on) {
    QPalette colors = palette();
    const QPalette defaults = QPalette();
    colors.setColor(QPalette::Inactive, QPalette::Highlight,
                    on ? defaults.color(QPalette::Active, QPalette::Highlight)
                       : defaults.color(QPalette::Inactive, QPalette::Highlight));
    colors.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    on ? defaults.color(QPalette::Active, QPalette::HighlightedText)
                       : defaults.color(QPalette::Inactive, QPalette::HighlightedText));
    setPalette(colors);
}

int CReportList::InsertColumn(int column, std::string_view headerUtf8, int width, Align align) {
    const int at = std::clamp(column, 0, GetColumnCount());
    model_->InsertColumn(
        at, {QString::fromUtf8(headerUtf8.data(), static_cast<qsizetype>(headerUtf8.size())), align,
             QString()});
    setColumnWidth(at, width);
    return at;
}

int CReportList::GetColumnCount() const {
    return model_->columnCount();
}

int CReportList::GetColumnWidth(int column) const {
    return columnWidth(column);
}

int CReportList::CellWidthFor(const QString& text) const {
    // The margins the style leaves on either side of a cell's text, as it draws them.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return fontMetrics().horizontalAdvance(text) + 2 * margin;
}

void CReportList::FitColumnWidth(int column, const std::vector<std::string>& sjisTexts) {
    if (column < 0 || column >= GetColumnCount()) {
        return;
    }
    int width = columnWidth(column);
    for (const std::string& text : sjisTexts) {
        width =
            std::max(width, CellWidthFor(QString::fromStdString(platform::SjisToShownText(text))));
    }
    setColumnWidth(column, width);
}

std::string CReportList::GetColumnHeader(int column) const {
    const CReportModel::Column* info = model_->ColumnAt(column);
    return info ? info->header.toStdString() : std::string();
}

void CReportList::SetColumnToolTip(int column, std::string_view utf8) {
    model_->SetColumnToolTip(column,
                             QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

CReportList::Align CReportList::GetColumnAlign(int column) const {
    const CReportModel::Column* info = model_->ColumnAt(column);
    return info ? info->align : kLeft;
}

int CReportList::InsertItem(int row, std::string_view sjisText) {
    if (IsOwnerData()) {
        return -1;
    }
    return model_->InsertRow(row, std::string(sjisText));
}

bool CReportList::SetItemText(int row, int column, std::string_view sjisText) {
    CReportModel::Row* stored = model_->RowAt(row);
    if (!stored || column < 0 || column >= GetColumnCount()) {
        return false;
    }
    const auto col = static_cast<std::size_t>(column);
    if (stored->texts.size() <= col) {
        stored->texts.resize(col + 1);
    }
    stored->texts[col] = std::string(sjisText);
    model_->TextChanged(row, column);
    const unsigned state =
        (GetCheck(row) ? kChecked : 0u) | (GetSelectedRow() == row ? kSelected : 0u);
    Q_EMIT itemChanged({row, kChangedText, state, state});
    return true;
}

std::string CReportList::GetItemText(int row, int column) const {
    if (IsOwnerData()) {
        if (row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount()) {
            return {};
        }
        return OwnerDataText(row, column);
    }
    const CReportModel::Row* stored = model_->RowAt(row);
    const auto col = static_cast<std::size_t>(column);
    if (!stored || column < 0 || col >= stored->texts.size()) {
        return {};
    }
    return stored->texts[col];
}

bool CReportList::SetItemData(int row, std::uintptr_t data) {
    CReportModel::Row* stored = model_->RowAt(row);
    if (!stored) {
        return false;
    }
    stored->data = data;
    const unsigned state =
        (stored->checked ? kChecked : 0u) | (GetSelectedRow() == row ? kSelected : 0u);
    Q_EMIT itemChanged({row, kChangedData, state, state});
    return true;
}

std::uintptr_t CReportList::GetItemData(int row) const {
    const CReportModel::Row* stored = model_->RowAt(row);
    return stored ? stored->data : 0;
}

bool CReportList::SetCheck(int row, bool checked) {
    CReportModel::Row* stored = model_->RowAt(row);
    if (!stored) {
        return false;
    }
    const unsigned selected = GetSelectedRow() == row ? kSelected : 0u;
    const unsigned oldState = selected | (stored->checked ? kChecked : 0u);
    stored->checked = checked;
    model_->CheckChanged(row);
    Q_EMIT itemChanged({row, kChangedState, oldState, selected | (checked ? kChecked : 0u)});
    return true;
}

bool CReportList::GetCheck(int row) const {
    const CReportModel::Row* stored = model_->RowAt(row);
    return stored && stored->checked;
}

bool CReportList::DeleteItem(int row) {
    return !IsOwnerData() && model_->RemoveRow(row);
}

void CReportList::DeleteAllItems() {
    model_->Clear();
}

int CReportList::GetItemCount() const {
    return model_->rowCount();
}

void CReportList::SetItemCount(int count) {
    if (IsOwnerData()) {
        model_->SetVirtualCount(count);
    }
}

int CReportList::GetSelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex& index : rows) {
        if (first < 0 || index.row() < first) {
            first = index.row();
        }
    }
    return first;
}

void CReportList::SelectRow(int row, bool focus) {
    if (row < 0 || row >= GetItemCount() || GetColumnCount() == 0) {
        return;
    }
    const QModelIndex index = model_->index(row, 0);
    const auto flags = QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    if (focus) {
        selectionModel()->setCurrentIndex(index, flags);
    } else {
        selectionModel()->select(index, flags);
    }
}

void CReportList::ClearSelection() {
    selectionModel()->clearSelection();
}

void CReportList::SetCustomDraw(CustomDraw draw) {
    customDraw_ = std::move(draw);
    Redraw();
}

CReportList::CellColors CReportList::ColorsOf(int row, int column) const {
    return customDraw_ ? customDraw_(row, column) : CellColors{};
}

void CReportList::Redraw() {
    viewport()->update();
}

QRect CReportList::SubItemRect(int row, int column) const {
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount()) {
        return {};
    }
    return visualRect(model_->index(row, column));
}

int CReportList::RowAt(const QPoint& viewportPos) const {
    return indexAt(viewportPos).row();
}

QString CReportList::CutCellText(const QPoint& viewportPos) const {
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid()) {
        return {};
    }
    const QString text = model_->data(index, Qt::DisplayRole).toString();
    int room = visualRect(index).width();
    if (index.column() == 0 && HasCheckBoxes() && !IsOwnerData()) {
        room -= style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) +
                style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
    }
    return CellWidthFor(text) > room ? text : QString();
}

void CReportList::SetEmptyText(std::string_view utf8) {
    emptyText_ = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    Redraw();
}

std::string CReportList::OwnerDataText(int /*row*/, int /*column*/) const {
    return {};
}

void CReportList::OnContextMenu(const QPoint& globalPos, int row) {
    Q_EMIT rightClicked(globalPos, row);
}

void CReportList::OnSelectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected) {
    std::set<int> gone;
    std::set<int> came;
    for (const QModelIndex& index : deselected.indexes()) {
        gone.insert(index.row());
    }
    for (const QModelIndex& index : selected.indexes()) {
        came.insert(index.row());
    }
    for (int row : gone) {
        if (!came.count(row)) {
            const unsigned checked = GetCheck(row) ? kChecked : 0u;
            Q_EMIT itemChanged({row, kChangedState, checked | kSelected, checked});
        }
    }
    for (int row : came) {
        if (!gone.count(row)) {
            const unsigned checked = GetCheck(row) ? kChecked : 0u;
            Q_EMIT itemChanged({row, kChangedState, checked, checked | kSelected});
        }
    }
}

void CReportList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    // The selection stays where it was when the empty part is hit; acting on it then would act
    // on a row the user did not point at.
    const int row = RowAt(event->position().toPoint());
    if (row >= 0) {
        Q_EMIT itemDoubleClicked(row, event->modifiers());
    }
}

QItemSelectionModel::SelectionFlags CReportList::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags flags = QTableView::selectionCommand(index, event);
    // Qt lets a Ctrl+click take the only selected row away, or a click clear it; a single-selection
    // list here always keeps the row the user last chose.
    if (selectionMode() == SingleSelection &&
        (!index.isValid() || (flags & QItemSelectionModel::Deselect))) {
        return QItemSelectionModel::NoUpdate;
    }
    return flags;
}

void CReportList::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (GetItemCount() != 0 || emptyText_.isEmpty()) {
        return;
    }
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                     emptyText_);
}

bool CReportList::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QTableView::viewportEvent(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = CutCellText(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(indexAt(help->pos())));
    }
    return true;
}

void CReportList::keyPressEvent(QKeyEvent* event) {
    Q_EMIT keyDown(event->key());
    QTableView::keyPressEvent(event);
}

QModelIndex CReportList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action == MoveHome || action == MoveEnd) {
        modifiers |= Qt::ControlModifier;
    }
    return QTableView::moveCursor(action, modifiers);
}

void CReportList::contextMenuEvent(QContextMenuEvent* event) {
    const int row = RowAt(event->pos());
    if (row >= 0) {
        SelectRow(row);
    }
    OnContextMenu(event->globalPos(), row);
}

} // namespace ui
