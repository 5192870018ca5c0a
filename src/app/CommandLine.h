#pragma once
// The program's command line, for desktop shortcuts and scripts:
//   scrimble [--mode capture|autosave] [--lang ja|en] [--help] [--version]
// --mode opens that mode directly, without the chooser and without changing the
// stored default; --lang chooses the language of the texts for this run.

#include "Language.h"

#include <QString>
#include <QStringList>

#include <optional>

enum class StartMode { Chooser, Capture, AutoSave };

struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    StartMode mode = StartMode::Chooser;
    QString text;  // ShowHelp, ShowVersion: for stdout; Refuse: the error and the usage, for stderr
    std::optional<Language> language;  // none: the desktop's
};

inline constexpr int RefusedCommandLineExitCode = 2;

// arguments: the whole argv, the program's name first.
[[nodiscard]] CommandLine ParseCommandLine(const QStringList& arguments);
