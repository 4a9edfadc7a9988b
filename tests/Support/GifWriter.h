#pragma once
// Builds small GIF files for tests, benchmarks and seed corpora: a logical
// screen, an optional global colour table, and frames that each fill a
// rectangle with one colour (or a pattern), with or without a graphic
// control extension. The image data is real LZW, so a decoder accepts it.

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace zam::testing {

struct GifFrameSpec {
    int Left = 0, Top = 0, Width = 1, Height = 1;
    bool Gce = true;
    int Delay = 10;     ///< hundredths
    int Disposal = 0;
    int Transparent = -1;  ///< colour index, or -1
    uint8_t Color = 0;     ///< palette index filling the frame
    /// When set, the index of each pixel instead of Color.
    std::function<uint8_t(int x, int y)> Pattern;
};

class GifWriter {
public:
    /// palette entries are 0xRRGGBB; at most 256, padded to a power of two.
    GifWriter(int width, int height, std::vector<uint32_t> palette, bool globalTable = true,
              int background = 0)
        : m_Palette(std::move(palette)), m_Global(globalTable) {
        while (m_Palette.size() < 2 || (m_Palette.size() & (m_Palette.size() - 1)) != 0)
            m_Palette.push_back(0);
        const char* magic = "GIF89a";
        m_Out.assign(magic, magic + 6);
        U16(width);
        U16(height);
        m_Out.push_back(static_cast<uint8_t>(m_Global ? (0x80 | 0x70 | TableBits()) : 0x70));
        m_Out.push_back(static_cast<uint8_t>(background));
        m_Out.push_back(0);
        if (m_Global) Table();
    }

    /// The looping application extension browsers look for.
    GifWriter& Loop() {
        const uint8_t block[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E',
                                 '2',  '.',  '0',  0x03, 0x01, 0x00, 0x00, 0x00};
        m_Out.insert(m_Out.end(), block, block + sizeof block);
        return *this;
    }

    GifWriter& Comment(const char* text) {
        m_Out.push_back(0x21);
        m_Out.push_back(0xFE);
        SubBlocks(std::vector<uint8_t>(text, text + std::char_traits<char>::length(text)));
        return *this;
    }

    GifWriter& Frame(const GifFrameSpec& f) {
        if (f.Gce) {
            const bool transparent = f.Transparent >= 0;
            m_Out.push_back(0x21);
            m_Out.push_back(0xF9);
            m_Out.push_back(4);
            m_Out.push_back(static_cast<uint8_t>(((f.Disposal & 7) << 2) | (transparent ? 1 : 0)));
            U16(f.Delay);
            m_Out.push_back(static_cast<uint8_t>(transparent ? f.Transparent : 0));
            m_Out.push_back(0);
        }
        m_Out.push_back(0x2C);
        U16(f.Left);
        U16(f.Top);
        U16(f.Width);
        U16(f.Height);
        m_Out.push_back(static_cast<uint8_t>(m_Global ? 0 : (0x80 | TableBits())));
        if (!m_Global) Table();
        std::vector<uint8_t> pixels(static_cast<size_t>(f.Width) * f.Height, f.Color);
        if (f.Pattern)
            for (int y = 0; y < f.Height; ++y)
                for (int x = 0; x < f.Width; ++x) pixels[static_cast<size_t>(y) * f.Width + x] = f.Pattern(x, y);
        const int minCode = TableBits() + 1 < 2 ? 2 : TableBits() + 1;
        m_Out.push_back(static_cast<uint8_t>(minCode));
        SubBlocks(Lzw(pixels, minCode));
        return *this;
    }

    std::vector<uint8_t> Finish() {
        std::vector<uint8_t> out = m_Out;
        out.push_back(0x3B);
        return out;
    }

private:
    int TableBits() const {
        int bits = 0;
        while ((2u << bits) < m_Palette.size()) ++bits;
        return bits;
    }
    void U16(int v) {
        m_Out.push_back(static_cast<uint8_t>(v));
        m_Out.push_back(static_cast<uint8_t>(v >> 8));
    }
    void Table() {
        for (uint32_t c : m_Palette) {
            m_Out.push_back(static_cast<uint8_t>(c >> 16));
            m_Out.push_back(static_cast<uint8_t>(c >> 8));
            m_Out.push_back(static_cast<uint8_t>(c));
        }
    }
    void SubBlocks(const std::vector<uint8_t>& bytes) {
        for (size_t i = 0; i < bytes.size(); i += 255) {
            const size_t n = bytes.size() - i < 255 ? bytes.size() - i : 255;
            m_Out.push_back(static_cast<uint8_t>(n));
            m_Out.insert(m_Out.end(), bytes.begin() + static_cast<long>(i), bytes.begin() + static_cast<long>(i + n));
        }
        m_Out.push_back(0);
    }
    static std::vector<uint8_t> Lzw(const std::vector<uint8_t>& pixels, int minCode) {
        std::vector<uint8_t> out;
        uint32_t bits = 0;
        int count = 0;
        int width = minCode + 1;
        const int clear = 1 << minCode;
        int next = clear + 2;
        std::unordered_map<uint32_t, int> dict;
        auto emit = [&](int code) {
            bits |= static_cast<uint32_t>(code) << count;
            count += width;
            while (count >= 8) {
                out.push_back(static_cast<uint8_t>(bits));
                bits >>= 8;
                count -= 8;
            }
        };
        emit(clear);
        int prefix = pixels.empty() ? 0 : pixels[0];
        for (size_t i = 1; i < pixels.size(); ++i) {
            const uint32_t key = (static_cast<uint32_t>(prefix) << 8) | pixels[i];
            auto found = dict.find(key);
            if (found != dict.end()) {
                prefix = found->second;
                continue;
            }
            emit(prefix);
            if (next < 4096) {
                dict[key] = next;
                if (next >= (1 << width)) ++width;
                ++next;
            } else {
                emit(clear);
                dict.clear();
                width = minCode + 1;
                next = clear + 2;
            }
            prefix = pixels[i];
        }
        if (!pixels.empty()) emit(prefix);
        emit(clear + 1);
        if (count > 0) out.push_back(static_cast<uint8_t>(bits));
        return out;
    }

    std::vector<uint32_t> m_Palette;
    bool m_Global;
    std::vector<uint8_t> m_Out;
};

}  // namespace zam::testing
