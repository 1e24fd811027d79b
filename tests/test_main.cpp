#ifdef KESTAVIAN_WIDGETS
#include <QApplication>
#else
#include <QGuiApplication>
#endif
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Headless; widgets for the window's suites only; the windows' settings kept apart from the user's.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef KESTAVIAN_SCALE_FACTOR
    qputenv("QT_SCALE_FACTOR", KESTAVIAN_SCALE_FACTOR);
#endif
#ifdef KESTAVIAN_WIDGETS
    QApplication app(argc, argv);
#else
    QGuiApplication app(argc, argv);
#endif
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
