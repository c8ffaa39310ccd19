#include "core/win/gdi.h"

namespace tx9 {

bool BackBuffer::resize(HWND window, int width, int height)
{
    WindowDC screen(window);
    if (!dc_) {
        dc_ = CreateCompatibleDC(screen.get());
        if (!dc_) return false;
    }
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    HBITMAP fresh = CreateCompatibleBitmap(screen.get(), width, height);
    if (!fresh) return false;
    HGDIOBJ previous = SelectObject(dc_, fresh);
    if (bitmap_) DeleteObject(bitmap_);
    else old_bitmap_ = previous;
    bitmap_ = fresh;
    width_ = width;
    height_ = height;
    return true;
}

void BackBuffer::destroy()
{
    if (dc_) {
        if (old_bitmap_) SelectObject(dc_, old_bitmap_);
        if (bitmap_) DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    dc_ = nullptr;
    bitmap_ = nullptr;
    old_bitmap_ = nullptr;
    width_ = height_ = 0;
}

void BackBuffer::copy_to(HDC target, const RECT& rect) const
{
    if (!dc_) return;
    BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_, rect.left, rect.top,
           SRCCOPY);
}

void BackBuffer::paint_window(HWND window) const
{
    PaintScope paint(window);
    copy_to(paint.dc(), paint.rect());
}

void BackBuffer::show_now(HWND window, const RECT& rect) const
{
    WindowDC screen(window);
    if (screen.get())
        copy_to(screen.get(), rect);
    else
        InvalidateRect(window, &rect, FALSE); // painted when the system can
}

int screen_font_height(HFONT font)
{
    WindowDC screen(nullptr);
    SelectScope select(screen.get(), font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen.get(), &metrics);
    return metrics.tmHeight;
}

int font_height_for_points(int size)
{
    WindowDC screen(nullptr);
    int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return -(size * dpi / 72);
}

HFONT create_face_font(const std::string& face, int size, int charset, int weight, bool underline, bool fixed_pitch)
{
    LOGFONTA lf{};
    lf.lfHeight = font_height_for_points(size);
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = fixed_pitch ? FIXED_PITCH : DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

namespace {

HFONT font_from_metrics(bool caption, int size, int weight, bool underline)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTA lf = caption ? metrics.lfCaptionFont : metrics.lfMenuFont;
    if (size > 0) lf.lfHeight = font_height_for_points(size);
    if (weight > 0) lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    return CreateFontIndirectA(&lf);
}

} // namespace

HFONT create_menu_font(int size, int weight, bool underline) { return font_from_metrics(false, size, weight, underline); }

HFONT create_caption_font(int size, int weight) { return font_from_metrics(true, size, weight, false); }

HFONT font_in_charset(HFONT font, int charset)
{
    LOGFONTA lf{};
    if (!font || !GetObjectA(font, sizeof lf, &lf)) return nullptr;
    lf.lfCharSet = static_cast<BYTE>(charset);
    return CreateFontIndirectA(&lf);
}

} // namespace tx9
