#pragma once
// The screen information of the panel's and the options window's menus: the screen's
// size and depth read again, stored, and shown in a message box titled "画素数".

class QWidget;
struct CaptureSelection;
struct Platform;

void ShowScreenInformation(Platform& platform, CaptureSelection& selection, QWidget* parent);
