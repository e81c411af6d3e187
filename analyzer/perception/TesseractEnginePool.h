// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

// Loaded Tesseract engines (English and Russian models) shared by every recognition in the process: at most
// `limit` of them, each used by one thread at a time, and freed once they have sat idle for a while.
class TesseractEnginePool
{
public:
    using Engine = tesseract::TessBaseAPI;

    // An engine lent to one thread; it goes back to the pool when the lease ends.
    class Lease
    {
    public:
        Lease(Lease &&other) noexcept;
        Lease &operator=(Lease &&) = delete;
        ~Lease();
        Engine &operator*() const { return *m_engine; }

    private:
        friend class TesseractEnginePool;
        Lease(TesseractEnginePool &pool, std::unique_ptr<Engine> engine);
        TesseractEnginePool *m_pool;
        std::unique_ptr<Engine> m_engine;
    };

    explicit TesseractEnginePool(int limit = defaultLimit(),
                                 std::chrono::milliseconds idleLifetime = std::chrono::seconds(10));
    ~TesseractEnginePool();
    TesseractEnginePool(const TesseractEnginePool &) = delete;
    TesseractEnginePool &operator=(const TesseractEnginePool &) = delete;

    // The process's pool.
    static TesseractEnginePool &shared();
    // One engine per core, at most four: each costs memory, and more rarely pay off on a screenshot.
    static int defaultLimit();

    int limit() const { return m_limit; }
    // Engines loaded now, lent or idle.
    int loadedCount() const;

    // Waits for a free engine, loading one while fewer than the limit exist. Empty, with error set, when the
    // models cannot be loaded.
    std::optional<Lease> acquire(QString &error);
    // A free engine only when one is idle or may be loaded now.
    std::optional<Lease> tryAcquire();

private:
    using Clock = std::chrono::steady_clock;
    struct Idle
    {
        std::unique_ptr<Engine> engine;
        Clock::time_point since;
    };

    std::optional<Lease> take(std::unique_lock<std::mutex> &lock, QString &error);
    void close();
    static std::unique_ptr<Engine> load(QString &error);
    void release(std::unique_ptr<Engine> engine);
    void freeIdleEngines();

    const int m_limit;
    const std::chrono::milliseconds m_idleLifetime;
    mutable std::mutex m_mutex;
    std::condition_variable m_returned;
    std::condition_variable m_idleChanged;
    std::vector<Idle> m_idle;
    int m_loaded = 0; // lent, idle and being loaded
    bool m_stopping = false;
    bool m_closed = false;
    std::thread m_reaper;
};
