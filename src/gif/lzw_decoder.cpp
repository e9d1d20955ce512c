#include "gif/lzw_decoder.h"

#include "gif/pixel_cursor.h"

namespace anitrope {

LzwDecoder::LzwDecoder(int minimumCodeSize)
    : minimum_(minimumCodeSize), clear_(1 << minimumCodeSize), end_(clear_ + 1) {
    // Roots are their own strings; the clear and end codes are roots too but never emitted.
    for (int code = 0; code <= end_ && code < kMaxCodes; ++code) {
        prefix_[code] = 0;
        last_[code] = first_[code] = static_cast<uint8_t>(code);
        length_[code] = 1;
    }
    Reset();
}

void LzwDecoder::Reset() {
    width_ = minimum_ + 1;
    nextFree_ = clear_ + 2;
    previous_ = -1;
}

void LzwDecoder::AddEntry(int prefix, uint8_t last) {
    // With a full table the encoder may go on without a clear code (GIF89a defers it):
    // the table simply stays as it is.
    if (nextFree_ >= kMaxCodes) return;
    prefix_[nextFree_] = static_cast<uint16_t>(prefix);
    last_[nextFree_] = last;
    first_[nextFree_] = first_[prefix];
    length_[nextFree_] = static_cast<uint16_t>(length_[prefix] + 1);
    ++nextFree_;
    // Tiny minimum sizes start with more codes than their width holds, hence >=.
    if (nextFree_ >= (1 << width_) && width_ < kMaxWidth) ++width_;
}

void LzwDecoder::Emit(int code, PixelCursor& out) {
    const int length = length_[code];
    // Prefix chains run backwards, so strings are filled from their end: straight into the
    // row when they fit, else through a scratch string that the cursor spreads over rows.
    uint8_t* direct = out.Reserve(length);
    uint8_t* dst = direct ? direct : scratch_.data();
    for (int i = length - 1; i >= 0; --i) {
        dst[i] = last_[code];
        code = prefix_[code];
    }
    if (direct)
        out.Advance(length);
    else
        out.Write(scratch_.data(), static_cast<std::size_t>(length));
}

LzwDecoder::Result LzwDecoder::Handle(int code, PixelCursor& out) {
    if (code == clear_) {
        Reset();
        return Result::MoreData;
    }
    if (code == end_) return Result::EndOfInformation;
    if (code < nextFree_) {
        Emit(code, out);
        if (previous_ >= 0) AddEntry(previous_, first_[code]);
    } else if (code == nextFree_ && previous_ >= 0) {
        // KwKwK: the string is the previous one plus its own first byte.
        AddEntry(previous_, first_[previous_]);
        Emit(code, out);
    } else {
        return Result::Corrupt;
    }
    previous_ = code;
    return Result::MoreData;
}

LzwDecoder::Result LzwDecoder::Feed(std::span<const uint8_t> bytes, PixelCursor& out) {
    for (uint8_t byte : bytes) {
        bits_ |= uint32_t{byte} << bitCount_;
        bitCount_ += 8;
        while (bitCount_ >= width_) {
            const int code = static_cast<int>(bits_ & ((1u << width_) - 1));
            bits_ >>= width_;
            bitCount_ -= width_;
            const Result r = Handle(code, out);
            if (r != Result::MoreData) return r;
        }
    }
    return Result::MoreData;
}

}  // namespace anitrope
