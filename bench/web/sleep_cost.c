/* What sleeping costs a page: two threads sleeping 1 ms in a loop, as the
   game's main loop and game thread do while the player reads, either through
   nanosleep (what SDL's Unix timer, and so SDL_Delay, calls) or through a
   futex wait alone, or no such thread (the page's own floor).
   scripts/web-sleep-cost.sh builds it with emcc and measures each in
   Chromium.

     sleep_cost idle|nanosleep|futex SECONDS */
#include <emscripten/emscripten.h>
#include <emscripten/threading.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum Mode { kIdle, kNanosleep, kFutex };

static enum Mode mode;
static double seconds;
static uint32_t never_woken; /* stays 0: a futex wait on it ends on time */

static void SleepNano(void) {
    struct timespec one_ms = {0, 1000000};
    nanosleep(&one_ms, NULL);
}

static void SleepFutex(void) {
    double end = emscripten_get_now() + 1;
    for (double left = 1; left > 0; left = end - emscripten_get_now()) {
        emscripten_current_thread_process_queued_calls();
        emscripten_futex_wait(&never_woken, 0, left);
    }
}

static void* Sleeper(void* unused) {
    (void)unused;
    double end = emscripten_get_now() + seconds * 1000;
    long sleeps = 0;
    for (; emscripten_get_now() < end; ++sleeps)
        mode == kNanosleep ? SleepNano() : SleepFutex();
    printf("%ld sleeps in %.0f s\n", sleeps, seconds);
    return NULL;
}

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    mode = !strcmp(argv[1], "futex") ? kFutex : !strcmp(argv[1], "nanosleep") ? kNanosleep : kIdle;
    seconds = atof(argv[2]);
    if (mode == kIdle) {
        struct timespec all = {(time_t)seconds, 0};
        nanosleep(&all, NULL);
        return 0;
    }
    pthread_t threads[2];
    for (int i = 0; i < 2; ++i)
        if (pthread_create(&threads[i], NULL, Sleeper, NULL)) return 1;
    for (int i = 0; i < 2; ++i)
        pthread_join(threads[i], NULL);
    return 0;
}
