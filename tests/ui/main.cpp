// The window tests drive real widgets without a display: one application object on Qt's offscreen
// platform for the whole run, with the program's font.
#include <QApplication>
#include <gtest/gtest.h>

#include "ui/framework/ui_font.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(ui::DialogFont("", 9));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
