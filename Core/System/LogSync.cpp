#include "Core/System/LogSync.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "Core/Platform/ThreadPriority.h"

namespace {

// The routine forced writes (every 21 lines or 10 seconds) bound what a power
// cut may take; the lines are already with the system when write returns, so
// nothing is gained by making the caller wait for the disk. A helper thread
// does those, at most one behind the other; explicit flushes, closing and
// flush-on-each still wait.
class BackgroundSync {
public:
    void Request(int fd) {
        m_Fd.store(fd);
        int state = m_State.load();
        for (;;) {
            if (state == kAgain) return;
            // While a forced write runs, asking for another costs no system call.
            if (state == kRunning) {
                if (m_State.compare_exchange_weak(state, kAgain)) return;
                continue;
            }
            if (m_State.compare_exchange_weak(state, kRunning)) break;
        }
        // A helper that watches for requests finds this one by itself: no
        // system call for the writer.
        if (m_Started.load() && !m_Sleeping.load()) return;
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (!m_Started.load()) {
            try {
                std::thread([this] { Run(); }).detach();
                m_Started.store(true);
            } catch (...) {
                // No thread to be had: the caller waits for the disk, as it would without one.
                m_State.store(kIdle);
                fdatasync(fd);
                return;
            }
        }
        m_Changed.notify_all();
    }

    // Returns when no forced write is pending or running, so the file may be closed.
    void Drain() {
        int again = kAgain;
        m_State.compare_exchange_strong(again, kRunning);
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Changed.wait(lock, [this] { return m_State.load() == kIdle; });
    }

private:
    enum { kIdle, kRunning, kAgain };

    void Run() {
        // The helper wakes several times in each forced write; a wake-up that
        // took the writer's processor would cost the writer what the helper
        // is there to spare it.
        zam::platform::MakeBackgroundThread();
        for (;;) {
            if (!Watch()) {
                std::unique_lock<std::mutex> lock(m_Mutex);
                // Set before the state is looked at, and looked at by the
                // writer after it set the state: one of the two sees the other.
                m_Sleeping.store(true);
                m_Changed.wait(lock, [this] { return m_State.load() != kIdle; });
                m_Sleeping.store(false);
            }
            for (;;) {
                // The data and the file's size are what a reader after a power
                // cut needs; the times are not worth a second journal write.
                fdatasync(m_Fd.load());
                int running = kRunning;
                if (m_State.compare_exchange_strong(running, kIdle)) break;
                m_State.store(kRunning);  // asked again meanwhile: lines may be uncovered
            }
            // Taking the lock once orders this with a Drain about to wait.
            { std::lock_guard<std::mutex> lock(m_Mutex); }
            m_Changed.notify_all();
        }
    }

    // After a forced write the helper looks for the next request once a
    // millisecond for a while, asleep in between, before it sleeps until
    // woken. Waking a sleeping thread is a system call and a task switch
    // for the writer, every 21 lines on a fast file system; a watching
    // helper spares it that, takes no processor time the writer needs, and
    // starts a forced write at most a millisecond late. An idle program's
    // helper sleeps.
    bool Watch() const {
        for (int i = 0; i < kWatchMillis; ++i) {
            if (m_State.load() != kIdle) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return m_State.load() != kIdle;
    }

    static const int kWatchMillis = 50;

    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::atomic<int> m_Fd{-1};
    std::atomic<int> m_State{kIdle};
    std::atomic<bool> m_Started{false};
    std::atomic<bool> m_Sleeping{false};
};

// Never destroyed: the helper may still be waiting on it while the process ends.
BackgroundSync& Syncer() {
    static BackgroundSync* syncer = new BackgroundSync;
    return *syncer;
}

}  // namespace

namespace zam {

void SyncInBackground(int fd) { Syncer().Request(fd); }

void WaitForBackgroundSync() { Syncer().Drain(); }

}  // namespace zam
