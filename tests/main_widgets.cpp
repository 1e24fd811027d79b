#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef KESTAVIAN_SCALE_FACTOR
    qputenv("QT_SCALE_FACTOR", KESTAVIAN_SCALE_FACTOR);
#endif
    QApplication app(argc, argv);
    // The windows remember things across runs; the tests' runs keep theirs apart from the user's.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
