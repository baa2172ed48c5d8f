// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modelwindow.h"
#include "win32accessible.h"
#include "win32backbuffer.h"
#include "win32fonts.h"
#include "win32paint.h"
#include "win32tooltips.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessaro::win32
{

class Win32Toolkit;

// A loaded window as a native top-level window. Labels, lines, the group
// frame and the picture are drawn by the window itself in the stacking
// order of the model; cells, the web-address frame, check boxes and buttons
// are child windows above them.
class Win32Window final : public ModelWindow, private AccessibleHost
{
public:
    Win32Window(Win32Toolkit &toolkit, const WindowDef &def, WindowEvents &events);
    ~Win32Window() override;
    Win32Window(const Win32Window &) = delete;
    Win32Window &operator=(const Win32Window &) = delete;

    void setTitle(std::string_view title) override;
    void show() override;

    // True while Windows says a screen reader runs or once an accessibility
    // client has asked for the window; otherwise the clock builds no names
    // for it.
    [[nodiscard]] bool readerListening() const override
    {
        return m_readerListening || (m_accessibleServer && m_accessibleServer->asked());
    }

    [[nodiscard]] HWND handle() const { return m_hwnd; }
    // Where the caption of the label or button at `at` stands as the window
    // draws it.
    [[nodiscard]] CaptionLayout captionLayout(HDC dc, std::size_t at) const;
    static void registerClasses();

protected:
    void showChange(std::size_t at, Change change) override;
    void showAccessibleDescription() override;
    void startTimer(std::size_t at, int intervalMs) override;
    void stopTimers() override;
    void closeNativeWindow() override;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK elementProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK checkBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleElement(HWND child, UINT message, WPARAM wParam, LPARAM lParam);

    void createNativeWindow();
    void createChild(std::size_t at);
    void setUpTabOrder();
    void setUpTooltips();
    void applyDpi(int dotsPerInch);
    void askForScreenReader();
    void fitCaption(std::size_t at);
    void createFonts();
    void destroyNativeWindow();

    // Accessibility (win32windowaccessible.cpp).
    LRESULT onGetObject(WPARAM wParam, LPARAM lParam);
    AccessibleServer *listeningServer();
    void notifyAccessible(std::size_t at, Change change);
    void notifyAccessibleFocus(std::size_t at);
    void runAccessibleAction(std::size_t at);
    [[nodiscard]] HWND accessibleWindowHandle() const override { return m_hwnd; }
    [[nodiscard]] std::string accessibleTitle() const override;
    [[nodiscard]] RECT screenRect(std::size_t at) const override;
    [[nodiscard]] HWND childWindow(std::size_t at) const override;

    [[nodiscard]] bool paintedBySurface(std::size_t at) const;
    [[nodiscard]] double ratio() const;
    [[nodiscard]] PixelRect logicalRect(std::size_t at) const;
    [[nodiscard]] PixelLine logicalLine(std::size_t at) const;
    [[nodiscard]] Placement placement(std::size_t at) const;
    [[nodiscard]] LabelLook labelLook(std::size_t at) const;
    const CaptionLayout &labelLayout(HDC dc, std::size_t at);
    [[nodiscard]] ButtonLook buttonLook(std::size_t at, bool pressed, bool focused) const;
    [[nodiscard]] RECT deviceRect(std::size_t at) const;
    [[nodiscard]] RECT bounds(std::size_t at) const;
    [[nodiscard]] std::optional<std::size_t> elementOf(HWND child) const;

    void paint();
    void printClient(HDC dc);
    void paintArea(HDC screen, const RECT &area, HRGN update);
    void paintSurface(HDC dc, const RECT &area, HRGN update);
    void paintElement(HDC dc, std::size_t at);
    void paintChild(std::size_t at, HWND child);
    void paintCheckBox(std::size_t at, HDC dc);
    void invalidate(std::size_t at);
    void updateToolRect(std::size_t at);
    [[nodiscard]] RECT toolRect(std::size_t at) const;

    void onCommand(WPARAM wParam);
    void pressDialogButton(bool cancel);
    void onActivate(WPARAM wParam);
    LRESULT onDrawItem(const DRAWITEMSTRUCT &item);
    LRESULT onControlColour(HDC dc, HWND child);
    HBRUSH brushFor(Colour colour);

    Win32Toolkit &m_toolkit;
    HWND m_hwnd = nullptr;
    Tooltips m_tooltips;
    int m_dpi = 96;
    FontSet m_fonts;
    FontSet m_layoutFonts;        // outline faces, magnified, for the labels' layout
    bool m_outlineLayout = false; // false: the classic bitmap face at 96 dpi
    BackBuffer m_buffer;
    std::vector<HWND> m_children;      // by model position; none for drawn elements
    std::vector<std::wstring> m_texts; // captions in UTF-16, by model position
    std::vector<bool> m_condensed;     // drawn with letters set closer
    // Where each label's caption stands, kept from one paint to the next
    // until its caption, its border or the scale changes: a second's repaint
    // of a few labels measures nothing again.
    std::vector<std::optional<CaptionLayout>> m_layouts;
    std::vector<std::size_t> m_tabOrder;
    std::optional<std::size_t> m_defaultButton;
    std::optional<std::size_t> m_cancelButton;
    HWND m_lastFocus = nullptr;
    std::vector<std::pair<Colour, HBRUSH>> m_brushes;
    bool m_shown = false;
    bool m_readerListening = false;
    std::unique_ptr<AccessibleServer> m_accessibleServer; // from the first client on
};

} // namespace tessaro::win32
