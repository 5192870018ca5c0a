#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

// The version the build gives, as the About box shows it.
const QString VersionText = QStringLiteral("Scrimble " SCRIMBLE_VERSION);

struct Modes {
    const char* name;
    StartMode mode;
};
constexpr Modes ModeNames[] = {{"capture", StartMode::Capture}, {"autosave", StartMode::AutoSave}};

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Screen capture: freeze the screen and select a part of it, or save every image copied to the "
                       "clipboard."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption mode(QStringLiteral("mode"),
                                  QCoreApplication::translate("CommandLine",
                                                              "Open <mode> directly: capture (desktop capture) or "
                                                              "autosave (print-screen auto-save). The stored default "
                                                              "stays as it is."),
                                  QStringLiteral("mode"));
    parser.addOption(mode);
    const QCommandLineOption language(
        QStringLiteral("lang"),
        QCoreApplication::translate("CommandLine", "Show the texts in <language> for this run: ja (Japanese) or en "
                                                   "(English). Without it, the desktop's language decides."),
        QStringLiteral("language"));
    parser.addOption(language);
    AddGrabOptions(parser);
    // Parsed before the application object exists, which would name the program.
    const QString usage = parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("scrimble"));
    // A script's screenshot fails with one line: the usage would bury it.
    const bool grabbing = arguments.contains(QStringLiteral("--grab"));
    const auto refuse = [&usage, grabbing](const QString& error) {
        const QString text = grabbing ? QStringLiteral("scrimble: %1\n").arg(error)
                                      : QStringLiteral("scrimble: %1\n\n%2").arg(error, usage);
        return CommandLine{CommandLine::Action::Refuse, StartMode::Chooser, text, std::nullopt, {}};
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText().replace(u'\n', u' '));
    if (!parser.positionalArguments().isEmpty())
        return refuse(QCoreApplication::translate("CommandLine", "unexpected argument '%1'")
                          .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        return {CommandLine::Action::ShowHelp, StartMode::Chooser, usage, std::nullopt, {}};
    if (parser.isSet(version))
        return {CommandLine::Action::ShowVersion, StartMode::Chooser, VersionText + u'\n', std::nullopt, {}};
    CommandLine run;
    if (parser.isSet(language)) {
        run.language = LanguageNamed(parser.value(language));
        if (!run.language)
            return refuse(QCoreApplication::translate("CommandLine", "unknown language '%1' (ja or en)")
                              .arg(parser.value(language)));
    }
    std::variant<GrabRequest, QString> grab = ReadGrabRequest(parser);
    if (const QString* problem = std::get_if<QString>(&grab))
        return refuse(*problem);
    if (IsGrabAsked(parser)) {
        if (parser.isSet(mode))
            return refuse(QCoreApplication::translate("CommandLine", "--grab and --mode exclude each other"));
        run.action = CommandLine::Action::Grab;
        run.grab = std::get<GrabRequest>(std::move(grab));
        return run;
    }
    if (!parser.isSet(mode))
        return run;
    const QString asked = parser.value(mode);
    for (const Modes& known : ModeNames)
        if (asked == QLatin1String(known.name)) {
            run.mode = known.mode;
            return run;
        }
    return refuse(QCoreApplication::translate("CommandLine", "unknown mode '%1' (capture or autosave)").arg(asked));
}
