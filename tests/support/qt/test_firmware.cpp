#include "support/qt/test_firmware.h"

#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "qt/text_boundary.h"

namespace tavlo::test {

namespace {

constexpr std::uint16_t kFullBar = 0x07FF;  // bits 0 to 10
constexpr int kGlyphRows = 11;

int SignatureWidth(std::uint8_t code) {
    switch (code) {
        case 32:
            return 3;
        case 33:
            return 2;
        case 34:
            return 5;
        case 35:
            return 7;
        default:
            return -1;
    }
}

void AppendWord(std::string& out, std::uint16_t word) {
    out += static_cast<char>(word & 0xFF);
    out += static_cast<char>(word >> 8);
}

}  // namespace

std::string GlyphTableBytes(const GlyphColumns& columnsFor) {
    std::string table;
    std::string columns;
    for (int code = 32; code <= 255; ++code) {
        const auto glyph = columnsFor(static_cast<std::uint8_t>(code));
        AppendWord(table, static_cast<std::uint16_t>(columns.size()));
        table += '\0';
        table += static_cast<char>(glyph.size());
        for (std::uint16_t word : glyph) {
            AppendWord(columns, word);
        }
    }
    return table + columns;
}

std::vector<std::uint16_t> BarGlyph(std::uint8_t code) {
    if (code == 32) {
        return {0, 0, 0};
    }
    const int width = SignatureWidth(code) > 0 ? SignatureWidth(code) : 5;
    return std::vector<std::uint16_t>(static_cast<std::size_t>(width), kFullBar);
}

std::vector<std::uint16_t> RasterGlyph(std::uint8_t code) {
    QImage canvas(16, kGlyphRows, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    font.setStyleStrategy(QFont::NoAntialias);
    const QString text = FromWindows1252(std::string(1, static_cast<char>(code)));
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(0, 8, text);  // baseline on row 8 leaves two rows for descenders
    }
    // From its leftmost to its rightmost lit column: the receiver adds one blank column after
    // each glyph itself.
    int first = -1;
    int last = 0;
    for (int x = 0; x < canvas.width(); ++x) {
        for (int row = 0; row < kGlyphRows; ++row) {
            if (qGray(canvas.pixel(x, row)) < 128) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
    }
    first = std::max(first, 0);
    int width = last - first + 1;
    if (SignatureWidth(code) > 0) {
        width = SignatureWidth(code);
    }
    std::vector<std::uint16_t> glyph;
    for (int x = first; x < first + width; ++x) {
        std::uint16_t word = 0;
        for (int row = 0; row < kGlyphRows; ++row) {
            if (code != 32 && x < canvas.width() && qGray(canvas.pixel(x, row)) < 128) {
                word |= static_cast<std::uint16_t>(1u << (kGlyphRows - 1 - row));
            }
        }
        glyph.push_back(word);
    }
    return glyph;
}

std::string FirmwareBytes(std::string_view message, bool withFont, const GlyphColumns& glyphs) {
    std::string bytes(
        "\x7F"
        "ELF-like header\x01\x02\x03",
        19);
    bytes.push_back('\0');
    bytes.append(message);
    bytes.push_back('\0');
    bytes.append("more code and data", 18);
    bytes.push_back('\0');
    if (withFont) {
        bytes += GlyphTableBytes(glyphs);
    }
    bytes.append("tail", 4);
    return bytes;
}

LoadedFirmware::LoadedFirmware(const std::string& bytes) {
    path = dir.filePath(QStringLiteral("receiver.rgn")).toStdString();
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
        return;
    }
    file.close();
    loaded = image.Load(path);
    fontFound = loaded && font.Locate(image);
}

}  // namespace tavlo::test
