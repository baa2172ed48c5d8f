// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32accessible.h"

#include <objbase.h>
#include <oleacc.h>

#include <limits>

namespace tessaro::win32
{

struct AccessibleLink {
    const AccessibleWindow *accessible;
    AccessibleHost *host;
};

namespace
{

// The OLE libraries, loaded when the first client asks: a clock that no
// screen reader reads never maps them.
struct OleFunctions {
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&AccessibleObjectFromWindow) accessibleObjectFromWindow = nullptr;
    decltype(&CoInitializeEx) coInitializeEx = nullptr;
    decltype(&SysAllocStringLen) sysAllocStringLen = nullptr;
};

template <typename Function> void resolve(Function &function, HMODULE library, const char *name)
{
    if (library)
        function =
            reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(library, name)));
}

// Nothing when a library is missing: then there is no MSAA server.
const OleFunctions *ole()
{
    static const OleFunctions functions = [] {
        OleFunctions found;
        HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
        resolve(found.lresultFromObject, oleacc, "LresultFromObject");
        resolve(found.accessibleObjectFromWindow, oleacc, "AccessibleObjectFromWindow");
        resolve(found.coInitializeEx, LoadLibraryW(L"ole32.dll"), "CoInitializeEx");
        resolve(found.sysAllocStringLen, LoadLibraryW(L"oleaut32.dll"), "SysAllocStringLen");
        return found;
    }();
    const bool complete = functions.lresultFromObject && functions.accessibleObjectFromWindow &&
                          functions.coInitializeEx && functions.sysAllocStringLen;
    return complete ? &functions : nullptr;
}

// VariantInit without oleaut32.
void emptyVariant(VARIANT *variant)
{
    variant->vt = VT_EMPTY;
}

long msaaRole(AccessibleRole role)
{
    switch (role) {
    case AccessibleRole::Frame:
        return ROLE_SYSTEM_WINDOW;
    case AccessibleRole::Dialog:
        return ROLE_SYSTEM_DIALOG;
    case AccessibleRole::CheckBox:
        return ROLE_SYSTEM_CHECKBUTTON;
    case AccessibleRole::PushButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::Graphic:
        return ROLE_SYSTEM_GRAPHIC;
    case AccessibleRole::Grouping:
        return ROLE_SYSTEM_GROUPING;
    case AccessibleRole::StaticText:
        break;
    }
    return ROLE_SYSTEM_STATICTEXT;
}

DWORD winEvent(AccessibleEvent event)
{
    switch (event) {
    case AccessibleEvent::NameChange:
        return EVENT_OBJECT_NAMECHANGE;
    case AccessibleEvent::ValueChange:
        return EVENT_OBJECT_VALUECHANGE;
    case AccessibleEvent::StateChange:
        return EVENT_OBJECT_STATECHANGE;
    case AccessibleEvent::Show:
        return EVENT_OBJECT_SHOW;
    case AccessibleEvent::Hide:
        return EVENT_OBJECT_HIDE;
    case AccessibleEvent::None:
        break;
    }
    return 0;
}

// A text for the client: S_FALSE and no string when there is none.
HRESULT giveText(std::string_view utf8, BSTR *out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (utf8.empty())
        return S_FALSE;
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    *out = ole()->sysAllocStringLen(nullptr, UINT(length));
    if (!*out)
        return E_OUTOFMEMORY;
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), *out, length);
    return S_OK;
}

void giveChild(long id, VARIANT *out)
{
    emptyVariant(out);
    out->vt = VT_I4;
    out->lVal = id;
}

bool contains(const RECT &r, POINT p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

} // namespace

// Interface ids come from __uuidof: the IID_IAccessible of the static
// import library names oleacc's export, not the id itself.

// A COM object is deleted by its own Release, never through its interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The client area of a window and its elements as MSAA simple elements:
// child id n is the n-th element in reading order, from 1.
class WindowAccessible final : public IAccessible
{
public:
    explicit WindowAccessible(std::shared_ptr<AccessibleLink> link) : m_link(std::move(link)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *out = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: clients use the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *,
                                     EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!live())
            return RPC_E_DISCONNECTED;
        const HRESULT result = ole()->accessibleObjectFromWindow(
            host().accessibleWindowHandle(), DWORD(OBJID_WINDOW), __uuidof(IDispatch),
            reinterpret_cast<void **>(parent));
        return SUCCEEDED(result) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        if (!count)
            return E_POINTER;
        if (!live())
            return RPC_E_DISCONNECTED;
        *count = long(window().childCount());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        const HRESULT checked = checkChild(child);
        if (checked != S_OK)
            return checked;
        // Every element is a simple element of this object.
        return child.lVal == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        return text(child, name, [](const AccessibleNode &node) { return node.name; });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        return text(child, value, [](const AccessibleNode &node) { return node.value; });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override
    {
        return text(child, description,
                    [](const AccessibleNode &node) { return node.description; });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        if (!role)
            return E_POINTER;
        emptyVariant(role);
        const HRESULT checked = checkChild(child);
        if (checked != S_OK)
            return checked;
        role->vt = VT_I4;
        role->lVal = msaaRole(node(child.lVal).role);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        if (!state)
            return E_POINTER;
        emptyVariant(state);
        const HRESULT checked = checkChild(child);
        if (checked != S_OK)
            return checked;
        const AccessibleNode found = node(child.lVal);
        long bits = 0;
        if (found.invisible)
            bits |= STATE_SYSTEM_INVISIBLE;
        if (found.focusable)
            bits |= STATE_SYSTEM_FOCUSABLE;
        if (found.checked)
            bits |= STATE_SYSTEM_CHECKED;
        if (found.role == AccessibleRole::StaticText)
            bits |= STATE_SYSTEM_READONLY;
        if (GetFocus() && GetFocus() == windowOf(child.lVal))
            bits |= STATE_SYSTEM_FOCUSED;
        state->vt = VT_I4;
        state->lVal = bits;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override
    {
        return text(child, help, [](const AccessibleNode &) { return std::string(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT, long *topic) override
    {
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return live() ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override
    {
        return text(child, shortcut, [](const AccessibleNode &) { return std::string(); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override
    {
        if (!focus)
            return E_POINTER;
        emptyVariant(focus);
        if (!live())
            return RPC_E_DISCONNECTED;
        HWND focused = GetFocus();
        if (!focused)
            return S_FALSE;
        if (focused == host().accessibleWindowHandle()) {
            giveChild(CHILDID_SELF, focus);
            return S_OK;
        }
        for (std::size_t child = 0; child < window().childCount(); ++child)
            if (host().childWindow(window().element(child)) == focused) {
                giveChild(long(child + 1), focus);
                return S_OK;
            }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override
    {
        if (!selection)
            return E_POINTER;
        emptyVariant(selection);
        return live() ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        const HRESULT checked = checkChild(child);
        if (checked != S_OK)
            return checked;
        if (child.lVal == CHILDID_SELF)
            return S_FALSE;
        return giveText(window().defaultAction(std::size_t(child.lVal - 1)), action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        const HRESULT checked = checkChild(child);
        if (checked != S_OK)
            return checked;
        if (flags != SELFLAG_TAKEFOCUS)
            return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) {
            SetForegroundWindow(host().accessibleWindowHandle());
            return S_OK;
        }
        const AccessibleNode found = node(child.lVal);
        HWND target = windowOf(child.lVal);
        if (!found.focusable || found.invisible || !target)
            return S_FALSE;
        SetFocus(target);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height,
                                          VARIANT child) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        const HRESULT checked = checkChild(child);
        if (checked != S_OK)
            return checked;
        const RECT r = rectOf(child.lVal);
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override
    {
        if (!end)
            return E_POINTER;
        emptyVariant(end);
        const HRESULT checked = checkChild(start);
        if (checked != S_OK)
            return checked;
        const long count = long(window().childCount());
        long found = -1;
        if (start.lVal == CHILDID_SELF) {
            if (direction == NAVDIR_FIRSTCHILD)
                found = 1;
            else if (direction == NAVDIR_LASTCHILD)
                found = count;
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN ||
                   direction == NAVDIR_RIGHT) {
            found = start.lVal + 1;
        } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP ||
                   direction == NAVDIR_LEFT) {
            found = start.lVal - 1;
        } else if (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD) {
            return E_INVALIDARG;
        }
        if (found < 1 || found > count)
            return S_FALSE;
        giveChild(found, end);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *hit) override
    {
        if (!hit)
            return E_POINTER;
        emptyVariant(hit);
        if (!live())
            return RPC_E_DISCONNECTED;
        const POINT point{x, y};
        if (!contains(rectOf(CHILDID_SELF), point))
            return S_FALSE;
        // The smallest visible element there: a cell rather than the row's box.
        long best = CHILDID_SELF;
        long long bestArea = std::numeric_limits<long long>::max();
        for (long child = 1; child <= long(window().childCount()); ++child) {
            const RECT r = rectOf(child);
            const long long area = static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
            if (!node(child).invisible && contains(r, point) && area < bestArea) {
                best = child;
                bestArea = area;
            }
        }
        giveChild(best, hit);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        const HRESULT checked = checkChild(child);
        if (checked != S_OK)
            return checked;
        if (child.lVal == CHILDID_SELF ||
            window().defaultAction(std::size_t(child.lVal - 1)).empty())
            return DISP_E_MEMBERNOTFOUND;
        if (node(child.lVal).invisible)
            return E_FAIL;
        PostMessageW(host().accessibleWindowHandle(), accessibleActionMessage,
                     window().element(std::size_t(child.lVal - 1)), 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    [[nodiscard]] bool live() const { return m_link->host != nullptr; }
    [[nodiscard]] AccessibleHost &host() const { return *m_link->host; }
    [[nodiscard]] const AccessibleWindow &window() const { return *m_link->accessible; }

    // S_OK for the object itself or one of its children while the window
    // lives.
    [[nodiscard]] HRESULT checkChild(const VARIANT &child) const
    {
        if (!live())
            return RPC_E_DISCONNECTED;
        if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > long(window().childCount()))
            return E_INVALIDARG;
        return S_OK;
    }

    [[nodiscard]] AccessibleNode node(long child) const
    {
        if (child == CHILDID_SELF)
            return window().window(host().accessibleTitle());
        return window().child(std::size_t(child - 1));
    }

    [[nodiscard]] HWND windowOf(long child) const
    {
        if (child == CHILDID_SELF)
            return host().accessibleWindowHandle();
        return host().childWindow(window().element(std::size_t(child - 1)));
    }

    [[nodiscard]] RECT rectOf(long child) const
    {
        if (child != CHILDID_SELF)
            return host().screenRect(window().element(std::size_t(child - 1)));
        HWND hwnd = host().accessibleWindowHandle();
        RECT r{};
        GetClientRect(hwnd, &r);
        MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT *>(&r), 2);
        return r;
    }

    template <typename Field> HRESULT text(const VARIANT &child, BSTR *out, Field field) const
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        const HRESULT checked = checkChild(child);
        if (checked != S_OK)
            return checked;
        return giveText(field(node(child.lVal)), out);
    }

    std::shared_ptr<AccessibleLink> m_link;
    ULONG m_references = 1;
};

#pragma GCC diagnostic pop

AccessibleServer::AccessibleServer(const WindowModel &model, AccessibleHost &host)
    : m_accessible(model),
      m_link(std::make_shared<AccessibleLink>(AccessibleLink{&m_accessible, &host}))
{
}

AccessibleServer::~AccessibleServer()
{
    // Clients may hold the object for longer; from now on it answers that
    // the window is gone.
    m_link->host = nullptr;
    m_link->accessible = nullptr;
    if (m_object)
        m_object->Release();
}

LRESULT AccessibleServer::getObject(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<long>(lParam) != static_cast<long>(OBJID_CLIENT))
        return 0;
    const OleFunctions *functions = ole();
    if (!functions)
        return 0;
    if (!m_object) {
        // Handing the object to another process needs COM on this thread;
        // it stays for the rest of the run.
        functions->coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_object = new WindowAccessible(m_link);
    }
    m_asked = true;
    return functions->lresultFromObject(__uuidof(IAccessible), wParam, m_object);
}

void AccessibleServer::notifyChange(std::size_t element, Change change) const
{
    const DWORD event = winEvent(m_accessible.eventFor(element, change));
    const auto child = m_accessible.childOf(element);
    if (event && child)
        NotifyWinEvent(event, m_link->host->accessibleWindowHandle(), OBJID_CLIENT,
                       LONG(*child + 1));
}

void AccessibleServer::notifyWindowDescription() const
{
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, m_link->host->accessibleWindowHandle(),
                   OBJID_CLIENT, CHILDID_SELF);
}

void AccessibleServer::notifyFocus(std::size_t element) const
{
    if (const auto child = m_accessible.childOf(element))
        NotifyWinEvent(EVENT_OBJECT_FOCUS, m_link->host->accessibleWindowHandle(), OBJID_CLIENT,
                       LONG(*child + 1));
}

} // namespace tessaro::win32
