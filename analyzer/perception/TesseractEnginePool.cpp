// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TesseractEnginePool.h"

#include <tesseract/baseapi.h>

#include <QCoreApplication>

#include <malloc.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr const char *debianTessdata = "/usr/share/tesseract-ocr/5/tessdata";
constexpr int maxEngines = 4;

} // namespace

TesseractEnginePool::Lease::Lease(TesseractEnginePool &pool, std::unique_ptr<Engine> engine)
    : m_pool(&pool)
    , m_engine(std::move(engine))
{}

TesseractEnginePool::Lease::Lease(Lease &&other) noexcept
    : m_pool(other.m_pool)
    , m_engine(std::move(other.m_engine))
{}

TesseractEnginePool::Lease::~Lease()
{
    if (m_engine)
        m_pool->release(std::move(m_engine));
}

TesseractEnginePool::TesseractEnginePool(int limit, std::chrono::milliseconds idleLifetime)
    : m_limit(std::max(1, limit))
    , m_idleLifetime(idleLifetime)
    , m_reaper([this] { freeIdleEngines(); })
{}

TesseractEnginePool::~TesseractEnginePool()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_idleChanged.notify_all();
    m_reaper.join();
}

TesseractEnginePool &TesseractEnginePool::shared()
{
    static TesseractEnginePool pool;
    // Tesseract's own statics (its dictionary cache) come after this pool and so are destroyed before it: the
    // engines must go while the application object does, before main returns.
    static const bool closesWithTheApplication = [] {
        qAddPostRoutine([] { shared().close(); });
        return true;
    }();
    (void)closesWithTheApplication;
    return pool;
}

void TesseractEnginePool::close()
{
    std::vector<Idle> idle;
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        idle.swap(m_idle);
        m_loaded -= static_cast<int>(idle.size());
    }
    m_returned.notify_all();
}

int TesseractEnginePool::defaultLimit()
{
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, maxEngines);
}

int TesseractEnginePool::loadedCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_loaded;
}

std::optional<TesseractEnginePool::Lease> TesseractEnginePool::acquire(QString &error)
{
    std::unique_lock lock(m_mutex);
    m_returned.wait(lock, [this] { return !m_idle.empty() || m_loaded < m_limit; });
    return take(lock, error);
}

std::optional<TesseractEnginePool::Lease> TesseractEnginePool::tryAcquire()
{
    std::unique_lock lock(m_mutex);
    if (m_idle.empty() && m_loaded >= m_limit)
        return std::nullopt;
    QString ignored;
    return take(lock, ignored);
}

std::optional<TesseractEnginePool::Lease> TesseractEnginePool::take(std::unique_lock<std::mutex> &lock, QString &error)
{
    if (!m_idle.empty()) {
        // The most recently used engine: the others may then grow old enough to be freed.
        std::unique_ptr<Engine> engine = std::move(m_idle.back().engine);
        m_idle.pop_back();
        return Lease(*this, std::move(engine));
    }
    ++m_loaded;
    lock.unlock();
    std::unique_ptr<Engine> engine = load(error);
    lock.lock();
    if (!engine) {
        --m_loaded;
        m_returned.notify_one();
        return std::nullopt;
    }
    return Lease(*this, std::move(engine));
}

std::unique_ptr<TesseractEnginePool::Engine> TesseractEnginePool::load(QString &error)
{
    auto engine = std::make_unique<Engine>();
    // Tesseract reports progress and guesses (such as the estimated resolution) on stderr; keep the service quiet.
    engine->SetVariable("debug_file", "/dev/null");
    // TESSDATA_PREFIX, when set, wins over the packaged models.
    const char *dataPath = std::getenv("TESSDATA_PREFIX") ? nullptr : debianTessdata;
    if (engine->Init(dataPath, "eng+rus", tesseract::OEM_LSTM_ONLY) != 0) {
        error = QStringLiteral("Tesseract could not load its English and Russian models");
        return nullptr;
    }
    // Sauvola's local threshold: screens mix panels, bars and tiles of every shade, which one page-wide threshold
    // turns into blocks of ink (measured on the screen corpus: error rate 0.11 with Otsu, 0.08 with Sauvola).
    engine->SetVariable("thresholding_method", "2");
    return engine;
}

void TesseractEnginePool::release(std::unique_ptr<Engine> engine)
{
    engine->Clear();
    {
        const std::lock_guard lock(m_mutex);
        if (m_closed) {
            // A recognition that outlived the application: freeing the engine now would reach Tesseract's
            // statics as they go, and the process is ending anyway.
            (void)engine.release();
            return;
        }
        m_idle.push_back({std::move(engine), Clock::now()});
    }
    m_returned.notify_one();
    m_idleChanged.notify_all();
}

void TesseractEnginePool::freeIdleEngines()
{
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (m_idle.empty()) {
            m_idleChanged.wait(lock);
            continue;
        }
        const auto oldest = std::min_element(m_idle.begin(), m_idle.end(),
                                             [](const Idle &a, const Idle &b) { return a.since < b.since; });
        const Clock::time_point expiry = oldest->since + m_idleLifetime;
        if (Clock::now() < expiry) {
            m_idleChanged.wait_until(lock, expiry);
            continue;
        }
        std::vector<std::unique_ptr<Engine>> expired;
        const auto stale = std::stable_partition(m_idle.begin(), m_idle.end(), [this](const Idle &idle) {
            return Clock::now() < idle.since + m_idleLifetime;
        });
        for (auto it = stale; it != m_idle.end(); ++it)
            expired.push_back(std::move(it->engine));
        m_idle.erase(stale, m_idle.end());
        m_loaded -= static_cast<int>(expired.size());
        lock.unlock();
        m_returned.notify_all();
        expired.clear();
        // The engines' memory came from several threads' arenas; without a trim it stays with the process.
        malloc_trim(0);
        lock.lock();
    }
}
