/* A native Linux program that takes memory away from everything else on the
 * machine, for the tests of the free-memory gate under real pressure.
 *
 *   memory-hog MIB READY_FILE STOP_FILE [MAX_SECONDS [KEEP_FREE_MIB]]
 *
 * Takes MIB mebibytes of private memory, touched at once, then creates
 * READY_FILE and holds the memory until STOP_FILE exists or MAX_SECONDS (at
 * most 120, 60 unless given) have passed. With KEEP_FREE_MIB it also takes
 * more whenever others give memory back, so that what Wine reports as free
 * stays at or below that. On the way out it removes READY_FILE, so a caller
 * that cannot wait on the process (a Windows program under Wine) can see that
 * the memory is back. Exit code 0, or 2 when the first MIB could not be had
 * (READY_FILE is then never made). */
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

enum { kLongestHoldSeconds = 120, kDefaultHoldSeconds = 60, kPollMs = 20, kMostBlocks = 256 };
static const unsigned long long kTopUpExtraMiB = 256;

static int Exists(const char* path) { return access(path, F_OK) == 0; }

static double NowSeconds(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

/* Wine's free physical memory: free pages, buffers and the page cache. */
static unsigned long long FreeAsWineSeesItMiB(void) {
    FILE* info = fopen("/proc/meminfo", "r");
    if (info == NULL) return 0;
    char line[256];
    unsigned long long kib = 0, value = 0;
    while (fgets(line, sizeof line, info) != NULL) {
        if (sscanf(line, "MemFree: %llu", &value) == 1 || sscanf(line, "Buffers: %llu", &value) == 1 ||
            sscanf(line, "Cached: %llu", &value) == 1) {
            kib += value;
        }
    }
    fclose(info);
    return kib >> 10;
}

struct Block {
    void* memory;
    size_t bytes;
};

/* Populated up front: the kernel faults it in far faster than a first touch
 * page by page would. */
static int Take(struct Block* block, unsigned long long mebibytes) {
    block->bytes = (size_t)mebibytes << 20;
    block->memory = mmap(NULL, block->bytes, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    return block->memory != MAP_FAILED;
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: %s MIB READY_FILE STOP_FILE [MAX_SECONDS [KEEP_FREE_MIB]]\n", argv[0]);
        return 1;
    }
    const unsigned long long firstMiB = strtoull(argv[1], NULL, 10);
    const char* readyFile = argv[2];
    const char* stopFile = argv[3];
    long holdSeconds = argc > 4 ? strtol(argv[4], NULL, 10) : kDefaultHoldSeconds;
    if (holdSeconds <= 0 || holdSeconds > kLongestHoldSeconds) holdSeconds = kLongestHoldSeconds;
    const unsigned long long keepFreeMiB = argc > 5 ? strtoull(argv[5], NULL, 10) : 0;

    struct Block blocks[kMostBlocks];
    int blockCount = 0;
    if (firstMiB > 0) {
        if (!Take(&blocks[0], firstMiB)) {
            perror("memory-hog: mmap");
            return 2;
        }
        blockCount = 1;
    }
    FILE* ready = fopen(readyFile, "w");
    if (ready != NULL) {
        fprintf(ready, "%llu\n", firstMiB);
        fclose(ready);
    }
    const double deadline = NowSeconds() + (double)holdSeconds;
    while (!Exists(stopFile) && NowSeconds() < deadline) {
        if (keepFreeMiB > 0 && blockCount < kMostBlocks) {
            const unsigned long long freeMiB = FreeAsWineSeesItMiB();
            if (freeMiB > keepFreeMiB && Take(&blocks[blockCount], freeMiB - keepFreeMiB + kTopUpExtraMiB)) {
                ++blockCount;
            }
        }
        usleep(kPollMs * 1000);
    }
    for (int i = 0; i < blockCount; ++i) munmap(blocks[i].memory, blocks[i].bytes);
    unlink(readyFile);
    return 0;
}
