// Video files through FFmpeg's libraries; the only file that knows them.
//
// Opening demuxes the video stream's packets once, without decoding, for the frame count and
// each frame's time stamp (sorted, so that frame n is the n-th in presentation order, which
// is how the decoder delivers them) and the key frames'. Frame n is then found by its time
// stamp: decoding goes on from where it stands when no key frame lies between, and otherwise
// starts again at the key frame at or before n. The frames decoded on the way are kept, within
// a memory bound, so that reading backwards decodes each key-frame interval about once.

#include "formats/ffmpeg_video.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <new>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "model/picture_limits.h"
#include "platform/file_bytes.h"

namespace anitrope {
namespace {

// The demuxers of AVI, MP4 and MOV, and Matroska and WebM, by FFmpeg's names for them. Any
// other format is refused before its demuxer reads a byte: playlist formats would open
// further files.
constexpr char kDemuxers[] = "avi,mov,mp4,m4a,3gp,3g2,mj2,matroska,webm";
// The frame index costs 8 bytes a frame; this many is 46 hours at 25 frames a second.
constexpr std::size_t kMaxFrames = std::size_t{1} << 22;
// Palettes kept for seeking, 1 KiB each: 64 MiB at most.
constexpr std::size_t kMaxPalettes = std::size_t{1} << 16;
// Frames decoded ahead of the one asked for, kept for reading backwards.
constexpr std::size_t kCacheBytes = std::size_t{256} << 20;
constexpr int kIoBufferBytes = 1 << 15;
// Errors the decoder may report in a row before the stream counts as undecodable.
constexpr int kMaxDecodeErrors = 16;
// Files are mapped, not read, so only the address space bounds them.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 40;
// FFmpeg's own messages are silenced unless this environment variable is set.
constexpr char kLogVariable[] = "ANITROPE_FFMPEG_LOG";

void SilenceFfmpeg() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!std::getenv(kLogVariable)) av_log_set_level(AV_LOG_QUIET);
    });
}

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

struct FormatCloser {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct ScalerFreer {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
// FFmpeg may have replaced the buffer it was given, so the context's own is freed.
struct IoFreer {
    void operator()(AVIOContext* io) const {
        if (io) av_freep(&io->buffer);
        avio_context_free(&io);
    }
};

// The bytes the demuxer reads, through the callbacks below.
struct ByteSource {
    std::span<const uint8_t> bytes;
    std::size_t position = 0;
};

int ReadBytes(void* opaque, uint8_t* buffer, int size) {
    auto& source = *static_cast<ByteSource*>(opaque);
    const std::size_t left = source.bytes.size() - source.position;
    if (left == 0 || size <= 0) return AVERROR_EOF;
    const std::size_t n = std::min(left, static_cast<std::size_t>(size));
    std::memcpy(buffer, source.bytes.data() + source.position, n);
    source.position += n;
    return static_cast<int>(n);
}

// Offsets come from the file: a position outside the bytes is refused, never computed with
// an overflow.
int64_t SeekBytes(void* opaque, int64_t offset, int whence) {
    auto& source = *static_cast<ByteSource*>(opaque);
    const auto size = static_cast<int64_t>(source.bytes.size());
    if (whence & AVSEEK_SIZE) return size;
    const int from = whence & ~AVSEEK_FORCE;
    if (from != SEEK_SET && from != SEEK_CUR && from != SEEK_END) return AVERROR(EINVAL);
    const int64_t base = from == SEEK_SET   ? 0
                         : from == SEEK_END ? size
                                            : static_cast<int64_t>(source.position);
    if (offset < -base || offset > size - base) return AVERROR(EINVAL);
    source.position = static_cast<std::size_t>(base + offset);
    return base + offset;
}

// Demuxers that refer to other files (references in MOV, linked segments in Matroska) get
// none: a file is read on its own.
int RefuseOtherFiles(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
    return AVERROR(EPERM);
}

// The time stamp that orders a packet's frame among the others: its presentation time, or
// without one its decoding time.
int64_t TimeOf(const AVPacket& packet) {
    return packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
}

bool OfStream(const AVPacket& packet, int stream) {
    return packet.stream_index == stream && packet.size > 0;
}

// A packet an edit list cuts away is decoded (later frames may refer to it) but its frame is
// not shown, so it is not counted.
bool Counted(const AVPacket& packet, int stream) {
    return OfStream(packet, stream) && (packet.flags & AV_PKT_FLAG_DISCARD) == 0;
}

// A paletted frame's colours. FFmpeg's palette words are 0xAARRGGBB, 256 of them whatever
// the file gave; entries after the last one the indices use are left unused when they are
// black, which is what a shorter colour table leaves behind. Alpha is not ours to show.
Palette PaletteOf(const uint8_t* data, std::span<const uint8_t> indices) {
    uint32_t words[kPaletteSlots];
    std::memcpy(words, data, sizeof words);
    int highest = -1;
    for (uint8_t index : indices) highest = std::max(highest, int{index});
    int count = kPaletteSlots;
    while (count > highest + 1 && (words[count - 1] & 0xFFFFFF) == 0) --count;
    Palette palette = EmptyPalette();
    for (int i = 0; i < count; ++i)
        palette[i] = {static_cast<int32_t>(words[i] >> 16 & 0xFF),
                      static_cast<int32_t>(words[i] >> 8 & 0xFF),
                      static_cast<int32_t>(words[i] & 0xFF)};
    return palette;
}

std::size_t BytesOf(const VideoPicture& picture) {
    const std::size_t pixels =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    return picture.trueColor ? pixels * 4 : pixels + sizeof picture.palette;
}

class FfmpegVideo final : public VideoStream {
  public:
    bool OpenFile(const std::string& path) {
        if (!file_.Open(path, kMaxFileBytes)) return Fail("cannot open the file");
        return Open(file_.Bytes());
    }
    bool Open(std::span<const uint8_t> bytes);

    std::optional<VideoPicture> FrameAt(int64_t index) override;

    int64_t Decoded() const { return decoded_; }

  private:
    struct PaletteChange {
        int64_t time;  // of the packet that brought it
        std::array<uint8_t, AVPALETTE_SIZE> words;
    };
    enum class Outcome { Delivered, Overshot, Failed };

    bool Fail(std::string why) {
        error_ = std::move(why);
        return false;
    }
    bool OpenDemuxer(std::span<const uint8_t> bytes);
    bool OpenDecoder();
    bool IndexFrames();
    bool NotePalette(const AVPacket& packet);
    void GivePalette(AVPacket& packet) const;
    bool DecodeFirstFrame();

    int64_t IndexOf(int64_t time) const;
    std::optional<int64_t> KeyFor(int64_t n) const;
    bool SeekTo(std::optional<int64_t> key);
    bool Feed();
    int64_t NextFrame();
    Outcome DecodeUpTo(int64_t n, VideoPicture& out);
    bool Convert(const AVFrame& frame, VideoPicture& out);
    void Keep(int64_t k, int64_t n);

    // Destroyed in reverse order: the demuxer before the reader of its bytes.
    FileBytes file_;
    ByteSource source_;
    std::unique_ptr<AVIOContext, IoFreer> io_;
    std::unique_ptr<AVFormatContext, FormatCloser> format_;
    std::unique_ptr<AVCodecContext, CodecFreer> codec_;
    std::unique_ptr<AVPacket, PacketFreer> packet_;
    std::unique_ptr<AVFrame, FrameFreer> frame_;
    std::unique_ptr<SwsContext, ScalerFreer> scaler_;
    int stream_ = -1;

    std::vector<int64_t> times_;  // frame index -> time stamp, ascending
    std::vector<int64_t> keys_;   // key frames' time stamps, ascending
    // Where a paletted stream's palette changes, ascending by time. The demuxer sends a
    // palette once, with the packet after it, and not again after a seek.
    std::vector<PaletteChange> palettes_;
    int64_t startTime_ = 0;  // where seeking to the first packet goes

    // Where decoding stands: after SeekTo, frames from `from_` on are taken and `reached_` is
    // the last one delivered; `fresh_` until the first of them.
    bool positioned_ = false;
    bool fresh_ = false;
    bool inputEnded_ = false;
    bool needPalette_ = false;  // the next packet takes the palette in force at its time
    int64_t from_ = 0;
    int64_t reached_ = -1;

    std::map<int64_t, VideoPicture> cache_;  // by frame index
    std::size_t cacheBytes_ = 0;
    int64_t decoded_ = 0;
};

bool FfmpegVideo::Open(std::span<const uint8_t> bytes) {
    SilenceFfmpeg();
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    if (!packet_ || !frame_) return Fail("out of memory");
    return OpenDemuxer(bytes) && OpenDecoder() && IndexFrames() && DecodeFirstFrame();
}

bool FfmpegVideo::OpenDemuxer(std::span<const uint8_t> bytes) {
    source_ = {bytes, 0};
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
    if (!buffer) return Fail("out of memory");
    io_.reset(
        avio_alloc_context(buffer, kIoBufferBytes, 0, &source_, ReadBytes, nullptr, SeekBytes));
    if (!io_) {
        av_free(buffer);
        return Fail("out of memory");
    }
    AVFormatContext* format = avformat_alloc_context();
    if (!format) return Fail("out of memory");
    format->pb = io_.get();
    format->io_open = RefuseOtherFiles;
    format->format_whitelist = av_strdup(kDemuxers);
    // On failure FFmpeg frees the context itself (but not our reader).
    const int opened = avformat_open_input(&format, nullptr, nullptr, nullptr);
    if (opened < 0) return Fail("not an AVI, MP4, MOV, MKV or WebM file (" + AvError(opened) + ")");
    format_.reset(format);
    // The first video stream; a cover picture in an MP4 is a stream of its own, not video.
    for (unsigned i = 0; i < format->nb_streams && stream_ < 0; ++i) {
        const AVStream& s = *format->streams[i];
        if (s.codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            (s.disposition & AV_DISPOSITION_ATTACHED_PIC) == 0)
            stream_ = static_cast<int>(i);
    }
    if (stream_ < 0) return Fail("the file holds no video stream");
    // The demuxer skips the other streams' packets.
    for (unsigned i = 0; i < format->nb_streams; ++i)
        if (static_cast<int>(i) != stream_) format->streams[i]->discard = AVDISCARD_ALL;
    return true;
}

bool FfmpegVideo::OpenDecoder() {
    const AVStream& stream = *format_->streams[stream_];
    const AVCodecParameters& parameters = *stream.codecpar;
    if (!PictureSizeAllowed(parameters.width, parameters.height))
        return Fail("video frames of " + std::to_string(parameters.width) + " x " +
                    std::to_string(parameters.height) + " pixels are too large");
    const AVCodec* decoder = avcodec_find_decoder(parameters.codec_id);
    if (!decoder)
        return Fail(std::string("no decoder for ") + avcodec_get_name(parameters.codec_id));
    info_.codec = decoder->name;
    codec_.reset(avcodec_alloc_context3(decoder));
    if (!codec_) return Fail("out of memory");
    if (avcodec_parameters_to_context(codec_.get(), &parameters) < 0) return Fail("out of memory");
    codec_->pkt_timebase = stream.time_base;
    // The decoder refuses larger pictures before it allocates them.
    codec_->max_pixels = kMaxPicturePixels;
    codec_->thread_count = 0;  // one thread a core
    const int opened = avcodec_open2(codec_.get(), decoder, nullptr);
    if (opened < 0) return Fail("cannot decode " + info_.codec + " (" + AvError(opened) + ")");
    // The rate the container declares; without one, the mean over the time stamps.
    const AVRational rate = av_guess_frame_rate(format_.get(), format_->streams[stream_], nullptr);
    if (rate.num > 0 && rate.den > 0) info_.framesPerSecond = av_q2d(rate);
    return true;
}

// Reads every packet once. Damage ends the count: the frames before it stay readable. Packets
// that are decoded but not shown still start decoding: a key frame among them, or the first.
// A packet without a time stamp cannot be told from the others and is passed over.
bool FfmpegVideo::IndexFrames() {
    startTime_ = INT64_MAX;
    std::size_t packets = 0;
    AVPacket& packet = *packet_;
    while (av_read_frame(format_.get(), &packet) >= 0) {
        const bool ours = OfStream(packet, stream_), counted = Counted(packet, stream_);
        const int64_t time = TimeOf(packet);
        const bool key = (packet.flags & AV_PKT_FLAG_KEY) != 0;
        const bool timed = ours && time != AV_NOPTS_VALUE;
        const bool noted = !timed || NotePalette(packet);
        av_packet_unref(&packet);
        if (!noted) return false;
        if (!timed) continue;
        if (++packets > kMaxFrames)
            return Fail("the video has more than " + std::to_string(kMaxFrames) + " frames");
        if (key) keys_.push_back(time);
        startTime_ = std::min(startTime_, time);
        if (counted) times_.push_back(time);
    }
    // A time stamp given twice is one frame to the decoder.
    std::sort(times_.begin(), times_.end());
    times_.erase(std::unique(times_.begin(), times_.end()), times_.end());
    std::sort(keys_.begin(), keys_.end());
    std::stable_sort(
        palettes_.begin(), palettes_.end(),
        [](const PaletteChange& a, const PaletteChange& b) { return a.time < b.time; });
    if (times_.empty()) return Fail("the video has no frames");
    // In floating point: a hostile file's time stamps may lie further apart than int64_t
    // reaches.
    const double seconds = (static_cast<double>(times_.back()) - static_cast<double>(times_[0])) *
                           av_q2d(format_->streams[stream_]->time_base);
    if (info_.framesPerSecond <= 0 && seconds > 0)
        info_.framesPerSecond = static_cast<double>(times_.size() - 1) / seconds;
    return true;
}

bool FfmpegVideo::NotePalette(const AVPacket& packet) {
    std::size_t size = 0;
    const uint8_t* words = av_packet_get_side_data(&packet, AV_PKT_DATA_PALETTE, &size);
    if (!words || size < AVPALETTE_SIZE) return true;
    PaletteChange change{TimeOf(packet), {}};
    std::copy(words, words + AVPALETTE_SIZE, change.words.begin());
    if (!palettes_.empty() && palettes_.back().words == change.words) return true;
    if (palettes_.size() == kMaxPalettes)
        return Fail("the video changes its palette more than " + std::to_string(kMaxPalettes) +
                    " times");
    palettes_.push_back(change);
    return true;
}

// The palette in force at the packet's time, unless it brings one of its own.
void FfmpegVideo::GivePalette(AVPacket& packet) const {
    if (av_packet_get_side_data(&packet, AV_PKT_DATA_PALETTE, nullptr)) return;
    const auto after = std::upper_bound(
        palettes_.begin(), palettes_.end(), TimeOf(packet),
        [](int64_t time, const PaletteChange& change) { return time < change.time; });
    if (after == palettes_.begin()) return;
    uint8_t* words = av_packet_new_side_data(&packet, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
    if (words) std::copy(std::prev(after)->words.begin(), std::prev(after)->words.end(), words);
}

// The first frame the decoder delivers gives the size and kind of every frame, and is frame 0:
// frames before it (of a stream cut before a key frame) cannot be decoded and are not counted.
bool FfmpegVideo::DecodeFirstFrame() {
    if (!SeekTo(std::nullopt)) return Fail("cannot seek to the first frame");
    const int64_t k = NextFrame();
    if (k < 0) return Fail("no frame can be decoded" + (error_.empty() ? "" : " (" + error_ + ")"));
    times_.erase(times_.begin(), times_.begin() + k);
    from_ = 0;
    reached_ = 0;
    fresh_ = false;
    const AVFrame& frame = *frame_;
    if (frame.width <= 0 || frame.height <= 0 || !PictureSizeAllowed(frame.width, frame.height))
        return Fail("video frames of " + std::to_string(frame.width) + " x " +
                    std::to_string(frame.height) + " pixels cannot be read");
    info_.width = frame.width;
    info_.height = frame.height;
    info_.paletted = frame.format == AV_PIX_FMT_PAL8;
    info_.first = 0;
    info_.length = static_cast<int64_t>(times_.size());
    VideoPicture first;
    if (!Convert(frame, first)) return false;
    cacheBytes_ = BytesOf(first);
    cache_.emplace(0, std::move(first));
    return true;
}

int64_t FfmpegVideo::IndexOf(int64_t time) const {
    const auto it = std::lower_bound(times_.begin(), times_.end(), time);
    return it != times_.end() && *it == time ? it - times_.begin() : -1;
}

// The time of the last key frame not after frame n; none when there is none (decoding starts
// at the first packet then).
std::optional<int64_t> FfmpegVideo::KeyFor(int64_t n) const {
    const auto it = std::upper_bound(keys_.begin(), keys_.end(), times_[n]);
    if (it == keys_.begin()) return std::nullopt;
    return *std::prev(it);
}

bool FfmpegVideo::SeekTo(std::optional<int64_t> key) {
    positioned_ = false;
    // Without a key frame, the first packet, whatever it is.
    const int flags = key ? AVSEEK_FLAG_BACKWARD : AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY;
    if (av_seek_frame(format_.get(), stream_, key.value_or(startTime_), flags) < 0) return false;
    avcodec_flush_buffers(codec_.get());
    av_packet_unref(packet_.get());
    inputEnded_ = false;
    positioned_ = fresh_ = true;
    needPalette_ = !palettes_.empty();
    // Frames before the key frame may lack the frames they refer to.
    from_ = key ? std::max<int64_t>(IndexOf(*key), 0) : 0;
    reached_ = from_ - 1;
    return true;
}

// Hands the decoder, which has asked for input, the next packet of our stream or the end of
// the stream. A packet it refuses is damaged and dropped: its frame is the only one missing.
bool FfmpegVideo::Feed() {
    if (inputEnded_) return false;
    for (;;) {
        if (av_read_frame(format_.get(), packet_.get()) < 0) {
            inputEnded_ = true;
            return avcodec_send_packet(codec_.get(), nullptr) >= 0;
        }
        if (OfStream(*packet_, stream_)) break;
        av_packet_unref(packet_.get());
    }
    if (needPalette_) GivePalette(*packet_);
    needPalette_ = false;
    avcodec_send_packet(codec_.get(), packet_.get());
    av_packet_unref(packet_.get());
    return true;
}

// The next frame the decoder delivers that is counted and taken (in frame_), by index; -1 at
// the end of the stream or when decoding fails for good. A frame the decoder reports damaged
// is missing and the next one follows, up to a run of kMaxDecodeErrors.
int64_t FfmpegVideo::NextFrame() {
    int errors = 0;
    for (;;) {
        av_frame_unref(frame_.get());
        const int got = avcodec_receive_frame(codec_.get(), frame_.get());
        if (got == 0) {
            ++decoded_;
            const int64_t k = IndexOf(frame_->best_effort_timestamp);
            if (k >= from_) return k;
            continue;
        }
        if (got == AVERROR(EAGAIN) && Feed()) continue;
        if (got != AVERROR_EOF && got != AVERROR(EAGAIN)) {
            error_ = AvError(got);
            if (++errors < kMaxDecodeErrors) continue;
        }
        positioned_ = false;
        return -1;
    }
}

// Decodes on to frame n, keeping the frames before it. Overshot: the first frame after a seek
// already lies beyond n (or none came), so the seek went too far.
FfmpegVideo::Outcome FfmpegVideo::DecodeUpTo(int64_t n, VideoPicture& out) {
    for (;;) {
        const int64_t k = NextFrame();
        const bool fresh = fresh_;
        fresh_ = false;
        if (k < 0 || k > n) {
            if (k > n) reached_ = k;
            return fresh ? Outcome::Overshot : Outcome::Failed;
        }
        reached_ = k;
        if (k == n) return Convert(*frame_, out) ? Outcome::Delivered : Outcome::Failed;
        Keep(k, n);
    }
}

std::optional<VideoPicture> FfmpegVideo::FrameAt(int64_t index) {
    error_.clear();
    if (index < info_.first || index - info_.first >= info_.length) {
        error_ = "no frame " + std::to_string(index) + " (the video has frames " +
                 std::to_string(info_.first) + " to " +
                 std::to_string(info_.first + info_.length - 1) + ")";
        return std::nullopt;
    }
    const int64_t n = index - info_.first;
    if (const auto kept = cache_.find(n); kept != cache_.end()) {
        VideoPicture picture = std::move(kept->second);
        cacheBytes_ -= BytesOf(picture);
        cache_.erase(kept);
        return picture;
    }
    const std::optional<int64_t> key = KeyFor(n);
    const int64_t keyIndex = key ? std::max<int64_t>(IndexOf(*key), 0) : 0;
    // Decoding on is cheaper than seeking unless a key frame lies between.
    const bool onTheWay = positioned_ && reached_ < n && keyIndex <= reached_ + 1;
    VideoPicture picture;
    Outcome outcome = Outcome::Overshot;
    if (onTheWay || SeekTo(key)) outcome = DecodeUpTo(n, picture);
    // A demuxer that lands after the key frame, or cannot seek to it: from the start.
    if (outcome == Outcome::Overshot && key && SeekTo(std::nullopt))
        outcome = DecodeUpTo(n, picture);
    if (outcome == Outcome::Delivered) return picture;
    const std::string why = error_;
    error_ = "frame " + std::to_string(index) + " cannot be decoded";
    if (!why.empty()) error_ += " (" + why + ")";
    return std::nullopt;
}

bool FfmpegVideo::Convert(const AVFrame& frame, VideoPicture& out) {
    const int32_t w = info_.width, h = info_.height;
    out.width = w;
    out.height = h;
    try {
        if (info_.paletted) {
            if (frame.format != AV_PIX_FMT_PAL8 || frame.width != w || frame.height != h ||
                !frame.data[0] || !frame.data[1])
                return Fail("a frame differs in size or kind from the first");
            out.indices.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
            for (int32_t y = 0; y < h; ++y)
                std::memcpy(out.indices.data() + static_cast<std::size_t>(y) * w,
                            frame.data[0] + static_cast<std::ptrdiff_t>(y) * frame.linesize[0],
                            static_cast<std::size_t>(w));
            out.palette = PaletteOf(frame.data[1], out.indices);
            return true;
        }
        auto pixels = std::make_unique<TrueColorBitmap>(w, h);
        if (!pixels->HasRows()) return Fail("out of memory");
        // Frames of another size than the first are scaled to it on the way.
        scaler_.reset(sws_getCachedContext(
            scaler_.release(), frame.width, frame.height, static_cast<AVPixelFormat>(frame.format),
            w, h, AV_PIX_FMT_0RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
        if (!scaler_) return Fail("frames of this pixel format cannot be converted");
        uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(pixels->Row(0)), nullptr, nullptr,
                              nullptr};
        const int strides[4] = {w * 4, 0, 0, 0};
        if (sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height, planes,
                      strides) != h)
            return Fail("a frame could not be converted");
        // 0RGB leaves its top byte to the converter; ours must stay clear.
        for (int32_t y = 0; y < h; ++y) {
            uint32_t* row = pixels->Row(y);
            for (int32_t x = 0; x < w; ++x) row[x] &= 0xFFFFFF;
        }
        out.trueColor = std::move(pixels);
        return true;
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
}

// Keeps frame k, decoded on the way to frame n, unless it would push frames nearer to n out.
void FfmpegVideo::Keep(int64_t k, int64_t n) {
    VideoPicture picture;
    const std::string error = error_;
    if (!Convert(*frame_, picture)) {
        error_ = error;
        return;
    }
    const std::size_t bytes = BytesOf(picture);
    const auto distance = [n](int64_t i) { return i > n ? i - n : n - i; };
    while (cacheBytes_ + bytes > kCacheBytes && !cache_.empty()) {
        auto farthest = distance(cache_.begin()->first) >= distance(cache_.rbegin()->first)
                            ? cache_.begin()
                            : std::prev(cache_.end());
        if (distance(farthest->first) <= distance(k)) return;
        cacheBytes_ -= BytesOf(farthest->second);
        cache_.erase(farthest);
    }
    if (cacheBytes_ + bytes > kCacheBytes) return;
    if (const auto old = cache_.find(k); old != cache_.end()) {
        cacheBytes_ -= BytesOf(old->second);
        cache_.erase(old);
    }
    cacheBytes_ += bytes;
    cache_.emplace(k, std::move(picture));
}

}  // namespace

std::unique_ptr<VideoStream> OpenVideoFile(const std::string& path, std::string* error) {
    auto video = std::make_unique<FfmpegVideo>();
    if (video->OpenFile(path)) return video;
    if (error) *error = video->Error();
    return nullptr;
}

std::unique_ptr<VideoStream> OpenVideoBytes(std::span<const uint8_t> bytes, std::string* error) {
    auto video = std::make_unique<FfmpegVideo>();
    if (video->Open(bytes)) return video;
    if (error) *error = video->Error();
    return nullptr;
}

int64_t DecodedPictureCount(const VideoStream& stream) {
    const auto* video = dynamic_cast<const FfmpegVideo*>(&stream);
    return video ? video->Decoded() : 0;
}

}  // namespace anitrope
