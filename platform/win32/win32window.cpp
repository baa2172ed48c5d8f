// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32window.h"

#include "win32dpi.h"
#include "win32paint.h"
#include "win32services.h"
#include "win32toolkit.h"

namespace tessaro::win32
{
namespace
{

constexpr wchar_t windowClass[] = L"TessaroWindow";
constexpr wchar_t elementClass[] = L"TessaroElement";
// Control ids leave room for IDOK and IDCANCEL, which the dialog manager
// sends for Enter and Escape.
constexpr int firstControlId = 100;
constexpr UINT_PTR firstTimerId = 1000;

std::wstring wide(std::string_view utf8)
{
    return toWide(utf8).value_or(std::wstring());
}

bool isButton(ElementKind kind)
{
    return kind == ElementKind::Button || kind == ElementKind::PushButton;
}

DWORD frameStyle(const WindowDef &def)
{
    const DWORD common = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    return def.dialogFrame ? common : common | WS_MINIMIZEBOX;
}

DWORD frameExStyle(const WindowDef &def)
{
    return WS_EX_CONTROLPARENT | (def.dialogFrame ? WS_EX_DLGMODALFRAME : 0);
}

// The icon from the program's resources, at the size the system asks for.
HICON programIcon(int metric)
{
    const int size = GetSystemMetrics(metric);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const wchar_t *const names[] = {L"IDI_ICON1", MAKEINTRESOURCEW(1)};
    for (const wchar_t *name : names) {
        if (HANDLE icon = LoadImageW(instance, name, IMAGE_ICON, size, size, LR_SHARED))
            return static_cast<HICON>(icon);
    }
    return nullptr;
}

// The system's check box, which shows no focus of its own without a text.
WNDPROC systemCheckBoxProc = nullptr;

} // namespace

// The system's check box keeps the click, the keys and the mark; the box is
// drawn here, as everywhere else, on whole device pixels at every scale. The
// system draws its own box at once when the mark, the pressed state or the
// focus changes, so the box is drawn again after each of those.
LRESULT CALLBACK Win32Window::checkBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND top = GetAncestor(hwnd, GA_ROOT);
    auto *self = reinterpret_cast<Win32Window *>(GetWindowLongPtrW(top, GWLP_USERDATA));
    const auto at = self && self->m_hwnd == top ? self->elementOf(hwnd) : std::nullopt;
    if (at && message == WM_PAINT) {
        PAINTSTRUCT ps;
        self->paintCheckBox(*at, BeginPaint(hwnd, &ps));
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (at && message == WM_ERASEBKGND)
        return 1;
    const LRESULT result = CallWindowProcW(systemCheckBoxProc, hwnd, message, wParam, lParam);
    switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (at && IsWindowVisible(hwnd)) {
            HDC dc = GetDC(hwnd);
            self->paintCheckBox(*at, dc);
            ReleaseDC(hwnd, dc);
        }
        break;
    default:
        break;
    }
    return result;
}

void Win32Window::paintCheckBox(std::size_t at, HDC dc)
{
    const LRESULT check = SendMessageW(m_children[at], BM_GETCHECK, 0, 0);
    const int value = check == BST_CHECKED ? 1 : (check == BST_INDETERMINATE ? 2 : 0);
    win32::paintCheckBox(dc, placement(at),
                         {model().state(at).back, value, GetFocus() == m_children[at]});
}

void Win32Window::registerClasses()
{
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    cls.lpfnWndProc = windowProc;
    cls.lpszClassName = windowClass;
    RegisterClassExW(&cls);
    cls.lpfnWndProc = elementProc;
    cls.lpszClassName = elementClass;
    RegisterClassExW(&cls);
}

Win32Window::Win32Window(Win32Toolkit &toolkit, const WindowDef &def, WindowEvents &events)
    : ModelWindow(def, events, toolkit), m_toolkit(toolkit), m_children(model().size()),
      m_texts(model().size()), m_condensed(model().size()), m_layouts(model().size())
{
    m_dpi = systemDpi();
    createFonts();
    askForScreenReader();
    for (std::size_t at = 0; at < model().size(); ++at)
        fitCaption(at);
    createNativeWindow();
    for (std::size_t at = 0; at < model().size(); ++at)
        createChild(at);
    setUpTabOrder();
    // Per-monitor awareness: the screen the window opened on may differ
    // from the primary one.
    if (const int dpi = windowDpi(m_hwnd); dpi != m_dpi)
        applyDpi(dpi);
    m_toolkit.nativeWindowOpened(*this);
}

Win32Window::~Win32Window()
{
    destroyNativeWindow();
    for (const auto &[colour, brush] : m_brushes)
        DeleteObject(brush);
}

void Win32Window::createNativeWindow()
{
    const WindowDef &def = model().window();
    RECT frame =
        toRect(deviceEdges({0, 0, pixels(def.clientWidth), pixels(def.clientHeight)}, ratio()));
    adjustWindowRect(frame, frameStyle(def), frameExStyle(def), m_dpi);
    m_hwnd = CreateWindowExW(frameExStyle(def), windowClass, wide(def.caption).c_str(),
                             frameStyle(def), CW_USEDEFAULT, CW_USEDEFAULT,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                             GetModuleHandleW(nullptr), this);
    if (def.icon != IconId::None) {
        SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(programIcon(SM_CXSMICON)));
        SendMessageW(m_hwnd, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(programIcon(SM_CXICON)));
    }
}

void Win32Window::createChild(std::size_t at)
{
    if (paintedBySurface(at) || model().element(at).kind == ElementKind::Timer)
        return;
    const ElementDef &def = model().element(at);
    const wchar_t *cls = elementClass;
    DWORD style = WS_CHILD;
    std::wstring text = def.caption.empty() ? wide(def.accessibleName) : m_texts[at];
    if (isButton(def.kind)) {
        cls = L"BUTTON";
        style |= BS_OWNERDRAW | WS_TABSTOP;
        if (def.flags & flags::defaultButton)
            m_defaultButton = at;
        if (def.flags & flags::cancelButton)
            m_cancelButton = at;
    } else if (def.kind == ElementKind::CheckBox) {
        cls = L"BUTTON";
        style |= BS_AUTOCHECKBOX | WS_TABSTOP | BS_NOTIFY; // BS_NOTIFY: focus reports
    } else if (def.kind == ElementKind::PictureBox) {
        style |= WS_TABSTOP; // it takes the focus, and nothing else
    }
    if (model().state(at).visible)
        style |= WS_VISIBLE;
    const RECT r = deviceRect(at);
    HWND parent = m_hwnd;
    if (const auto container = model().containerOf(at); container && m_children[*container])
        parent = m_children[*container];
    m_children[at] = CreateWindowExW(
        0, cls, text.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
        reinterpret_cast<HMENU>(firstControlId + at), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(m_children[at], WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts.font(def.font)), 0);
    if (def.kind == ElementKind::CheckBox) {
        const auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            m_children[at], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(checkBoxProc)));
        if (!systemCheckBoxProc)
            systemCheckBoxProc = previous;
    }
    if (def.kind == ElementKind::CheckBox)
        SendMessageW(m_children[at], BM_SETCHECK,
                     model().state(at).value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The dialog manager moves the focus in the order of the child windows, so
// the ones that take the focus are put first, in their tab order.
void Win32Window::setUpTabOrder()
{
    m_tabOrder = model().tabOrder();
    HWND previous = HWND_TOP;
    for (const std::size_t at : m_tabOrder) {
        if (!m_children[at])
            continue;
        SetWindowPos(m_children[at], previous, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = m_children[at];
    }
}

void Win32Window::setUpTooltips()
{
    if (m_tooltips.tried())
        return;
    std::vector<Tooltips::Tool> tools;
    for (std::size_t at = 0; at < model().size(); ++at)
        if (const ElementDef &def = model().element(at); !def.toolTip.empty())
            tools.push_back({at, m_children[at], toolRect(at), wide(def.toolTip)});
    m_tooltips.create(m_hwnd, tools);
}

// A hidden label has no tip: its rectangle shrinks to nothing.
RECT Win32Window::toolRect(std::size_t at) const
{
    return model().state(at).visible ? deviceRect(at) : RECT{};
}

void Win32Window::updateToolRect(std::size_t at)
{
    if (!m_children[at] && !model().element(at).toolTip.empty())
        m_tooltips.moveTool(at, toolRect(at));
}

void Win32Window::applyDpi(int dotsPerInch)
{
    m_dpi = dotsPerInch;
    m_buffer.release(); // it holds a font of the old set
    createFonts();
    for (std::size_t at = 0; at < model().size(); ++at) {
        if (!m_children[at])
            continue;
        const RECT r = deviceRect(at);
        SetWindowPos(m_children[at], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(m_children[at], WM_SETFONT,
                     reinterpret_cast<WPARAM>(m_fonts.font(model().element(at).font)), FALSE);
    }
    // The face may have changed with the scale (the outline face off 96 dpi).
    for (std::size_t at = 0; at < model().size(); ++at) {
        fitCaption(at);
        updateToolRect(at);
    }
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

// With a substitute face the headings take the runs of spaces that suit it.
void Win32Window::fitCaption(std::size_t at)
{
    const look::FittedCaption fitted = look::captionForFace(
        model().window(), model().element(at), model().state(at).caption, m_fonts.substitute());
    m_texts[at] = wide(fitted.text);
    m_condensed[at] = fitted.condensed;
    m_layouts[at].reset();
}

// Off 96 dpi the window takes the outline faces. Wherever it does not draw
// the classic bitmap face at 96 dpi, labels place their words by the
// outline widths, measured large.
void Win32Window::createFonts()
{
    m_fonts.create(m_dpi, m_dpi != 96);
    m_outlineLayout = m_dpi != 96 || m_fonts.substitute();
    if (m_outlineLayout)
        m_layoutFonts.create(96 * outlineMagnification, true);
}

void Win32Window::askForScreenReader()
{
    BOOL running = FALSE;
    m_readerListening = SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) && running;
}

void Win32Window::setTitle(std::string_view title)
{
    if (m_hwnd)
        SetWindowTextW(m_hwnd, wide(title).c_str());
}

void Win32Window::show()
{
    if (!m_hwnd)
        return;
    ShowWindow(m_hwnd, m_shown ? SW_SHOW : SW_SHOWNORMAL);
    SetForegroundWindow(m_hwnd);
    if (!m_shown && !m_tabOrder.empty())
        SetFocus(m_children[m_tabOrder.front()]);
    m_shown = true;
}

void Win32Window::showChange(std::size_t at, Change change)
{
    if (!m_hwnd)
        return;
    notifyAccessible(at, change);
    const ElementState &state = model().state(at);
    if (change == Change::Caption)
        fitCaption(at);
    if (change == Change::Border) // the text keeps clear of a border
        m_layouts[at].reset();
    HWND child = m_children[at];
    if (!child) {
        if (change != Change::AccessibleName && change != Change::Value)
            invalidate(at);
        if (change == Change::Visible)
            updateToolRect(at);
        return;
    }
    switch (change) {
    case Change::Visible:
        ShowWindow(child, state.visible ? SW_SHOWNA : SW_HIDE);
        break;
    case Change::Caption:
        SetWindowTextW(child, m_texts[at].c_str());
        InvalidateRect(child, nullptr, FALSE);
        break;
    case Change::BackColour:
    case Change::Border:
        InvalidateRect(child, nullptr, FALSE);
        break;
    case Change::Value:
        SendMessageW(child, BM_SETCHECK, state.value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case Change::AccessibleName:
        break;
    }
}

void Win32Window::startTimer(std::size_t at, int intervalMs)
{
    if (m_hwnd)
        SetTimer(m_hwnd, firstTimerId + at, static_cast<UINT>(intervalMs), nullptr);
}

void Win32Window::stopTimers()
{
    if (!m_hwnd)
        return;
    for (const std::size_t at : model().timers())
        KillTimer(m_hwnd, firstTimerId + at);
}

void Win32Window::closeNativeWindow()
{
    if (!m_hwnd)
        return;
    destroyNativeWindow();
    m_toolkit.nativeWindowClosed(*this);
}

void Win32Window::destroyNativeWindow()
{
    if (!m_hwnd)
        return;
    m_accessibleServer.reset(); // clients holding its object are told it is gone
    HWND hwnd = std::exchange(m_hwnd, nullptr);
    // No message of the dying window reaches this object any more.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
    m_tooltips.forget();
}

// --- Messages ----------------------------------------------------------------

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *create = reinterpret_cast<CREATESTRUCTW *>(lParam);
        auto *self = static_cast<Win32Window *>(create->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<Win32Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || self->m_hwnd != hwnd)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT CALLBACK Win32Window::elementProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND top = GetAncestor(hwnd, GA_ROOT);
    auto *self = reinterpret_cast<Win32Window *>(GetWindowLongPtrW(top, GWLP_USERDATA));
    if (!self || self->m_hwnd != top)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handleElement(hwnd, message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_PRINTCLIENT:
        printClient(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_COMMAND:
        onCommand(wParam);
        return 0;
    case WM_DRAWITEM:
        return onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_TIMER:
        if (wParam >= firstTimerId && wParam < firstTimerId + model().size())
            timerFired(wParam - firstTimerId);
        return 0;
    case WM_ACTIVATE:
        onActivate(wParam);
        return 0;
    case WM_SETTINGCHANGE: // a screen reader may have come or gone
        askForScreenReader();
        // The fonts carry the smoothing that was set when they were made.
        if (wParam == SPI_SETFONTSMOOTHING || wParam == SPI_SETFONTSMOOTHINGTYPE)
            applyDpi(m_dpi);
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    case WM_SETCURSOR: // the pointer is over the window or one of its children
        setUpTooltips();
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    case WM_CLOSE:
        unload();
        return 0;
    case WM_GETOBJECT:
        return onGetObject(wParam, lParam);
    case accessibleActionMessage:
        runAccessibleAction(wParam);
        return 0;
    case WM_DPICHANGED: {
        applyDpi(HIWORD(wParam));
        const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

LRESULT Win32Window::handleElement(HWND child, UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::optional<std::size_t> at = elementOf(child);
    if (!at)
        return DefWindowProcW(child, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        paintChild(*at, child);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: // the focus mark comes and goes
        InvalidateRect(child, nullptr, FALSE);
        if (message == WM_SETFOCUS)
            notifyAccessibleFocus(*at);
        break;
    case WM_LBUTTONDOWN:
        if (model().element(*at).kind == ElementKind::PictureBox)
            SetFocus(child);
        break;
    case WM_NCHITTEST:
        // Clicks on a cell without a tooltip reach what lies beneath it.
        if (letsMouseThrough(model().element(*at)))
            return HTTRANSPARENT;
        break;
    default:
        break;
    }
    return DefWindowProcW(child, message, wParam, lParam);
}

std::optional<std::size_t> Win32Window::elementOf(HWND child) const
{
    if (!child)
        return std::nullopt;
    const auto id = static_cast<std::size_t>(GetDlgCtrlID(child));
    if (id < firstControlId || id >= firstControlId + model().size() ||
        m_children[id - firstControlId] != child)
        return std::nullopt;
    return id - firstControlId;
}

void Win32Window::onCommand(WPARAM wParam)
{
    const int id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
        pressDialogButton(id == IDCANCEL);
        return;
    }
    const auto at = elementOf(GetDlgItem(m_hwnd, id));
    const int code = HIWORD(wParam);
    if (at && code == BN_SETFOCUS)
        notifyAccessibleFocus(*at);
    // A quick second click arrives as a double click: it is a click too.
    if (!at || (code != BN_CLICKED && code != BN_DOUBLECLICKED))
        return;
    if (model().element(*at).kind == ElementKind::CheckBox) {
        // With BS_NOTIFY the box leaves the second click of a double click
        // to its parent: it toggles here.
        if (code == BN_DOUBLECLICKED)
            SendMessageW(m_children[*at], BM_SETCHECK,
                         model().state(*at).value == 1 ? BST_UNCHECKED : BST_CHECKED, 0);
        const LRESULT check = SendMessageW(m_children[*at], BM_GETCHECK, 0, 0);
        valueChanged(*at, check == BST_CHECKED ? 1 : (check == BST_INDETERMINATE ? 2 : 0));
    } else {
        clicked(*at);
    }
}

// Enter presses the focused button, else the default button; Escape the
// cancel button. Owner-drawn buttons never become the dialog manager's
// default, so it reports both keys to the window.
void Win32Window::pressDialogButton(bool cancel)
{
    if (cancel) {
        if (m_cancelButton)
            clicked(*m_cancelButton);
        return;
    }
    const auto focused = elementOf(GetFocus());
    if (focused && isButton(model().element(*focused).kind))
        clicked(*focused);
    else if (m_defaultButton)
        clicked(*m_defaultButton);
}

// The focus comes back to the control that had it when the window was last
// active, or to the first in the tab order.
void Win32Window::onActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        if (elementOf(GetFocus()))
            m_lastFocus = GetFocus();
        return;
    }
    HWND target = m_lastFocus;
    if ((!target || !IsWindow(target)) && !m_tabOrder.empty())
        target = m_children[m_tabOrder.front()];
    if (target)
        SetFocus(target);
}

LRESULT Win32Window::onDrawItem(const DRAWITEMSTRUCT &item)
{
    const auto at = elementOf(item.hwndItem);
    if (!at)
        return FALSE;
    if ((item.itemAction & ODA_FOCUS) && (item.itemState & ODS_FOCUS))
        notifyAccessibleFocus(*at);
    paintButton(
        item.hDC, placement(*at),
        buttonLook(*at, (item.itemState & ODS_SELECTED) != 0, (item.itemState & ODS_FOCUS) != 0));
    return TRUE;
}

LRESULT Win32Window::onControlColour(HDC dc, HWND child)
{
    const auto at = elementOf(child);
    if (!at)
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    const Colour back = model().state(*at).back;
    SetBkColor(dc, colorRef(back));
    return reinterpret_cast<LRESULT>(brushFor(back));
}

HBRUSH Win32Window::brushFor(Colour colour)
{
    for (const auto &[known, brush] : m_brushes)
        if (known == colour)
            return brush;
    m_brushes.emplace_back(colour, CreateSolidBrush(colorRef(colour)));
    return m_brushes.back().second;
}

} // namespace tessaro::win32
