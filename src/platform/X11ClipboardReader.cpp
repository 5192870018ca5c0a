#include "X11ClipboardReader.h"

#include "XcbReply.h"
#include "XcbSelection.h"

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Every way the owner can change: a new copy, the owner's window or program gone.
constexpr std::uint32_t OwnerChanges = XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                       | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                       | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE;

// The readable image types stand last, in their order of preference.
enum AtomName : int {
    ClipboardAtom,
    Targets,
    Incr,
    Property,
    FirstImageType,
    AtomCount = FirstImageType + static_cast<int>(ReadableImageTypes.size())
};
constexpr std::array<std::string_view, AtomCount> AtomNames{"CLIPBOARD",
                                                            "TARGETS",
                                                            "INCR",
                                                            "SCRIMBLE_CLIPBOARD",
                                                            ReadableImageTypes[0],
                                                            ReadableImageTypes[1],
                                                            ReadableImageTypes[2],
                                                            ReadableImageTypes[3],
                                                            ReadableImageTypes[4]};

ClipboardCopyId copyId(xcb_window_t owner, xcb_timestamp_t time)
{
    return owner == XCB_NONE ? 0 : (ClipboardCopyId{time} << 32 | owner);
}

xcb_window_t ownerOf(ClipboardCopyId id) { return static_cast<xcb_window_t>(id & 0xFFFFFFFFu); }

xcb_timestamp_t timeOf(ClipboardCopyId id) { return static_cast<xcb_timestamp_t>(id >> 32); }

ClipboardCopy outcome(ClipboardCopy::Outcome what, ClipboardCopyId id) { return {what, id, {}}; }

// How long an owner replaced while it sends its image in parts may take for each
// further part before the copy is given up: parts come within milliseconds.
constexpr std::chrono::milliseconds ReplacedOwnersPartGap{250};

}  // namespace

struct X11ClipboardReader::Connection {
    xcb_connection_t* xcb = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_window_t window = XCB_NONE;  // owns the cleared clipboard
    std::array<xcb_atom_t, AtomCount> atoms{};
    std::uint8_t xfixesEvent = 0;
    int wakeRead = -1;
    int wakeWrite = -1;

    ~Connection()
    {
        xcb_disconnect(xcb);
        for (const int fd : {wakeRead, wakeWrite})
            if (fd >= 0)
                ::close(fd);
    }
    [[nodiscard]] xcb_atom_t operator[](AtomName name) const { return atoms[name]; }
    bool connect();
    // The next event, waiting at most until `until`; also wakes for a request.
    [[nodiscard]] XcbReply<xcb_generic_event_t> nextEvent(Clock::time_point until) const;
    void answer(const xcb_selection_request_event_t& request) const;
    // An owner change (the new copy's identity into current) or a request to our
    // window, handled; false for any other event.
    [[nodiscard]] bool takeInPassing(const xcb_generic_event_t& event, std::atomic<ClipboardCopyId>& current) const;
    [[nodiscard]] XcbReply<xcb_get_property_reply_t> takeProperty(xcb_window_t on, std::uint32_t longs) const;
    [[nodiscard]] xcb_window_t newWindow() const;
};

namespace {

// A window of its own for each read's answers and parts, gone with the read: an
// answer or part that comes late for a read given up (its owner replaced, or slow)
// never reaches the next read.
class TransferWindow
{
public:
    TransferWindow(xcb_connection_t* xcb, xcb_window_t id) : m_xcb(xcb), m_id(id) {}
    ~TransferWindow()
    {
        xcb_destroy_window(m_xcb, m_id);
        xcb_flush(m_xcb);
    }
    TransferWindow(const TransferWindow&) = delete;
    TransferWindow& operator=(const TransferWindow&) = delete;
    [[nodiscard]] xcb_window_t id() const { return m_id; }

private:
    xcb_connection_t* m_xcb;
    xcb_window_t m_id;
};

}  // namespace

bool X11ClipboardReader::Connection::connect()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    wakeRead = fds[0];
    wakeWrite = fds[1];
    int screenNumber = 0;
    xcb = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(xcb))
        return false;
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(xcb, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return false;
    xfixesEvent = xfixes->first_event;
    const XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        xcb, xcb_xfixes_query_version(xcb, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION), nullptr));
    std::array<xcb_intern_atom_cookie_t, AtomCount> cookies{};
    for (int i = 0; i < AtomCount; ++i)
        cookies[i] = xcb_intern_atom(xcb, 0, static_cast<std::uint16_t>(AtomNames[i].size()), AtomNames[i].data());
    for (int i = 0; i < AtomCount; ++i) {
        const XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(xcb, cookies[i], nullptr));
        atoms[i] = atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(xcb));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!version || !screens.rem)
        return false;
    root = screens.data->root;
    window = newWindow();
    xcb_xfixes_select_selection_input(xcb, root, atoms[ClipboardAtom], OwnerChanges);
    return xcb_flush(xcb) > 0;
}

xcb_window_t X11ClipboardReader::Connection::newWindow() const
{
    const xcb_window_t made = xcb_generate_id(xcb);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(xcb, XCB_COPY_FROM_PARENT, made, root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    return made;
}

XcbReply<xcb_generic_event_t> X11ClipboardReader::Connection::nextEvent(Clock::time_point until) const
{
    for (;;) {
        if (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(xcb)})
            return event;
        if (xcb_connection_has_error(xcb))
            return nullptr;
        // Rounded up: a wait of less than a millisecond must not spin until its end.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0)
            return nullptr;
        std::array<pollfd, 2> fds{pollfd{xcb_get_file_descriptor(xcb), POLLIN, 0}, pollfd{wakeRead, POLLIN, 0}};
        if (::poll(fds.data(), fds.size(), static_cast<int>(std::min<long long>(left, 1000))) > 0
            && (fds[1].revents & POLLIN)) {
            char drained[64];
            while (::read(wakeRead, drained, sizeof drained) > 0) {}
            return nullptr;
        }
    }
}

// As the clipboard's owner after a clearing, we offer nothing: the list of types is
// empty (mutter would pass on even TARGETS as a type), every conversion refused.
void X11ClipboardReader::Connection::answer(const xcb_selection_request_event_t& request) const
{
    xcb_atom_t property = request.property == XCB_NONE ? request.target : request.property;
    if (request.target == atoms[Targets])
        xcb_change_property(xcb, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM, 32, 0, nullptr);
    else
        property = XCB_NONE;
    answerSelectionRequest(xcb, request, property);
}

// Owner changes and requests to our window are handled whatever the thread is doing.
bool X11ClipboardReader::Connection::takeInPassing(const xcb_generic_event_t& event,
                                                   std::atomic<ClipboardCopyId>& current) const
{
    const int type = event.response_type & 0x7F;
    if (type == xfixesEvent + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto& change = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
        current = copyId(change.owner, change.selection_timestamp);
        return true;
    }
    if (type == XCB_SELECTION_REQUEST) {
        answer(reinterpret_cast<const xcb_selection_request_event_t&>(event));
        return true;
    }
    return false;
}

XcbReply<xcb_get_property_reply_t> X11ClipboardReader::Connection::takeProperty(xcb_window_t on,
                                                                                std::uint32_t longs) const
{
    return XcbReply<xcb_get_property_reply_t>(xcb_get_property_reply(
        xcb, xcb_get_property(xcb, 1, on, atoms[Property], XCB_GET_PROPERTY_TYPE_ANY, 0, longs), nullptr));
}

X11ClipboardReader::X11ClipboardReader()
{
    auto x = std::make_unique<Connection>();
    if (!x->connect())
        return;
    m_x = std::move(x);
    // The owner before our first look: a copy made before the program started counts.
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(m_x->xcb, xcb_get_selection_owner(m_x->xcb, (*m_x)[ClipboardAtom]), nullptr));
    if (owner && owner->owner != XCB_NONE)
        m_current = copyId(owner->owner, 0);
    m_thread = std::thread([this] { run(); });
}

X11ClipboardReader::~X11ClipboardReader()
{
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    wake();
    m_thread.join();
}

bool X11ClipboardReader::read(Done done)
{
    if (!m_x || m_reading.exchange(true))
        return false;
    {
        const std::lock_guard lock(m_mutex);
        m_readRequest = ReadRequest{m_current.load(), std::move(done)};
    }
    wake();
    return true;
}

// Sent from the caller's thread (xcb takes requests from any thread), so that it takes
// effect when asked: left to the reader's thread, busy with a read, it came after a
// copy made meanwhile and emptied that one too.
void X11ClipboardReader::clear(ClipboardCopyId id)
{
    if (m_x)
        clearIfCurrent(id);
}

bool X11ClipboardReader::lookEvery(std::chrono::milliseconds interval, std::function<void()> kept)
{
    if (!m_x)
        return false;
    {
        const std::lock_guard lock(m_mutex);
        m_lookInterval = interval;
        m_kept = std::move(kept);
        m_nextLook = Clock::now() + interval;
        m_lastLooked = m_current.load();
        m_lookedAt.clear();
        m_lookedAtBytes = 0;
    }
    wake();
    return true;
}

void X11ClipboardReader::stopLooking()
{
    const std::lock_guard lock(m_mutex);
    m_lookInterval.reset();
    m_lookedAt.clear();
    m_lookedAtBytes = 0;
}

std::vector<ClipboardCopy> X11ClipboardReader::takeLookedAt()
{
    std::vector<ClipboardCopy> taken;
    {
        const std::lock_guard lock(m_mutex);
        if (m_lookedAt.empty())
            return taken;
        taken.swap(m_lookedAt);
        m_lookedAtBytes = 0;
    }
    wake();
    return taken;
}

bool X11ClipboardReader::ending()
{
    const std::lock_guard lock(m_mutex);
    return m_ending;
}

void X11ClipboardReader::wake() const { static_cast<void>(::write(m_x->wakeWrite, "x", 1)); }

void X11ClipboardReader::run()
{
    for (;;) {
        // Owner changes that have come are taken first: a look sees the latest copy.
        if (const XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(m_x->xcb)}) {
            static_cast<void>(m_x->takeInPassing(*event, m_current));
            continue;
        }
        std::optional<ReadRequest> reading;
        std::optional<ClipboardCopyId> looking;
        Clock::time_point until = Clock::now() + std::chrono::seconds(1);
        {
            const std::lock_guard lock(m_mutex);
            if (m_ending)
                return;
            reading.swap(m_readRequest);
            if (!reading)
                looking = dueLook(until);
        }
        if (reading)
            serve(*reading);
        else if (looking)
            keepLookedAt(readCopy(*looking));
        else if (const XcbReply<xcb_generic_event_t> event = m_x->nextEvent(until))
            static_cast<void>(m_x->takeInPassing(*event, m_current));
    }
}

// With m_mutex held: the copy to read, when a look is due and sees a new one; until
// becomes the next look's time. Looks missed during a read are not made up, as a
// timer's ticks are not; none is made while the copies kept would exceed what one
// copy may bring.
std::optional<ClipboardCopyId> X11ClipboardReader::dueLook(Clock::time_point& until)
{
    if (!m_lookInterval || m_lookedAtBytes >= MaxClipboardBytes)
        return std::nullopt;
    const Clock::time_point now = Clock::now();
    if (now >= m_nextLook) {
        m_nextLook += *m_lookInterval;
        if (m_nextLook <= now)
            m_nextLook = now + *m_lookInterval;
        if (const ClipboardCopyId current = m_current.load(); current != m_lastLooked) {
            m_lastLooked = current;
            return current;
        }
    }
    until = std::min(until, m_nextLook);
    return std::nullopt;
}

// A copy replaced while it was read is gone; text and our own empty clipboard are
// nothing to keep.
void X11ClipboardReader::keepLookedAt(ClipboardCopy copy)
{
    using Outcome = ClipboardCopy::Outcome;
    if (copy.outcome == Outcome::NoImage || copy.outcome == Outcome::Replaced)
        return;
    const std::lock_guard lock(m_mutex);
    if (!m_lookInterval)
        return;
    m_lookedAtBytes += copy.bytes.size();
    m_lookedAt.push_back(std::move(copy));
    QMetaObject::invokeMethod(&m_context, m_kept, Qt::QueuedConnection);
}

// The server ignores an owner change dated before the clipboard's last change.
void X11ClipboardReader::clearIfCurrent(ClipboardCopyId id)
{
    const xcb_timestamp_t time = id == 0 ? XCB_CURRENT_TIME : timeOf(id);
    xcb_set_selection_owner(m_x->xcb, m_x->window, (*m_x)[ClipboardAtom], time);
    xcb_flush(m_x->xcb);
}

void X11ClipboardReader::serve(const ReadRequest& request)
{
    ClipboardCopy copy = readCopy(request.id);
    m_reading = false;
    QMetaObject::invokeMethod(
        &m_context, [done = request.done, copy = std::move(copy)] { done(copy); }, Qt::QueuedConnection);
}

ClipboardCopy X11ClipboardReader::readCopy(ClipboardCopyId id)
{
    using Outcome = ClipboardCopy::Outcome;
    Connection& x = *m_x;
    if (id == 0 || ownerOf(id) == x.window)
        return outcome(Outcome::NoImage, id);
    const Clock::time_point deadline = Clock::now() + ClipboardReadDeadline;
    Clock::time_point until = deadline;
    enum class Step { Targets, Image, Parts } step = Step::Targets;
    bool replaced = false;
    xcb_atom_t type = XCB_NONE;
    QByteArray bytes;
    const TransferWindow transfer(x.xcb, x.newWindow());
    xcb_convert_selection(x.xcb, transfer.id(), x[ClipboardAtom], x[Targets], x[Property], XCB_CURRENT_TIME);
    xcb_flush(x.xcb);
    for (;;) {
        const XcbReply<xcb_generic_event_t> event = x.nextEvent(until);
        if (!event && Clock::now() >= until)
            return outcome(replaced ? Outcome::Replaced : Outcome::TimedOut, id);
        if (!event && ending())
            return outcome(Outcome::Replaced, id);
        if (!event)
            continue;
        if (x.takeInPassing(*event, m_current)) {
            // An owner replaced while it sends its image in parts mostly sends the
            // rest (xclip and Qt do): the copy is read whole unless the parts stop.
            if (m_current.load() != id && step != Step::Parts)
                return outcome(Outcome::Replaced, id);
            replaced = m_current.load() != id;
            if (replaced)
                until = std::min(deadline, Clock::now() + ReplacedOwnersPartGap);
            continue;
        }
        const int kind = event->response_type & 0x7F;
        const bool converted =
            kind == XCB_SELECTION_NOTIFY && step != Step::Parts
            && reinterpret_cast<const xcb_selection_notify_event_t*>(event.get())->requestor == transfer.id();
        const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
        const bool partCame = kind == XCB_PROPERTY_NOTIFY && step == Step::Parts && change->window == transfer.id()
                              && change->state == XCB_PROPERTY_NEW_VALUE;
        if (!converted && !partCame)
            continue;
        if (converted && reinterpret_cast<const xcb_selection_notify_event_t*>(event.get())->property == XCB_NONE)
            return outcome(Outcome::NoImage, id);
        const XcbReply<xcb_get_property_reply_t> property =
            x.takeProperty(transfer.id(), static_cast<std::uint32_t>((MaxClipboardBytes - bytes.size()) / 4 + 1));
        xcb_flush(x.xcb);
        if (!property)
            return outcome(Outcome::NoImage, id);
        const auto* data = static_cast<const char*>(xcb_get_property_value(property.get()));
        const int length = xcb_get_property_value_length(property.get());
        if (step == Step::Targets) {
            const auto* offered = reinterpret_cast<const xcb_atom_t*>(data);
            const std::vector<xcb_atom_t> targets(offered, offered + length / 4);
            for (int wanted = FirstImageType; wanted < AtomCount && type == XCB_NONE; ++wanted)
                if (std::find(targets.begin(), targets.end(), x.atoms[wanted]) != targets.end())
                    type = x.atoms[wanted];
            if (type == XCB_NONE)
                return outcome(Outcome::NoImage, id);
            step = Step::Image;
            xcb_convert_selection(x.xcb, transfer.id(), x[ClipboardAtom], type, x[Property], XCB_CURRENT_TIME);
            xcb_flush(x.xcb);
            continue;
        }
        if (step == Step::Image && property->type == x[Incr]) {
            step = Step::Parts;
            continue;
        }
        if (property->bytes_after > 0 || bytes.size() + length > MaxClipboardBytes)
            return outcome(Outcome::TooLarge, id);
        bytes.append(data, length);
        if (step == Step::Image || length == 0)
            break;
        if (replaced)
            until = std::min(deadline, Clock::now() + ReplacedOwnersPartGap);
    }
    if (bytes.isEmpty())
        return outcome(Outcome::NoImage, id);
    // Whole, even if another copy came as its last part did.
    return {Outcome::Image, id, std::move(bytes)};
}
