#pragma once
// The desktop's system-information program, the first of a short list found in PATH:
// KDE's info centre, GNOME's settings at their "about" page, hardinfo. Started
// detached, with its arguments, never through a shell.

#include "SystemInformation.h"

class DesktopSystemInformation final : public SystemInformation
{
public:
    bool start() override;
};
