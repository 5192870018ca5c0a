#pragma once
// What the desktop capture mode shows and saves, apart from its windows: the frozen
// screen the user selects on (screen pixels, origin at the screen's top-left), the
// selection's outline Shape1 with its handles, and the picture made from the
// selection (the preview, the clipboard's image and a ColorMode 0 save's source).
// The mode changes it; the windows paint what it holds.

#include "SelectionGeometry.h"

#include <QSize>

#include <memory>

class DeviceContext;
class ScreenGrabber;
struct ScreenShot;
struct CaptureSelection;
struct OutputOptions;
enum class GreyStep : bool;

class CaptureModel
{
public:
    // Until the first grab the frozen screen has no pixels, and its size is that of
    // the screen that screen reads.
    explicit CaptureModel(const ScreenGrabber& screen);
    ~CaptureModel();
    CaptureModel(const CaptureModel&) = delete;
    CaptureModel& operator=(const CaptureModel&) = delete;

    [[nodiscard]] const DeviceContext& screen() const { return *m_screen; }
    [[nodiscard]] QSize screenSize() const { return m_screenSize; }
    // Screen pixels per desktop pixel (2 on a Wayland output scaled by 2).
    [[nodiscard]] int screenScale() const { return m_screenScale; }
    // A grab's picture becomes the frozen screen, at its size (which changes when a
    // monitor is plugged in or out); a failed grab (false) leaves it as it was.
    bool takeScreen(ScreenShot shot);
    // Empties the frozen screen: what the clear command leaves on screen.
    void clearScreen();

    [[nodiscard]] const SelectionEditor& editor() const { return m_editor; }
    [[nodiscard]] SelectionEditor& editor() { return m_editor; }
    [[nodiscard]] bool handlesVisible() const { return m_handlesVisible; }
    void setHandlesVisible(bool visible) { m_handlesVisible = visible; }

    [[nodiscard]] const DeviceContext& picture() const { return *m_picture; }
    [[nodiscard]] QSize pictureSize() const;
    // The picture becomes width x height pixels, emptied.
    void emptyPicture(int width, int height);
    // The picture refresh's image steps: the selection rendered from Shape1's rounded
    // top-left corner into the picture, which the caller has emptied at ViewWidth x
    // ViewHeight. A library failure leaves the picture empty; false then.
    bool refreshPicture(const CaptureSelection& selection, const OutputOptions& options, GreyStep grey);

private:
    std::unique_ptr<DeviceContext> m_screen;
    QSize m_screenSize;
    int m_screenScale = 1;
    SelectionEditor m_editor;
    bool m_handlesVisible = false;
    std::unique_ptr<DeviceContext> m_picture;
};
