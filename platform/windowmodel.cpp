// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowmodel.h"

#include <algorithm>
#include <utility>

namespace tessaro
{

UnknownElement::UnknownElement(std::string_view window, ElementKey key)
    : std::logic_error("Tessaro: window " + std::string(window) + " has no element " +
                       describe(key))
{
}

std::string describe(ElementKey key)
{
    std::string text(key.name);
    if (key.index >= 0)
        text += '(' + std::to_string(key.index) + ')';
    return text;
}

bool takesFocus(ElementKind kind)
{
    switch (kind) {
    case ElementKind::Button:
    case ElementKind::PushButton:
    case ElementKind::CheckBox:
    case ElementKind::PictureBox:
        return true;
    default:
        return false;
    }
}

bool letsMouseThrough(const ElementDef &def)
{
    switch (def.kind) {
    case ElementKind::Line:
        return true;
    case ElementKind::Label:
    case ElementKind::CellFrame:
        return def.toolTip.empty();
    default:
        return false;
    }
}

// FNV-1a over the name, then the index: names are a few letters long.
std::size_t WindowModel::KeyHash::operator()(const ElementKey &key) const noexcept
{
    constexpr std::uint64_t prime = 1099511628211u;
    std::uint64_t hash = 14695981039346656037u;
    for (const char c : key.name)
        hash = (hash ^ static_cast<unsigned char>(c)) * prime;
    hash = (hash ^ static_cast<std::uint64_t>(key.index + 1)) * prime;
    return static_cast<std::size_t>(hash);
}

namespace
{

ElementState startState(const ElementDef &def)
{
    ElementState state;
    state.caption = def.caption;
    state.accessibleName = def.accessibleName;
    state.back = def.backColour;
    state.border = (def.flags & flags::border) ? 1 : 0;
    state.value = (def.flags & flags::checked) ? 1 : 0;
    state.visible = !(def.flags & flags::hidden);
    return state;
}

} // namespace

WindowModel::WindowModel(const WindowDef &def) : m_def(def)
{
    for (const ElementDef &element : def.elements)
        m_elements.push_back(&element);
    std::stable_sort(m_elements.begin(), m_elements.end(), [](const auto *a, const auto *b) {
        const bool aContained = !a->parent.name.empty();
        const bool bContained = !b->parent.name.empty();
        if (aContained != bContained)
            return bContained; // containers before what they contain
        return a->stackRank > b->stackRank;
    });
    m_states.reserve(m_elements.size());
    m_index.reserve(m_elements.size());
    for (std::size_t at = 0; at < m_elements.size(); ++at) {
        m_states.push_back(startState(*m_elements[at]));
        m_index.emplace(m_elements[at]->key, at);
    }
    m_changedFlags.assign(m_elements.size(), false);
}

std::optional<std::size_t> WindowModel::find(ElementKey key) const
{
    const auto found = m_index.find(key);
    if (found == m_index.end())
        return std::nullopt;
    return found->second;
}

std::size_t WindowModel::indexOf(ElementKey key) const
{
    if (const auto at = find(key))
        return *at;
    throw UnknownElement(m_def.name, key);
}

std::optional<std::size_t> WindowModel::containerOf(std::size_t at) const
{
    const ElementKey parent = m_elements[at]->parent;
    if (parent.name.empty())
        return std::nullopt;
    return indexOf(parent);
}

bool WindowModel::noteIf(std::size_t at, bool changed)
{
    if (changed && !m_changedFlags[at]) {
        m_changedFlags[at] = true;
        m_changed.push_back(at);
    }
    return changed;
}

std::vector<std::size_t> WindowModel::takeChanged()
{
    for (const std::size_t at : m_changed)
        m_changedFlags[at] = false;
    return std::exchange(m_changed, {});
}

namespace
{

template <typename Value, typename Given> bool assign(Value &field, const Given &given)
{
    if (field == given)
        return false;
    field = given;
    return true;
}

} // namespace

bool WindowModel::setCaption(std::size_t at, std::string_view text)
{
    return noteIf(at, assign(m_states[at].caption, text));
}

bool WindowModel::setBackColour(std::size_t at, Colour colour)
{
    return noteIf(at, assign(m_states[at].back, colour));
}

bool WindowModel::setVisible(std::size_t at, bool visible)
{
    return noteIf(at, assign(m_states[at].visible, visible));
}

bool WindowModel::setBorder(std::size_t at, int style)
{
    return noteIf(at, assign(m_states[at].border, style));
}

bool WindowModel::setValue(std::size_t at, int value)
{
    return noteIf(at, assign(m_states[at].value, value));
}

bool WindowModel::setAccessibleName(std::size_t at, std::string_view name)
{
    return noteIf(at, assign(m_states[at].accessibleName, name));
}

bool WindowModel::setAccessibleDescription(std::string_view text)
{
    return assign(m_description, text);
}

std::vector<std::size_t> WindowModel::tabOrder() const
{
    std::vector<std::size_t> order;
    for (std::size_t at = 0; at < m_elements.size(); ++at)
        if (m_elements[at]->tabIndex >= 0 && takesFocus(m_elements[at]->kind))
            order.push_back(at);
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return m_elements[a]->tabIndex < m_elements[b]->tabIndex;
    });
    return order;
}

std::vector<std::size_t> WindowModel::timers() const
{
    std::vector<std::size_t> found;
    for (std::size_t at = 0; at < m_elements.size(); ++at)
        if (m_elements[at]->kind == ElementKind::Timer)
            found.push_back(at);
    return found;
}

} // namespace tessaro
