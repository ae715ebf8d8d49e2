#include "ui/framework/qt_prompter.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "ui/framework/file_filter.h"

namespace ui {
namespace {

QString ToQ(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QMessageBox::StandardButtons ToQt(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::kOk:
        return QMessageBox::Ok;
    case MessageButtons::kOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::kYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::kYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::kSaveDiscardCancel:
        return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

int FromQt(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return kIdCancel;
    case QMessageBox::Yes:
    case QMessageBox::Save:
        return kIdYes;
    case QMessageBox::No:
    case QMessageBox::Discard:
        return kIdNo;
    default:
        return kIdOk;
    }
}

// The title bar holds the window's icon and buttons beside the title; a box sized for a short
// text alone would cut the title off.
void MakeRoomForTitle(QMessageBox& box) {
    constexpr int kTitleBarControls = 160;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const int width =
        box.fontMetrics().horizontalAdvance(box.windowTitle()) * 5 / 4 + kTitleBarControls;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* window, std::string_view text,
                                              MessageButtons buttons) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon,
                                             window ? window->windowTitle() : QString(), ToQ(text),
                                             ToQt(buttons), window);
    if (buttons == MessageButtons::kSaveDiscardCancel) {
        box->button(QMessageBox::Save)->setText(QStringLiteral("保存"));
        box->button(QMessageBox::Discard)->setText(QStringLiteral("破棄"));
        box->button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    }
    MakeRoomForTitle(*box);
    return box;
}

int QtPrompter::MessageBox(std::string_view text, MessageButtons buttons) {
    const std::unique_ptr<QMessageBox> box =
        CreateMessageBox(parent_ ? parent_->window() : nullptr, text, buttons);
    return FromQt(box->exec());
}

std::optional<std::string> QtPrompter::RunFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_, QString(), QString(), ToQ(ConvertFileFilter(request.filter)));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || request.createPrompt ? QFileDialog::AnyFile
                                                    : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(ToQ(request.defaultExt));
    if (!request.initialName.empty()) {
        dialog.selectFile(ToQ(request.initialName));
    }
    QFileDialog::Options options;
    if (!request.overwritePrompt) {
        options |= QFileDialog::DontConfirmOverwrite;
    }
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QByteArray path = QFile::encodeName(dialog.selectedFiles().front());
    return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}

std::optional<std::string> QtPrompter::OpenFile(const FileDialogRequest& request) {
    return RunFileDialog(request, false);
}

std::optional<std::string> QtPrompter::SaveFile(const FileDialogRequest& request) {
    return RunFileDialog(request, true);
}

int QtPrompter::TrackPopupMenu(QMenu& menu, const QPoint& globalPos) {
    QAction* chosen = menu.exec(globalPos);
    return chosen ? chosen->data().toInt() : 0;
}

} // namespace ui
