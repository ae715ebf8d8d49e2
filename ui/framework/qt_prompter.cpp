#include "ui/framework/qt_prompter.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

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
    }
    return QMessageBox::Ok;
}

int FromQt(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return kIdCancel;
    case QMessageBox::Yes:
        return kIdYes;
    case QMessageBox::No:
        return kIdNo;
    default:
        return kIdOk;
    }
}

} // namespace

int QtPrompter::MessageBox(std::string_view text, MessageButtons buttons) {
    QWidget* window = parent_ ? parent_->window() : nullptr;
    QMessageBox box(QMessageBox::NoIcon, window ? window->windowTitle() : QString(), ToQ(text),
                    ToQt(buttons), window);
    return FromQt(box.exec());
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
