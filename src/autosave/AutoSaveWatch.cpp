#include "AutoSaveWatch.h"

#include "platform/MemoryReuse.h"
#include "platform/ThreadPriority.h"

#include <QHashFunctions>
#include <QPointer>

#include <future>
#include <system_error>

namespace {

QString timedOutText()
{
    return AutoSaveWatch::tr("クリップボードの持ち主が応答しないため、このコピーは保存しませんでした。");
}

QString tooLargeText()
{
    return AutoSaveWatch::tr("クリップボードの画像が大きすぎるため、このコピーは保存しませんでした。");
}

QString unreadableText()
{
    return AutoSaveWatch::tr("クリップボードの画像を読み取れないため、このコピーは保存しませんでした。");
}

// A copy's bytes in brief: its length and Qt's 64-bit hash, a fraction of a SHA-1's
// cost, which guards against nothing here but a clipboard manager's honest restore.
std::pair<qsizetype, std::size_t> digestOf(const QByteArray& bytes) { return {bytes.size(), qHash(bytes)}; }

}  // namespace

AutoSaveWatch::AutoSaveWatch(Clipboard& clipboard, FileIsFree isFree)
    : m_clipboard(clipboard)
    , m_isFree(std::move(isFree))
    , m_writer([this] { write(); })
{}

// Copies already read are written before the program goes: they may be on the
// clipboard no longer.
AutoSaveWatch::~AutoSaveWatch()
{
    stop();
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    m_writer.join();
}

void AutoSaveWatch::start(std::chrono::milliseconds interval)
{
    m_watching = true;
    m_lastRead = m_clipboard.currentCopy();
    m_lastDigest = {};
    const QPointer<AutoSaveWatch> self(this);
    m_clipboardLooks = m_clipboard.lookEvery(interval, [self] {
        if (self)
            emit self->copyWaiting();
    });
}

void AutoSaveWatch::stop()
{
    m_watching = false;
    if (m_clipboardLooks)
        m_clipboard.stopLooking();
    m_clipboardLooks = false;
}

void AutoSaveWatch::tick(const NamingState& naming, const CaptureFormat& format)
{
    if (!m_watching || m_reading)
        return;
    // While files the mode has not heard of are on their way, its names are behind
    // the writer's: a copy's name follows theirs.
    if (m_clipboardLooks) {
        if (!writerIsFull())
            for (const ClipboardCopy& copy : m_clipboard.takeCopiesLookedAt())
                copyRead(copy, Job{0, {}, naming, format, m_unreported > 0});
        return;
    }
    const ClipboardCopyId current = m_clipboard.currentCopy();
    if (current == 0 || current == m_lastRead || writerIsFull())
        return;
    const QPointer<AutoSaveWatch> self(this);
    m_reading = m_clipboard.read([self, job = Job{0, {}, naming, format, m_unreported > 0}](const ClipboardCopy& copy) {
        if (self)
            self->copyRead(copy, job);
    });
}

bool AutoSaveWatch::writerIsFull()
{
    const std::lock_guard lock(m_mutex);
    return m_queuedBytes > MaxQueuedBytes;
}

void AutoSaveWatch::copyRead(const ClipboardCopy& copy, Job job)
{
    m_reading = false;
    // A copy read after the stop stays on the clipboard; one replaced while it was
    // read is left for the next tick, which reads its successor.
    if (!m_watching || copy.outcome == ClipboardCopy::Outcome::Replaced)
        return;
    m_lastRead = copy.id;
    switch (copy.outcome) {
    case ClipboardCopy::Outcome::TimedOut: emit passedOver(timedOutText()); return;
    case ClipboardCopy::Outcome::TooLarge: emit passedOver(tooLargeText()); return;
    case ClipboardCopy::Outcome::NoImage:
    case ClipboardCopy::Outcome::Replaced: return;
    case ClipboardCopy::Outcome::Image: break;
    }
    if (isRestoreOfLastSaved(copy.bytes))
        return;
    m_lastDigest = digestOf(copy.bytes);
    m_ownCopyExpected = false;
    ++m_unreported;
    job.id = copy.id;
    job.bytes = copy.bytes;
    enqueue(std::move(job));
}

bool AutoSaveWatch::isRestoreOfLastSaved(const QByteArray& bytes) const
{
    return !m_ownCopyExpected && m_clearedAt && std::chrono::steady_clock::now() - *m_clearedAt <= RestoreWindow
           && digestOf(bytes) == m_lastDigest;
}

void AutoSaveWatch::enqueue(Job job)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queuedBytes += job.bytes.size();
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

namespace {

// The next copy's decoding on a thread of its own, so that it overlaps the writing of
// the copy before; nothing when no thread can start (the copy is decoded when due).
// It runs in spare time: at the same rank it slowed one of the writing's parts, which
// the other then waited for; behind them, it fills the gaps they leave.
std::future<DecodedCopy> decodeAhead(const QByteArray& bytes)
{
    try {
        return std::async(std::launch::async, [bytes] {
            workInSpareTime();
            return DecodeCopy(bytes);
        });
    } catch (const std::system_error&) {
        return {};
    }
}

}  // namespace

// The writer's thread: one copy after the other, in the order they were read, each
// decoded while the one before it is written.
void AutoSaveWatch::write()
{
    // Copies come faster than large ones are written: the writing lags and catches up
    // later, but a copy not read before the next one replaces it is lost.
    giveWayToTimelyWork();
    std::future<DecodedCopy> ahead;  // of the copy at the front of m_jobs
    // Copies that come in a burst are mostly the same screen, and their PNGs share
    // most of their deflated rows.
    PngMemory pngMemory;
    std::unique_lock lock(m_mutex);
    const auto due = [this] { return m_ending || !m_jobs.empty(); };
    for (;;) {
        if (!m_wake.wait_for(lock, IdleBeforeReturningMemory, due)) {
            lock.unlock();
            pngMemory.forget();
            returnFreedMemory();
            lock.lock();
            m_wake.wait(lock, due);
        }
        if (m_jobs.empty())
            return;
        const Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        NamingState naming = job.followsWriter ? m_writerNaming : job.naming;
        naming.overwriteAllowed = job.naming.overwriteAllowed;
        std::future<DecodedCopy> decoding = std::move(ahead);
        if (!m_jobs.empty())
            ahead = decodeAhead(m_jobs.front().bytes);
        lock.unlock();
        const DecodedCopy copy = decoding.valid() ? decoding.get() : DecodeCopy(job.bytes);
        const SaveResult result = SaveDecoded(copy, naming, job.format, m_isFree, &pngMemory);
        lock.lock();
        if (!ahead.valid() && !m_jobs.empty())
            ahead = decodeAhead(m_jobs.front().bytes);
        m_queuedBytes -= job.bytes.size();
        m_writerNaming = naming;
        const std::size_t dropped = result.outcome == SaveResult::Outcome::Failed ? m_jobs.size() : 0;
        std::future<DecodedCopy> unwanted;
        if (dropped > 0) {
            for (const Job& unwritten : m_jobs)
                m_queuedBytes -= unwritten.bytes.size();
            m_jobs.clear();
            unwanted = std::move(ahead);
        }
        QMetaObject::invokeMethod(
            this,
            [this, id = job.id, result, naming, dropped] {
                m_unreported -= static_cast<int>(dropped);
                written(id, result, naming);
            },
            Qt::QueuedConnection);
        if (unwanted.valid()) {
            // Its end is waited for without the lock, which the window's ticks take.
            lock.unlock();
            unwanted = {};
            lock.lock();
        }
    }
}

void AutoSaveWatch::written(ClipboardCopyId id, const SaveResult& result, const NamingState& naming)
{
    --m_unreported;
    switch (result.outcome) {
    case SaveResult::Outcome::Saved:
        m_clipboard.clearCopy(id);
        m_clearedAt = std::chrono::steady_clock::now();
        emit saved(result.fileName, naming);
        return;
    case SaveResult::Outcome::Failed:
        m_watching = false;
        emit failed(result.fileName, result.status);
        return;
    case SaveResult::Outcome::Unreadable:
        emit passedOver(result.status.error == DibError::TooLarge ? tooLargeText() : unreadableText());
        return;
    }
}
