#pragma once

class QCoreApplication;

namespace ui {

// Makes Qt's own dialogs and buttons (file dialogs, message-box buttons) speak Japanese, as the
// rest of the window does. False when Qt's Japanese translations are not installed; the window
// then still works, with those texts in English.
bool InstallJapaneseTranslations(QCoreApplication& app);

} // namespace ui
