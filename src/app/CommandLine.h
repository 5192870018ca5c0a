#pragma once
// The program's command line, for desktop shortcuts and scripts:
//   scrimble [--mode capture|autosave] [--lang ja|en] [--help] [--version]
//   scrimble --grab [--region WxH+X+Y] [--delay SECONDS] [--output FILE|--clipboard] [file options]
// --mode opens that mode directly, without the chooser and without changing the
// stored default; --lang chooses the language of the texts for this run; --grab
// takes a screenshot without a window.

#include "Language.h"
#include "grab/GrabRequest.h"

#include <QString>
#include <QStringList>

#include <optional>

enum class StartMode { Chooser, Capture, AutoSave };

struct CommandLine {
    enum class Action { Run, Grab, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    StartMode mode = StartMode::Chooser;
    // ShowHelp, ShowVersion: for stdout; Refuse: the error and the usage for stderr, or
    // the error alone in one line when --grab was asked for
    QString text;
    std::optional<Language> language;  // none: the desktop's
    GrabRequest grab;                  // Grab
};

inline constexpr int RefusedCommandLineExitCode = 2;

// arguments: the whole argv, the program's name first.
[[nodiscard]] CommandLine ParseCommandLine(const QStringList& arguments);
