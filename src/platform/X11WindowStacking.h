#pragma once
// Window stacking through the X server, on Qt's own connection so that it comes in
// order after Qt's requests (a raise of the same window, say). Does nothing when Qt
// does not run on X11.
//
// How the copy stays below depends on who stacks the windows:
//  - Restack, an X11 window manager: the copy bypasses it (a managed full-screen window
//    covers one monitor only, and may be moved or shrunk) and is restacked below the
//    windows in front;
//  - MapOrder, a wlroots compositor (sway) with XWayland: windows that bypass the
//    window manager are kept above every managed one, in the order their first
//    pictures reached it, whatever the X stacking says, and no managed window shows
//    over a full-screen one. The windows in front bypass it too, and are mapped again
//    once the copy's picture has reached it;
//  - TransientsOfFullScreen, mutter or KWin with XWayland: these too keep windows that
//    bypass them above all others, but keep a full-screen window's transients above
//    it. The copy is their full-screen window, spanning every monitor, the windows in
//    front its transients.

#include "WindowStacking.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <map>
#include <vector>

enum class CopyLayering { Restack, MapOrder, TransientsOfFullScreen };

class X11WindowStacking final : public QObject, public WindowStacking
{
public:
    explicit X11WindowStacking(CopyLayering layering);

    void prepareCopy(QWidget& copy) override;
    void prepareInFront(QWidget& window, QWidget& copy) override;
    void placeBelow(QWidget& window, const std::vector<QWidget*>& inFront) override;

private:
    void restackBelow(QWidget& window, const std::vector<QWidget*>& inFront);
    void mapAgainAbove(QWidget& window, const std::vector<QWidget*>& inFront);
    void mapArrivedAgain();
    static void mapAgain(QWidget& front);
    static void raiseAbove(const std::vector<QWidget*>& inFront);
    // Numbers each show of the watched windows, in order.
    void watchShows(QWidget& window);
    // MapOrder: the shows and the copy's exposure; TransientsOfFullScreen: the copy's
    // exposure.
    bool eventFilter(QObject* watched, QEvent* event) override;

    CopyLayering m_layering;
    std::vector<QPointer<QWidget>> m_transients;
    // MapOrder: the copy; whether it was shown and its picture has not yet reached the
    // compositor, which the timer started at its exposure tells; the windows to map
    // again once it has.
    QPointer<QWidget> m_copy;
    bool m_copyArriving = false;
    QTimer m_copyArrival;
    std::vector<QPointer<QWidget>> m_waitingInFront;
    // Asked once each time the copy is shown.
    bool m_copyMadeFullScreen = false;
    std::map<const QObject*, std::uint64_t> m_shownAt;
    std::uint64_t m_shows = 0;
};
