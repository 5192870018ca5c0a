#include "DataControlSession.h"

#include "FileDescriptor.h"
#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <QObject>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The types an offer announced, in the order they came; kept as the offer's user data.
using OfferTypes = std::vector<std::string>;

// The two clipboard-control protocols are one protocol under two names (ext is the
// standard that wlr's became), so one session drives either through these names.
#define SCRIMBLE_DATA_CONTROL(Name, prefix)                                                                            \
    struct Name {                                                                                                      \
        using Manager = prefix##_manager_v1;                                                                           \
        using Device = prefix##_device_v1;                                                                             \
        using Offer = prefix##_offer_v1;                                                                               \
        using DeviceListener = prefix##_device_v1_listener;                                                            \
        using OfferListener = prefix##_offer_v1_listener;                                                              \
        static const wl_interface& manager() { return prefix##_manager_v1_interface; }                                 \
        static Device* device(Manager* m, wl_seat* seat) { return prefix##_manager_v1_get_data_device(m, seat); }      \
        static void listen(Device* d, const DeviceListener* l, void* data)                                             \
        {                                                                                                              \
            prefix##_device_v1_add_listener(d, l, data);                                                               \
        }                                                                                                              \
        static void listen(Offer* o, const OfferListener* l, void* data)                                               \
        {                                                                                                              \
            prefix##_offer_v1_add_listener(o, l, data);                                                                \
        }                                                                                                              \
        static void* userData(Offer* o) { return prefix##_offer_v1_get_user_data(o); }                                 \
        static void unsetSelection(Device* d) { prefix##_device_v1_set_selection(d, nullptr); }                        \
        static void receive(Offer* o, const char* type, int fd) { prefix##_offer_v1_receive(o, type, fd); }            \
        static void destroy(Offer* o) { prefix##_offer_v1_destroy(o); }                                                \
        static void destroy(Device* d) { prefix##_device_v1_destroy(d); }                                              \
        static void destroy(Manager* m) { prefix##_manager_v1_destroy(m); }                                            \
    }
SCRIMBLE_DATA_CONTROL(ExtDataControl, ext_data_control);
SCRIMBLE_DATA_CONTROL(WlrDataControl, zwlr_data_control);
#undef SCRIMBLE_DATA_CONTROL

// What the registry announced that the session needs: a manager's name (0: none) and
// the first seat.
struct Globals {
    std::uint32_t ext = 0;
    std::uint32_t wlr = 0;
    wl_seat* seat = nullptr;
};

void announced(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, ext_data_control_manager_v1_interface.name) == 0)
        globals.ext = name;
    else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
        globals.wlr = name;
    else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals.seat)
        globals.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
}

void removed(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener RegistryListener = {announced, removed};

std::string imageTypeOf(const OfferTypes& offered)
{
    for (const std::string_view type : ReadableImageTypes)
        for (const std::string& name : offered)
            if (name == type)
                return name;
    return {};
}

// The connection and its globals, released in reverse order. The registry may
// announce more globals while the session runs: they land in globals.
struct Connection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    Globals globals;

    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection()
    {
        if (globals.seat)
            wl_seat_destroy(globals.seat);
        if (registry)
            wl_registry_destroy(registry);
        if (display)
            wl_display_disconnect(display);
    }
};

template<class P>
class Session final : public DataControlSession
{
public:
    Session(std::unique_ptr<Connection> connection, std::uint32_t managerName)
        : m_wayland(std::move(connection))
        , m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    {
        m_manager =
            static_cast<typename P::Manager*>(wl_registry_bind(m_wayland->registry, managerName, &P::manager(), 1));
        m_device = P::device(m_manager, m_wayland->globals.seat);
        P::listen(m_device, &DeviceEvents, this);
        // The first selection is announced on binding: the clipboard as it is now.
        wl_display_roundtrip(m_wayland->display);
        m_thread = std::thread([this] { run(); });
    }

    ~Session() override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_ending = true;
        }
        wake();
        m_thread.join();
        dropSelection();
        P::destroy(m_device);
        P::destroy(m_manager);
    }

    [[nodiscard]] ClipboardCopyId current() const override { return m_current.load(); }

    bool read(Done done) override
    {
        if (m_reading.exchange(true))
            return false;
        {
            const std::lock_guard lock(m_mutex);
            m_readRequest = ReadRequest{m_current.load(), std::move(done)};
        }
        wake();
        return true;
    }

    void clear(ClipboardCopyId id) override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_clearRequest = id;
        }
        wake();
    }

private:
    struct ReadRequest {
        ClipboardCopyId id;
        Done done;
    };

    static void destroyOffer(typename P::Offer* offer)
    {
        if (!offer)
            return;
        delete static_cast<OfferTypes*>(P::userData(offer));
        P::destroy(offer);
    }

    static constexpr
        typename P::OfferListener OfferEvents = {.offer = [](void* data, typename P::Offer*, const char* type) {
            static_cast<OfferTypes*>(data)->emplace_back(type);
        }};
    static constexpr typename P::DeviceListener DeviceEvents = {
        .data_offer = [](void*, typename P::Device*,
                         typename P::Offer* offer) { P::listen(offer, &OfferEvents, new OfferTypes); },
        .selection = [](void* data, typename P::Device*,
                        typename P::Offer* offer) { static_cast<Session*>(data)->selectionChanged(offer); },
        .finished = [](void* data, typename P::Device*) { static_cast<Session*>(data)->m_broken = true; },
        .primary_selection = [](void*, typename P::Device*, typename P::Offer* offer) { Session::destroyOffer(offer); },
    };

    void selectionChanged(typename P::Offer* offer)
    {
        if (m_selection != offer)
            dropSelection();
        m_selection = offer;
        ++m_current;
    }

    void dropSelection()
    {
        destroyOffer(m_selection);
        m_selection = nullptr;
    }

    void wake() const
    {
        const std::uint64_t one = 1;
        static_cast<void>(::write(m_wake.get(), &one, sizeof one));
    }

    // The session's thread: a clear first, then a read, else the compositor's events.
    void run()
    {
        for (;;) {
            std::optional<ClipboardCopyId> clearing;
            std::optional<ReadRequest> reading;
            {
                const std::lock_guard lock(m_mutex);
                if (m_ending)
                    return;
                clearing.swap(m_clearRequest);
                if (!clearing)
                    reading.swap(m_readRequest);
            }
            if (clearing)
                clearIfCurrent(*clearing);
            else if (reading)
                serve(*reading);
            else
                pump(-1, -1);
        }
    }

    // The round trip brings every selection the compositor set before it answered.
    void clearIfCurrent(ClipboardCopyId id)
    {
        if (m_broken || wl_display_roundtrip(m_wayland->display) < 0) {
            m_broken = true;
            return;
        }
        if (id != 0 && id != m_current.load())
            return;
        P::unsetSelection(m_device);
        wl_display_flush(m_wayland->display);
    }

    void serve(const ReadRequest& request)
    {
        ClipboardCopy copy = readCopy(request.id);
        m_reading = false;
        QMetaObject::invokeMethod(
            &m_context, [done = request.done, copy = std::move(copy)] { done(copy); }, Qt::QueuedConnection);
    }

    [[nodiscard]] ClipboardCopy readCopy(ClipboardCopyId id)
    {
        using Outcome = ClipboardCopy::Outcome;
        if (id != m_current.load())
            return {Outcome::Replaced, id, {}};
        const std::string type =
            m_selection ? imageTypeOf(*static_cast<OfferTypes*>(P::userData(m_selection))) : std::string();
        int ends[2];
        if (type.empty() || m_broken || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
            return {Outcome::NoImage, id, {}};
        const FileDescriptor readEnd(ends[0]);
        {
            // The request carries a copy of the write end: ours goes at once, so the
            // read ends when the owner closes its own.
            const FileDescriptor writeEnd(ends[1]);
            P::receive(m_selection, type.c_str(), writeEnd.get());
        }
        const Clock::time_point until = Clock::now() + ClipboardReadDeadline;
        QByteArray bytes;
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
            if (left <= 0)
                return {Outcome::TimedOut, id, {}};
            const short ready = pump(readEnd.get(), static_cast<int>(left));
            if (id != m_current.load() || ending())
                return {Outcome::Replaced, id, {}};
            if (!(ready & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ReadStep step = readAvailable(readEnd.get(), bytes);
            if (step == ReadStep::Failed)
                return {Outcome::NoImage, id, {}};
            if (bytes.size() > MaxClipboardBytes)
                return {Outcome::TooLarge, id, {}};
            if (step == ReadStep::Finished)
                return {bytes.isEmpty() ? Outcome::NoImage : Outcome::Image, id, std::move(bytes)};
        }
    }

    enum class ReadStep { More, Finished, Failed };

    // What the pipe holds now, up to a little past the size cap.
    static ReadStep readAvailable(int fd, QByteArray& bytes)
    {
        char chunk[1 << 16];
        while (bytes.size() <= MaxClipboardBytes) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got == 0)
                return ReadStep::Finished;
            if (got < 0)
                return errno == EAGAIN || errno == EINTR ? ReadStep::More : ReadStep::Failed;
            bytes.append(chunk, got);
        }
        return ReadStep::More;
    }

    [[nodiscard]] bool ending()
    {
        const std::lock_guard lock(m_mutex);
        return m_ending;
    }

    // Waits up to timeoutMs (-1: without end) for the compositor's events, a wake-up or
    // fd (-1: none) becoming ready, and handles the events. Returns fd's poll events.
    short pump(int fd, int timeoutMs)
    {
        wl_display* display = m_wayland->display;
        const bool connected = !m_broken;
        if (connected) {
            while (wl_display_prepare_read(display) != 0)
                wl_display_dispatch_pending(display);
            wl_display_flush(display);
        }
        pollfd watched[3] = {{m_wake.get(), POLLIN, 0}, {fd, POLLIN, 0}, {-1, POLLIN, 0}};
        if (connected)
            watched[2].fd = wl_display_get_fd(display);
        const int got = ::poll(watched, 3, timeoutMs);
        if (connected) {
            if (got > 0 && (watched[2].revents & POLLIN))
                m_broken = wl_display_read_events(display) < 0;
            else
                wl_display_cancel_read(display);
            if (wl_display_dispatch_pending(display) < 0)
                m_broken = true;
        }
        if (watched[0].revents & POLLIN) {
            std::uint64_t count = 0;
            static_cast<void>(::read(m_wake.get(), &count, sizeof count));
        }
        return watched[1].revents;
    }

    QObject m_context;  // on the thread that made the session: where a read's done runs
    std::unique_ptr<Connection> m_wayland;
    FileDescriptor m_wake;
    typename P::Manager* m_manager = nullptr;
    typename P::Device* m_device = nullptr;
    typename P::Offer* m_selection = nullptr;  // the session thread's, like m_broken
    bool m_broken = false;                     // the compositor is gone, or the device inert
    std::atomic<ClipboardCopyId> m_current{0};
    std::atomic<bool> m_reading{false};
    std::mutex m_mutex;
    // Guarded by m_mutex, like the two below. Only the last clear asked for is kept: ids
    // grow with every copy, so an earlier one can no longer be the current copy.
    std::optional<ClipboardCopyId> m_clearRequest;
    std::optional<ReadRequest> m_readRequest;
    bool m_ending = false;
    std::thread m_thread;
};

}  // namespace

std::unique_ptr<DataControlSession> DataControlSession::connect()
{
    auto connection = std::make_unique<Connection>();
    connection->display = wl_display_connect(nullptr);
    if (!connection->display)
        return nullptr;
    connection->registry = wl_display_get_registry(connection->display);
    wl_registry_add_listener(connection->registry, &RegistryListener, &connection->globals);
    wl_display_roundtrip(connection->display);
    const Globals& globals = connection->globals;
    if (!globals.seat)
        return nullptr;
    if (globals.ext != 0)
        return std::make_unique<Session<ExtDataControl>>(std::move(connection), globals.ext);
    if (globals.wlr != 0)
        return std::make_unique<Session<WlrDataControl>>(std::move(connection), globals.wlr);
    return nullptr;
}
