// Renders PNG pictures of the main window and its dialogs on the bundled tables, without a display.
//
//   kestrova_screenshot [output folder]   (default: docs/screenshots)

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/program_folder.h"
#include "tools/screenshot/shots.h"
#include "ui/framework/scripted_prompter.h"
#include "ui/framework/ui_font.h"
#include "ui/simulator_dlg.h"

namespace {

// A private program folder holding a copy of the tables, so that no Config.dat or list file of
// a real installation changes the pictures.
bool CopyTables(const QString& from, const QString& to) {
    QDir source(from);
    if (!source.exists() || !QDir().mkpath(to)) {
        return false;
    }
    const QStringList tables = source.entryList({"*.csv"}, QDir::Files);
    for (const QString& table : tables) {
        if (!QFile::copy(source.filePath(table), to + "/" + table)) {
            return false;
        }
    }
    return !tables.isEmpty();
}

bool TakeShot(const Shot& shot, const std::string& folder, const QString& output) {
    ui::ScriptedPrompter prompter;
    CSimulatorDlg dialog(folder, prompter);
    if (!dialog.InitDialog()) {
        std::fprintf(stderr, "screenshot: the tables could not be loaded\n");
        return false;
    }
    shot.prepare(dialog);
    dialog.show();
    std::unique_ptr<ui::CTemplateDialog> side = shot.sideDialog ? shot.sideDialog(dialog) : nullptr;
    if (side) {
        side->InitDialog();
        side->show();
    }
    QApplication::processEvents();
    QWidget& pictured = side ? static_cast<QWidget&>(*side) : dialog;
    const QString path = QDir(output).filePath(QString(shot.name) + ".png");
    if (!pictured.grab().save(path)) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    app.setFont(ui::DialogFont("", 9));
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : "docs/screenshots";
    QTemporaryDir folder;
    const QString data = QString::fromStdString(platform::ProgramFolder()) + "data";
    if (!folder.isValid() || !QDir().mkpath(output) || !CopyTables(data, folder.filePath("data"))) {
        std::fprintf(stderr, "screenshot: cannot prepare the tables from %s\n", qPrintable(data));
        return EXIT_FAILURE;
    }
    const std::string programFolder = QFile::encodeName(folder.path()).toStdString() + "/";
    for (const Shot& shot : AllShots()) {
        if (!TakeShot(shot, programFolder, output)) {
            return EXIT_FAILURE;
        }
    }
    return EXIT_SUCCESS;
}
