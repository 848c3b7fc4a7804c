// Independent pieces of work (Blosc chunks) shared out over the hardware
// threads within one call: each thread takes the next piece until none is
// left, and every thread is joined before the call returns. The work must
// not throw; it records its own failures.
#ifndef KELP_GEOMETRY_IO_EVERYTHREAD_H
#define KELP_GEOMETRY_IO_EVERYTHREAD_H

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

namespace kelp {

// Calls work(k) once for every k below count, on up to `threads` threads
// (0: one per hardware thread). Threads that cannot be started leave their
// share to the others and to the caller's thread.
template <class Work> void onEveryThread(std::size_t count, unsigned threads, const Work &work) {
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, count));
    std::atomic<std::size_t> next(0);
    const auto drain = [&] {
        for (std::size_t k = next.fetch_add(1); k < count; k = next.fetch_add(1))
            work(k);
    };
    std::vector<std::thread> workers;
    try {
        workers.reserve(threads);
        for (unsigned t = 1; t < threads; ++t)
            workers.emplace_back(drain);
    } catch (const std::system_error &) {
        // Fewer threads than asked for.
    } catch (const std::bad_alloc &) {
    }
    drain();
    for (std::thread &worker : workers)
        worker.join();
}

} // namespace kelp

#endif
