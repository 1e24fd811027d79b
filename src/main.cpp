#include <QApplication>

#include "window/frm_main.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestavian");
    kestavian::frmMain window;
    window.show();
    return QApplication::exec();
}
