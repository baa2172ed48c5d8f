// SPDX-License-Identifier: GPL-3.0-or-later
// An MSAA client, as a screen reader reads a window, for the wine window
// test. It prints UTF-8 lines for the Linux side to check:
//   msaa_probe tree TITLE           the window's description, then every
//                                   object: "role name<TAB>value<TAB>states";
//                                   then how bad child ids are answered
//   msaa_probe do TITLE NAME        the default action of the child NAME
//   msaa_probe focus TITLE NAME     gives NAME the focus; prints who has it
//                                   and who is at NAME's centre
//   msaa_probe close TITLE NAME     runs NAME's action, waits for the window
//                                   to go, then asks the object it still holds
//   msaa_probe events TITLE SECONDS counts the window's events meanwhile
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <map>
#include <string>

namespace
{

std::string utf8(const wchar_t *text, int length = -1)
{
    if (!text)
        return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), bytes, nullptr, nullptr);
    if (length < 0 && !out.empty())
        out.pop_back(); // the terminating zero
    return out;
}

VARIANT childId(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string take(BSTR text)
{
    std::string out = text ? utf8(text, int(SysStringLen(text))) : std::string();
    SysFreeString(text);
    return out;
}

const char *roleName(long role)
{
    for (const auto &[known, name] : {std::pair{long(ROLE_SYSTEM_WINDOW), "window"},
                                      {long(ROLE_SYSTEM_DIALOG), "dialog"},
                                      {long(ROLE_SYSTEM_CLIENT), "client"},
                                      {long(ROLE_SYSTEM_STATICTEXT), "text"},
                                      {long(ROLE_SYSTEM_CHECKBUTTON), "checkbox"},
                                      {long(ROLE_SYSTEM_PUSHBUTTON), "button"},
                                      {long(ROLE_SYSTEM_GRAPHIC), "graphic"},
                                      {long(ROLE_SYSTEM_GROUPING), "grouping"}})
        if (role == known)
            return name;
    return "other";
}

std::string stateNames(long state)
{
    std::string names;
    for (const auto &[bit, name] : {std::pair{long(STATE_SYSTEM_CHECKED), "checked"},
                                    {long(STATE_SYSTEM_FOCUSABLE), "focusable"},
                                    {long(STATE_SYSTEM_FOCUSED), "focused"},
                                    {long(STATE_SYSTEM_INVISIBLE), "invisible"}})
        if (state & bit)
            names += names.empty() ? name : std::string(",") + name;
    return names;
}

long childCount(IAccessible *object)
{
    long count = 0;
    return SUCCEEDED(object->get_accChildCount(&count)) ? count : -1;
}

void printObject(IAccessible *object, long id)
{
    const VARIANT child = childId(id);
    BSTR name = nullptr, value = nullptr, description = nullptr;
    object->get_accName(child, &name);
    object->get_accValue(child, &value);
    object->get_accDescription(child, &description);
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    object->get_accRole(child, &role);
    object->get_accState(child, &state);
    const std::string told = take(description);
    if (id == CHILDID_SELF)
        std::printf("description %s\n", told.c_str());
    std::printf("%s %s\t%s\t%s\n", roleName(role.lVal), take(name).c_str(), take(value).c_str(),
                stateNames(state.lVal).c_str());
}

int printTree(IAccessible *object)
{
    const long count = childCount(object);
    for (long id = 0; id <= count; ++id)
        printObject(object, id);
    // A child id out of range, and one of the wrong type.
    BSTR name = nullptr;
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"1");
    std::printf("bad\t%08lx\t%08lx\n",
                static_cast<unsigned long>(object->get_accName(childId(count + 1), &name)),
                static_cast<unsigned long>(object->get_accName(text, &name)));
    VariantClear(&text);
    // The tree walked by navigation gives the same children.
    VARIANT at;
    long walked = 0;
    for (HRESULT hr = object->accNavigate(NAVDIR_FIRSTCHILD, childId(CHILDID_SELF), &at);
         hr == S_OK && at.vt == VT_I4 && walked <= count;
         hr = object->accNavigate(NAVDIR_NEXT, childId(at.lVal), &at))
        ++walked;
    std::printf("walked\t%ld\n", walked);
    return 0;
}

// The child of that name; of two (a check box and its label), the one
// that does something.
long findChild(IAccessible *object, const std::string &wanted)
{
    long found = -1;
    const long count = childCount(object);
    for (long id = count; id >= 1; --id) {
        BSTR name = nullptr, action = nullptr;
        object->get_accName(childId(id), &name);
        if (take(name) != wanted)
            continue;
        const bool acts = object->get_accDefaultAction(childId(id), &action) == S_OK;
        SysFreeString(action);
        if (acts || found < 0)
            found = id;
    }
    return found;
}

// Counts the window's own events (of its client area's children) for a
// while. A hook on one process receives nothing under wine, so it hooks
// them all and keeps those of the program.
DWORD g_pid = 0;
std::map<DWORD, long> g_counts;
std::map<long, long> g_perChild;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != g_pid || object != OBJID_CLIENT || child < 0)
        return;
    if (child == CHILDID_SELF && event != EVENT_OBJECT_DESCRIPTIONCHANGE)
        return;
    ++g_counts[event];
    if (event == EVENT_OBJECT_NAMECHANGE || event == EVENT_OBJECT_VALUECHANGE)
        ++g_perChild[child];
}

int countEvents(HWND hwnd, int seconds)
{
    GetWindowThreadProcessId(hwnd, &g_pid);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_VALUECHANGE, nullptr,
                                         onEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook)
        return 2;
    std::printf("listening\n");
    std::fflush(stdout);
    const ULONGLONG end = GetTickCount64() + ULONGLONG(seconds) * 1000;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    UnhookWinEvent(hook);
    long most = 0;
    for (const auto &[child, count] : g_perChild)
        most = count > most ? count : most;
    std::printf("name\t%ld\nvalue\t%ld\nshow\t%ld\nhide\t%ld\nfocus\t%ld\nmost\t%ld\n"
                "description\t%ld\n",
                g_counts[EVENT_OBJECT_NAMECHANGE], g_counts[EVENT_OBJECT_VALUECHANGE],
                g_counts[EVENT_OBJECT_SHOW], g_counts[EVENT_OBJECT_HIDE],
                g_counts[EVENT_OBJECT_FOCUS], most, g_counts[EVENT_OBJECT_DESCRIPTIONCHANGE]);
    return 0;
}

int run(int argc, wchar_t **argv)
{
    if (argc < 3)
        return 2;
    const std::wstring command = argv[1];
    HWND hwnd = FindWindowW(L"TessaroWindow", argv[2]);
    IAccessible *object = nullptr;
    if (!hwnd || FAILED(AccessibleObjectFromWindow(hwnd, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                                   reinterpret_cast<void **>(&object)))) {
        std::fprintf(stderr, "msaa_probe: no window or no accessible object\n");
        return 1;
    }
    int status = 2;
    if (command == L"tree") {
        status = printTree(object);
    } else if (command == L"events" && argc > 3) {
        status = countEvents(hwnd, _wtoi(argv[3]));
    } else if (argc > 3) {
        status = 0;
        const long id = findChild(object, utf8(argv[3]));
        const VARIANT child = childId(id);
        HRESULT hr = E_INVALIDARG;
        if (command == L"focus") {
            hr = object->accSelect(SELFLAG_TAKEFOCUS, child);
            VARIANT focus;
            VariantInit(&focus);
            for (int tries = 0; tries < 100 && (focus.vt != VT_I4 || focus.lVal != id); ++tries) {
                Sleep(50);
                object->get_accFocus(&focus);
            }
            long x = 0, y = 0, w = 0, h = 0;
            VARIANT hit;
            VariantInit(&hit);
            object->accLocation(&x, &y, &w, &h, child);
            object->accHitTest(x + w / 2, y + h / 2, &hit);
            std::printf("focus\t%ld\nhit\t%ld\n", focus.vt == VT_I4 ? focus.lVal : -1,
                        hit.vt == VT_I4 ? hit.lVal : -1);
        } else {
            hr = object->accDoDefaultAction(child);
        }
        std::printf("action\t%ld\t%08lx\n", id, static_cast<unsigned long>(hr));
        if (command == L"close") {
            for (int tries = 0; tries < 300 && IsWindow(hwnd); ++tries)
                Sleep(100);
            long count = 0;
            std::printf("after\t%08lx\n",
                        static_cast<unsigned long>(object->get_accChildCount(&count)));
        }
    }
    object->Release();
    return status;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int status = run(argc, argv);
    std::fflush(stdout);
    CoUninitialize();
    return status;
}
