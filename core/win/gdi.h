// Small owners for GDI handles and device contexts, and the font helpers
// every drawing window uses. Owners are move-only: a handle is deleted once.
#pragma once

#include <string>
#include <utility>

#include <windows.h>

namespace tx9 {

template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }

    void reset(Handle handle = nullptr)
    {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }
    Handle get() const { return handle_; }
    Handle release() { return std::exchange(handle_, nullptr); }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    Handle handle_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// Selects an object into a DC for the scope and puts the previous one back.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectScope()
    {
        if (old_) SelectObject(dc_, old_);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// GetDC / ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC()
    {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
    ~PaintScope() { EndPaint(window_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    const RECT& rect() const { return ps_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// The memory DC and client-sized bitmap a custom-drawn window renders into.
// The bitmap is always deselected before it is deleted.
class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer() { destroy(); }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // Create the memory DC compatible with the window's DC (once) and a bitmap of the size.
    bool resize(HWND window, int width, int height);
    void destroy();
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Copy a rectangle of the buffer to the same place of the target DC.
    void copy_to(HDC target, const RECT& rect) const;
    // WM_PAINT of the window drawn into this buffer: the invalid part is copied.
    void paint_window(HWND window) const;
    // A rectangle copied to the window at once, outside WM_PAINT: under Wine
    // an invalidation and its paint cost several trips to the window system,
    // this one at most.
    void show_now(HWND window, const RECT& rect) const;

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_bitmap_ = nullptr;
    int width_ = 0, height_ = 0;
};

// WM_SHOWWINDOW, WM_PAINT and WM_PRINTCLIENT of a window drawn into the
// buffer, which may wait while the window is hidden: bring_up_to_date draws
// it again first when it does. False for any other message.
template <typename BringUpToDate>
bool paint_from_buffer(const BackBuffer& buffer, HWND window, UINT message, WPARAM wparam,
                       BringUpToDate bring_up_to_date) {
    switch (message) {
    case WM_SHOWWINDOW:
        // Showing paints the whole window next.
        if (wparam) bring_up_to_date();
        return true;
    case WM_PAINT:
        bring_up_to_date();
        buffer.paint_window(window);
        return true;
    case WM_PRINTCLIENT: {
        bring_up_to_date();
        RECT client{};
        GetClientRect(window, &client);
        buffer.copy_to(reinterpret_cast<HDC>(wparam), client);
        return true;
    }
    default: return false;
    }
}

// Character height of a point size on this screen: -(size * dpi / 72), truncated toward zero.
int font_height_for_points(int size);
// The character height (tmHeight) of the font on the screen.
int screen_font_height(HFONT font);
// A font of the face at the size; fixed pitch when asked; size 0 keeps the face's default height.
HFONT create_face_font(const std::string& face, int size, int charset, int weight, bool underline, bool fixed_pitch);
// The system menu font; height replaced only for size > 0, weight only for weight > 0.
HFONT create_menu_font(int size, int weight, bool underline);
// The system caption font, with the same rules.
HFONT create_caption_font(int size, int weight);
// A copy of the font in another character set; the font itself is left as it
// is. Wine hands out the system menu and caption fonts in the ANSI set, where
// Japanese texts come out as single-byte characters: DEFAULT_CHARSET lets the
// font mapper pick the set of the user's language, as Windows does.
HFONT font_in_charset(HFONT font, int charset);

} // namespace tx9
