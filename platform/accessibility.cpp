// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include <algorithm>
#include <tuple>

namespace tessaro
{
namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A name that the program builds as "Stunden: 14" carries the value after
// its last ": ".
std::optional<std::string_view> valueInName(std::string_view name)
{
    const auto colon = name.rfind(": ");
    if (colon == std::string_view::npos)
        return std::nullopt;
    return name.substr(colon + 2);
}

// A label named apart from its caption reports the number it shows ("1",
// "0C", "14") as its value; a placeholder or a heading is no value.
bool showsNumber(std::string_view caption)
{
    const std::string text = spokenText(caption);
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    });
}

// A button's caption marks its access key with "&" ("&Systeminfo..."),
// which is not read; "&&" stands for one "&".
std::string withoutAccessKey(std::string_view caption)
{
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        text += caption[i];
    }
    return text;
}

AccessibleRole roleOf(ElementKind kind)
{
    switch (kind) {
    case ElementKind::CheckBox:
        return AccessibleRole::CheckBox;
    case ElementKind::Button:
    case ElementKind::PushButton:
        return AccessibleRole::PushButton;
    case ElementKind::PictureBox:
        return AccessibleRole::Graphic;
    case ElementKind::GroupFrame:
        return AccessibleRole::Grouping;
    default:
        return AccessibleRole::StaticText;
    }
}

} // namespace

std::string spokenText(std::string_view text)
{
    std::string spoken;
    spoken.reserve(text.size());
    bool gap = false;
    for (const char c : text) {
        if (isBlank(c)) {
            gap = !spoken.empty();
            continue;
        }
        if (gap)
            spoken += ' ';
        gap = false;
        spoken += c;
    }
    return spoken;
}

bool isAccessible(const ElementDef &def)
{
    switch (def.kind) {
    case ElementKind::Line:
    case ElementKind::Timer:
        return false;
    case ElementKind::Label:
        return !spokenText(def.caption).empty() || !def.accessibleName.empty();
    default:
        return true;
    }
}

AccessibleWindow::AccessibleWindow(const WindowModel &model)
    : m_model(model), m_childOf(model.size(), -1)
{
    for (std::size_t at = 0; at < model.size(); ++at)
        if (isAccessible(model.element(at)))
            m_children.push_back(at);
    // Where an element stands in the window: contained ones lie in their
    // container's rectangle.
    const auto place = [&model](std::size_t at) {
        int top = model.element(at).rect.top;
        int left = model.element(at).rect.left;
        if (const auto container = model.containerOf(at)) {
            top += model.element(*container).rect.top;
            left += model.element(*container).rect.left;
        }
        return std::tuple(top, left);
    };
    std::stable_sort(m_children.begin(), m_children.end(),
                     [&](std::size_t a, std::size_t b) { return place(a) < place(b); });
    for (std::size_t child = 0; child < m_children.size(); ++child)
        m_childOf[m_children[child]] = int(child);
}

std::optional<std::size_t> AccessibleWindow::childOf(std::size_t element) const
{
    if (element >= m_childOf.size() || m_childOf[element] < 0)
        return std::nullopt;
    return std::size_t(m_childOf[element]);
}

bool AccessibleWindow::hidden(std::size_t element) const
{
    if (!m_model.state(element).visible)
        return true;
    const auto container = m_model.containerOf(element);
    return container && !m_model.state(*container).visible;
}

AccessibleNode AccessibleWindow::window(std::string_view title) const
{
    AccessibleNode node;
    node.role = m_model.window().dialogFrame ? AccessibleRole::Dialog : AccessibleRole::Frame;
    node.name = spokenText(title);
    node.description = m_model.accessibleDescription();
    node.focusable = true;
    return node;
}

AccessibleNode AccessibleWindow::child(std::size_t child) const
{
    const std::size_t at = m_children[child];
    const ElementDef &def = m_model.element(at);
    const ElementState &state = m_model.state(at);
    AccessibleNode node;
    node.role = roleOf(def.kind);
    const bool named = !state.accessibleName.empty();
    if (named)
        node.name = spokenText(state.accessibleName);
    else if (node.role == AccessibleRole::PushButton || node.role == AccessibleRole::CheckBox)
        node.name = spokenText(withoutAccessKey(state.caption));
    else
        node.name = spokenText(state.caption);
    if (node.role == AccessibleRole::StaticText && named) {
        if (const auto value = valueInName(state.accessibleName))
            node.value = spokenText(*value);
        else if (showsNumber(state.caption))
            node.value = spokenText(state.caption);
    }
    node.description = spokenText(def.toolTip);
    node.checked = def.kind == ElementKind::CheckBox && state.value == 1;
    node.focusable = def.tabIndex >= 0 && takesFocus(def.kind);
    node.invisible = hidden(at);
    return node;
}

std::string_view AccessibleWindow::defaultAction(std::size_t child) const
{
    const std::size_t at = m_children[child];
    switch (roleOf(m_model.element(at).kind)) {
    case AccessibleRole::PushButton:
        return "Drücken";
    case AccessibleRole::CheckBox:
        return m_model.state(at).value == 1 ? "Deaktivieren" : "Aktivieren";
    default:
        return {};
    }
}

AccessibleEvent AccessibleWindow::eventFor(std::size_t element, Change change) const
{
    if (!childOf(element))
        return AccessibleEvent::None;
    const ElementState &state = m_model.state(element);
    if (change == Change::Visible)
        return state.visible ? AccessibleEvent::Show : AccessibleEvent::Hide;
    if (hidden(element))
        return AccessibleEvent::None;
    switch (change) {
    case Change::Value:
        return m_model.element(element).kind == ElementKind::CheckBox ? AccessibleEvent::StateChange
                                                                      : AccessibleEvent::None;
    case Change::AccessibleName:
        return AccessibleEvent::NameChange;
    case Change::Caption:
        if (state.accessibleName.empty())
            return AccessibleEvent::NameChange;
        // A name with the value in it changes along with the caption.
        return valueInName(state.accessibleName) ? AccessibleEvent::None
                                                 : AccessibleEvent::ValueChange;
    default:
        return AccessibleEvent::None;
    }
}

} // namespace tessaro
