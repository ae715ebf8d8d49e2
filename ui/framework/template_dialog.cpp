#include "ui/framework/template_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QResizeEvent>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "ui/framework/app_icon.h"
#include "ui/framework/elided_label.h"
#include "ui/framework/report_list.h"
#include "ui/framework/ui_font.h"

namespace ui {
namespace {

const QEvent::Type kPostedMessageType = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessage final : public QEvent {
public:
    PostedMessage(unsigned message, std::uint64_t wParam, std::uint64_t lParam)
        : QEvent(kPostedMessageType), message(message), wParam(wParam), lParam(lParam) {}
    unsigned message;
    std::uint64_t wParam;
    std::uint64_t lParam;
};

QString ToQ(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

int MulDiv(int value, int numerator, int denominator) {
    return (value * numerator + denominator / 2) / denominator;
}

Qt::Alignment TextAlignment(res::ControlStyle style) {
    if (style & res::kRightAlign) {
        return Qt::AlignRight;
    }
    return (style & res::kCenter) ? Qt::AlignHCenter : Qt::AlignLeft;
}

QWidget* CreateButton(const res::ControlTemplate& control, QWidget* parent) {
    const QString caption = QString::fromUtf8(control.caption);
    if (control.kind == res::ControlKind::kCheckBox && !(control.style & res::kPushLike)) {
        return new QCheckBox(caption, parent);
    }
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    button->setDefault(control.style & res::kDefault);
    button->setCheckable(control.kind == res::ControlKind::kCheckBox);
    return button;
}

QWidget* CreateEdit(const res::ControlTemplate& control, QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromUtf8(control.caption), parent);
    if (control.style & res::kDigitsOnly) {
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    }
    if (control.textLimit > 0) {
        edit->setMaxLength(control.textLimit);
    }
    edit->setAlignment(TextAlignment(control.style) | Qt::AlignVCenter);
    return edit;
}

QWidget* CreateStatic(const res::ControlTemplate& control, QWidget* parent) {
    const QString caption = QString::fromUtf8(control.caption);
    QLabel* label = (control.style & res::kEndEllipsis) != 0 ? new ElidedLabel(caption, parent)
                                                             : new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(TextAlignment(control.style) | Qt::AlignTop);
    return label;
}

QWidget* CreateProgressBar(QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

void ApplyListStyles(CReportList& list, res::ControlStyle style) {
    list.SetOwnerData(style & res::kOwnerData);
    list.SetCheckBoxes(style & res::kCheckBoxes);
    list.SetSingleSelection(style & res::kSingleSel);
    list.SetShowSelectionAlways(style & res::kShowSelAlways);
}

QWidget* CreateIcon(QWidget* parent) {
    constexpr int kIconSize = 32;
    auto* label = new QLabel(parent);
    label->setPixmap(LoadAppIcon().pixmap(kIconSize));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* CreateEtchedLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

CTemplateDialog::CTemplateDialog(const res::DialogTemplate& dialog, Prompter& prompter,
                                 QWidget* parent)
    : QDialog(parent), template_(dialog), prompter_(prompter) {
    if (dialog.appWindow) {
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    }
    setWindowTitle(QString::fromUtf8(dialog.caption));
    setFont(DialogFont(dialog.fontName, dialog.pointSize));
    ComputeBaseUnits();
    QButtonGroup* radioGroup = nullptr;
    for (const res::ControlTemplate& control : dialog.controls) {
        QWidget* widget = CreateControl(control, radioGroup);
        widget->setGeometry(DesignRect(control, *widget));
        widget->setEnabled(!(control.style & res::kDisabled));
        WatchKeys(widget);
        placed_.push_back({widget, &control});
        if (control.id >= 0) {
            items_[control.id] = widget;
        }
    }
    designSize_ = MapDialogRect(0, 0, dialog.cx, dialog.cy).size();
    if (dialog.resizable) {
        setMinimumSize(designSize_);
        resize(designSize_);
    } else {
        setFixedSize(designSize_);
    }
}

CTemplateDialog::~CTemplateDialog() = default;

void CTemplateDialog::ComputeBaseUnits() {
    // The average width of the Latin letters and the line height, as dialog units are defined.
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (width / 26 + 1) / 2;
    baseY_ = metrics.height();
}

QRect CTemplateDialog::DesignRect(const res::ControlTemplate& control,
                                  const QWidget& widget) const {
    QRect rect = MapDialogRect(control.x, control.y, control.cx, control.cy);
    if (control.kind == res::ControlKind::kDropDownList) {
        // The template's height is that of the open list; the closed box keeps its own.
        rect.setHeight(widget.sizeHint().height());
    }
    return rect;
}

void CTemplateDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FollowSize();
}

void CTemplateDialog::FollowSize() {
    const int dx = std::max(0, width() - designSize_.width());
    const int dy = std::max(0, height() - designSize_.height());
    for (const Placed& placed : placed_) {
        const res::Resize& rule = placed.control->resize;
        if (rule.moveX == 0 && rule.growX == 0 && rule.moveY == 0 && rule.growY == 0) {
            continue;
        }
        QRect rect = DesignRect(*placed.control, *placed.widget);
        rect.translate(dx * rule.moveX / 100, dy * rule.moveY / 100);
        rect.setSize(rect.size() + QSize(dx * rule.growX / 100, dy * rule.growY / 100));
        placed.widget->setGeometry(rect);
    }
}

QRect CTemplateDialog::MapDialogRect(int x, int y, int cx, int cy) const {
    return QRect(MulDiv(x, baseX_, 4), MulDiv(y, baseY_, 8), MulDiv(cx, baseX_, 4),
                 MulDiv(cy, baseY_, 8));
}

QWidget* CTemplateDialog::CreateControl(const res::ControlTemplate& control,
                                        QButtonGroup*& radioGroup) {
    using K = res::ControlKind;
    if (control.style & res::kGroupStart) {
        radioGroup = nullptr;
    }
    switch (control.kind) {
    case K::kRadioButton: {
        auto* radio = new QRadioButton(QString::fromUtf8(control.caption), this);
        if (!radioGroup) {
            radioGroup = new QButtonGroup(this);
        }
        radioGroup->addButton(radio);
        return radio;
    }
    case K::kPushButton:
    case K::kCheckBox:
        return CreateButton(control, this);
    case K::kGroupBox:
        return new QGroupBox(QString::fromUtf8(control.caption), this);
    case K::kStatic:
        return CreateStatic(control, this);
    case K::kEdit:
        return CreateEdit(control, this);
    case K::kDropDownList: {
        auto* combo = new QComboBox(this);
        combo->setEditable(false);
        return combo;
    }
    case K::kReportList: {
        auto* list = new CReportList(this);
        ApplyListStyles(*list, control.style);
        list->SetPrompter(&prompter_);
        return list;
    }
    case K::kProgressBar:
        return CreateProgressBar(this);
    case K::kIcon:
        return CreateIcon(this);
    case K::kEtchedLine:
        return CreateEtchedLine(this);
    }
    return new QWidget(this);
}

void CTemplateDialog::WatchKeys(QWidget* widget) {
    widget->installEventFilter(this);
}

QWidget* CTemplateDialog::Item(int id) const {
    const auto it = items_.find(id);
    return it == items_.end() ? nullptr : it->second;
}

const res::ControlTemplate* CTemplateDialog::ItemTemplate(int id) const {
    for (const res::ControlTemplate& control : template_.controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

void CTemplateDialog::SetText(int id, std::string_view utf8) {
    QWidget* widget = Item(id);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(ToQ(utf8));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(ToQ(utf8));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // The limit is on typing: a longer text given here, a stored value for instance, is shown
        // whole rather than cut without a word.
        const QString text = ToQ(utf8);
        const res::ControlTemplate* control = ItemTemplate(id);
        if (control != nullptr && control->textLimit > 0) {
            edit->setMaxLength(std::max(control->textLimit, static_cast<int>(text.size())));
        }
        edit->setText(text);
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        frame->setTitle(ToQ(utf8));
    }
}

std::string CTemplateDialog::GetText(int id) const {
    QWidget* widget = Item(id);
    QString text;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        text = button->text();
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        text = label->text();
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        text = edit->text();
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        text = frame->title();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        text = combo->currentText();
    }
    return text.toStdString();
}

int CTemplateDialog::GetInt(int id) const {
    return std::atoi(GetText(id).c_str());
}

bool CTemplateDialog::IsChecked(int id) const {
    auto* button = Control<QAbstractButton>(id);
    return button && button->isChecked();
}

void CTemplateDialog::SetCheck(int id, bool checked) {
    auto* button = Control<QAbstractButton>(id);
    if (!button) {
        return;
    }
    // An exclusive group refuses to clear its checked button; clearing is allowed here.
    QButtonGroup* group = button->group();
    const bool exclusive = group && group->exclusive();
    if (exclusive && !checked) {
        group->setExclusive(false);
    }
    button->setChecked(checked);
    if (exclusive && !checked) {
        group->setExclusive(true);
    }
}

void CTemplateDialog::CheckRadio(int id) {
    SetCheck(id, true);
}

void CTemplateDialog::Enable(int id, bool enabled) {
    if (QWidget* widget = Item(id)) {
        widget->setEnabled(enabled);
    }
}

bool CTemplateDialog::IsEnabled(int id) const {
    QWidget* widget = Item(id);
    return widget && widget->isEnabled();
}

void CTemplateDialog::OnClicked(int id, std::function<void()> handler) {
    if (auto* button = Control<QAbstractButton>(id)) {
        connect(button, &QAbstractButton::clicked, this,
                [handler = std::move(handler)] { handler(); });
    }
}

void CTemplateDialog::OnSelChange(int id, std::function<void()> handler) {
    if (auto* combo = Control<QComboBox>(id)) {
        connect(combo, &QComboBox::activated, this,
                [handler = std::move(handler)](int) { handler(); });
    }
}

void CTemplateDialog::Click(int id) {
    if (auto* button = Control<QAbstractButton>(id)) {
        button->click();
    }
}

void CTemplateDialog::SubclassItem(int id, CReportList& list) {
    QWidget* placeholder = Item(id);
    const res::ControlTemplate* control = ItemTemplate(id);
    if (!placeholder || !control || placeholder == &list) {
        return;
    }
    list.setParent(this);
    list.setFont(font());
    list.setGeometry(placeholder->geometry());
    list.setEnabled(placeholder->isEnabled());
    ApplyListStyles(list, control->style);
    list.SetPrompter(&prompter_);
    list.stackUnder(placeholder);
    QWidget::setTabOrder(placeholder, &list);
    WatchKeys(&list);
    for (Placed& placed : placed_) {
        if (placed.widget == placeholder) {
            placed.widget = &list;
        }
    }
    items_[id] = &list;
    delete placeholder;
    list.show();
}

void CTemplateDialog::SetTimer(int id, int ms) {
    QTimer*& timer = timers_[id];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    timer->start(ms);
}

void CTemplateDialog::KillTimer(int id) {
    const auto it = timers_.find(id);
    if (it != timers_.end()) {
        delete it->second;
        timers_.erase(it);
    }
}

bool CTemplateDialog::HasTimer(int id) const {
    return timers_.count(id) != 0;
}

void CTemplateDialog::PostMessage(unsigned message, std::uint64_t wParam, std::uint64_t lParam) {
    QCoreApplication::postEvent(this, new PostedMessage(message, wParam, lParam));
}

int CTemplateDialog::DoModal() {
    InitDialog();
    if (ended_) {
        return endCode_;
    }
    return exec();
}

bool CTemplateDialog::InitDialog() {
    if (initialized_) {
        return true;
    }
    initialized_ = true;
    return OnInitDialog();
}

void CTemplateDialog::EndDialog(int code) {
    ended_ = true;
    endCode_ = code;
    done(code);
}

bool CTemplateDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        PreTranslateKey(watched, *static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CTemplateDialog::keyPressEvent(QKeyEvent* event) {
    if (PreTranslateKey(this, *event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CTemplateDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnClose();
}

void CTemplateDialog::customEvent(QEvent* event) {
    if (event->type() == kPostedMessageType) {
        const auto* posted = static_cast<PostedMessage*>(event);
        OnMessage(posted->message, posted->wParam, posted->lParam);
        return;
    }
    QDialog::customEvent(event);
}

} // namespace ui
