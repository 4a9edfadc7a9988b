#include "Core/System/LogSync.h"

#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

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
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (!m_Started) {
            try {
                std::thread([this] { Run(); }).detach();
                m_Started = true;
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
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(m_Mutex);
                m_Changed.wait(lock, [this] { return m_State.load() != kIdle; });
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

    // The helper sleeps between forced writes rather than watching for the
    // next request: on a machine with few processors a watching helper takes
    // the time the writer needs, and while the disk is slow (the case that
    // matters) requests arrive during a forced write and cost no wake-up.

    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::atomic<int> m_Fd{-1};
    std::atomic<int> m_State{kIdle};
    bool m_Started = false;
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
