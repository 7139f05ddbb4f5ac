#include "tools/help_pictures/gif_file.h"

#include <algorithm>
#include <stdexcept>

namespace tavlo::tools {

namespace {

void PutWord(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// Codes packed least significant bit first, as GIF wants them.
class CodeWriter {
public:
    void Put(int code, int width) {
        buffer_ |= static_cast<std::uint32_t>(code) << bitCount_;
        bitCount_ += width;
        while (bitCount_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
            buffer_ >>= 8;
            bitCount_ -= 8;
        }
    }
    std::vector<std::uint8_t> Finish() {
        if (bitCount_ > 0) {
            bytes_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
        }
        return bytes_;
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t buffer_ = 0;
    int bitCount_ = 0;
};

// The header, the global colour table of 2^bits entries, the transparency (if any) and the image
// descriptor: the whole screen, no local table, not interlaced.
void PutHeader(std::vector<std::uint8_t>& out, const IndexedPicture& picture, int bits,
               int colourCount, std::optional<std::uint8_t> transparentIndex) {
    out = {'G', 'I', 'F', '8', '9', 'a'};
    PutWord(out, picture.width);
    PutWord(out, picture.height);
    out.push_back(static_cast<std::uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1)));
    out.push_back(0);  // background colour index
    out.push_back(0);  // no pixel aspect ratio
    for (int i = 0; i < (1 << bits); ++i) {
        const Rgb colour = i < colourCount ? picture.palette[i] : Rgb{};
        out.insert(out.end(), {colour.red, colour.green, colour.blue});
    }
    if (transparentIndex) {
        out.insert(out.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, *transparentIndex, 0x00});
    }
    out.push_back(0x2C);
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, picture.width);
    PutWord(out, picture.height);
    out.push_back(0);
}

// The pixels as LZW codes, every one a literal: codes start one bit wider than the pixels, and
// the decoder adds a table entry for every code after the first, so before the entry that would
// make the codes one bit wider a clear code starts the table afresh.
std::vector<std::uint8_t> LiteralCodes(const IndexedPicture& picture, int colourCount,
                                       int minimumCodeSize) {
    const int clearCode = 1 << minimumCodeSize;
    const int codeWidth = minimumCodeSize + 1;
    const int literalsPerClear = clearCode - 2;
    CodeWriter codes;
    int sinceClear = literalsPerClear;
    for (const std::uint8_t pixel : picture.pixels) {
        if (pixel >= colourCount) {
            throw std::invalid_argument("EncodeGif: pixel outside the colour table");
        }
        if (sinceClear == literalsPerClear) {
            codes.Put(clearCode, codeWidth);
            sinceClear = 0;
        }
        codes.Put(pixel, codeWidth);
        ++sinceClear;
    }
    codes.Put(clearCode + 1, codeWidth);  // the end code
    return codes.Finish();
}

}  // namespace

std::vector<std::uint8_t> EncodeGif(const IndexedPicture& picture, int colourCount,
                                    std::optional<std::uint8_t> transparentIndex) {
    if (colourCount < 2 || colourCount > 256 || picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) {
        throw std::invalid_argument("EncodeGif: bad picture");
    }
    // The colour table holds 2^bits entries.
    int bits = 1;
    while ((1 << bits) < colourCount) {
        ++bits;
    }
    const int minimumCodeSize = std::max(2, bits);
    std::vector<std::uint8_t> out;
    PutHeader(out, picture, bits, colourCount, transparentIndex);
    const std::vector<std::uint8_t> data = LiteralCodes(picture, colourCount, minimumCodeSize);
    out.push_back(static_cast<std::uint8_t>(minimumCodeSize));
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - at);
        out.push_back(static_cast<std::uint8_t>(length));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    out.push_back(0);     // end of the image data
    out.push_back(0x3B);  // trailer
    return out;
}

}  // namespace tavlo::tools
