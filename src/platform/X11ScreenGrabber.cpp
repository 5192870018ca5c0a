#include "X11ScreenGrabber.h"

#include "XcbReply.h"
#include "imaging/dibimage.h"

#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

template<typename T>
using Reply = XcbReply<T>;

// How the server lays out ZPixmap images of the root depth.
struct PixelFormat {
    int bitsPerPixel = 0;
    int scanlinePad = 32;   // bits
    bool lsbFirst = true;   // byte order of multi-byte pixels
    std::uint32_t red = 0;  // channel masks of the root visual
    std::uint32_t green = 0;
    std::uint32_t blue = 0;

    // The common case: 0x00RRGGBB words in our own byte order, copied as they are.
    [[nodiscard]] bool isNativeXrgb() const
    {
        return bitsPerPixel == 32 && lsbFirst == (std::endian::native == std::endian::little) && red == 0xFF0000
               && green == 0xFF00 && blue == 0xFF;
    }
    [[nodiscard]] std::size_t rowBytes(int width) const
    {
        const auto bits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel);
        const auto pad = static_cast<std::size_t>(scanlinePad);
        return (bits + pad - 1) / pad * pad / 8;
    }
};

PixelFormat pixelFormatOf(const xcb_setup_t* setup, const xcb_screen_t* screen)
{
    PixelFormat format;
    format.lsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == screen->root_depth) {
            format.bitsPerPixel = it.data->bits_per_pixel;
            format.scanlinePad = it.data->scanline_pad;
        }
    }
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == screen->root_visual) {
                format.red = visuals.data->red_mask;
                format.green = visuals.data->green_mask;
                format.blue = visuals.data->blue_mask;
            }
        }
    }
    return format;
}

// One channel of a pixel value, scaled to 0..255 and rounded to the nearest.
std::uint32_t channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t maximum = mask >> shift;
    return (((pixel & mask) >> shift) * 255 + maximum / 2) / maximum;
}

std::uint32_t loadPixel(const std::uint8_t* at, int bytes, bool lsbFirst)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint32_t>(at[lsbFirst ? i : bytes - 1 - i]) << (8 * i);
    return value;
}

// Pixels begin .. end - 1 of the screen's 0x00RRGGBB words made opaque, one at a time.
void copyOpaqueWords(const std::uint8_t* from, std::uint32_t* to, int begin, int end)
{
    for (int x = begin; x < end; ++x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, from + 4 * static_cast<std::size_t>(x), sizeof pixel);
        to[x] = pixel | 0xFF000000u;
    }
}

// The screen's 0x00RRGGBB words made opaque. The picture is far larger than the
// cache and not read again soon: stores that bypass the cache spare reading every
// line of it in before it is overwritten.
void copyOpaque(const std::uint8_t* from, std::uint32_t* to, int width)
{
    int x = 0;
#if defined(__SSE2__)
    const auto misaligned = static_cast<int>((16 - reinterpret_cast<std::uintptr_t>(to) % 16) % 16 / 4);
    x = std::min(misaligned, width);
    copyOpaqueWords(from, to, 0, x);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; x + 4 <= width; x += 4) {
        const __m128i pixels =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 4 * static_cast<std::size_t>(x)));
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + x), _mm_or_si128(pixels, opaque));
    }
#endif
    copyOpaqueWords(from, to, x, width);
}

// Converts rows firstRow .. firstRow + rows - 1 of the screen, held in source.
void convertRows(const std::uint8_t* source, const PixelFormat& format, DeviceContext& target, int firstRow, int width,
                 int rows)
{
    const std::size_t stride = format.rowBytes(width);
    const int bytes = format.bitsPerPixel / 8;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* from = source + stride * static_cast<std::size_t>(y);
        std::uint32_t* to = target.row(firstRow + y);
        if (format.isNativeXrgb()) {
            copyOpaque(from, to, width);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = loadPixel(from + static_cast<std::size_t>(x) * bytes, bytes, format.lsbFirst);
            to[x] = 0xFF000000u | channel(pixel, format.red) << 16 | channel(pixel, format.green) << 8
                    | channel(pixel, format.blue);
        }
    }
#if defined(__SSE2__)
    // The bypassing stores are not ordered with the others: done before the picture
    // is handed on, maybe to another thread.
    _mm_sfence();
#endif
}

// The screen can shrink between its size being asked and its pixels read: what the
// read cannot cover is black, not whatever the target's memory held.
void blackenBeyond(DeviceContext& target, int width, int height)
{
    for (int y = 0; y < target.height(); ++y) {
        std::uint32_t* row = target.row(y);
        std::fill(row + (y < height ? width : 0), row + target.width(), 0xFF000000u);
    }
}

// A System V shared-memory segment the server has attached; detached and freed with
// the object. The id is removed at once, so the kernel frees the memory even if we die.
class SharedSegment
{
public:
    SharedSegment(xcb_connection_t* connection, std::size_t size) : m_connection(connection), m_size(size)
    {
        const int id = ::shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
        if (id < 0)
            return;
        void* address = ::shmat(id, nullptr, 0);
        if (address != reinterpret_cast<void*>(-1)) {
            m_address = static_cast<std::uint8_t*>(address);
            m_segment = xcb_generate_id(connection);
            Reply<xcb_generic_error_t> error(
                xcb_request_check(connection, xcb_shm_attach_checked(connection, m_segment, id, 0)));
            m_attached = !error;
        }
        ::shmctl(id, IPC_RMID, nullptr);
    }
    ~SharedSegment()
    {
        if (m_attached)
            xcb_shm_detach(m_connection, m_segment);
        if (m_address)
            ::shmdt(m_address);
    }
    SharedSegment(const SharedSegment&) = delete;
    SharedSegment& operator=(const SharedSegment&) = delete;

    [[nodiscard]] bool usable() const { return m_attached; }
    [[nodiscard]] std::size_t size() const { return m_size; }
    [[nodiscard]] xcb_shm_seg_t id() const { return m_segment; }
    [[nodiscard]] const std::uint8_t* data() const { return m_address; }

private:
    xcb_connection_t* m_connection;
    std::size_t m_size;
    std::uint8_t* m_address = nullptr;
    xcb_shm_seg_t m_segment = 0;
    bool m_attached = false;
};

// How long a band's reply is polled for before the thread sleeps until it comes.
// The server copies a band in well under a millisecond, and a thread put to sleep
// for that long is woken late: on a virtual machine the wake-ups took more of a 4K
// grab than the copying (5.2 ms sleeping for each band's reply, 3.1 ms polling).
constexpr std::chrono::microseconds PollForBandAtMost{2000};

// The reply to a band asked for in shared memory: polled for at first, then waited
// for. Null with error set when the server refused, both null when the connection
// broke.
xcb_shm_get_image_reply_t* sharedBandReply(xcb_connection_t* connection, unsigned int sequence,
                                           xcb_generic_error_t** error)
{
    xcb_flush(connection);
    const auto giveUp = std::chrono::steady_clock::now() + PollForBandAtMost;
    do {
        void* reply = nullptr;
        if (xcb_poll_for_reply(connection, sequence, &reply, error))
            return static_cast<xcb_shm_get_image_reply_t*>(reply);
#if defined(__SSE2__)
        _mm_pause();
#endif
    } while (std::chrono::steady_clock::now() < giveUp);
    return xcb_shm_get_image_reply(connection, xcb_shm_get_image_cookie_t{sequence}, error);
}

bool serverHasShm(xcb_connection_t* connection)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
    if (!extension || !extension->present)
        return false;
    xcb_generic_error_t* error = nullptr;
    Reply<xcb_shm_query_version_reply_t> version(
        xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), &error));
    Reply<xcb_generic_error_t> refusal(error);
    return version != nullptr;
}

QString unreachableDisplayText(const QString& displayName)
{
    if (!displayName.isEmpty())
        return X11ScreenGrabber::tr("X11 ディスプレイ \"%1\" に接続できません: 画面を読み取れません。")
            .arg(displayName);
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return X11ScreenGrabber::tr("この Wayland セッションには X11 ディスプレイがありません (DISPLAY "
                                    "が設定されていません): 画面を読み取れません。");
    return X11ScreenGrabber::tr("X11 ディスプレイがありません (DISPLAY が設定されていません): 画面を読み取れません。");
}

}  // namespace

// A band of rows asked of the server and not yet answered: in shared memory, in the
// segment of its slot, or as a plain reply.
struct Band {
    int y = 0;
    int rows = 0;
    std::size_t slot = 0;
    bool shared = false;
    unsigned int sequence = 0;
};

struct X11ScreenGrabber::Connection {
    xcb_connection_t* xcb = nullptr;
    const xcb_screen_t* screen = nullptr;
    PixelFormat format;
    bool shm = false;
    // Two, so that the server fills one band while the one before is converted. Kept
    // for the connection's life: every page of a new segment is first touched in a
    // fault in the server and another in this program, which on a virtual machine
    // cost more than the copy.
    std::array<std::unique_ptr<SharedSegment>, 2> segments;

    ~Connection()
    {
        for (auto& segment : segments)
            segment.reset();
        xcb_disconnect(xcb);
    }

    // Asks for rows y .. y + rows - 1 of the root window, width pixels wide, into slot.
    Band request(int y, int width, int rows, std::size_t slot);
    // The band's bytes, valid until its slot is asked for again; nullptr when the
    // server refuses.
    const std::uint8_t* receive(const Band& band, int width, Reply<xcb_get_image_reply_t>& plainReply);

private:
    SharedSegment* segmentFor(std::size_t slot, std::size_t bytes);
    Band requestPlain(int y, int width, int rows);
};

// The screen is read in bands of about this many bytes: small segments take few
// first-touch faults, and each band is converted while it is still in the cache.
constexpr std::size_t BandBytes = 1u << 20;
// A single grab's bands, through segments that are all new: a new process's first
// 1080p grab, beside Qt's start-up, let the screen show 5-8 ms sooner than with 1 MiB
// bands; bands of 64 KiB cost more in round trips than they saved.
constexpr std::size_t OneGrabBandBytes = 256u << 10;

SharedSegment* X11ScreenGrabber::Connection::segmentFor(std::size_t slot, std::size_t bytes)
{
    std::unique_ptr<SharedSegment>& segment = segments[slot];
    if (!segment || segment->size() < bytes)
        segment = std::make_unique<SharedSegment>(xcb, bytes);
    if (segment->usable())
        return segment.get();
    // E.g. a remote server: no point in trying again. The other slot's band may still
    // be on its way into its segment.
    shm = false;
    segment.reset();
    return nullptr;
}

Band X11ScreenGrabber::Connection::requestPlain(int y, int width, int rows)
{
    const auto cookie = xcb_get_image(xcb, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, static_cast<std::int16_t>(y),
                                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(rows), ~0u);
    return {y, rows, 0, false, cookie.sequence};
}

Band X11ScreenGrabber::Connection::request(int y, int width, int rows, std::size_t slot)
{
    const std::size_t bytes = format.rowBytes(width) * static_cast<std::size_t>(rows);
    const SharedSegment* segment = shm ? segmentFor(slot, bytes) : nullptr;
    if (!segment)
        return requestPlain(y, width, rows);
    const auto cookie =
        xcb_shm_get_image(xcb, screen->root, 0, static_cast<std::int16_t>(y), static_cast<std::uint16_t>(width),
                          static_cast<std::uint16_t>(rows), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment->id(), 0);
    return {y, rows, slot, true, cookie.sequence};
}

const std::uint8_t* X11ScreenGrabber::Connection::receive(const Band& band, int width,
                                                          Reply<xcb_get_image_reply_t>& plainReply)
{
    xcb_generic_error_t* error = nullptr;
    if (band.shared) {
        Reply<xcb_shm_get_image_reply_t> reply(sharedBandReply(xcb, band.sequence, &error));
        Reply<xcb_generic_error_t> refusal(error);
        if (reply)
            return segments[band.slot]->data();
        return receive(requestPlain(band.y, width, band.rows), width, plainReply);
    }
    plainReply.reset(xcb_get_image_reply(xcb, xcb_get_image_cookie_t{band.sequence}, &error));
    Reply<xcb_generic_error_t> refusal(error);
    if (!plainReply)
        return nullptr;
    const auto length = static_cast<std::size_t>(xcb_get_image_data_length(plainReply.get()));
    if (length < format.rowBytes(width) * static_cast<std::size_t>(band.rows))
        return nullptr;
    return xcb_get_image_data(plainReply.get());
}

X11ScreenGrabber::X11ScreenGrabber(const QString& displayName, Transfer transfer, Use use)
    : m_bandBytes(use == Use::OneGrab ? OneGrabBandBytes : BandBytes)
{
    const QByteArray name = displayName.toLocal8Bit();
    int screenNumber = 0;
    xcb_connection_t* xcb = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screenNumber);
    if (xcb_connection_has_error(xcb)) {
        xcb_disconnect(xcb);
        m_unreachable = unreachableDisplayText(displayName.isEmpty() ? qEnvironmentVariable("DISPLAY") : displayName);
        return;
    }
    m_connection = std::make_unique<Connection>();
    m_connection->xcb = xcb;
    const xcb_setup_t* setup = xcb_get_setup(xcb);
    auto screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    m_connection->screen = screens.data;
    m_connection->format = pixelFormatOf(setup, screens.data);
    m_connection->shm = transfer == Transfer::SharedMemoryWhenOffered && serverHasShm(xcb);
}

X11ScreenGrabber::~X11ScreenGrabber() = default;

// The root window's size now: RandR can change it while the program runs (a monitor
// plugged in), and the connection's setup data keeps the size it had at connecting.
ScreenInfo X11ScreenGrabber::screenInfo() const
{
    if (!m_connection)
        return {};
    xcb_connection_t* xcb = m_connection->xcb;
    const xcb_screen_t* screen = m_connection->screen;
    ScreenInfo info{screen->width_in_pixels, screen->height_in_pixels, m_connection->format.bitsPerPixel};
    const Reply<xcb_get_geometry_reply_t> root(
        xcb_get_geometry_reply(xcb, xcb_get_geometry(xcb, screen->root), nullptr));
    if (root) {
        info.width = root->width;
        info.height = root->height;
    }
    return info;
}

void X11ScreenGrabber::grab(Done done)
{
    const ScreenInfo info = screenInfo();
    ScreenShot shot;
    shot.picture.resizeForOverwrite(info.width, info.height);
    shot.error = readScreen(shot.picture, info);
    done(std::move(shot));
}

QString X11ScreenGrabber::read(DeviceContext& target) { return readScreen(target, screenInfo()); }

QString X11ScreenGrabber::readScreen(DeviceContext& target, const ScreenInfo& screen)
{
    if (!m_connection)
        return m_unreachable;
    const PixelFormat& format = m_connection->format;
    if (format.bitsPerPixel != 16 && format.bitsPerPixel != 24 && format.bitsPerPixel != 32)
        return tr("X11 の画面は 1 ピクセル %1 ビットで、読み取れません。").arg(format.bitsPerPixel);
    const int width = std::min(target.width(), screen.width);
    const int height = std::min(target.height(), screen.height);
    blackenBeyond(target, std::max(width, 0), std::max(height, 0));
    if (width <= 0 || height <= 0)
        return {};
    const int bandRows = static_cast<int>(
        std::clamp<std::size_t>(m_bandBytes / format.rowBytes(width), 1, static_cast<std::size_t>(height)));
    const auto requestBand = [&](int y) {
        return m_connection->request(y, width, std::min(bandRows, height - y),
                                     static_cast<std::size_t>(y / bandRows % 2));
    };
    // The next band is asked for before this one is converted: the server copies it
    // meanwhile.
    Band next = requestBand(0);
    for (int y = 0; y < height; y += bandRows) {
        const Band band = next;
        const bool more = y + bandRows < height;
        if (more)
            next = requestBand(y + bandRows);
        Reply<xcb_get_image_reply_t> plainReply;
        const std::uint8_t* bytes = m_connection->receive(band, width, plainReply);
        if (!bytes) {
            if (more)
                xcb_discard_reply(m_connection->xcb, next.sequence);
            return xcb_connection_has_error(m_connection->xcb)
                       ? tr("X11 ディスプレイとの接続が切れました: 画面を読み取れません。")
                       : tr("X サーバーが画面の画像を送りませんでした。");
        }
        convertRows(bytes, format, target, y, width, band.rows);
    }
    return {};
}

bool X11ScreenGrabber::usesSharedMemory() const { return m_connection && m_connection->shm; }
