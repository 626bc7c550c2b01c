#include "graphics/PngReader.h"

#include <png.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/Exception.h"
#include "core/File.h"
#include "core/Log.h"
#include "graphics/Picture.h"

// libpng is C: no C++ exception may pass through its frames. Its errors leave
// through longjmp into small functions that hold no C++ objects with
// destructors; the exceptions are thrown once control is back here. That
// holds for libpng's own errors too where fatal errors are trapped (tools
// that report a corrupt file and go on): the message waits in the source.

namespace {

const int kSignatureSize = 8;
const double kScreenGamma = 2.2;
// libpng allocates a chunk's buffer by the chunk's length field before it
// reads the data, and a damaged field can claim gigabytes in a file of a
// hundred bytes. Nothing a picture needs comes near this; a chunk refused
// its buffer is skipped with a warning.
const png_alloc_size_t kMaxAllocation = 8000000;

// What the libpng callbacks reach through the I/O pointer.
struct PngSource {
    File* file;
    bool shortRead;
    char trappedError[512];  // libpng's message, when fatal errors are trapped
};

// Everything one decode owns, released however the decode ends.
struct PngDecode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngSource source{};
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    int channels = 0;
    int passes = 1;

    ~PngDecode() { Destroy(); }
    void Destroy() {
        if (png) png_destroy_read_struct(&png, &info, nullptr);
    }
};

void ErrorHandler(png_structp png, png_const_charp message) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source && source->shortRead) png_longjmp(png, 1);
    if (source && FatalErrorTrap::Active()) {
        std::snprintf(source->trappedError, sizeof source->trappedError, "%s", message);
        png_longjmp(png, 1);
    }
    FatalError("PNG Error: %s", message);
}

void WarningHandler(png_structp, png_const_charp message) {
    LogLine("PNG Warning: %s", message);
}

png_voidp BoundedMalloc(png_structp, png_alloc_size_t size) {
    return size <= kMaxAllocation ? std::malloc(size) : nullptr;
}

void Free(png_structp, png_voidp memory) {
    std::free(memory);
}

void ReadCallback(png_structp png, png_bytep data, size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    int got = -1;
    if (length <= INT_MAX) {
        try {
            got = source->file->Read(data, static_cast<int>(length));
        } catch (const Exception&) {
        }
    }
    if (got != static_cast<int>(length)) {
        source->shortRead = true;
        png_error(png, "Error reading PNG");
    }
}

// Where libpng's longjmp lands: a short read or a trapped error goes back to
// the reader, which throws; anything else should have ended the program in
// ErrorHandler.
bool LeftThroughError(PngDecode& decode) {
    if (!decode.source.shortRead && !decode.source.trappedError[0]) {
        decode.Destroy();
        FatalError("setjmp(png_jmpbuf(pngPtr)) : unknown error");
    }
    return false;
}

[[noreturn]] void ThrowReadFailure(const PngDecode& decode) {
    if (decode.source.trappedError[0]) FatalError("PNG Error: %s", decode.source.trappedError);
    throw Exception("Error reading PNG");
}

bool ReadHeader(PngDecode& decode) {
    if (setjmp(png_jmpbuf(decode.png))) return LeftThroughError(decode);
    png_set_read_fn(decode.png, &decode.source, ReadCallback);
    png_set_sig_bytes(decode.png, kSignatureSize);
    // Our own size check names the file; libpng's would end the program.
    png_set_user_limits(decode.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(decode.png, decode.info);
    png_get_IHDR(decode.png, decode.info, &decode.width, &decode.height, &decode.bitDepth,
                 &decode.colourType, nullptr, nullptr, nullptr);
    return true;
}

// Asks libpng for rows of pixel words, whatever the file holds: 8-bit
// samples in the bytes B, G, R, A, which read as a little-endian word are
// A R G B; an image without alpha gets an opaque filler byte.
void RequestTransformations(PngDecode& decode) {
    png_structp png = decode.png;
    if (decode.bitDepth == 16) png_set_strip_16(png);
    if (decode.colourType == PNG_COLOR_TYPE_PALETTE) png_set_expand(png);
    if (decode.bitDepth < 8) png_set_expand(png);
    if (png_get_valid(png, decode.info, PNG_INFO_tRNS)) png_set_expand(png);
    if (decode.colourType == PNG_COLOR_TYPE_GRAY || decode.colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    double fileGamma = 0;
    if (png_get_gAMA(png, decode.info, &fileGamma)) png_set_gamma(png, kScreenGamma, fileGamma);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // only where there is no alpha
    // Interlaced images are read row by row once per pass; libpng fills each
    // row in further on every pass.
    decode.passes = png_set_interlace_handling(png);
}

bool PrepareRows(PngDecode& decode) {
    if (setjmp(png_jmpbuf(decode.png))) return LeftThroughError(decode);
    RequestTransformations(decode);
    png_read_update_info(decode.png, decode.info);
    png_get_IHDR(decode.png, decode.info, &decode.width, &decode.height, &decode.bitDepth,
                 &decode.colourType, nullptr, nullptr, nullptr);
    decode.channels = png_get_channels(decode.png, decode.info);
    return true;
}

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel words are stored little-endian");

// Decodes straight into the pixel array, in its final form: no pass over the
// pixels after libpng's.
bool DecodeRows(PngDecode& decode, Picture& picture) {
    if (setjmp(png_jmpbuf(decode.png))) return LeftThroughError(decode);
    for (int pass = 0; pass < decode.passes; ++pass) {
        for (int32_t y = 0; y < picture.Height(); ++y) {
            uint32_t* row = picture.Pixels() + static_cast<size_t>(y) * picture.Width();
            png_read_row(decode.png, reinterpret_cast<png_bytep>(row), nullptr);
        }
    }
    png_read_end(decode.png, nullptr);
    return true;
}

void ReadSignature(File& file) {
    unsigned char signature[kSignatureSize];
    if (file.Read(signature, kSignatureSize) < kSignatureSize)
        throw Exception("PNG header missing");
    if (png_sig_cmp(signature, 0, kSignatureSize) != 0) throw Exception("Invalid PNG header");
}

void CreateStructures(PngDecode& decode) {
    decode.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, ErrorHandler,
                                          WarningHandler, nullptr, BoundedMalloc, Free);
    if (!decode.png) FatalError("png_create_read_struct : out of memory");
    decode.info = png_create_info_struct(decode.png);
    if (!decode.info) {
        decode.Destroy();
        FatalError("png_create_info_struct : out of memory");
    }
}

}  // namespace

void ReadPng(File& file, Picture& picture, const char* path) {
    ReadSignature(file);
    PngDecode decode;
    decode.source.file = &file;
    CreateStructures(decode);
    if (!ReadHeader(decode)) ThrowReadFailure(decode);
    Picture::CheckSize(decode.width, decode.height, path);
    if (!PrepareRows(decode)) ThrowReadFailure(decode);
    if (decode.channels != 4)
        throw Exception("[PNG] Unsupported number of channels : %d", decode.channels);
    picture.Allocate(decode.width, decode.height, path);
    if (!DecodeRows(decode, picture)) ThrowReadFailure(decode);
    decode.Destroy();
}
