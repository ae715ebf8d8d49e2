#include "ui/framework/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/sjis.h"

namespace ui {

bool SetClipboardSjisText(std::string_view sjis) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        return false;
    }
    clipboard->setText(QString::fromStdString(platform::SjisToUtf8(sjis)));
    return true;
}

std::string ClipboardText() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text().toStdString() : std::string();
}

} // namespace ui
