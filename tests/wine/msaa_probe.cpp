// SPDX-License-Identifier: GPL-3.0-or-later
// An MSAA client for the wine window test: prints what a screen reader reads, as UTF-8 lines:
//   tree TITLE: the description, each object "role name<TAB>value<TAB>states", bad ids' answers
//   do|focus|close TITLE NAME: the child NAME's default action; or its focus and who has it and
//     who is at its centre; or its action, then what the object held answers once the window went
//   events TITLE SECONDS: counts the window's events meanwhile
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <map>
#include <string>

namespace
{

VARIANT childId(long id)
{
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string take(BSTR text)
{
    const int length = int(SysStringLen(text));
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), bytes, nullptr, nullptr);
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
    VARIANT role{}, state{}; // VT_EMPTY
    object->get_accRole(child, &role);
    object->get_accState(child, &state);
    if (const std::string told = take(description); id == CHILDID_SELF)
        std::printf("description %s\n", told.c_str());
    std::printf("%s %s\t%s\t%s\n", roleName(role.lVal), take(name).c_str(), take(value).c_str(),
                stateNames(state.lVal).c_str());
}

void printTree(IAccessible *object)
{
    const long count = childCount(object);
    for (long id = 0; id <= count; ++id)
        printObject(object, id);
    // A child id out of range, and one of the wrong type.
    BSTR name = nullptr;
    VARIANT text{};
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"1");
    std::printf("bad\t%08x\t%08x\n", unsigned(object->get_accName(childId(count + 1), &name)),
                unsigned(object->get_accName(text, &name)));
    VariantClear(&text);
    // The tree walked by navigation gives the same children.
    VARIANT at;
    long walked = 0;
    for (HRESULT hr = object->accNavigate(NAVDIR_FIRSTCHILD, childId(CHILDID_SELF), &at);
         hr == S_OK && at.vt == VT_I4 && walked <= count;
         hr = object->accNavigate(NAVDIR_NEXT, childId(at.lVal), &at))
        ++walked;
    std::printf("walked\t%ld\n", walked);
}

// The child of that name; of two (a check box and its label), the one that does something.
long findChild(IAccessible *object, const std::string &wanted)
{
    long found = -1;
    for (long id = childCount(object); id >= 1; --id) {
        BSTR name = nullptr, action = nullptr;
        object->get_accName(childId(id), &name);
        const bool acts = object->get_accDefaultAction(childId(id), &action) == S_OK;
        SysFreeString(action);
        if (take(name) == wanted && (acts || found < 0))
            found = id;
    }
    return found;
}

// Counts the window's own events (of its client area's children) for a while. A hook on one
// process receives nothing under wine, so it hooks them all and keeps those of the program.
DWORD g_pid = 0;
std::map<DWORD, long> g_counts;
std::map<long, long> g_perChild;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != g_pid || object != OBJID_CLIENT || child < 0 ||
        (child == CHILDID_SELF && event != EVENT_OBJECT_DESCRIPTIONCHANGE))
        return;
    ++g_counts[event];
    if (event == EVENT_OBJECT_NAMECHANGE || event == EVENT_OBJECT_VALUECHANGE)
        ++g_perChild[child];
}

void countEvents(HWND hwnd, int seconds)
{
    GetWindowThreadProcessId(hwnd, &g_pid);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_VALUECHANGE, nullptr,
                                         onEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    std::puts(hook ? "listening" : "no hook");
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
}

int run(int argc, wchar_t **argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (argc < (command == L"tree" ? 3 : 4))
        return 2;
    HWND hwnd = FindWindowW(L"TessaroWindow", argv[2]);
    IAccessible *object = nullptr;
    if (!hwnd || FAILED(AccessibleObjectFromWindow(hwnd, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                                   reinterpret_cast<void **>(&object)))) {
        std::fprintf(stderr, "msaa_probe: no window or no accessible object\n");
        return 1;
    }
    if (command == L"tree") {
        printTree(object);
    } else if (command == L"events") {
        countEvents(hwnd, _wtoi(argv[3]));
    } else {
        const long id = findChild(object, take(SysAllocString(argv[3])));
        const VARIANT child = childId(id);
        const HRESULT hr = command == L"focus" ? object->accSelect(SELFLAG_TAKEFOCUS, child)
                                               : object->accDoDefaultAction(child);
        if (command == L"focus") {
            VARIANT focus{}, hit{};
            for (int tries = 0; tries < 100 && (focus.vt != VT_I4 || focus.lVal != id); ++tries) {
                Sleep(50);
                object->get_accFocus(&focus);
            }
            long x = 0, y = 0, w = 0, h = 0;
            object->accLocation(&x, &y, &w, &h, child);
            object->accHitTest(x + w / 2, y + h / 2, &hit);
            std::printf("focus\t%ld\nhit\t%ld\n", focus.vt == VT_I4 ? focus.lVal : -1,
                        hit.vt == VT_I4 ? hit.lVal : -1);
        }
        std::printf("action\t%ld\t%08x\n", id, unsigned(hr));
        for (int tries = 0; command == L"close" && tries < 300 && IsWindow(hwnd); ++tries)
            Sleep(100);
        long count = 0;
        if (command == L"close")
            std::printf("after\t%08x\n", unsigned(object->get_accChildCount(&count)));
    }
    object->Release();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return run(argc, argv); // the exit flushes stdout and ends COM
}
