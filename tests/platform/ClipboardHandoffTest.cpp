// When the program that copied an image ends, the image goes to the clipboard manager
// (the X11 SAVE_TARGETS convention). The manager here is the test itself: it owns
// CLIPBOARD_MANAGER on a connection of its own and, asked to save, reads image/png from
// the ending program before answering.
#include "platform/XcbReply.h"
#include "platform/XcbSelection.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <chrono>
#include <cstring>
#include <future>
#include <string>

namespace {

xcb_atom_t atom(xcb_connection_t* xcb, const char* name)
{
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        xcb, xcb_intern_atom(xcb, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Waits (up to ten seconds) for an event of the given type.
XcbReply<xcb_generic_event_t> waitFor(xcb_connection_t* xcb, std::uint8_t type)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        XcbReply<xcb_generic_event_t> event(xcb_poll_for_event(xcb));
        if (event && (event->response_type & 0x7F) == type)
            return event;
        if (!event)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return nullptr;
}

// A clipboard manager that saves one clipboard: the image/png it read, or empty.
class ClipboardManager
{
public:
    ClipboardManager() : m_xcb(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_xcb)).data;
        m_window = xcb_generate_id(m_xcb);
        const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(m_xcb, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
        xcb_set_selection_owner(m_xcb, m_window, atom(m_xcb, "CLIPBOARD_MANAGER"), XCB_CURRENT_TIME);
        xcb_flush(m_xcb);
    }
    ~ClipboardManager() { xcb_disconnect(m_xcb); }

    // Answers one SAVE_TARGETS request, having read the clipboard's PNG first.
    std::string saveOnce()
    {
        const auto request = waitFor(m_xcb, XCB_SELECTION_REQUEST);
        if (!request)
            return {};
        const auto* asked = reinterpret_cast<const xcb_selection_request_event_t*>(request.get());
        const xcb_atom_t saved = atom(m_xcb, "SCRIMBLE_SAVED");
        xcb_convert_selection(m_xcb, m_window, atom(m_xcb, "CLIPBOARD"), atom(m_xcb, "image/png"), saved,
                              XCB_CURRENT_TIME);
        xcb_flush(m_xcb);
        std::string png;
        if (waitFor(m_xcb, XCB_SELECTION_NOTIFY)) {
            const XcbReply<xcb_get_property_reply_t> property(xcb_get_property_reply(
                m_xcb, xcb_get_property(m_xcb, 1, m_window, saved, XCB_ATOM_ANY, 0, 1 << 24), nullptr));
            if (property)
                png.assign(static_cast<const char*>(xcb_get_property_value(property.get())),
                           static_cast<std::size_t>(xcb_get_property_value_length(property.get())));
        }
        answerSelectionRequest(m_xcb, *asked, asked->property);
        return png;
    }

private:
    xcb_connection_t* m_xcb;
    xcb_window_t m_window = 0;
};

TEST(ClipboardHandoff, TheImageOutlivesTheProgramThatCopiedIt)
{
    ClipboardManager manager;
    auto saved = std::async(std::launch::async, [&manager] { return manager.saveOnce(); });
    QProcess program;
    program.start(QStringLiteral(SCRIMBLE_HANDOFF_PROGRAM), {});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0);
    const std::string png = saved.get();
    const QImage image =
        QImage::fromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG");
    ASSERT_FALSE(image.isNull()) << "the manager got no image";
    EXPECT_EQ(image.size(), QSize(64, 48));
    EXPECT_EQ(image.pixel(63, 47) & 0xFFFFFFu, static_cast<QRgb>(63 * 4 << 16 | 47 * 5 << 8 | 0x40));
}

}  // namespace
