// Minimum, maximum and average over the ten task results.
#include "engine/statistics.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "engine/run_seam.h"
#include "system/constants.h"

namespace {

// The results are copied into a fresh working array so the run's own stay in
// task order; element 10 stays zero and outside the sorted range.
std::vector<int64_t> WorkingCopy(int64_t r0, int64_t r1, int64_t r2, int64_t r3, int64_t r4,
                                 int64_t r5, int64_t r6, int64_t r7, int64_t r8, int64_t r9) {
    std::vector<int64_t> work(kTaskResultCount, 0);
    const int64_t results[kTasksPerRun] = {r0, r1, r2, r3, r4, r5, r6, r7, r8, r9};
    std::copy(results, results + kTasksPerRun, work.begin());
    return work;
}

}  // namespace

int64_t MinimumOf(int64_t r0, int64_t r1, int64_t r2, int64_t r3, int64_t r4,
                  int64_t r5, int64_t r6, int64_t r7, int64_t r8, int64_t r9) {
    std::vector<int64_t> work = WorkingCopy(r0, r1, r2, r3, r4, r5, r6, r7, r8, r9);
    std::sort(work.begin(), work.begin() + kTasksPerRun);
    g_runSeam.PumpEvents();
    return work[0];
}

int64_t MaximumOf(int64_t r0, int64_t r1, int64_t r2, int64_t r3, int64_t r4,
                  int64_t r5, int64_t r6, int64_t r7, int64_t r8, int64_t r9) {
    std::vector<int64_t> work = WorkingCopy(r0, r1, r2, r3, r4, r5, r6, r7, r8, r9);
    std::sort(work.begin(), work.begin() + kTasksPerRun, std::greater<int64_t>());
    g_runSeam.PumpEvents();
    return work[0];
}

int64_t AverageOf(const int64_t* results) {
    // The sum wraps around modulo 2^64; unsigned addition makes that defined.
    uint64_t sum = 0;
    for (int i = 0; i < kTasksPerRun; ++i) sum += static_cast<uint64_t>(results[i]);
    return static_cast<int64_t>(sum) / kTasksPerRun;
}
