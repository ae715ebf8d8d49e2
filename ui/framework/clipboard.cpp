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
    // The text is composed with CR LF line ends; here lines end in LF alone.
    QString text = QString::fromStdString(platform::SjisToUtf8(sjis));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    clipboard->setText(text);
    return true;
}

std::string ClipboardText() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text().toStdString() : std::string();
}

} // namespace ui
