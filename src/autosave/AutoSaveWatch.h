#pragma once
// The watch of the auto-save mode without its window. The clipboard service reads the
// copies without the window waiting: where it looks at the clipboard every interval
// itself (X11), on time however busy the window is, a tick takes the copies it read;
// elsewhere a tick notices a new copy and starts reading it. The copies are then
// decoded, converted and written in the order they came, on a thread of the watch's
// own (each decoded while the one before is written), so the window keeps answering
// however large the images or slow the disk. Each copy is taken off the clipboard
// only once its file is written, and only if the clipboard still holds that copy.
//
// Every copy is written once: a copy is known by its identity, never read twice. A
// clipboard manager or compositor that puts the image just saved back on the
// clipboard after the clearing (Klipper, mutter when the copying program ends) makes
// no second file: a copy whose bytes equal the last one saved is passed over when it
// comes within RestoreWindow of the clearing, unless the program made it itself (the
// Print key). Any other copy is a new one, also the same picture copied again later,
// and two Print presses on an unchanged screen are two files.

#include "CaptureFormat.h"
#include "NumberedNames.h"
#include "SaveCopy.h"
#include "platform/Clipboard.h"

#include <QByteArray>
#include <QObject>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

class AutoSaveWatch final : public QObject
{
    Q_OBJECT

public:
    // Copies read but not yet written hold at most this many bytes (as encoded);
    // beyond it a tick waits for the writer before it reads the next copy.
    static constexpr qsizetype MaxQueuedBytes = qsizetype{256} << 20;
    // A clipboard manager puts the image back well within this time after the clearing.
    static constexpr std::chrono::milliseconds RestoreWindow{1000};
    // How long the writer waits for the next copy before it gives back the memory it
    // kept for one.
    static constexpr std::chrono::milliseconds IdleBeforeReturningMemory{2000};

    AutoSaveWatch(Clipboard& clipboard, FileIsFree isFree);
    ~AutoSaveWatch() override;  // writes the copies already read before it returns

    // Copies made from now on are saved; the clipboard is looked at every interval.
    void start(std::chrono::milliseconds interval);
    // A tick of the interval's timer: a new copy is read (or the copies the clipboard
    // service read are taken), to be written with the names, the overwrite rule and
    // the format as they are now (names the writer has moved on meanwhile go on from
    // where it stands).
    void tick(const NamingState& naming, const CaptureFormat& format);
    // No copy is read any more; copies already read are still written.
    void stop();
    // The next copy is the program's own (the Print key): saved even if its image is
    // the one saved last.
    void expectOwnCopy() { m_ownCopyExpected = true; }

signals:
    // The clipboard service has read a copy at its look: a tick takes it now rather
    // than an interval later.
    void copyWaiting();
    // naming: the names after the save, for the next copy.
    void saved(const QString& fileName, const NamingState& naming);
    // The write failed: the watch stops by itself, and copies not yet written are dropped.
    void failed(const QString& fileName, const DibStatus& status);
    // A copy that is not saved, and why, in one line for the window.
    void passedOver(const QString& line);

private:
    // One copy to write, fixed at the tick that read it.
    struct Job {
        ClipboardCopyId id = 0;
        QByteArray bytes;
        NamingState naming;
        CaptureFormat format;
        bool followsWriter = false;  // ticked while files of earlier copies were unreported
    };

    void copyRead(const ClipboardCopy& copy, Job job);
    void enqueue(Job job);
    [[nodiscard]] bool writerIsFull();
    void write();
    void written(ClipboardCopyId id, const SaveResult& result, const NamingState& naming);
    [[nodiscard]] bool isRestoreOfLastSaved(const QByteArray& bytes) const;

    Clipboard& m_clipboard;
    FileIsFree m_isFree;
    bool m_watching = false;
    bool m_reading = false;
    bool m_clipboardLooks = false;  // the clipboard service looks every interval itself
    bool m_ownCopyExpected = false;
    ClipboardCopyId m_lastRead = 0;
    int m_unreported = 0;                            // copies queued whose outcome the mode has not had
    std::pair<qsizetype, std::size_t> m_lastDigest;  // of the last copy queued for writing
    std::optional<std::chrono::steady_clock::time_point> m_clearedAt;  // the last clearing after a save

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;  // guarded by m_mutex, like the two below
    qsizetype m_queuedBytes = 0;
    bool m_ending = false;
    NamingState m_writerNaming;  // the writer's only: the names after its last copy
    std::thread m_writer;
};
