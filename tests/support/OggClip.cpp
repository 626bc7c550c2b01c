#include "tests/support/OggClip.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>

#include "tests/support/TempDir.h"

namespace testing_support {

namespace {

const int kRate = 44100;
const int kChunkFrames = 1024;

// Encoder state of one stream; pages are appended to bytes as they are made.
class Encoder {
public:
    Encoder() {
        vorbis_info_init(&info);
        EXPECT_EQ(vorbis_encode_init_vbr(&info, 2, kRate, 0.4f), 0);
        vorbis_comment_init(&comment);
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, 1);
        WriteHeaders();
    }
    ~Encoder() {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }

    // Frames of interleaved stereo; none at all ends the stream.
    void Write(const int16_t* samples, int frames) {
        if (frames > 0) {
            float** channels = vorbis_analysis_buffer(&dsp, frames);
            for (int i = 0; i < frames; ++i) {
                channels[0][i] = samples[2 * i] / 32768.0f;
                channels[1][i] = samples[2 * i + 1] / 32768.0f;
            }
        }
        vorbis_analysis_wrote(&dsp, frames);
        Drain();
    }

    std::string bytes;

private:
    void WriteHeaders() {
        ogg_packet header, commentHeader, codebooks;
        vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codebooks);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &commentHeader);
        ogg_stream_packetin(&stream, &codebooks);
        ogg_page page;
        while (ogg_stream_flush(&stream, &page))  // audio starts on a fresh page
            Append(page);
    }

    void Drain() {
        ogg_packet packet;
        ogg_page page;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page))
                    Append(page);
            }
        }
    }

    void Append(const ogg_page& page) {
        bytes.append(reinterpret_cast<const char*>(page.header), page.header_len);
        bytes.append(reinterpret_cast<const char*>(page.body), page.body_len);
    }

    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
};

}  // namespace

std::vector<int16_t> StereoSine(int frames, double hz, int amplitude) {
    const double kTwoPi = 6.283185307179586;
    std::vector<int16_t> samples(2 * static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kRate;
        samples[2 * i] = static_cast<int16_t>(amplitude * std::sin(kTwoPi * hz * t));
        samples[2 * i + 1] = static_cast<int16_t>(amplitude * std::sin(kTwoPi * hz * 1.5 * t));
    }
    return samples;
}

void WriteOggClip(const std::string& path, const std::vector<int16_t>& samples) {
    Encoder encoder;
    int frames = static_cast<int>(samples.size() / 2);
    for (int done = 0; done < frames; done += kChunkFrames)
        encoder.Write(samples.data() + 2 * done, std::min(kChunkFrames, frames - done));
    encoder.Write(nullptr, 0);
    WriteFile(path, encoder.bytes);
}

std::vector<unsigned char> DecodeOggClip(const std::string& path) {
    std::vector<unsigned char> decoded;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) < 0) {
        ADD_FAILURE() << "cannot decode " << path;
        return decoded;
    }
    char buffer[4096];
    int section = 0;
    long got;
    while ((got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) != 0) {
        if (got < 0) {
            ADD_FAILURE() << "decode error " << got << " in " << path;
            break;
        }
        decoded.insert(decoded.end(), buffer, buffer + got);
    }
    ov_clear(&file);
    return decoded;
}

}  // namespace testing_support
