#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>

#include "window/frm_main.h"

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(kestavian::AppTitle);
    QCoreApplication::setApplicationVersion(KESTAVIAN_VERSION);

    // Read before the application object is made, so that --help and --version need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Shows the events of a bridge traffic-loading simulation's event file.");
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
    parser.addOptions({help, version});
    parser.addPositionalArgument("FILE", "An event file to open at start, as Open would.",
                                 "[FILE]");
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "kestavian: %s (see --help)\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help)) {
        // Without an application object the usage line cannot know the program's name.
        std::fputs(qPrintable(parser.helpText().replace("<executable_name>", "kestavian")), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("kestavian %s\n", KESTAVIAN_VERSION);
        return 0;
    }
    if (parser.positionalArguments().size() > 1) {
        std::fputs("kestavian: one event file at most (see --help)\n", stderr);
        return 2;
    }

    QApplication app(argc, argv);
    kestavian::frmMain window;
    window.show();
    if (!parser.positionalArguments().isEmpty()) {
        const QString file = parser.positionalArguments().constFirst();
        // Once the window is on the screen, so its messages and questions come over it.
        QTimer::singleShot(0, &window, [&window, file] { window.openFile(file); });
    }
    return QApplication::exec();
}
