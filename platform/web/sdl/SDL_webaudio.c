/* SDL 1.2 audio driver for the web: 44.1 kHz, 16-bit stereo, fed to Web
   Audio. SDL's audio thread runs the game's mixer callback as on the desktop;
   each buffer it makes goes into a ring of samples in shared wasm memory, and
   the page's audio node (Module.velmoraAudio, an AudioWorklet on the
   browser's audio thread) takes them from there as it plays. One writer, one
   reader: the counts are atomic, the samples are written before the count
   that shows them. */
#include <emscripten.h>
#include <emscripten/threading.h>

#include "SDL_audio.h"
#include "SDL_config.h"
#include "audio/SDL_audio_c.h"
#include "audio/SDL_audiomem.h"
#include "audio/SDL_sysaudio.h"

#define WEBAUD_DRIVER_NAME "web"

enum { kRingFrames = 16384, kChannels = 2 };
enum { kLongestWaitMs = 50 };

struct SDL_PrivateAudioData {
    Uint8* mixbuf;
    Uint32 mixlen;
    /* What stays queued ahead of the page, which knows how much its audio
       node takes at once: enough that it never finds the ring short, little
       enough to keep a voice close to the click that starts it. */
    unsigned mostQueued;
};

static Sint16 ring[kRingFrames * kChannels];
static unsigned written; /* frames, by the audio thread */
static unsigned played;  /* frames, by the page */

static int WEBAUD_Available(void) {
    return 1;
}

/* The frames of one mixed buffer. */
static unsigned BufferFrames(SDL_AudioDevice* this) {
    return this->hidden->mixlen / (kChannels * sizeof(Sint16));
}

static Uint8* WEBAUD_GetAudioBuf(SDL_AudioDevice* this) {
    return this->hidden->mixbuf;
}

/* Until the page has taken enough that one more buffer fits under the mark.
   The page wakes this thread when the ring runs low (a notify on the count),
   so it sleeps between the page's pulls rather than waking every few ms; the
   time limit lets it see the device closed while the page takes nothing. */
static void WEBAUD_WaitAudio(SDL_AudioDevice* this) {
    unsigned frames = BufferFrames(this);
    for (;;) {
        unsigned seen = __atomic_load_n(&played, __ATOMIC_ACQUIRE);
        if (!this->enabled || written - seen + frames <= this->hidden->mostQueued) return;
        emscripten_futex_wait(&played, seen, kLongestWaitMs);
    }
}

static void WEBAUD_PlayAudio(SDL_AudioDevice* this) {
    const Sint16* samples = (const Sint16*)this->hidden->mixbuf;
    unsigned frames = BufferFrames(this);
    unsigned at = written;
    for (unsigned i = 0; i < frames; ++i, ++at) {
        ring[(at % kRingFrames) * kChannels] = samples[i * kChannels];
        ring[(at % kRingFrames) * kChannels + 1] = samples[i * kChannels + 1];
    }
    __atomic_store_n(&written, at, __ATOMIC_RELEASE);
}

static void WEBAUD_CloseAudio(SDL_AudioDevice* this) {
    MAIN_THREAD_EM_ASM({ Module.velmoraAudio.detach(); });
    SDL_FreeAudioMem(this->hidden->mixbuf);
    this->hidden->mixbuf = NULL;
}

/* The page's audio runs at 44.1 kHz; SDL converts whatever the game asks to
   the one format played here. */
static int WEBAUD_OpenAudio(SDL_AudioDevice* this, SDL_AudioSpec* wanted) {
    wanted->freq = 44100;
    wanted->format = AUDIO_S16LSB;
    wanted->channels = kChannels;
    SDL_CalculateAudioSpec(wanted);
    this->hidden->mixlen = wanted->size;
    this->hidden->mixbuf = (Uint8*)SDL_AllocAudioMem(wanted->size);
    if (!this->hidden->mixbuf) return -1;
    SDL_memset(this->hidden->mixbuf, wanted->silence, wanted->size);
    __atomic_store_n(&written, 0, __ATOMIC_SEQ_CST);
    __atomic_store_n(&played, 0, __ATOMIC_SEQ_CST);
    int most = MAIN_THREAD_EM_ASM_INT(
        { return Module.velmoraAudio.attach(HEAP16, HEAP32, $0, $1, $2, $3); }, ring, kRingFrames,
        &written, &played);
    this->hidden->mostQueued = SDL_min((unsigned)most, kRingFrames);
    if (most < (int)BufferFrames(this)) {
        SDL_FreeAudioMem(this->hidden->mixbuf);
        this->hidden->mixbuf = NULL;
        SDL_SetError("The page has no audio");
        return -1;
    }
    return 0;
}

static void WEBAUD_DeleteDevice(SDL_AudioDevice* device) {
    SDL_free(device->hidden);
    SDL_free(device);
}

static SDL_AudioDevice* WEBAUD_CreateDevice(int devindex) {
    SDL_AudioDevice* device = SDL_calloc(1, sizeof *device);
    if (device) device->hidden = SDL_calloc(1, sizeof *device->hidden);
    if (!device || !device->hidden) {
        SDL_OutOfMemory();
        SDL_free(device);
        return NULL;
    }
    device->OpenAudio = WEBAUD_OpenAudio;
    device->WaitAudio = WEBAUD_WaitAudio;
    device->PlayAudio = WEBAUD_PlayAudio;
    device->GetAudioBuf = WEBAUD_GetAudioBuf;
    device->CloseAudio = WEBAUD_CloseAudio;
    device->free = WEBAUD_DeleteDevice;
    return device;
}

AudioBootStrap WEBAUD_bootstrap = {WEBAUD_DRIVER_NAME, "SDL Web Audio driver", WEBAUD_Available,
                                   WEBAUD_CreateDevice};
