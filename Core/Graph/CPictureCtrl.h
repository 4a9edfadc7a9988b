#pragma once
// A control that shows a picture file: JPEG, PNG or a still GIF through the
// toolkit's image handlers, or an animated GIF, split into one single-image
// GIF per frame (GifSplitter.h), each decoded on its own when its turn comes
// and shown with its delay and disposal method. Loading decodes frames only
// until one succeeds (a file none of whose frames decode is refused); a frame
// that does not decode when its turn comes is dropped from the animation. The control sizes itself to the
// picture, composes into an off-screen pixel surface and copies that surface
// to the window when it paints.
//
// The animation runs on a one-shot timer of the user-interface thread, not on
// a thread of its own: GTK objects may only be touched from that thread, and
// a timer needs no locking. Stop therefore ends it at once. The wait after
// each frame goes through a replaceable scheduler, so tests step frames
// without waiting.

#include <wx/control.h>
#include <wx/image.h>
#include <wx/timer.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "Core/Platform/WinTypes.h"

/// One frame of an animated GIF. The frame is kept as its place in the
/// control's copy of the file and made into a one-image GIF and decoded each
/// time it is shown, so an animation holds about its file's size rather than
/// a full bitmap per frame.
struct CPictureFrame {
    size_t Start = 0, End = 0;  ///< the frame's blocks in the GIF data
    wxImage Picture;  ///< the decoded frame while it is being drawn; empty otherwise
    int Width = 0, Height = 0, Left = 0, Top = 0;  ///< from its image descriptor
    int Delay = -1;     ///< hundredths of a second; -1 without a graphic control extension
    int Disposal = 0;   ///< 0 to 7
};

class CPictureCtrl : public wxControl {
public:
    CPictureCtrl();
    CPictureCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition);
    ~CPictureCtrl() override;
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition);

    /// Reads the whole file and loads it: 1, or 0 (logged) when it cannot be
    /// read, is larger than 256 MiB, or LoadFromMemory refuses it.
    int LoadPicture(const char* path);
    /// Loads size bytes: 1, or 0 when no picture could be made of them (not
    /// a picture, a GIF without an image or with a screen over 16,384 pixels
    /// a side, no frame decoding). The control is empty after a 0.
    int LoadFromMemory(const void* data, size_t size);
    /// Shows a still picture (1), or starts the animation of several frames
    /// (0); 0 also without a picture.
    int Draw();
    /// Stops the animation.
    void Stop();
    /// Stops, releases every picture and the surface, resets every field.
    void Unload();

    /// The animation's step: disposes the frame shown, moves to the next (after
    /// the last, back to the first on a cleared surface), shows it and
    /// schedules the next step. Nothing unless animating.
    void NextFrame();
    /// Milliseconds a frame with this delay (hundredths) stays: 100 below 5.
    static int FrameWait(int delay);
    /// Replaces the timer that waits between frames: called with the wait in
    /// milliseconds; the replacement calls NextFrame when it sees fit. An
    /// empty function restores the timer.
    void SetFrameScheduler(std::function<void(int)> scheduler) { m_Scheduler = std::move(scheduler); }
    /// The off-screen surface (PicWidth x PicHeight once loaded).
    const wxImage& GetSurface() const { return m_Surface; }

    int PicWidth = 0, PicHeight = 0;
    COLORREF BkColor = 0xFFFFFF;  ///< background for disposal and loop restarts
    int DataSize = 0;
    int ColorTableSize = 0;
    int IsGif = 0;
    int Animating = 0;
    int StopRequest = 0;
    int Ready = 0;
    wxImage Picture;  ///< the single picture (not a GIF, or a GIF with one image)
    const uint8_t* Data = nullptr;  ///< the data, while loading only
    int Position = 0;   ///< parse offset in the GIF data after loading
    int Current = 0;    ///< the frame shown
    std::vector<CPictureFrame> Frames;

private:
    int PrepareSurface(int width, int height);
    int LoadGif();
    int LoadOwned(std::vector<uint8_t>&& bytes);
    bool ShowFrame(CPictureFrame& frame);
    void ShowNextDecodable();
    void DisposeFrame(CPictureFrame& frame);
    void Schedule(int milliseconds);
    void FillSurface(const wxRect& rect, COLORREF color);
    void OnPaint(wxPaintEvent& event);
    void OnDestroy(wxWindowDestroyEvent& event);

    std::vector<uint8_t> m_Gif;    ///< the animated GIF's data, while frames refer to it
    std::vector<uint8_t> m_Piece;  ///< scratch: the one-image GIF of the frame being shown
    wxImage m_Surface;
    wxImage m_Saved;  ///< the area under a frame with disposal method 3
    wxRect m_SavedRect;
    wxTimer m_Timer;
    std::function<void(int)> m_Scheduler;
};
