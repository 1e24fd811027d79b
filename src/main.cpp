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
    const QCommandLineOption event(
        "event", "Then pick the event numbered N in the event list, as a click would.", "N");
    const QCommandLineOption effect("effect", "Then pick effect K in the effect list.", "K");
    const QCommandLineOption critical(
        "critical", "Show the trucks at the effect's own time (Animate off, Approx Critical "
                    "Position on).");
    parser.addOptions({help, version, event, effect, critical});
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
    const auto refuse = [](const char* why) {
        std::fprintf(stderr, "kestavian: %s (see --help)\n", why);
        return 2;
    };
    if (parser.positionalArguments().size() > 1)
        return refuse("one event file at most");
    kestavian::StartPicks picks;
    picks.critical = parser.isSet(critical);
    bool whole = true;
    if (parser.isSet(event))
        picks.eventNo = parser.value(event).toInt(&whole);
    if (!whole)
        return refuse("--event takes an event number");
    if (parser.isSet(effect))
        picks.effectNo = parser.value(effect).toShort(&whole);
    if (!whole || picks.effectNo.value_or(1) < 1)
        return refuse("--effect takes an effect number from 1 to 32767");
    if ((picks.eventNo || picks.effectNo || picks.critical) &&
        parser.positionalArguments().isEmpty())
        return refuse("--event, --effect and --critical need a FILE");

    QApplication app(argc, argv);
    kestavian::frmMain window;
    window.show();
    if (!parser.positionalArguments().isEmpty()) {
        const QString file = parser.positionalArguments().constFirst();
        // Once the window is on the screen, so its messages and questions come over it.
        QTimer::singleShot(0, &window, [&window, file, picks] { window.openFile(file, picks); });
    }
    return QApplication::exec();
}
