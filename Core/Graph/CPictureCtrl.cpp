#include "Core/Graph/CPictureCtrl.h"

#include <wx/dcclient.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/settings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Core/Graph/GifSplitter.h"
#include "Core/System/Log.h"
#include "Core/Text/TextFunc.h"

using zam::graph::GifFrameBytes;
using zam::graph::GifScreen;

namespace {

constexpr long kMaxFileBytes = 256L * 1024 * 1024;

COLORREF ToColorRef(const wxColour& c) { return RGB(c.Red(), c.Green(), c.Blue()); }

// The handlers the control relies on, whether or not the program added them.
void EnsureImageHandlers() {
    if (wxImage::FindHandler(wxBITMAP_TYPE_GIF) == nullptr) wxImage::AddHandler(new wxGIFHandler);
    if (wxImage::FindHandler(wxBITMAP_TYPE_JPEG) == nullptr) wxImage::AddHandler(new wxJPEGHandler);
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
}

// Decodes bytes with the toolkit's handlers; their complaints about bad data
// are ours to report, not a message box's.
wxImage Decode(const void* data, size_t size, wxBitmapType type) {
    wxLogNull quiet;
    wxMemoryInputStream stream(data, size);
    wxImage image;
    if (!image.LoadFile(stream, type)) return wxImage();
    return image;
}

// Copies src onto dst at (left, top), clipped to dst, leaving dst where src
// is transparent (its mask colour, or alpha below half).
void Compose(wxImage& dst, const wxImage& src, int left, int top) {
    const int w = src.GetWidth(), h = src.GetHeight();
    const int dw = dst.GetWidth(), dh = dst.GetHeight();
    const bool mask = src.HasMask();
    const unsigned char mr = src.GetMaskRed(), mg = src.GetMaskGreen(), mb = src.GetMaskBlue();
    const unsigned char* alpha = src.HasAlpha() ? src.GetAlpha() : nullptr;
    const unsigned char* in = src.GetData();
    unsigned char* out = dst.GetData();
    for (int y = std::max(0, -top); y < h && top + y < dh; ++y) {
        for (int x = std::max(0, -left); x < w && left + x < dw; ++x) {
            const size_t s = static_cast<size_t>(y) * w + x;
            const unsigned char* p = in + 3 * s;
            if (mask && p[0] == mr && p[1] == mg && p[2] == mb) continue;
            if (alpha && alpha[s] < 128) continue;
            std::memcpy(out + 3 * (static_cast<size_t>(top + y) * dw + left + x), p, 3);
        }
    }
}

}  // namespace

CPictureCtrl::CPictureCtrl() : m_Timer(this) {}

CPictureCtrl::CPictureCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos) : CPictureCtrl() {
    Create(parent, id, pos);
}

CPictureCtrl::~CPictureCtrl() { Unload(); }

bool CPictureCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos) {
    if (!wxControl::Create(parent, id, pos, wxSize(1, 1), wxBORDER_NONE)) return false;
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CPictureCtrl::OnPaint, this);
    Bind(wxEVT_DESTROY, &CPictureCtrl::OnDestroy, this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { NextFrame(); }, m_Timer.GetId());
    return true;
}

int CPictureCtrl::LoadPicture(const char* path) {
    Unload();
    // A named pipe or a device in a picture's place would block the open.
    FILE* file = path != nullptr && fileisregular(path) == 1 ? std::fopen(path, "rb") : nullptr;
    if (file == nullptr) {
        LogTrace("Picture", 1, "Cannot open picture %.300s", path ? path : "(null)");
        return 0;
    }
    std::vector<uint8_t> bytes;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    bool ok = size >= 0 && size <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    if (!ok) {
        LogTrace("Picture", 1, "Cannot read picture %.300s (%ld bytes)", path, size);
        return 0;
    }
    return LoadOwned(std::move(bytes));
}

int CPictureCtrl::LoadFromMemory(const void* data, size_t size) {
    Unload();
    if (data == nullptr || size == 0 || size > static_cast<size_t>(kMaxFileBytes)) return 0;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    return LoadOwned(std::vector<uint8_t>(bytes, bytes + size));
}

int CPictureCtrl::LoadOwned(std::vector<uint8_t>&& bytes) {
    Unload();
    if (bytes.empty() || bytes.size() > static_cast<size_t>(kMaxFileBytes)) return 0;
    EnsureImageHandlers();
    DataSize = static_cast<int>(bytes.size());
    int result;
    if (zam::graph::IsGifData(bytes.data(), bytes.size())) {
        m_Gif = std::move(bytes);
        Data = m_Gif.data();
        result = LoadGif();
        Data = nullptr;
        if (Frames.empty()) std::vector<uint8_t>().swap(m_Gif);  // only an animation needs it
    } else {
        Picture = Decode(bytes.data(), bytes.size(), wxBITMAP_TYPE_ANY);
        result = Picture.IsOk() && Picture.GetWidth() <= zam::graph::kGifMaxSide &&
                 Picture.GetHeight() <= zam::graph::kGifMaxSide &&
                 PrepareSurface(Picture.GetWidth(), Picture.GetHeight());
    }
    if (!result) Unload();
    return result ? 1 : 0;
}

int CPictureCtrl::LoadGif() {
    const uint8_t* data = m_Gif.data();
    const size_t size = m_Gif.size();
    IsGif = 1;
    GifScreen screen;
    if (zam::graph::GifReadScreen(data, size, screen) != 1) return 0;
    PicWidth = screen.Width;
    PicHeight = screen.Height;
    ColorTableSize = screen.ColorTableSize;
    BkColor = screen.BkColor;
    Position = 13 + ColorTableSize;
    const int images = zam::graph::GifCountImages(data, size, static_cast<size_t>(Position));
    if (images == 0) return 0;
    if (images == 1) {
        Picture = Decode(data, size, wxBITMAP_TYPE_GIF);
        return Picture.IsOk() && PrepareSurface(PicWidth, PicHeight);
    }
    std::vector<GifFrameBytes> pieces;
    zam::graph::GifSplitFrames(data, size, pieces, false);
    Frames.reserve(pieces.size());
    bool decodable = false;
    for (const GifFrameBytes& piece : pieces) {
        // One frame that decodes shows the pieces are pictures; the rest are
        // decoded when they are shown.
        if (!decodable) {
            zam::graph::GifFrameFile(data, static_cast<size_t>(Position), piece.Start, piece.End, m_Piece);
            decodable = Decode(m_Piece.data(), m_Piece.size(), wxBITMAP_TYPE_GIF).IsOk();
            if (!decodable) continue;
        }
        CPictureFrame frame;
        frame.Start = piece.Start;
        frame.End = piece.End;
        frame.Width = piece.Width;
        frame.Height = piece.Height;
        frame.Left = piece.Left;
        frame.Top = piece.Top;
        frame.Delay = piece.Delay;
        frame.Disposal = piece.Disposal;
        Frames.push_back(frame);
    }
    if (Frames.empty()) return 0;
    return PrepareSurface(PicWidth, PicHeight);
}

int CPictureCtrl::PrepareSurface(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    PicWidth = width;
    PicHeight = height;
    if (GetHandle() != nullptr) {
        SetSize(wxSize(width, height));
        SetMinSize(wxSize(width, height));
    }
    m_Surface = wxImage(width, height, false);
    if (!m_Surface.IsOk()) return 0;
    BkColor = ToColorRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    FillSurface(wxRect(0, 0, width, height), ToColorRef(wxSystemSettings::GetColour(wxSYS_COLOUR_MENU)));
    Ready = 1;
    return 1;
}

void CPictureCtrl::FillSurface(const wxRect& rect, COLORREF color) {
    const wxRect r = rect.Intersect(wxRect(0, 0, m_Surface.GetWidth(), m_Surface.GetHeight()));
    if (r.IsEmpty()) return;
    m_Surface.SetRGB(r, GetRValue(color), GetGValue(color), GetBValue(color));
}

int CPictureCtrl::Draw() {
    if (!Ready) return 0;
    if (!Frames.empty()) {
        Stop();
        Animating = 1;
        if (static_cast<size_t>(Current) >= Frames.size()) Current = 0;
        DisposeFrame(Frames[Current]);
        ShowNextDecodable();
        return 0;
    }
    if (!Picture.IsOk()) return 0;
    Compose(m_Surface, Picture.GetWidth() == PicWidth && Picture.GetHeight() == PicHeight
                           ? Picture
                           : Picture.Scale(PicWidth, PicHeight),
            0, 0);
    if (GetHandle() != nullptr) Refresh(false);
    return 1;
}

// Shows frame Current, dropping frames that do not decode, and schedules the
// next step; stops when no frame is left.
void CPictureCtrl::ShowNextDecodable() {
    while (!Frames.empty() && !ShowFrame(Frames[Current])) {
        Frames.erase(Frames.begin() + Current);
        if (Current >= static_cast<int>(Frames.size())) Current = 0;
    }
    if (Frames.empty()) {
        Stop();
        return;
    }
    Schedule(FrameWait(Frames[Current].Delay));
}

int CPictureCtrl::FrameWait(int delay) { return delay < 5 ? 100 : delay * 10; }

void CPictureCtrl::Schedule(int milliseconds) {
    if (m_Scheduler) m_Scheduler(milliseconds);
    else m_Timer.StartOnce(milliseconds);
}

bool CPictureCtrl::ShowFrame(CPictureFrame& frame) {
    if (frame.End > m_Gif.size() || frame.Start >= frame.End) return false;
    zam::graph::GifFrameFile(m_Gif.data(), static_cast<size_t>(Position), frame.Start, frame.End, m_Piece);
    frame.Picture = Decode(m_Piece.data(), m_Piece.size(), wxBITMAP_TYPE_GIF);
    if (!frame.Picture.IsOk()) return false;
    const wxRect area = wxRect(frame.Left, frame.Top, frame.Picture.GetWidth(), frame.Picture.GetHeight())
                            .Intersect(wxRect(0, 0, PicWidth, PicHeight));
    if (frame.Disposal == 3 && !area.IsEmpty()) {
        m_Saved = m_Surface.GetSubImage(area);
        m_SavedRect = area;
    }
    Compose(m_Surface, frame.Picture, frame.Left, frame.Top);
    frame.Picture.Destroy();
    if (GetHandle() != nullptr) Refresh(false);
    return true;
}

void CPictureCtrl::DisposeFrame(CPictureFrame& frame) {
    if (frame.Disposal == 2) {
        FillSurface(wxRect(frame.Left, frame.Top, frame.Width, frame.Height), BkColor);
    } else if (frame.Disposal == 3 && m_Saved.IsOk()) {
        m_Surface.Paste(m_Saved, m_SavedRect.x, m_SavedRect.y);
        m_Saved.Destroy();
    }
}

void CPictureCtrl::NextFrame() {
    if (!Animating || Frames.empty()) return;
    DisposeFrame(Frames[Current]);
    if (++Current >= static_cast<int>(Frames.size())) {
        Current = 0;
        FillSurface(wxRect(0, 0, PicWidth, PicHeight), BkColor);
    }
    ShowNextDecodable();
}

void CPictureCtrl::Stop() {
    Animating = 0;
    StopRequest = 1;
    m_Timer.Stop();
    StopRequest = 0;
}

void CPictureCtrl::Unload() {
    Stop();
    Frames.clear();
    std::vector<uint8_t>().swap(m_Gif);
    std::vector<uint8_t>().swap(m_Piece);
    Picture.Destroy();
    m_Surface.Destroy();
    m_Saved.Destroy();
    PicWidth = PicHeight = 0;
    BkColor = 0xFFFFFF;
    DataSize = ColorTableSize = IsGif = Ready = 0;
    Data = nullptr;
    Position = Current = 0;
}

void CPictureCtrl::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (Ready && m_Surface.IsOk()) dc.DrawBitmap(wxBitmap(m_Surface), 0, 0);
}

void CPictureCtrl::OnDestroy(wxWindowDestroyEvent& event) {
    if (event.GetEventObject() == this) Stop();
    event.Skip();
}
