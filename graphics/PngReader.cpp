#include "graphics/PngReader.h"

#include <png.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

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
    // A palette image is read as one index a pixel and looked up here, which
    // is several times quicker than libpng expanding every row to words.
    bool indexed = false;
    uint32_t words[256] = {};
    std::vector<png_byte> indices;

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
void RequestPixelWords(PngDecode& decode) {
    png_structp png = decode.png;
    if (decode.bitDepth == 16) png_set_strip_16(png);
    if (decode.bitDepth < 8) png_set_expand(png);
    if (png_get_valid(png, decode.info, PNG_INFO_tRNS)) png_set_expand(png);
    if (decode.colourType == PNG_COLOR_TYPE_GRAY || decode.colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // only where there is no alpha
}

// A palette image comes as one index a pixel instead, its palette
// gamma-corrected by libpng.
void RequestTransformations(PngDecode& decode) {
    decode.indexed = decode.colourType == PNG_COLOR_TYPE_PALETTE;
    if (decode.indexed) {
        png_set_packing(decode.png);
    } else {
        RequestPixelWords(decode);
    }
    double fileGamma = 0;
    if (png_get_gAMA(decode.png, decode.info, &fileGamma))
        png_set_gamma(decode.png, kScreenGamma, fileGamma);
    // Interlaced images are read row by row once per pass; libpng fills each
    // row in further on every pass.
    decode.passes = png_set_interlace_handling(decode.png);
}

// The pixel word of each index, as libpng's expansion makes it: an index
// past the palette is black, past the tRNS entries opaque.
void FillPaletteWords(PngDecode& decode) {
    png_colorp colours = nullptr;
    int count = 0;
    png_get_PLTE(decode.png, decode.info, &colours, &count);
    png_bytep alpha = nullptr;
    int alphas = 0;
    png_get_tRNS(decode.png, decode.info, &alpha, &alphas, nullptr);
    for (int i = 0; i < count && i < 256; ++i)
        decode.words[i] = uint32_t{colours[i].red} << 16 | colours[i].green << 8 | colours[i].blue;
    for (int i = 0; i < 256; ++i)
        decode.words[i] |= uint32_t{i < alphas ? alpha[i] : png_byte{0xFF}} << 24;
}

bool PrepareRows(PngDecode& decode) {
    if (setjmp(png_jmpbuf(decode.png))) return LeftThroughError(decode);
    RequestTransformations(decode);
    png_read_update_info(decode.png, decode.info);
    png_get_IHDR(decode.png, decode.info, &decode.width, &decode.height, &decode.bitDepth,
                 &decode.colourType, nullptr, nullptr, nullptr);
    decode.channels = png_get_channels(decode.png, decode.info);
    if (decode.indexed) FillPaletteWords(decode);
    return true;
}

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel words are stored little-endian");

// The row libpng writes: the picture's own, or for a palette image its
// indices (all of them where passes fill rows in further, else one row's).
png_bytep RowTarget(PngDecode& decode, Picture& picture, int32_t y) {
    if (!decode.indexed)
        return reinterpret_cast<png_bytep>(picture.Pixels() +
                                           static_cast<size_t>(y) * decode.width);
    return decode.indices.data() + (decode.passes > 1 ? static_cast<size_t>(y) * decode.width : 0);
}

void LookUpRow(const PngDecode& decode, const png_byte* indices, uint32_t* row) {
    for (png_uint_32 x = 0; x < decode.width; ++x)
        row[x] = decode.words[indices[x]];
}

// Decodes straight into the pixel array, in its final form: no pass over the
// pixels after libpng's but a palette image's lookup, row by row as each is
// complete.
bool DecodeRows(PngDecode& decode, Picture& picture) {
    if (setjmp(png_jmpbuf(decode.png))) return LeftThroughError(decode);
    for (int pass = 0; pass < decode.passes; ++pass) {
        for (int32_t y = 0; y < picture.Height(); ++y) {
            png_bytep row = RowTarget(decode, picture, y);
            png_read_row(decode.png, row, nullptr);
            if (decode.indexed && pass == decode.passes - 1)
                LookUpRow(decode, row, picture.Pixels() + static_cast<size_t>(y) * decode.width);
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
    if (decode.channels != (decode.indexed ? 1 : 4))
        throw Exception("[PNG] Unsupported number of channels : %d", decode.channels);
    picture.Allocate(decode.width, decode.height, path);
    if (decode.indexed)
        decode.indices.resize(size_t{decode.width} * (decode.passes > 1 ? decode.height : 1));
    if (!DecodeRows(decode, picture)) ThrowReadFailure(decode);
    decode.Destroy();
}
